#include "screens/ScreenGeometry.h"

#include <QWidget>

namespace dg {

void placeAsWorkingScreen(QWidget* screen) {
    screen->resize(1020, 730);
    screen->move(0, 0);
}

}  // namespace dg
