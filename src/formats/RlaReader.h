#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// Alias/Wavefront RLA and RPF pictures of 8-bit channels: one (grey) to three colour
// channels and an optional matte, which is laid over white.
RgbImage decodeRla(const std::uint8_t* data, std::size_t size);

}  // namespace dg
