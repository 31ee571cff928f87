#include "screens/SeparationScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm021::TForm021(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm021");
    setWindowTitle("COLOR REDUCTION AND SEPARATION");
    placeAsWorkingScreen(this);
}

void TForm021::resetPictureFrames() {}

void TForm021::emptyMasks() {}

}  // namespace dg
