#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// Autodesk Animator pictures: the original Animator's PIC and CEL files (id 0x9119) and the
// Animator Pro PIC and MSK files (id 0x9500). The layouts are written down in the .cpp.

// Whether the start of a file is either header with values the format allows.
bool looksAutodesk(const std::uint8_t* data, std::size_t size);

// The picture as 24 bits through its palette. Throws Failure for a damaged, cut short or
// unsupported file.
RgbImage decodeAutodesk(const std::uint8_t* data, std::size_t size);

}  // namespace dg
