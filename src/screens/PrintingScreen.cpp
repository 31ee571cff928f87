#include "screens/PrintingScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm029::TForm029(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm029");
    setWindowTitle("PRINTING ");
    placeAsWorkingScreen(this);
}

}  // namespace dg
