#include "screens/ChannelsScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm019::TForm019(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm019");
    setWindowTitle("CHANNELS / COLORS");
    placeAsWorkingScreen(this);
}

}  // namespace dg
