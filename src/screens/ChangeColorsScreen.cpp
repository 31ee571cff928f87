#include "screens/ChangeColorsScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm022::TForm022(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm022");
    setWindowTitle("CHANGE COLORS");
    placeAsWorkingScreen(this);
}

void TForm022::pointerMoved(int, int) {}

void TForm022::changeAtPointer() {}

}  // namespace dg
