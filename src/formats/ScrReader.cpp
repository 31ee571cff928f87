#include "formats/ScrReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "formats/ByteOrder.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

// File layout (little-endian):
//   header, 128 bytes: 0 maker (0x0A for PCX, 0xCD for a Word screen capture), 1 version
//   (0, 2, 3, 4, 5), 2 encoding (1 run-length, 0 plain), 3 bits per pixel per plane, 4 xmin,
//   6 ymin, 8 xmax, 10 ymax (inclusive), 12 and 14 resolution, 16 a 16-colour palette of RGB
//   triples, 64 reserved, 65 plane count, 66 bytes per plane line, 68 palette kind, 70 screen
//   size, 74 filler;
//   then every line as one run of bytes per plane. Run-length data: a byte with its two top
//   bits set repeats the next byte (its low 6 bits times); any other byte stands for itself.
//   Runs are decoded as one stream, so a run crossing the end of a line is still read.
//   8-bit single-plane pictures end with 0x0C and a 256-colour palette of RGB triples, which
//   only a grey picture (palette kind 2) may leave out.

namespace dg {

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kTrailingPaletteSize = 769;

// The palette a 16-colour picture gets when its file carries none (version 3, or all black).
constexpr std::array<std::uint8_t, 48> kEgaPalette = {0,   0,  0,  0,   0,  170, 0,   170, 0,  0,   170, 170,
                                                      170, 0,  0,  170, 0,  170, 170, 85,  0,  170, 170, 170,
                                                      85,  85, 85, 85,  85, 255, 85,  255, 85, 85,  255, 255,
                                                      255, 85, 85, 255, 85, 255, 255, 255, 85, 255, 255, 255};

[[noreturn]] void damaged(const std::string& what) { throw Failure("Damaged PCX picture: " + what + "."); }

struct Header {
    std::uint32_t maker, version, encoding, bits, planes, bytesPerLine;
    std::int64_t width, height;
};

Header readHeader(const std::uint8_t* d) {
    Header h{};
    h.maker = d[0];
    h.version = d[1];
    h.encoding = d[2];
    h.bits = d[3];
    h.planes = d[65];
    h.bytesPerLine = bytes::le16(d + 66);
    h.width = static_cast<std::int64_t>(bytes::le16(d + 8)) - bytes::le16(d + 4) + 1;
    h.height = static_cast<std::int64_t>(bytes::le16(d + 10)) - bytes::le16(d + 6) + 1;
    return h;
}

bool supportedLayout(std::uint32_t bits, std::uint32_t planes) {
    if (bits == 1) return planes >= 1 && planes <= 4;
    if (bits == 2 || bits == 4) return planes == 1;
    if (bits == 8) return planes == 1 || planes == 3 || planes == 4;
    return false;
}

bool knownVersion(std::uint32_t v) { return v == 0 || v == 2 || v == 3 || v == 4 || v == 5; }

// Hands out the picture's bytes line by line from the run-length stream.
class RunReader {
public:
    RunReader(const std::uint8_t* p, std::size_t n, bool packed) : p_(p), n_(n), packed_(packed) {}
    void fill(std::uint8_t* out, std::size_t count) {
        if (!packed_) {
            if (count > n_ - at_) damaged("the pixel data is cut short");
            std::memcpy(out, p_ + at_, count);
            at_ += count;
            return;
        }
        std::size_t o = 0;
        while (o < count) {
            if (repeat_ == 0) {
                if (at_ >= n_) damaged("the pixel data is cut short");
                const std::uint8_t b = p_[at_++];
                if ((b & 0xC0) == 0xC0) {
                    if (at_ >= n_) damaged("the pixel data is cut short");
                    repeat_ = b & 0x3F;
                    value_ = p_[at_++];
                    continue;
                }
                out[o++] = b;
                continue;
            }
            const std::size_t take = std::min<std::size_t>(repeat_, count - o);
            std::memset(out + o, value_, take);
            o += take;
            repeat_ -= take;
        }
    }

private:
    const std::uint8_t* p_;
    std::size_t n_;
    bool packed_;
    std::size_t at_ = 0;
    std::size_t repeat_ = 0;
    std::uint8_t value_ = 0;
};

int bitsAt(const std::uint8_t* line, std::size_t x, std::uint32_t bits) {
    const std::size_t bit = x * bits;
    return (line[bit >> 3] >> (8 - bits - (bit & 7))) & ((1 << bits) - 1);
}

}  // namespace

bool looksScr(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize || data[0] != 0xCD) return false;
    const Header h = readHeader(data);
    if (!knownVersion(h.version) || h.encoding > 1 || !supportedLayout(h.bits, h.planes)) return false;
    if (h.width < 1 || h.height < 1) return false;
    return h.bytesPerLine >= (static_cast<std::uint64_t>(h.width) * h.bits + 7) / 8;
}

