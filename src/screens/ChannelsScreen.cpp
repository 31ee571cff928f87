#include "screens/ChannelsScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm019::TForm019(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm019");
    setWindowTitle("CHANNELS / COLORS");
    placeAsWorkingScreen(this);
}

void TForm019::setEditPanelEnabled(bool) {}

void TForm019::hideAfterPicture() {}

void TForm019::enableUndo() {}

void TForm019::enableChangeColors() {}

void TForm019::setUndoVisible(bool) {}

}  // namespace dg
