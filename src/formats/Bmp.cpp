#include "formats/Bmp.h"

#include <cstring>
#include <string>

#include "imaging/Failure.h"

namespace dg {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}
std::uint32_t get16(const std::uint8_t* p) { return p[0] | (std::uint32_t{p[1]} << 8); }
std::uint32_t get32(const std::uint8_t* p) { return get16(p) | (get16(p + 2) << 16); }

}  // namespace

std::uint32_t pixelsPerMetre(std::int32_t dotsPerInch) {
    if (dotsPerInch <= 0) return 0;
    // dpi / 0.0254 = dpi * 5000 / 127, rounded half up in integers.
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(dotsPerInch) * 10000 + 127) / 254);
}

namespace {

// The file size of a picture's BMP file; throws when it does not fit the format.
std::uint64_t bmpFileSize(const RgbImage& picture) {
    const std::uint64_t pixelBytes = static_cast<std::uint64_t>(RgbImage::strideFor(picture.width())) *
                                     static_cast<std::uint64_t>(picture.height());
    const std::uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
    if (fileSize > 0xFFFFFFFFu) throw Failure("The picture is too large for a BMP file.");
    return fileSize;
}

void putHeader(std::uint8_t* h, const RgbImage& picture, std::uint64_t fileSize, std::int32_t dotsPerInch) {
    std::memset(h, 0, kFileHeaderSize + kInfoHeaderSize);
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, static_cast<std::uint32_t>(fileSize));
    put32(h + 10, kFileHeaderSize + kInfoHeaderSize);
    std::uint8_t* info = h + kFileHeaderSize;
    put32(info, kInfoHeaderSize);
    put32(info + 4, static_cast<std::uint32_t>(picture.width()));
    put32(info + 8, static_cast<std::uint32_t>(picture.height()));
    put16(info + 12, 1);   // planes
    put16(info + 14, 24);  // bits per pixel
    put32(info + 16, 0);   // BI_RGB
    put32(info + 20, static_cast<std::uint32_t>(fileSize - kFileHeaderSize - kInfoHeaderSize));
    put32(info + 24, pixelsPerMetre(dotsPerInch));
    put32(info + 28, pixelsPerMetre(dotsPerInch));
}

constexpr std::uint8_t kZeroPadding[3] = {0, 0, 0};

}  // namespace

void setBmpPixelsPerMetre(std::vector<std::uint8_t>& file, std::uint32_t across, std::uint32_t down) {
    if (file.size() < kFileHeaderSize + kInfoHeaderSize) throw Failure("Not a BMP file.");
    put32(file.data() + kFileHeaderSize + 24, across);
    put32(file.data() + kFileHeaderSize + 28, down);
}

std::vector<std::uint8_t> encodeBmp(const RgbImage& picture, std::int32_t dotsPerInch) {
    const std::uint64_t fileSize = bmpFileSize(picture);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * 3;
    const std::size_t stride = RgbImage::strideFor(picture.width());
    std::vector<std::uint8_t> file(static_cast<std::size_t>(fileSize), 0);
    std::uint8_t* h = file.data();
    putHeader(h, picture, fileSize, dotsPerInch);
    std::uint8_t* out = h + kFileHeaderSize + kInfoHeaderSize;
    if (rowBytes == 0) return file;  // 0 x H: no pixels, and no memory to copy from
    for (std::int32_t y = picture.height() - 1; y >= 0; --y) {
        std::memcpy(out, picture.row(y), rowBytes);  // padding stays 0
        out += stride;
    }
    return file;
}

std::vector<std::span<const std::uint8_t>> bmpPieces(const RgbImage& picture, std::int32_t dotsPerInch,
                                                     BmpHeader& header) {
    static_assert(std::tuple_size_v<BmpHeader> == kFileHeaderSize + kInfoHeaderSize);
    putHeader(header.data(), picture, bmpFileSize(picture), dotsPerInch);
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * 3;
    const std::size_t padding = RgbImage::strideFor(picture.width()) - rowBytes;
    std::vector<std::span<const std::uint8_t>> pieces;
    pieces.reserve(1 + static_cast<std::size_t>(picture.height()) * (padding > 0 ? 2 : 1));
    pieces.emplace_back(header);
    // Rows that follow one another bottom-up are not next to each other in memory, so each
    // row is its own piece; the picture's padding bytes are not written (they are undefined).
    for (std::int32_t y = picture.height() - 1; y >= 0; --y) {
        pieces.emplace_back(picture.row(y), rowBytes);
        if (padding > 0) pieces.emplace_back(kZeroPadding, padding);
    }
    return pieces;
}

