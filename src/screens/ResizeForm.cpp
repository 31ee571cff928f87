#include "screens/ResizeForm.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm027::TForm027() {
    setObjectName("TForm027");
    setWindowTitle("Form027");
    placeAsWorkingScreen(this);
}

}  // namespace dg
