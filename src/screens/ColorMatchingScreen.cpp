#include "screens/ColorMatchingScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm023::TForm023(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm023");
    setWindowTitle("COLOR MATCHING");
    placeAsWorkingScreen(this);
}

void TForm023::enter() {}

}  // namespace dg
