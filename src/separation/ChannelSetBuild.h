#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "separation/ChannelModel.h"

namespace dg {

// The AFTER count caption and the state of "NEXT >>".
struct ChannelCount {
    int afterCount = 0;  // channels whose tile is shown and ticked
    bool nextEnabled = false;
};

struct RebuildSummary {
    std::int64_t beforeColors = 0;  // distinct colours of BEFORE; may exceed 23
    int afterCount = 0;
    bool nextEnabled = false;
};

// Builds the channel set from set.before: channel N is the N-th colour in ascending colour
// value (at most 23; further colours get no channel and stay white in AFTER), its mask the
// colour on white (pure white: white on black), its count, percentage text, tick and tile;
// unused indices have colour -1, count 0, an empty mask and no tick. AFTER is redrawn.
RebuildSummary rebuildChannelSet(ChannelSet& set);

// Counts the shown and ticked channels.
ChannelCount recountChannelSet(const ChannelSet& set);

// AFTER := white of BEFORE's size, then for N = 1..23 every ticked channel that is not pure
// white paints its colour where its mask is not white; later channels overwrite earlier
// ones. White is never painted.
void redrawChannelSet(ChannelSet& set);

// A channel's check box: tick or untick channel n, then recount and redraw.
ChannelCount setChannelChecked(ChannelSet& set, int n, bool checked);

// After a merge sequence: only the channels whose tile is shown are ticked; then recount and
// redraw.
ChannelCount recheckChannelSet(ChannelSet& set);

// NEXT on the channels screen: AFTER becomes the new BEFORE and the set is rebuilt from it,
// so unticked channels fall into the pure white channel (created if missing) and every
// channel is numbered afresh and ticked.
RebuildSummary channelSetNext(ChannelSet& set);

// The distinct colours of a picture in ascending colour value with their pixel counts.
std::vector<std::pair<ColorValue, std::int64_t>> colorCensus(const RgbImage& picture);

}  // namespace dg
