#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <array>

#include "app/StepTrigger.h"
#include "app/WorkflowState.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace dg {

class ScreenSet;

// SELECT TASK: the home screen. The task, the measuring unit and the page orientation are
// chosen here, the printer's page is shown, and a picture comes in (OPEN IMAGE, PASTE) or a
// project is opened. Its intake routing leads every picture on to the output-size screen.
class TForm001 : public QWidget {
    Q_OBJECT
public:
    inline static const char* const kNoPrinterMessage =
        "No printer/s/ installed! Please add one from your control panel or download and "
        "install a virtual printer. Our recomendation is DOPdf - a free virtual printer and PDF "
        "creator. ";

    explicit TForm001(ScreenSet& screens);

    StepTrigger SpinEdit000;  // start action, stepped at creation
    StepTrigger SpinEdit1;    // intake routing
    StepTrigger SpinEdit2;    // automatic page rotation
    StepTrigger SpinEdit3;
    StepTrigger SpinEdit4;   // route by task
    StepTrigger SpinEdit5;   // PrintSingleFile
    StepTrigger SpinEdit6;   // PrintOldProject
    StepTrigger SpinEdit7;   // TattooIn23Colors
    StepTrigger SpinEdit8;   // CreateTribalTattoo
    StepTrigger SpinEdit9;   // restore the output size, derive the height
    StepTrigger SpinEdit10;  // refresh and show the output-size screen
    StepTrigger SpinEdit11;  // open project

    // A click on a task caption.
    void chooseTask(TaskMode task);
    // One tick of the 10 ms clipboard poll.
    void ClipboardPollTimer();
    // The printer's page and orientation, and the unit, as the run holds them.
    void showPrinter();
    void showUnit();

    // The picture the about window shows.
    const QPixmap& logo() const { return logo_; }

    QTimer clipboardPoll;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void startAction();
    void intakeRouting();
    void autoRotate();
    void routeByTask();
    void prepareOutputSize(bool singleFile);
    void restoreAndDerive();
    void showOutputSize();
    void openProjectAction();

    void unitBoxChanged(QCheckBox* other, bool ticked);
    void orientationBoxChanged(QCheckBox* other, bool ticked);

    void openImageClick();
    void pasteClick();
    void printerSetupClick();
    void printerListClick();

    ScreenSet& screens_;
    QPixmap logo_;

    std::array<QPushButton*, 4> taskCaptions_{};
    std::array<QLabel*, 4> taskMarkers_{};
    QCheckBox* inches_ = nullptr;
    QCheckBox* centimeters_ = nullptr;
    QCheckBox* portrait_ = nullptr;
    QCheckBox* landscape_ = nullptr;
    QCheckBox* autoRotate_ = nullptr;
    QLabel* pageWidthPx_ = nullptr;
    QLabel* pageHeightPx_ = nullptr;
    QLabel* resolution_ = nullptr;
    QLabel* mediaWidth_ = nullptr;
    QLabel* mediaHeight_ = nullptr;
    QLabel* mediaWidthUnit_ = nullptr;
    QLabel* mediaHeightUnit_ = nullptr;
    QPushButton* openImage_ = nullptr;
    QPushButton* paste_ = nullptr;
    QPushButton* openProject_ = nullptr;
};

}  // namespace dg
