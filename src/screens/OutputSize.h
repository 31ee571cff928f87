#pragma once

#include <QWidget>

#include "app/StepTrigger.h"
#include "imaging/RgbImage.h"
#include "screens/ArrowSpinBox.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace dg {

class ScreenSet;

// OUTPUT SIZE AND RESOLUTION: the DPI, width and height of the tattoo on paper. The fields
// show the run's output size; every change goes to the workflow, which recomputes at once the
// height from the width, the size texts, the printer-area warning and the Message Board.
class TForm004 : public QWidget {
    Q_OBJECT
public:
    explicit TForm004(ScreenSet& screens);

    // The fields, named as the rest of the program knows them.
    ArrowSpinBox* SpinEdit1 = nullptr;  // DPI, 70..160
    ArrowSpinBox* SpinEdit2 = nullptr;  // width, whole units, 1..60
    ArrowSpinBox* SpinEdit3 = nullptr;  // width, hundredths, 0..99
    ArrowSpinBox* SpinEdit4 = nullptr;  // height, whole units, 0..60
    ArrowSpinBox* SpinEdit5 = nullptr;  // height, hundredths, 0..99

    StepTrigger SpinEdit9;   // RESIZE route of the 23-colour task
    StepTrigger SpinEdit10;  // tribal route

    void back();
    // The scaling routes that leave this screen forwards.
    void nextSingleFileClick();
    void nextColorReductionClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    // The fields, the texts and the Message Board as the run holds them.
    void showOutputSize();
    void showUnit();
    void resizeRoute();
    void tribalRoute();

    ScreenSet& screens_;
    QCheckBox* preserveAspect_ = nullptr;
    QLabel* heightCaption_ = nullptr;
    QLabel* widthUnit_ = nullptr;
    QLabel* heightUnit_ = nullptr;
    QLabel* widthText_ = nullptr;
    QLabel* heightText_ = nullptr;
    QLabel* printerWarning_ = nullptr;
    QLabel* tooSmall_ = nullptr;
    QLabel* tooLarge_ = nullptr;
    QLabel* widthRange_ = nullptr;
    QLabel* andBetween_ = nullptr;
    QLabel* heightRange_ = nullptr;
    QLabel* additionally_ = nullptr;
    QPushButton* closeForResizer_ = nullptr;
    QPushButton* nextColorReduction_ = nullptr;
    QPushButton* nextSingleFile_ = nullptr;
};

}  // namespace dg