RgbImage decodeScr(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || (data[0] != 0xCD && data[0] != 0x0A)) throw Failure("Not a PCX or screen capture file.");
    if (size < kHeaderSize) damaged("the header is cut short");
    const Header h = readHeader(data);
    if (!knownVersion(h.version) || h.encoding > 1) damaged("unknown version or encoding");
    if (!supportedLayout(h.bits, h.planes)) {
        throw Failure("PCX pictures of " + std::to_string(h.bits) + " bits in " + std::to_string(h.planes) +
                      " planes are not supported.");
    }
    if (h.width < 1 || h.height < 1) damaged("bad picture size");
    checkPictureSize(h.width, h.height);
    const std::uint64_t lineBytes = std::uint64_t{h.bytesPerLine} * h.planes;
    if (h.bytesPerLine < (static_cast<std::uint64_t>(h.width) * h.bits + 7) / 8)
        damaged("lines shorter than the picture");

    // A run of two bytes makes at most 63, so a file too small for the lines it claims is cut
    // short; saying so now keeps a huge claimed size from being allocated.
    const std::uint64_t body = size - kHeaderSize;
    const std::uint64_t needed = lineBytes * static_cast<std::uint64_t>(h.height);
    if (h.encoding == 1 ? needed > body * 32 : needed > body) damaged("the pixel data is cut short");

    // Colours of the palette kinds; an index always stays inside its table.
    std::array<std::uint8_t, 768> palette{};
    const std::uint32_t indexBits = h.bits * (h.bits == 1 ? h.planes : 1);
    if (indexBits == 8 && h.planes == 1) {
        if (size >= kHeaderSize + kTrailingPaletteSize && data[size - kTrailingPaletteSize] == 0x0C) {
            std::memcpy(palette.data(), data + size - 768, 768);
        } else if (bytes::le16(data + 68) == 2) {
            for (int i = 0; i < 256; ++i)
                palette[3 * i] = palette[3 * i + 1] = palette[3 * i + 2] = static_cast<std::uint8_t>(i);
        } else {
            // Only a grey picture may go without; anywhere else the end of the file is lost.
            damaged("the colour palette at the end is missing");
        }
    } else if (indexBits == 1) {
        const bool distinct = std::memcmp(data + 16, data + 19, 3) != 0;
        if (distinct) {
            std::memcpy(palette.data(), data + 16, 6);
        } else {
            std::memset(palette.data() + 3, 255, 3);  // black and white
        }
    } else if (indexBits <= 4) {
        bool blank = true;
        for (std::size_t i = 16; i < 64; ++i) blank = blank && data[i] == 0;
        std::memcpy(palette.data(), (h.version == 3 || blank) ? kEgaPalette.data() : data + 16, 48);
    }

    RgbImage picture(static_cast<std::int32_t>(h.width), static_cast<std::int32_t>(h.height));
    RunReader runs(data + kHeaderSize, size - kHeaderSize, h.encoding == 1);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(lineBytes));
    const auto width = static_cast<std::size_t>(h.width);
    const std::size_t bpl = h.bytesPerLine;
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        runs.fill(line.data(), line.size());
        std::uint8_t* out = picture.row(y);
        if (h.bits == 8 && h.planes >= 3) {
            for (std::size_t x = 0; x < width; ++x, out += 3) {
                std::uint32_t red = line[x];
                std::uint32_t green = line[bpl + x];
                std::uint32_t blue = line[2 * bpl + x];
                if (h.planes == 4) {  // onto white paper
                    const std::uint32_t a = line[3 * bpl + x];
                    red = (red * a + 255 * (255 - a) + 127) / 255;
                    green = (green * a + 255 * (255 - a) + 127) / 255;
                    blue = (blue * a + 255 * (255 - a) + 127) / 255;
                }
                out[0] = static_cast<std::uint8_t>(blue);
                out[1] = static_cast<std::uint8_t>(green);
                out[2] = static_cast<std::uint8_t>(red);
            }
            continue;
        }
        for (std::size_t x = 0; x < width; ++x, out += 3) {
            std::size_t index = 0;
            if (h.planes == 1) {
                index = h.bits == 8 ? line[x] : static_cast<std::size_t>(bitsAt(line.data(), x, h.bits));
            } else {
                for (std::uint32_t p = 0; p < h.planes; ++p) {
                    index |= static_cast<std::size_t>(bitsAt(line.data() + p * bpl, x, 1)) << p;
                }
            }
            out[0] = palette[3 * index + 2];
            out[1] = palette[3 * index + 1];
            out[2] = palette[3 * index];
        }
    }
    return picture;
}

}  // namespace dg
