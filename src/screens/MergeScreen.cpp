#include "screens/MergeScreen.h"

#include "screens/ScreenGeometry.h"

namespace dg {

TForm020::TForm020(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm020");
    setWindowTitle("MERGE COLORS/CHANNELS");
    placeAsWorkingScreen(this);
}

void TForm020::message(const std::string&) {}

MergeDecision TForm020::offer(const MergeOffer&) { return {}; }

}  // namespace dg
