#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/RgbImage.h"

namespace dg {

// A standard Windows BMP file of 24 bits per pixel, no palette, bottom-up rows. A resolution
// in dots per inch is written as pixels per metre, so that other programs print the picture
// at its true size; 0 claims none.
std::vector<std::uint8_t> encodeBmp(const RgbImage& picture, std::int32_t dotsPerInch = 0);

// The headers in front of the pixel rows of encodeBmp's file.
using BmpHeader = std::array<std::uint8_t, 54>;

// encodeBmp's file as pieces laid end to end, without a copy of the pixels: the header, then
// the picture's rows bottom-up, each with its zero padding. The pieces point into `header`
// (filled here) and into the picture, so both must outlive them.
std::vector<std::span<const std::uint8_t>> bmpPieces(const RgbImage& picture, std::int32_t dotsPerInch,
                                                     BmpHeader& header);

// Pixels per metre for a resolution in dots per inch, rounded to the nearest.
std::uint32_t pixelsPerMetre(std::int32_t dotsPerInch);

// Sets the resolution of an encoded BMP file, across and down, for a picture that prints
// stretched to a size of its own.
void setBmpPixelsPerMetre(std::vector<std::uint8_t>& file, std::uint32_t across, std::uint32_t down);

// Reads an uncompressed 24-bit BMP file (bottom-up or top-down). Throws Failure with a
// message naming what is wrong for anything else or for a damaged file.
RgbImage decodeBmp24(const std::uint8_t* bytes, std::size_t size);
inline RgbImage decodeBmp24(const std::vector<std::uint8_t>& bytes) {
    return decodeBmp24(bytes.data(), bytes.size());
}

// Reads any Windows or OS/2 BMP file: every header version (core, info, v2 to v5, OS/2 2.x),
// 1, 2, 4, 8, 16, 24 and 32 bits a pixel, uncompressed, RLE4, RLE8, bit fields, and the
// JPEG or PNG pictures a BMP header may wrap; bottom-up or top-down. Palette pictures come
// out with their palette's colours; where a 32-bit picture carries real transparency, it is
// laid over white. Throws Failure for a damaged file.
RgbImage decodeBmp(const std::uint8_t* bytes, std::size_t size);

// A device-independent bitmap as the clipboard holds it: the same as a BMP file without the
// 14-byte file header, so the pixels follow the header, bit masks and palette directly.
RgbImage decodeDib(const std::uint8_t* bytes, std::size_t size);

// One picture of an icon file in DIB form: the header's height counts the colour rows and the
// 1-bit transparency mask after them; masked pixels become white.
RgbImage decodeIconDib(const std::uint8_t* bytes, std::size_t size);

}  // namespace dg
