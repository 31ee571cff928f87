#include "screens/PrintingScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm029::TForm029(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm029");
    setWindowTitle("PRINTING ");
    placeAsWorkingScreen(this);
}

void TForm029::hideMessageLine() {}

void TForm029::showMessageLine(const QString&) {}

void TForm029::setSaveProjectVisible(bool) {}

void TForm029::setEntries(const PageEntries& entries, bool, bool) { entries_ = entries; }

void TForm029::offerResultOnly() {}

}  // namespace dg