RgbImage decodeBmp24(const std::uint8_t* bytes, std::size_t size) {
    if (size < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
        throw Failure("Not a BMP file.");
    }
    const std::uint32_t offset = get32(bytes + 10);
    const std::uint8_t* info = bytes + kFileHeaderSize;
    const std::uint32_t infoSize = get32(info);
    if (infoSize < kInfoHeaderSize) throw Failure("Unsupported BMP header.");
    const auto width = static_cast<std::int32_t>(get32(info + 4));
    const auto rawHeight = static_cast<std::int32_t>(get32(info + 8));
    const std::uint32_t bits = get16(info + 14);
    const std::uint32_t compression = get32(info + 16);
    if (bits != 24 || compression != 0) throw Failure("Only 24-bit uncompressed BMP files are read here.");
    if (width < 0 || rawHeight == INT32_MIN) throw Failure("Damaged BMP file: bad picture size.");
    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    const std::size_t stride = RgbImage::strideFor(width);
    const std::uint64_t needed = static_cast<std::uint64_t>(offset) +
                                 static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height);
    // The last row need not carry its padding.
    const std::uint64_t neededUnpadded =
        height == 0 ? offset : needed - stride + static_cast<std::uint64_t>(width) * 3;
    if (offset > size || neededUnpadded > size)
        throw Failure("Damaged BMP file: the pixel data is cut short.");
    RgbImage picture(width, height);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    // A picture 0 pixels wide has rows without bytes, and no memory behind them.
    for (std::int32_t i = 0; rowBytes > 0 && i < height; ++i) {
        const std::int32_t y = topDown ? i : height - 1 - i;
        std::memcpy(picture.row(y), bytes + offset + stride * static_cast<std::size_t>(i), rowBytes);
    }
    return picture;
}

}  // namespace dg

// ---------------------------------------------------------------------------------------
// Every BMP variant and the clipboard's DIB.

#include <algorithm>
#include <bit>
#include <vector>

#include "formats/JpegReader.h"
#include "formats/PictureLimits.h"
#include "formats/PngReader.h"

namespace dg {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

[[noreturn]] void damaged(const char* what) { throw Failure(std::string("Damaged BMP file: ") + what + "."); }

// One colour channel held under a bit mask, widened to 0..255 by repeating its bits (so
// five bits of 31 become 255, as everywhere else 16-bit pixels are shown); wider channels
// keep their top eight bits.
struct MaskChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    int width = 0;

    explicit MaskChannel(std::uint32_t m = 0) : mask(m) {
        if (m == 0) return;
        shift = std::countr_zero(m);
        width = std::min(32 - shift, std::countr_one(m >> shift));
    }
    std::uint8_t operator()(std::uint32_t pixel) const {
        if (width == 0) return 0;
        const std::uint32_t v = (pixel >> shift) & ((width >= 32) ? 0xFFFFFFFFu : ((1u << width) - 1));
        if (width >= 8) return static_cast<std::uint8_t>(v >> (width - 8));
        std::uint32_t out = 0;
        for (int at = 8 - width; at > -width; at -= width) out |= at >= 0 ? v << at : v >> -at;
        return static_cast<std::uint8_t>(out);
    }
};

struct DibHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;  // positive; see topDown
    bool topDown = false;
    std::uint32_t bits = 0;
    std::uint32_t compression = kBiRgb;
    std::uint32_t headerSize = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
    bool core = false;                      // OS/2 1.x: 16-bit sizes, 3-byte palette entries
    std::size_t masksSize = 0;              // bit masks stored after a 40-byte header
};

