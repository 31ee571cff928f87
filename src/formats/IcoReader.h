#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// The largest picture of a Windows icon file (the deepest of equal size), whether it is
// stored as a DIB with its transparency mask or as a PNG. Transparent parts become white.
RgbImage decodeIco(const std::uint8_t* data, std::size_t size);

}  // namespace dg
