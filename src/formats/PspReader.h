#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// Paint Shop Pro files (.psp), file format versions 3 and later. The visible raster layers are
// laid onto white paper in the file's order with their opacity and transparency masks; a
// one-layer file is simply that layer. Channels may be stored plain, run-length coded or LZ77
// (zlib) compressed, at 1, 4 or 8 bits through a palette, 8 or 16 bits grey, or 24 and 48 bits
// colour. The layout is written down in the .cpp.

// Whether the start of a file is a Paint Shop Pro signature followed by its first block.
bool looksPsp(const std::uint8_t* data, std::size_t size);

// The picture as 24 bits. Throws Failure for a damaged, cut short or unsupported file.
RgbImage decodePsp(const std::uint8_t* data, std::size_t size);

}  // namespace dg
