#include "screens/TribalScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm005::TForm005(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm005");
    setWindowTitle("TRIBAL CREATION");
    placeAsWorkingScreen(this);
}

void TForm005::enter() {}

void TForm005::nudgeAfterEnhance() {}

}  // namespace dg
