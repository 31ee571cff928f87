#pragma once

#include <QWidget>

#include "imaging/RgbImage.h"

namespace dg {

class PictureBox;
class ScreenSet;

// The chart of the primary inks, opened from COLOR MATCHING: the chart picture with PRINT and
// CLOSE WINDOW.
class TForm024 : public QWidget {
    Q_OBJECT
public:
    explicit TForm024(ScreenSet& screens);

    // 347 x 441, the eight inks each with its name.
    RgbImage chart;

    // Prints the chart as COLOR MATCHING prints its page: portrait, stretched over the page.
    void print();

private:
    ScreenSet& screens_;
    PictureBox* chartBox_ = nullptr;
};

}  // namespace dg
