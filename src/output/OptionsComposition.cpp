#include "output/OptionsComposition.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "imaging/Parallel.h"
#include "output/Stencil.h"

namespace dg {

namespace {

// Every pixel that masking removed from `masked` becomes white in `target`, where the two
// overlap (all pictures of one pass have the output size).
void whitenRemoved(const RgbImage& masked, RgbImage& target) {
    if (target.empty()) return;
    const std::int32_t width = std::min(masked.width(), target.width());
    const std::int32_t height = std::min(masked.height(), target.height());
    forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            const std::uint8_t* m = masked.row(y);
            std::uint8_t* t = target.row(y);
            for (std::int32_t x = 0; x < width; ++x) {
                if (isClearKey(m + 3 * x)) t[3 * x] = t[3 * x + 1] = t[3 * x + 2] = 255;
            }
        }
    });
}

}  // namespace

std::array<PageEntry, kChannelCount> colorMatchingRows(const ChannelSet& channels) {
    std::array<PageEntry, kChannelCount> rows;
    int running = 1;
    for (int n = 1; n <= kChannelCount; ++n) {
        PageEntry& row = rows[static_cast<std::size_t>(n - 1)];
        row.color = channels.colorOf(n);
        const bool present = channels.channel(n).checked && channels.colorOf(n) != kNoColor;
        row.shown = row.ticked = present;
        if (present) row.caption = kChannelCaptionPrefix + std::to_string(running++);
    }
    return rows;
}

RgbImage maskingPreview(const RgbImage& source, int depth) {
    RgbImage scratch = source;
    whiteEdgeMask(scratch, depth);
    return scratch;
}

ComposedOutput composeOutput(ChannelSet& channels, RgbImage& source, RgbImage& stencil,
                             const OutputOptions& options) {
    ComposedOutput out;
    out.resultThumbnail = channels.after;

    // The colour the COLOR MATCHING row shows is the channel set's colour of that index.
    for (int n = 1; n <= kChannelCount; ++n) {
        if (channels.colorOf(n) == kWhite) invertWhiteChannelMask(channels.channel(n).mask);
    }

    if (options.masked) {
        const RgbImage masked = maskingPreview(source, options.depth);
        for (Channel& channel : channels.channels) whitenRemoved(masked, channel.mask);
        whitenRemoved(masked, channels.after);
    }

    if (options.createStencil) {
        source = stencilOutline(channels.after, options.depth);
        stencil = source;
        if (options.mirrorStencil) mirrorLeftRight(stencil);
        if (options.stencilInBlack) blackenStencil(stencil);
    }

    if (options.adjustmentCorners) {
        for (Channel& channel : channels.channels) {
            if (channel.checked) drawCornerMarks(channel.mask, options.cornerSize, options.cornerWidth);
        }
        if (options.createStencil) drawCornerMarks(stencil, options.cornerSize, options.cornerWidth);
        drawCornerMarks(channels.after, options.cornerSize, options.cornerWidth);
    }

    out.entries.channels = colorMatchingRows(channels);
    out.showStencilThumbnail = options.createStencil;
    out.showResultThumbnail = options.printResult;
    out.entries.stencil.shown = out.entries.stencil.ticked = options.createStencil;
    out.entries.result.shown = out.entries.result.ticked = options.printResult;
    out.entries.colorMatching.shown = out.entries.colorMatching.ticked = options.printColorMatching;
    return out;
}

}  // namespace dg
