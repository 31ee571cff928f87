#include "formats/AutodeskReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "formats/ByteOrder.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

// File layouts (little-endian):
//
// Original Animator PIC and CEL, 32-byte header:
//   0 id 0x9119, 2 width (320 for a PIC), 4 height (200 for a PIC), 6 x and 8 y offset,
//   10 bits per pixel (8), 11 compression (0), 12 size of the pixel data (width * height),
//   16 sixteen reserved bytes;
//   then 256 palette entries of red, green, blue in 0..63, then one byte per pixel, rows top
//   to bottom. A full-screen PIC is 32 + 768 + 64000 bytes.
//
// Animator Pro PIC and MSK, 64-byte header:
//   0 file size, 4 id 0x9500, 6 width, 8 height, 10 x and 12 y offset, 14 user id,
//   18 bits per pixel (8 for a PIC, 1 for an MSK), 19 45 reserved bytes;
//   then chunks, each a 32-bit size (with its 6-byte head) and a 16-bit type:
//     0 colour map: a 16-bit version, then 256 entries of red, green, blue in 0..255;
//     1 pixels: one byte per pixel, rows top to bottom;
//     2 mask: one bit per pixel, the leftmost in the high bit, each row starting on a byte.
//   Rows are taken as unpadded unless the chunk's size shows them padded to an even number of
//   bytes, which is how Animator Pro lays them out in memory.
// A Pro picture without a colour map is shown through a grey ramp; a set mask bit is black.

namespace dg {

namespace {

constexpr std::size_t kOldHeader = 32;
constexpr std::size_t kProHeader = 64;
constexpr std::uint32_t kOldId = 0x9119;
constexpr std::uint32_t kProId = 0x9500;

[[noreturn]] void damaged(const std::string& what) {
    throw Failure("Damaged Autodesk picture: " + what + ".");
}

bool looksPro(const std::uint8_t* d, std::size_t size) {
    if (size < kProHeader || bytes::le16(d + 4) != kProId) return false;
    const std::uint32_t depth = d[18];
    return bytes::le16(d + 6) != 0 && bytes::le16(d + 8) != 0 && (depth == 8 || depth == 1) &&
           bytes::le32(d) >= kProHeader;
}

bool looksOld(const std::uint8_t* d, std::size_t size) {
    if (size < kOldHeader || bytes::le16(d) != kOldId) return false;
    const std::uint32_t width = bytes::le16(d + 2);
    const std::uint32_t height = bytes::le16(d + 4);
    return width != 0 && height != 0 && d[10] == 8 && d[11] == 0 && bytes::le32(d + 12) == width * height;
}

void writePixels(RgbImage& picture, const std::uint8_t* pixels, std::size_t stride,
                 const std::array<std::uint8_t, 768>& palette) {
    const auto width = static_cast<std::size_t>(picture.width());
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        const std::uint8_t* in = pixels + stride * static_cast<std::size_t>(y);
        std::uint8_t* out = picture.row(y);
        for (std::size_t x = 0; x < width; ++x, out += 3) {
            const std::uint8_t* rgb = palette.data() + 3 * in[x];
            out[0] = rgb[2];
            out[1] = rgb[1];
            out[2] = rgb[0];
        }
    }
}

RgbImage decodeOld(const std::uint8_t* d, std::size_t size) {
    if (size < kOldHeader) damaged("the header is cut short");
    const std::uint32_t width = bytes::le16(d + 2);
    const std::uint32_t height = bytes::le16(d + 4);
    if (d[10] != 8 || d[11] != 0) throw Failure("Only uncompressed 8-bit Animator pictures are supported.");
    checkPictureSize(width, height);
    const std::uint64_t pixels = std::uint64_t{width} * height;
    if (kOldHeader + 768 + pixels > size) damaged("the pixel data is cut short");
    std::array<std::uint8_t, 768> palette{};
    for (std::size_t i = 0; i < 768; ++i) {
        const std::uint32_t v = std::min<std::uint32_t>(d[kOldHeader + i], 63);
        palette[i] = static_cast<std::uint8_t>((v * 255 + 31) / 63);
    }
    RgbImage picture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    writePixels(picture, d + kOldHeader + 768, width, palette);
    return picture;
}

RgbImage decodePro(const std::uint8_t* d, std::size_t size) {
    if (size < kProHeader) damaged("the header is cut short");
    const std::uint32_t width = bytes::le16(d + 6);
    const std::uint32_t height = bytes::le16(d + 8);
    const std::uint32_t depth = d[18];
    if (depth != 8 && depth != 1) {
        throw Failure("Animator Pro pictures of " + std::to_string(depth) +
                      " bits per pixel are not supported.");
    }
    checkPictureSize(width, height);

    std::array<std::uint8_t, 768> palette{};
    bool havePalette = false;
    const std::uint8_t* pixels = nullptr;
    std::uint64_t pixelBytes = 0;
    std::uint64_t at = kProHeader;
    while (at < size) {
        if (size - at < 6) damaged("a chunk header is cut short");
        const std::uint64_t chunkSize = bytes::le32(d + at);
        const std::uint32_t type = bytes::le16(d + at + 4);
        if (chunkSize < 6) damaged("a chunk has a bad size");
        if (chunkSize > size - at) damaged("a chunk is cut short");
        const std::uint8_t* body = d + at + 6;
        const std::uint64_t bodySize = chunkSize - 6;
        if (type == 0) {
            if (bodySize < 2 + 768) damaged("the colour map is too short");
            std::memcpy(palette.data(), body + 2, 768);
            havePalette = true;
        } else if ((type == 1 && depth == 8) || (type == 2 && depth == 1)) {
            pixels = body;
            pixelBytes = bodySize;
        }
        at += chunkSize;
    }
    if (pixels == nullptr) damaged("the pixel data is missing");

    const std::uint64_t tight = depth == 8 ? width : (std::uint64_t{width} + 7) / 8;
    const std::uint64_t even = (tight + 1) & ~std::uint64_t{1};
    std::uint64_t stride = tight;
    if (pixelBytes != tight * height && pixelBytes == even * height) stride = even;
    if (pixelBytes < stride * height) damaged("the pixel data is cut short");

    RgbImage picture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    if (depth == 8) {
        if (!havePalette) {
            for (std::size_t i = 0; i < 256; ++i)
                palette[3 * i] = palette[3 * i + 1] = palette[3 * i + 2] = static_cast<std::uint8_t>(i);
        }
        writePixels(picture, pixels, static_cast<std::size_t>(stride), palette);
        return picture;
    }
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        const std::uint8_t* in = pixels + stride * static_cast<std::uint64_t>(y);
        std::uint8_t* out = picture.row(y);
        for (std::uint32_t x = 0; x < width; ++x, out += 3) {
            const bool set = (in[x >> 3] >> (7 - (x & 7))) & 1;
            out[0] = out[1] = out[2] = set ? 0 : 255;
        }
    }
    return picture;
}

}  // namespace

bool looksAutodesk(const std::uint8_t* data, std::size_t size) {
    return looksPro(data, size) || looksOld(data, size);
}

RgbImage decodeAutodesk(const std::uint8_t* data, std::size_t size) {
    if (size >= 6 && bytes::le16(data + 4) == kProId) return decodePro(data, size);
    if (size >= 2 && bytes::le16(data) == kOldId) return decodeOld(data, size);
    throw Failure("Not an Autodesk Animator picture.");
}

}  // namespace dg
