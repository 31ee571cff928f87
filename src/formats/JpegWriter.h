#pragma once

#include <cstdint>
#include <vector>

#include "imaging/RgbImage.h"

namespace dg {

// Exported pages are written at this quality.
inline constexpr int kPageJpegQuality = 90;

// A baseline (not progressive) colour JPEG file of the picture. The same picture always gives
// the same bytes. A resolution in dots per inch goes into the JFIF header's density, so that
// other programs print the picture at its true size; 0 claims none (only the pixel aspect).
// Throws Failure for an empty picture or when the encoder fails.
std::vector<std::uint8_t> encodeJpeg(const RgbImage& picture, int quality = kPageJpegQuality,
                                     std::int32_t dotsPerInch = 0);

}  // namespace dg
