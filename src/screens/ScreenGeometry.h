#pragma once

class QWidget;

namespace dg {

// Working screens cover the desktop from its top left corner.
void placeAsWorkingScreen(QWidget* screen);

}  // namespace dg
