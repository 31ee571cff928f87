#include "screens/ChannelsScreen.h"

namespace dg {

// Left to the channels screen, which owns the tiles and the AFTER captions.
void TForm019::showMergeResult() {}

}  // namespace dg
