#include "screens/EnhanseUnit.h"

#include "screens/ScreenGeometry.h"

namespace dg {

Tenhance::Tenhance(ScreenSet& screens) : screens_(screens) {
    setObjectName("Tenhance");
    setWindowTitle("enhance");
    placeAsWorkingScreen(this);
}

void Tenhance::chooseTrueColor() {}

}  // namespace dg
