#include "screens/ResizeForm.h"

#include "screens/OutputSize.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenSet.h"

namespace dg {

TForm027::TForm027(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm027");
    setWindowTitle("Form027");
    placeAsWorkingScreen(this);
    SpinEdit3.bind([this] {
        if (screens_.state.task == TaskMode::TattooIn23Colors) screens_.form004->scaleSourcePicture();
    });
}

}  // namespace dg
