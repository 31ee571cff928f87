#include "screens/InkChartScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm024::TForm024(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm024");
    setWindowTitle("Form024");
    placeAsWorkingScreen(this);
}

}  // namespace dg
