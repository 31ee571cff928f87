#pragma once

#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// The number of distinct 24-bit colours of the picture; 0 for an empty one. Fails with a
// message when the memory for its colour table cannot be had.
std::int64_t CountColors(const RgbImage& picture);

}  // namespace dg
