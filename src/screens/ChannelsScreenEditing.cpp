
#include "screens/ChannelsScreen.h"
#include "screens/ScreenSet.h"

namespace dg {

void TForm019::mergeChannelsClick() {
    screens_.go(Move::ChannelsMergeStarted);
    // The merge screen offers the channels one at a time.
    screens_.workflow.mergeChannels(screens_.mergeDialog());
    screens_.go(Move::ChannelsMergeDone);
}

void TForm019::changeColorsClick() {
    screens_.workflow.enterChangeColors();
    screens_.go(Move::ChannelsToChangeColors);
}

}  // namespace dg
