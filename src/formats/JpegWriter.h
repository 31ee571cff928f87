#pragma once

#include <cstdint>
#include <vector>

#include "imaging/RgbImage.h"

namespace dg {

// Exported pages are written at this quality.
inline constexpr int kPageJpegQuality = 90;

// A baseline (not progressive) colour JPEG file of the picture. The same picture always gives
// the same bytes. Throws Failure for an empty picture or when the encoder fails.
std::vector<std::uint8_t> encodeJpeg(const RgbImage& picture, int quality = kPageJpegQuality);

}  // namespace dg
