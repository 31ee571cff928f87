#include "formats/PsdReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "formats/ByteOrder.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"
#include "imaging/Parallel.h"

// File layout (all numbers big-endian):
//   header, 26 bytes: "8BPS", version (1 = PSD, 2 = large document), 6 reserved zero bytes,
//     channel count (1..56), height, width (1..30000, or 1..300000 for version 2),
//     bits per sample (1, 8, 16, 32), colour mode (0 bitmap, 1 grey, 2 indexed, 3 RGB, 4 CMYK,
//     7 multichannel, 8 duotone, 9 Lab);
//   colour mode data: 32-bit length, then for indexed pictures 256 reds, 256 greens, 256 blues;
//   image resources: 32-bit length, then blocks "8BIM", 16-bit id, even-padded Pascal name,
//     32-bit size, data padded to even (id 1047 holds the transparent palette index);
//   layer and mask information: 32-bit length (64-bit in version 2); inside, the layer info
//     starts with its own length and a 16-bit layer count that is negative when the first
//     extra channel of the merged picture is its transparency;
//   merged picture: 16-bit compression (0 raw, 1 PackBits, 2 and 3 zip), then the channels one
//     after the other, each as rows of (width * bits + 7) / 8 bytes; PackBits data begins with
//     the compressed size of every row of every channel (16-bit, 32-bit in version 2).
// Photoshop mattes the merged picture against white where it is transparent, which is the
// colour of the paper, so the colours are kept as they are; only pixels that are wholly
// transparent are forced to white, for writers that leave rubbish under them.

