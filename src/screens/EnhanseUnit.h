#pragma once

#include <QWidget>

#include "app/StepTrigger.h"
#include "imaging/RgbImage.h"

namespace dg {

class ScreenSet;

// enhance: brightness, contrast, saturation, filters, colour balance, grey and colour
// reduction on a working picture, before thresholding or separating.
class Tenhance : public QWidget {
    Q_OBJECT
public:
    explicit Tenhance(ScreenSet& screens);

    RgbImage working;        // the working picture
    StepTrigger SpinEdit7;   // Open
    bool CheckBox2 = false;  // opened from the separation screen

    // Checks the colour reduction "TRUE COLOR" (runs its reduction only on a new choice).
    void chooseTrueColor();

private:
    ScreenSet& screens_;
};

}  // namespace dg