DibHeader readHeader(const std::uint8_t* d, std::size_t size) {
    DibHeader h;
    if (size < 12) damaged("the header is cut short");
    h.headerSize = get32(d);
    if (h.headerSize == 12) {
        h.core = true;
        h.width = get16(d + 4);
        h.height = get16(d + 6);
        h.bits = get16(d + 10);
    } else if (h.headerSize >= 16 && h.headerSize <= 124) {
        if (size < h.headerSize) damaged("the header is cut short");
        h.width = static_cast<std::int32_t>(get32(d + 4));
        const auto rawHeight = static_cast<std::int32_t>(get32(d + 8));
        h.topDown = rawHeight < 0;
        h.height = h.topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
        h.bits = get16(d + 14);
        if (h.headerSize >= 20) h.compression = get32(d + 16);
        if (h.headerSize >= 36) h.colorsUsed = get32(d + 32);
        const bool os2v2 = h.headerSize == 64 || (h.headerSize < 40 && h.headerSize != 12);
        if (os2v2 && (h.compression == 3 || h.compression == 4)) {
            throw Failure("This OS/2 BMP compression (Huffman or RLE24) is not supported.");
        }
        if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
            const std::size_t count = h.compression == kBiAlphaBitfields ? 4 : 3;
            if (h.headerSize >= 40 + 4 * count) {
                for (std::size_t i = 0; i < count; ++i) h.masks[i] = get32(d + 40 + 4 * i);
            } else if (h.headerSize == 40) {
                h.masksSize = 4 * count;
                if (size < 40 + h.masksSize) damaged("the bit masks are cut short");
                for (std::size_t i = 0; i < count; ++i) h.masks[i] = get32(d + 40 + 4 * i);
            } else {
                damaged("the bit masks are missing");
            }
        }
        if (h.headerSize >= 56) h.masks[3] = get32(d + 52);  // v3 and later headers name an alpha mask
    } else {
        damaged("unknown header size");
    }
    if (h.width <= 0 || h.height <= 0) damaged("bad picture size");
    return h;
}

std::vector<std::uint8_t> readPalette(const DibHeader& h, const std::uint8_t* d, std::size_t size,
                                      std::size_t at) {
    // Blue, green, red triples, whatever the file's entry size.
    std::vector<std::uint8_t> palette(256 * 3, 0);
    if (h.bits > 8) return palette;
    std::size_t count =
        h.colorsUsed != 0 ? std::min<std::size_t>(h.colorsUsed, 256) : (std::size_t{1} << h.bits);
    const std::size_t entry = h.core ? 3 : 4;
    count = std::min(count, (size - std::min(size, at)) / entry);
    for (std::size_t i = 0; i < count; ++i) std::memcpy(&palette[3 * i], d + at + entry * i, 3);
    return palette;
}

std::size_t paletteBytes(const DibHeader& h) {
    if (h.bits > 8)
        return h.compression == kBiRgb ? std::size_t{4} * std::min<std::uint32_t>(h.colorsUsed, 1024) : 0;
    const std::size_t count =
        h.colorsUsed != 0 ? std::min<std::size_t>(h.colorsUsed, 256) : (std::size_t{1} << h.bits);
    return count * (h.core ? 3 : 4);
}

void decodeRle(const DibHeader& h, const std::vector<std::uint8_t>& palette, const std::uint8_t* p,
               const std::uint8_t* end, RgbImage& picture) {
    const bool four = h.compression == kBiRle4;
    const auto width = static_cast<std::int32_t>(h.width);
    const auto height = static_cast<std::int32_t>(h.height);
    std::int32_t x = 0;
    std::int32_t line = 0;  // counted from the first stored row
    auto put = [&](unsigned index) {
        if (x < width && line < height) {
            const std::int32_t y = h.topDown ? line : height - 1 - line;
            std::memcpy(picture.row(y) + 3 * static_cast<std::size_t>(x), &palette[3 * (index & 0xFF)], 3);
        }
        ++x;
    };
    while (line < height) {
        if (end - p < 2) damaged("the compressed data is cut short");
        const unsigned count = p[0];
        const unsigned value = p[1];
        p += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++line;
        } else if (value == 1) {  // end of picture
            return;
        } else if (value == 2) {  // move right and down
            if (end - p < 2) damaged("the compressed data is cut short");
            x += p[0];
            line += p[1];
            p += 2;
        } else {  // a run of literal pixels, padded to a whole word
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            const std::size_t padded = (bytes + 1) & ~std::size_t{1};
            if (static_cast<std::size_t>(end - p) < bytes) damaged("the compressed data is cut short");
            for (unsigned i = 0; i < value; ++i)
                put(four ? ((i & 1) ? p[i / 2] & 0x0F : p[i / 2] >> 4) : p[i]);
            p += std::min(padded, static_cast<std::size_t>(end - p));
        }
    }
}

