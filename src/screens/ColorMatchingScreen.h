#pragma once

#include <QWidget>
#include <array>

#include "imaging/RgbImage.h"
#include "separation/ChannelModel.h"

class QCheckBox;
class QCloseEvent;
class QLabel;
class QListWidget;
class QPushButton;

namespace dg {

class PictureBox;
class ScreenSet;

// COLOR MATCHING: an ink recipe for every ticked channel and the colour-matching page.
class TForm023 : public QWidget {
    Q_OBJECT
public:
    explicit TForm023(ScreenSet& screens);

    // Entering from the channels screen's NEXT: the rows, recipes and page of the ticked
    // channels, then show this screen.
    void enter();

    // The buttons' actions.
    void saveAsBmp();
    void printColorMatching();
    void showInkChart();
    void back();
    void next();
    void closeToSelectTask();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();

    ScreenSet& screens_;
    std::array<QCheckBox*, kChannelCount> rowBoxes_{};
    std::array<QLabel*, kChannelCount> rgbTexts_{};
    std::array<QLabel*, kChannelCount> hexTexts_{};
    QListWidget* mixingList_ = nullptr;
    PictureBox* pageBox_ = nullptr;
};

}  // namespace dg
