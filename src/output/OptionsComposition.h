#pragma once

#include "imaging/OutputSettings.h"
#include "imaging/RgbImage.h"
#include "output/PageEntries.h"
#include "output/WhiteEdgeMask.h"
#include "separation/ChannelModel.h"

namespace dg {

// The OPTIONS screen's settings, with the defaults it opens with.
// The ranges of OPTIONS' fields.
inline constexpr FieldRange kDepthField{0, 55};
inline constexpr FieldRange kCornerWidthField{0, 50};  // pixels; 0 draws one pixel wide
inline constexpr FieldRange kCornerSizeField{1, 500};

struct OutputOptions {
    bool createStencil = true;
    bool mirrorStencil = false;
    bool stencilInBlack = false;  // "STENCIL IN COLORS" is the other choice
    bool masked = false;
    int depth = kDefaultDepth;  // also the stencil's threshold
    bool printColorMatching = true;
    bool printResult = true;
    bool adjustmentCorners = false;
    int cornerWidth = 2;  // kCornerWidthField
    int cornerSize = 30;  // kCornerSizeField
};

// What "NEXT >>" hands to the printing screen besides the pictures it changed in place.
struct ComposedOutput {
    // The AFTER picture as it was before masking and corners changed it.
    RgbImage resultThumbnail;
    bool showStencilThumbnail = false;
    bool showResultThumbnail = false;
    PageEntries entries;
};

// The channel rows of the COLOR MATCHING screen: row N is shown for a channel that is ticked
// on the channels screen, and the shown rows are numbered 1, 2, ... in channel order. The
// captions of the hidden rows stay empty.
std::array<PageEntry, kChannelCount> colorMatchingRows(const ChannelSet& channels);

// The OPTIONS screen's "NEXT >>" on the pictures as they stand: turns the pure-white
// channel's mask into black on white, masks the white edges of all masks and of the AFTER
// picture (by the SOURCE picture), makes the stencil from the AFTER picture (the outline
// replaces `source`; `stencil` gets the outline, mirrored and blackened as set), draws the
// adjustment corners after the mirror, and fills the page entries. `stencil` keeps its last
// content when no stencil is made. Showing the AFTER picture in the RESULT viewer (and hiding
// the SOURCE and RESULT viewers) when a stencil is made is left to the screen.
ComposedOutput composeOutput(ChannelSet& channels, RgbImage& source, RgbImage& stencil,
                             const OutputOptions& options);

// "PREVIEW": the SOURCE picture masked with the given depth, the removed background in the
// clear-key colour.
RgbImage maskingPreview(const RgbImage& source, int depth);

}  // namespace dg
