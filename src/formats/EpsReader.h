#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// Encapsulated PostScript (plain, or behind the DOS binary header), drawn by Ghostscript at
// 144 dots per inch over its bounding box. Ghostscript runs as a child process in its safe
// mode, bounded by the picture limits' drawing time and memory (PictureLimits), and its
// messages never reach the terminal: a file that loops, eats memory or stops with a
// PostScript error is refused with a message in plain words.
RgbImage decodeEps(const std::uint8_t* data, std::size_t size);

}  // namespace dg
