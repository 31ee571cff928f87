#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// The first page of a TIFF file: any photometric interpretation and compression libtiff
// knows (LZW, PackBits, Deflate, JPEG, CCITT Group 3 and 4 fax), strips or tiles, 1 to 16
// bits a sample. Transparency is laid over white.
RgbImage decodeTiff(const std::uint8_t* data, std::size_t size);

}  // namespace dg
