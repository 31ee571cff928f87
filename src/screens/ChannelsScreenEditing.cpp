#include "screens/ChannelsScreen.h"

namespace dg {

void TForm019::mergeChannelsClick() {}

void TForm019::changeColorsClick() {}

void TForm019::runMergeSequence() {}

}  // namespace dg
