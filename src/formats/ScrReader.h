#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// Word 5 screen captures (.scr): ZSoft PCX files whose first byte is 0xCD in place of 0x0A.
// The decoder reads the PCX layout in either form: run-length or plain rows; 1 bit in 1 to 4
// planes, 2, 4 and 8 bits in one plane, 8 bits in 3 or 4 planes (red, green, blue, alpha).

// Whether the start of a file is a screen-capture header (first byte 0xCD) with values the
// PCX layout allows.
bool looksScr(const std::uint8_t* data, std::size_t size);

// The picture as 24 bits, palettes resolved. Throws Failure for a damaged, cut short or
// unsupported file.
RgbImage decodeScr(const std::uint8_t* data, std::size_t size);

}  // namespace dg
