#pragma once

#include "imaging/RgbImage.h"
#include "separation/ChannelModel.h"

namespace dg {

// The pictures behind the page entries, as the printing screen reads them.
struct PagePictures {
    const RgbImage& stencil;
    const RgbImage& result;                // the AFTER picture (or the single file)
    const RgbImage& colorMatching;         // the COLOR MATCHING screen's page
    const ChannelSet* channels = nullptr;  // channel N's page is its mask; none for a single file

    const RgbImage& channelMask(int n) const;
};

}  // namespace dg