RgbImage decodePixels(const DibHeader& h, const std::uint8_t* d, std::size_t size, std::size_t paletteAt,
                      std::size_t pixelsAt, bool fourthByteIsAlpha = false) {
    if (h.compression == kBiJpeg) {
        if (pixelsAt >= size) damaged("the pixel data is cut short");
        return decodeJpeg(d + pixelsAt, size - pixelsAt);
    }
    if (h.compression == kBiPng) {
        if (pixelsAt >= size) damaged("the pixel data is cut short");
        return decodePng(d + pixelsAt, size - pixelsAt);
    }
    checkPictureSize(h.width, h.height);
    const auto width = static_cast<std::int32_t>(h.width);
    const auto height = static_cast<std::int32_t>(h.height);
    const std::uint32_t bits = h.bits;
    const bool rle = h.compression == kBiRle8 || h.compression == kBiRle4;
    if (rle && bits != (h.compression == kBiRle8 ? 8u : 4u))
        damaged("the compression does not fit the depth");
    if (!rle && h.compression != kBiRgb && h.compression != kBiBitfields &&
        h.compression != kBiAlphaBitfields) {
        damaged("unknown compression");
    }
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        damaged("unknown number of bits a pixel");
    }
    if ((h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) && bits != 16 && bits != 32) {
        damaged("bit masks need 16 or 32 bits a pixel");
    }
    if (pixelsAt > size) damaged("the pixel data is cut short");
    const std::vector<std::uint8_t> palette = readPalette(h, d, size, paletteAt);
    if (rle) {
        RgbImage picture(width, height);  // pixels the runs skip stay paper white
        decodeRle(h, palette, d + pixelsAt, d + size, picture);
        return picture;
    }
    const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    const std::size_t lastRow = (static_cast<std::size_t>(width) * bits + 7) / 8;
    if ((size - pixelsAt) < stride * static_cast<std::size_t>(height - 1) + lastRow) {
        damaged("the pixel data is cut short");
    }
    RgbImage picture(width, height);
    std::uint32_t masks[4] = {h.masks[0], h.masks[1], h.masks[2], h.masks[3]};
    if (h.compression == kBiRgb) {
        masks[0] = bits == 16 ? 0x7C00 : 0xFF0000;
        masks[1] = bits == 16 ? 0x03E0 : 0x00FF00;
        masks[2] = bits == 16 ? 0x001F : 0x0000FF;
        // The fourth byte of a plain 32-bit DIB is unused, often garbage or 0, except in icons.
        masks[3] = bits == 32 && fourthByteIsAlpha ? 0xFF000000u : 0;
    }
    const MaskChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    std::vector<std::uint8_t> opacity;
    if (masks[3] != 0 && bits >= 16) opacity.resize(static_cast<std::size_t>(width) * height);
    for (std::int32_t i = 0; i < height; ++i) {
        const std::int32_t y = h.topDown ? i : height - 1 - i;
        const std::uint8_t* in = d + pixelsAt + stride * static_cast<std::size_t>(i);
        std::uint8_t* out = picture.row(y);
        if (bits == 24) {
            std::memcpy(out, in, static_cast<std::size_t>(width) * 3);
        } else if (bits <= 8) {
            const unsigned perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (std::int32_t x = 0; x < width; ++x) {
                const unsigned shift = 8 - bits * (1 + static_cast<unsigned>(x) % perByte);
                const unsigned index = (in[static_cast<unsigned>(x) / perByte] >> shift) & mask;
                std::memcpy(out + 3 * static_cast<std::size_t>(x), &palette[3 * index], 3);
            }
        } else {
            std::uint8_t* a =
                opacity.empty() ? nullptr : opacity.data() + static_cast<std::size_t>(y) * width;
            for (std::int32_t x = 0; x < width; ++x, out += 3) {
                const std::uint32_t p = bits == 16 ? get16(in + 2 * static_cast<std::size_t>(x))
                                                   : get32(in + 4 * static_cast<std::size_t>(x));
                out[0] = blue(p);
                out[1] = green(p);
                out[2] = red(p);
                if (a != nullptr) a[x] = alpha(p);
            }
        }
    }
    // Many programs write a zero alpha byte everywhere; such a picture is opaque, not invisible.
    if (!opacity.empty() &&
        std::any_of(opacity.begin(), opacity.end(), [](std::uint8_t v) { return v != 0; })) {
        for (std::int32_t y = 0; y < height; ++y) {
            std::uint8_t* out = picture.row(y);
            const std::uint8_t* a = opacity.data() + static_cast<std::size_t>(y) * width;
            for (std::int32_t x = 0; x < width; ++x, out += 3) {
                const unsigned alphaValue = a[x];
                for (int c = 0; c < 3; ++c) {
                    out[c] = static_cast<std::uint8_t>(
                        (out[c] * alphaValue + 255 * (255 - alphaValue) + 127) / 255);
                }
            }
        }
    }
    return picture;
}

}  // namespace

