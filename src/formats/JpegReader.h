#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

bool looksJpeg(const std::uint8_t* data, std::size_t size);

// Baseline and progressive JPEG, grey, YCbCr, RGB and CMYK/YCCK (including the inverted CMYK
// that Adobe's programs write). Throws Failure with the decoder's message; a file that ends
// before its last row is refused rather than shown half grey.
RgbImage decodeJpeg(const std::uint8_t* data, std::size_t size);

}  // namespace dg
