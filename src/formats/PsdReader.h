#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// Photoshop PSD and PDD files (and the large-document variant). Only the merged picture that
// Photoshop stores after the layers is read: raw or PackBits rows, 1, 8 or 16 bits per sample,
// bitmap, grey, duotone (as grey), indexed, RGB, CMYK and Lab.

// Whether the start of a file is a Photoshop header with values the format allows.
bool looksPsd(const std::uint8_t* data, std::size_t size);

// The merged picture as 24 bits; fully transparent pixels come out white. Throws Failure for a
// damaged, cut short or unsupported file.
RgbImage decodePsd(const std::uint8_t* data, std::size_t size);

}  // namespace dg
