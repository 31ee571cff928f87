#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// Every PNG colour type and depth (palette, grey, 16-bit, interlaced); transparency, from an
// alpha channel or a tRNS chunk, is laid over white.
RgbImage decodePng(const std::uint8_t* data, std::size_t size);

}  // namespace dg