namespace dg {

namespace {

constexpr std::size_t kHeaderSize = 26;
constexpr std::uint32_t kMaxChannels = 56;

enum ColorMode : std::uint32_t {
    kBitmap = 0,
    kGrey = 1,
    kIndexed = 2,
    kRgb = 3,
    kCmyk = 4,
    kMultichannel = 7,
    kDuotone = 8,
    kLab = 9,
};

struct Header {
    std::uint32_t version = 0;
    std::uint32_t channels = 0;
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    std::uint32_t depth = 0;
    std::uint32_t mode = 0;
};

[[noreturn]] void damaged(const std::string& what) { throw Failure("Damaged Photoshop file: " + what + "."); }

Header readHeader(const std::uint8_t* d) {
    Header h;
    h.version = bytes::be16(d + 4);
    h.channels = bytes::be16(d + 12);
    h.height = bytes::be32(d + 14);
    h.width = bytes::be32(d + 18);
    h.depth = bytes::be16(d + 22);
    h.mode = bytes::be16(d + 24);
    return h;
}

bool knownMode(std::uint32_t mode) {
    return mode <= kCmyk || mode == kMultichannel || mode == kDuotone || mode == kLab;
}

// A bounded reader over the file: every read checks that the bytes are there.
class Cursor {
public:
    Cursor(const std::uint8_t* data, std::size_t size, std::size_t pos)
        : data_(data), size_(size), pos_(pos) {}
    std::size_t pos() const { return pos_; }
    std::uint64_t left() const { return size_ - pos_; }
    std::uint64_t number(int bytes, const char* what) {
        need(static_cast<std::uint64_t>(bytes), what);
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v = (v << 8) | data_[pos_ + static_cast<std::size_t>(i)];
        pos_ += static_cast<std::size_t>(bytes);
        return v;
    }
    void need(std::uint64_t n, const char* what) const {
        if (n > left()) damaged(std::string(what) + " is cut short");
    }
    const std::uint8_t* here() const { return data_ + pos_; }
    void skip(std::uint64_t n, const char* what) {
        need(n, what);
        pos_ += static_cast<std::size_t>(n);
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_;
};

// Photoshop's PackBits rows: a signed count byte n, then n + 1 literal bytes (n >= 0) or one
// byte repeated 1 - n times (n < 0, -128 being a no-op). A row must fill exactly.
void unpackBits(const std::uint8_t* src, std::size_t srcLen, std::uint8_t* dst, std::size_t dstLen) {
    std::size_t i = 0;
    std::size_t o = 0;
    while (o < dstLen) {
        if (i >= srcLen) damaged("a compressed row is cut short");
        const int n = static_cast<std::int8_t>(src[i++]);
        if (n >= 0) {
            const auto count = static_cast<std::size_t>(n) + 1;
            if (count > srcLen - i) damaged("a compressed row is cut short");
            if (count > dstLen - o) damaged("a compressed row is longer than the picture");
            std::memcpy(dst + o, src + i, count);
            i += count;
            o += count;
        } else if (n != -128) {
            const auto count = static_cast<std::size_t>(1 - n);
            if (i >= srcLen) damaged("a compressed row is cut short");
            if (count > dstLen - o) damaged("a compressed row is longer than the picture");
            std::memset(dst + o, src[i++], count);
            o += count;
        }
    }
}

// The transparent palette index from the image resources, or -1. The resources are only
// metadata, so a malformed block ends the search instead of failing the picture.
int transparentIndex(const std::uint8_t* p, std::uint64_t length) {
    std::uint64_t at = 0;
    while (length - at >= 12) {
        const std::uint8_t* block = p + at;
        if (std::memcmp(block, "8BIM", 4) != 0) return -1;
        const std::uint32_t id = bytes::be16(block + 4);
        const std::uint64_t nameBytes = (std::uint64_t{block[6]} + 2) & ~std::uint64_t{1};
        if (6 + nameBytes + 4 > length - at) return -1;
        const std::uint64_t dataSize = bytes::be32(block + 6 + nameBytes);
        const std::uint64_t dataAt = at + 6 + nameBytes + 4;
        if (dataSize > length - dataAt) return -1;
        if (id == 1047 && dataSize >= 2) return static_cast<int>(bytes::be16(p + dataAt));
        at = dataAt + ((dataSize + 1) & ~std::uint64_t{1});
    }
    return -1;
}

std::uint8_t mul255(std::uint32_t a, std::uint32_t b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// Photoshop's Lab (D50 white; L in 0..255 for 0..100, a and b offset by 128) to sRGB, through
// XYZ and the Bradford-adapted D50 matrix.
void labToRgb(std::uint8_t l8, std::uint8_t a8, std::uint8_t b8, std::uint8_t& red, std::uint8_t& green,
              std::uint8_t& blue) {
    const double l = l8 * (100.0 / 255.0);
    const double fy = (l + 16.0) / 116.0;
    const double fx = fy + (a8 - 128.0) / 500.0;
    const double fz = fy - (b8 - 128.0) / 200.0;
    const auto inverse = [](double t) {
        return t > 6.0 / 29.0 ? t * t * t : 3.0 * (6.0 / 29.0) * (6.0 / 29.0) * (t - 4.0 / 29.0);
    };
    const double x = 0.9642 * inverse(fx);
    const double y = inverse(fy);
    const double z = 0.8249 * inverse(fz);
    const double linear[3] = {3.1338561 * x - 1.6168667 * y - 0.4906146 * z,
                              -0.9787684 * x + 1.9161415 * y + 0.0334540 * z,
                              0.0719453 * x - 0.2289914 * y + 1.4052427 * z};
    std::uint8_t* out[3] = {&red, &green, &blue};
    for (int i = 0; i < 3; ++i) {
        const double c = std::clamp(linear[i], 0.0, 1.0);
        const double encoded = c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
        *out[i] = static_cast<std::uint8_t>(std::nearbyint(encoded * 255.0));
    }
}

}  // namespace

bool looksPsd(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize || std::memcmp(data, "8BPS", 4) != 0) return false;
    for (int i = 6; i < 12; ++i) {
        if (data[i] != 0) return false;
    }
    const Header h = readHeader(data);
    const std::uint32_t maxSide = h.version == 2 ? 300000 : 30000;
    if (h.version != 1 && h.version != 2) return false;
    if (h.channels < 1 || h.channels > kMaxChannels) return false;
    if (h.width < 1 || h.height < 1 || h.width > maxSide || h.height > maxSide) return false;
    if (h.depth != 1 && h.depth != 8 && h.depth != 16 && h.depth != 32) return false;
    if (!knownMode(h.mode)) return false;
    return (h.mode == kBitmap) == (h.depth == 1);
}

RgbImage decodePsd(const std::uint8_t* data, std::size_t size) {
    if (size < 4 || std::memcmp(data, "8BPS", 4) != 0) throw Failure("Not a Photoshop file.");
    if (size < kHeaderSize) damaged("the header is cut short");
    const Header h = readHeader(data);
    if (h.version != 1 && h.version != 2) {
        throw Failure("Unsupported Photoshop file version " + std::to_string(h.version) + ".");
    }
    const bool large = h.version == 2;
    if (h.channels < 1 || h.channels > kMaxChannels) damaged("bad channel count");
    if (!knownMode(h.mode)) damaged("unknown colour mode");
    if (h.mode == kMultichannel) throw Failure("Photoshop multichannel pictures are not supported.");
    if (h.depth == 32) throw Failure("Photoshop pictures of 32 bits per channel are not supported.");
    if ((h.mode == kBitmap && h.depth != 1) || (h.mode != kBitmap && h.depth != 8 && h.depth != 16)) {
        damaged("bad bit depth");
    }
    checkPictureSize(h.width, h.height);

    std::uint32_t colorChannels = 1;
    if (h.mode == kRgb || h.mode == kLab) colorChannels = 3;
    if (h.mode == kCmyk) colorChannels = 4;
    if (h.channels < colorChannels) damaged("too few channels for its colour mode");

    Cursor in(data, size, kHeaderSize);

    std::array<std::uint8_t, 768> palette{};
    const std::uint64_t colorDataSize = in.number(4, "the colour table");
    if (h.mode == kIndexed) {
        if (colorDataSize < 768) damaged("the colour table is missing");
        in.need(768, "the colour table");
        std::memcpy(palette.data(), in.here(), 768);
    }
    in.skip(colorDataSize, "the colour table");

    const std::uint64_t resourcesSize = in.number(4, "the image resources");
    in.need(resourcesSize, "the image resources");
    const int transparent = h.mode == kIndexed ? transparentIndex(in.here(), resourcesSize) : -1;
    in.skip(resourcesSize, "the image resources");

    const int lengthBytes = large ? 8 : 4;
    const std::uint64_t layersSize = in.number(lengthBytes, "the layer information");
    in.need(layersSize, "the layer information");
    bool mergedAlpha = false;
    if (layersSize >= static_cast<std::uint64_t>(lengthBytes) + 2) {
        Cursor layers(in.here(), static_cast<std::size_t>(layersSize), 0);
        const std::uint64_t infoSize = layers.number(lengthBytes, "the layer information");
        if (infoSize >= 2)
            mergedAlpha = static_cast<std::int16_t>(layers.number(2, "the layer information")) < 0;
    }
    in.skip(layersSize, "the layer information");

    const bool hasAlpha = mergedAlpha && h.mode != kBitmap && h.channels > colorChannels;
    const std::uint32_t used = colorChannels + (hasAlpha ? 1 : 0);
    const std::uint64_t rowBytes = (std::uint64_t{h.width} * h.depth + 7) / 8;
    const std::uint64_t rows = std::uint64_t{h.height} * used;

    const std::uint64_t compression = in.number(2, "the merged picture");
    // Where each row of each channel used starts, and how many bytes it takes in the file.
    std::vector<std::uint64_t> rowStart(static_cast<std::size_t>(rows));
    std::vector<std::uint64_t> rowLength(static_cast<std::size_t>(rows), rowBytes);
    if (compression == 0) {
        in.need(rows * rowBytes, "the merged picture");
        for (std::uint64_t r = 0; r < rows; ++r) rowStart[r] = in.pos() + r * rowBytes;
    } else if (compression == 1) {
        const int countBytes = large ? 4 : 2;
        const std::uint64_t tableSize =
            std::uint64_t{h.channels} * h.height * static_cast<std::uint64_t>(countBytes);
        in.need(tableSize, "the row size table");
        Cursor table(in.here(), static_cast<std::size_t>(tableSize), 0);
        std::uint64_t at = in.pos() + tableSize;
        for (std::uint64_t r = 0; r < rows; ++r) {
            const std::uint64_t length = table.number(countBytes, "the row size table");
            // PackBits turns 2 bytes into at most 128: a row claiming fewer is damaged, and
            // this keeps a tiny file from claiming a huge picture.
            if (length * 64 < rowBytes) damaged("a compressed row is too short for the picture");
            rowStart[r] = at;
            rowLength[r] = length;
            at += length;
        }
        if (at > size) damaged("the merged picture is cut short");
    } else if (compression == 2 || compression == 3) {
        throw Failure("Photoshop files with a zip-compressed merged picture are not supported.");
    } else {
        damaged("unknown compression");
    }

    RgbImage picture(static_cast<std::int32_t>(h.width), static_cast<std::int32_t>(h.height));
    const auto width = static_cast<std::size_t>(h.width);
    const std::uint32_t depth = h.depth;
    const std::uint32_t mode = h.mode;

    forEachRowBlock(picture.height(), [&](std::int32_t begin, std::int32_t end) {
        std::vector<std::vector<std::uint8_t>> packed(
            used, std::vector<std::uint8_t>(compression == 1 ? rowBytes : 0));
        std::vector<std::vector<std::uint8_t>> samples(used,
                                                       std::vector<std::uint8_t>(depth == 16 ? width : 0));
        std::array<const std::uint8_t*, 5> channel{};
        for (std::int32_t y = begin; y < end; ++y) {
            for (std::uint32_t c = 0; c < used; ++c) {
                const std::size_t r = static_cast<std::size_t>(c) * h.height + static_cast<std::size_t>(y);
                const std::uint8_t* src = data + rowStart[r];
                if (compression == 1) {
                    unpackBits(src, static_cast<std::size_t>(rowLength[r]), packed[c].data(),
                               packed[c].size());
                    src = packed[c].data();
                }
                if (depth == 16) {
                    for (std::size_t x = 0; x < width; ++x) {
                        const std::uint32_t v = bytes::be16(src + 2 * x);
                        samples[c][x] = static_cast<std::uint8_t>((v * 255 + 32767) / 65535);
                    }
                    src = samples[c].data();
                }
                channel[c] = src;
            }
            std::uint8_t* out = picture.row(y);
            for (std::size_t x = 0; x < width; ++x, out += 3) {
                std::uint8_t red = 0;
                std::uint8_t green = 0;
                std::uint8_t blue = 0;
                switch (mode) {
                    case kBitmap: {
                        // A set bit is black ink on white paper.
                        const bool ink = (channel[0][x >> 3] >> (7 - (x & 7))) & 1;
                        red = green = blue = ink ? 0 : 255;
                        break;
                    }
                    case kIndexed: {
                        const std::uint8_t i = channel[0][x];
                        if (i == transparent) {
                            red = green = blue = 255;
                        } else {
                            red = palette[i];
                            green = palette[256 + i];
                            blue = palette[512 + i];
                        }
                        break;
                    }
                    case kLab:
                        labToRgb(channel[0][x], channel[1][x], channel[2][x], red, green, blue);
                        break;
                    case kRgb:
                        red = channel[0][x];
                        green = channel[1][x];
                        blue = channel[2][x];
                        break;
                    case kCmyk: {
                        // Stored inverted: 255 means no ink, so each value is already the share
                        // of light that the ink lets through.
                        const std::uint8_t k = channel[3][x];
                        red = mul255(channel[0][x], k);
                        green = mul255(channel[1][x], k);
                        blue = mul255(channel[2][x], k);
                        break;
                    }
                    default:  // grey and duotone
                        red = green = blue = channel[0][x];
                        break;
                }
                if (hasAlpha && channel[colorChannels][x] == 0) red = green = blue = 255;
                out[0] = blue;
                out[1] = green;
                out[2] = red;
            }
        }
    });
    return picture;
}

}  // namespace dg
