#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>

#include "imaging/RgbImage.h"
#include "output/PageEntries.h"
#include "output/PageExport.h"
#include "output/PageLayout.h"
#include "output/PagePictures.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QCloseEvent;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace dg {

class ScreenSet;
class Thumbnail;

// PRINTING: the 26 page entries, their placement on the printer page, printing, page export
// and the project save.
class TForm029 : public QWidget {
    Q_OBJECT
public:
    explicit TForm029(ScreenSet& screens);

    // The yellow "Message:" line: shown with a text, hidden without one.
    void showMessageLine(const QString& text);
    const PageEntries& entries() const;

    // The settings as the controls show them now.
    PageSettings pageSettings() const;
    ExportSettings exportSettings() const;

    // The buttons' actions.
    void checkAll();
    void uncheckAll();
    void printCheckedPages();
    void saveCheckedPages();
    void saveProjectAs();
    void closeToSelectTask();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    // The message line, the thumbnails and the entries as the run composed them.
    void showPages();
    // The check boxes show the entries; a user's tick goes back into the entries.
    void showEntries();
    void entryToggled(PageEntry& entry, bool ticked);

    ScreenSet& screens_;
    bool showingEntries_ = false;

    QCheckBox* stencilEntry_ = nullptr;
    QCheckBox* resultEntry_ = nullptr;
    QCheckBox* colorMatchingEntry_ = nullptr;
    std::array<QCheckBox*, kChannelCount> channelEntries_{};
    Thumbnail* stencilThumbnail_ = nullptr;
    Thumbnail* resultThumbnail_ = nullptr;
    QButtonGroup* align_ = nullptr;
    QCheckBox* labelOnTop_ = nullptr;
    QSpinBox* fontSize_ = nullptr;
    QCheckBox* pageCorners_ = nullptr;
    QSpinBox* cornerWidth_ = nullptr;
    QSpinBox* cornerSize_ = nullptr;
    QWidget* messageLine_ = nullptr;
    QLabel* messageText_ = nullptr;
    QRadioButton* asJpeg_ = nullptr;
    QRadioButton* asBmp_ = nullptr;
    QCheckBox* openTarget_ = nullptr;
    QPushButton* saveProject_ = nullptr;
};

// A picture shrunk to fit its box, proportions kept; a click shows the picture in PREVIEW.
class Thumbnail : public QWidget {
    Q_OBJECT
public:
    Thumbnail(const RgbImage& picture, QWidget* parent = nullptr);

    // Shrinks the picture as it is now; painting shows the shrunk copy.
    void refresh();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const RgbImage& picture_;
    QImage shrunk_;
};

}  // namespace dg
