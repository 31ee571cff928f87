#include "screens/ResizeForm.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm027::TForm027(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm027");
    setWindowTitle("Form027");
    placeAsWorkingScreen(this);
}

}  // namespace dg
