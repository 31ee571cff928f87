#pragma once

#include <cstdint>
#include <vector>

#include "imaging/RgbImage.h"

namespace dg {

// A standard Windows BMP file of 24 bits per pixel, no palette, bottom-up rows.
std::vector<std::uint8_t> encodeBmp(const RgbImage& picture);

// Reads an uncompressed 24-bit BMP file (bottom-up or top-down). Throws Failure with a
// message naming what is wrong for anything else or for a damaged file.
RgbImage decodeBmp24(const std::uint8_t* bytes, std::size_t size);
inline RgbImage decodeBmp24(const std::vector<std::uint8_t>& bytes) {
    return decodeBmp24(bytes.data(), bytes.size());
}

}  // namespace dg
