#include "screens/OptionsScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm028::TForm028(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm028");
    setWindowTitle("OPTIONS");
    placeAsWorkingScreen(this);
}

}  // namespace dg
