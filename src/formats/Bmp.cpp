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

std::vector<std::uint8_t> encodeBmp(const RgbImage& picture) {
    const std::size_t rowBytes = static_cast<std::size_t>(picture.width()) * 3;
    const std::size_t stride = RgbImage::strideFor(picture.width());
    const std::uint64_t pixelBytes = static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(picture.height());
    const std::uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + pixelBytes;
    if (fileSize > 0xFFFFFFFFu) throw Failure("The picture is too large for a BMP file.");
    std::vector<std::uint8_t> file(static_cast<std::size_t>(fileSize), 0);
    std::uint8_t* h = file.data();
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
    put32(info + 20, static_cast<std::uint32_t>(pixelBytes));
    put32(info + 24, 3780);  // 96 DPI in pixels per metre
    put32(info + 28, 3780);
    std::uint8_t* out = h + kFileHeaderSize + kInfoHeaderSize;
    for (std::int32_t y = picture.height() - 1; y >= 0; --y) {
        std::memcpy(out, picture.row(y), rowBytes);  // padding stays 0
        out += stride;
    }
    return file;
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
    if (offset > size || neededUnpadded > size) throw Failure("Damaged BMP file: the pixel data is cut short.");
    RgbImage picture(width, height);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    for (std::int32_t i = 0; i < height; ++i) {
        const std::int32_t y = topDown ? i : height - 1 - i;
        std::memcpy(picture.row(y), bytes + offset + stride * static_cast<std::size_t>(i), rowBytes);
    }
    return picture;
}

}  // namespace dg
