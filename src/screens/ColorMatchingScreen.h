#pragma once

#include <QWidget>

#include "imaging/RgbImage.h"

namespace dg {

class ScreenSet;

// COLOR MATCHING: an ink recipe for every ticked channel and the colour-matching page.
class TForm023 : public QWidget {
    Q_OBJECT
public:
    explicit TForm023(ScreenSet& screens);

    // The colour-matching page (505 x 481), rebuilt on every Enter; OPTIONS, printing and
    // export read it.
    RgbImage page;

    // Run by the channels screen's NEXT: rows, recipes, page, then show this screen.
    void enter();

private:
    ScreenSet& screens_;
};

}  // namespace dg