RgbImage decodeDib(const std::uint8_t* bytes, std::size_t size) {
    const DibHeader h = readHeader(bytes, size);
    const std::size_t paletteAt = h.headerSize + h.masksSize;
    return decodePixels(h, bytes, size, paletteAt, paletteAt + paletteBytes(h));
}

RgbImage decodeIconDib(const std::uint8_t* bytes, std::size_t size) {
    DibHeader h = readHeader(bytes, size);
    // The header counts the colour rows and the transparency mask rows below them.
    h.height /= 2;
    if (h.height == 0 || h.topDown) damaged("bad icon size");
    const std::size_t paletteAt = h.headerSize + h.masksSize;
    const std::size_t pixelsAt = paletteAt + paletteBytes(h);
    RgbImage picture = decodePixels(h, bytes, size, paletteAt, pixelsAt, true);
    if (h.bits == 32 || h.compression != kBiRgb) return picture;  // 32 bits carry their own alpha
    const auto width = static_cast<std::int32_t>(h.width);
    const auto height = static_cast<std::int32_t>(h.height);
    const std::size_t stride = ((static_cast<std::size_t>(width) * h.bits + 31) / 32) * 4;
    const std::size_t maskAt = pixelsAt + stride * static_cast<std::size_t>(height);
    const std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
    // Some writers leave the mask out; the icon is then opaque.
    if (maskAt > size || size - maskAt < maskStride * static_cast<std::size_t>(height)) return picture;
    for (std::int32_t i = 0; i < height; ++i) {
        const std::uint8_t* mask = bytes + maskAt + maskStride * static_cast<std::size_t>(i);
        std::uint8_t* out = picture.row(height - 1 - i);
        for (std::int32_t x = 0; x < width; ++x) {
            if ((mask[x / 8] >> (7 - x % 8)) & 1) std::memset(out + 3 * static_cast<std::size_t>(x), 255, 3);
        }
    }
    return picture;
}

RgbImage decodeBmp(const std::uint8_t* bytes, std::size_t size) {
    if (size < kFileHeaderSize + 12 || bytes[0] != 'B' || bytes[1] != 'M') throw Failure("Not a BMP file.");
    const std::uint8_t* dib = bytes + kFileHeaderSize;
    const std::size_t dibSize = size - kFileHeaderSize;
    const DibHeader h = readHeader(dib, dibSize);
    const std::size_t paletteAt = h.headerSize + h.masksSize;
    std::size_t pixelsAt = get32(bytes + 10);
    // Some writers leave the offset at 0 or point into the header; the pixels then follow the
    // palette.
    if (pixelsAt < kFileHeaderSize + paletteAt || pixelsAt >= size) {
        pixelsAt = kFileHeaderSize + paletteAt + paletteBytes(h);
    }
    return decodePixels(h, dib, dibSize, paletteAt, pixelsAt - kFileHeaderSize);
}

}  // namespace dg
