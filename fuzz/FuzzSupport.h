// What every fuzz target shares: small picture limits and a decode that must end in a picture
// or a Failure.
#pragma once

#include <cstddef>
#include <cstdint>

#include "formats/PictureLimits.h"
#include "imaging/Failure.h"
#include "imaging/RgbImage.h"

namespace dg::fuzz {

// Small limits keep every input fast; the size checks themselves are what is exercised.
inline void useSmallLimits() { setPictureLimits({2048, 2'000'000}); }

// Touches the last byte of every row, so a picture with too little memory behind it shows up.
// A picture 0 pixels wide (a bitmap may say so) has no bytes to touch.
inline void touch(const RgbImage& picture) {
    if (picture.width() == 0) return;
    volatile std::uint8_t sink = 0;
    for (std::int32_t y = 0; y < picture.height(); ++y) sink = sink ^ picture.row(y)[picture.width() * 3 - 1];
}

// Runs one decoder over the input; a Failure is the decoder's answer to a bad file.
template <typename Decode>
int decodeOrFail(const std::uint8_t* data, std::size_t size, Decode decode) {
    try {
        touch(decode(data, size));
    } catch (const Failure&) {
    }
    return 0;
}

}  // namespace dg::fuzz
