#pragma once

#include <QWidget>

#include "app/StepTrigger.h"
#include "imaging/RgbImage.h"

namespace dg {

class ScreenSet;

// TRIBAL CREATION: a black-on-white design from the SOURCE picture by one of eight methods.
class TForm005 : public QWidget {
    Q_OBJECT
public:
    explicit TForm005(ScreenSet& screens);

    RgbImage entryCopy;     // the SOURCE picture as it was on entry
    StepTrigger SpinEdit6;  // take the entry copy

    // The output-size screen's tribal route: RESULT sized to SOURCE, Method 8, nudge, show.
    void enter();
    // The enhance screen's OK: nudge slider 1 by rule C (recomputes).
    void nudgeAfterEnhance();

private:
    ScreenSet& screens_;
};

}  // namespace dg
