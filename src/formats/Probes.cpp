#include "formats/Probes.h"

#include <cstring>

#include "formats/ByteOrder.h"

namespace dg {

using bytes::be16;
using bytes::be32;
using bytes::le16;
using bytes::le32;

bool looksTga(const std::uint8_t* d, std::size_t size) {
    if (size < 18) return false;
    const unsigned idLength = d[0];
    const unsigned mapType = d[1];
    const unsigned imageType = d[2];
    const unsigned mapLength = le16(d + 5);
    const unsigned mapEntryBits = d[7];
    const unsigned width = le16(d + 12);
    const unsigned height = le16(d + 14);
    const unsigned depth = d[16];
    const unsigned descriptor = d[17];
    if (mapType > 1 || width == 0 || height == 0) return false;
    if ((descriptor & 0xC0) != 0 || (descriptor & 0x0F) > 8) return false;  // no interleaving
    const bool mapped = imageType == 1 || imageType == 9;
    const bool trueColor = imageType == 2 || imageType == 10;
    const bool grey = imageType == 3 || imageType == 11;
    if (!mapped && !trueColor && !grey) return false;
    std::size_t mapBytes = 0;
    if (mapType == 1) {
        if (mapLength == 0) return false;
        if (mapEntryBits != 15 && mapEntryBits != 16 && mapEntryBits != 24 && mapEntryBits != 32) return false;
        mapBytes = static_cast<std::size_t>(mapLength) * ((mapEntryBits + 7) / 8);
    } else if (mapped) {
        return false;
    }
    if (mapped && depth != 8 && depth != 16) return false;
    if (trueColor && depth != 15 && depth != 16 && depth != 24 && depth != 32) return false;
    if (grey && depth != 8 && depth != 16) return false;
    return size > 18 + idLength + mapBytes;
}

bool looksTiff(const std::uint8_t* d, std::size_t size) {
    if (size < 16) return false;
    const bool little = d[0] == 'I' && d[1] == 'I';
    const bool big = d[0] == 'M' && d[1] == 'M';
    if (!little && !big) return false;
    const std::uint32_t version = little ? le16(d + 2) : be16(d + 2);
    if (version == 42) {
        const std::uint32_t ifd = little ? le32(d + 4) : be32(d + 4);
        return ifd >= 8 && ifd <= size - 2;
    }
    if (version == 43) {  // BigTIFF: 8-byte offsets
        const std::uint32_t offsetSize = little ? le16(d + 4) : be16(d + 4);
        const std::uint32_t high = little ? le32(d + 12) : be32(d + 8);
        const std::uint32_t low = little ? le32(d + 8) : be32(d + 12);
        return offsetSize == 8 && high == 0 && low >= 16 && low <= size - 8;
    }
    return false;
}

bool looksEps(const std::uint8_t* d, std::size_t size) {
    static const char kAdobe[] = "%!PS-Adobe-";
    if (size >= sizeof kAdobe - 1 && std::memcmp(d, kAdobe, sizeof kAdobe - 1) == 0) return true;
    // The DOS EPS binary header: the PostScript section must lie inside the file.
    if (size >= 30 && d[0] == 0xC5 && d[1] == 0xD0 && d[2] == 0xD3 && d[3] == 0xC6) {
        const std::uint64_t start = le32(d + 4);
        const std::uint64_t length = le32(d + 8);
        return start >= 30 && length >= 4 && start + length <= size &&
               std::memcmp(d + start, "%!PS", 4) == 0;
    }
    return false;
}

bool looksPcx(const std::uint8_t* d, std::size_t size) {
    if (size < 128 || d[0] != 0x0A) return false;
    const unsigned version = d[1];
    const unsigned encoding = d[2];
    const unsigned bits = d[3];
    const unsigned planes = d[65];
    if (version != 0 && version != 2 && version != 3 && version != 4 && version != 5) return false;
    if (encoding > 1) return false;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8) return false;
    if (planes < 1 || planes > 4) return false;
    if (le16(d + 8) < le16(d + 4) || le16(d + 10) < le16(d + 6)) return false;
    const unsigned bytesPerLine = le16(d + 66);
    const unsigned width = le16(d + 8) - le16(d + 4) + 1;
    return bytesPerLine != 0 && bytesPerLine * 8u >= width * bits;
}

bool looksRla(const std::uint8_t* d, std::size_t size) {
    if (size < 740) return false;
    const auto s16 = [&](std::size_t at) { return static_cast<std::int16_t>(be16(d + at)); };
    // Active window: left, right, bottom, top.
    if (s16(10) < s16(8) || s16(14) < s16(12)) return false;
    if (s16(2) < s16(0) || s16(6) < s16(4)) return false;
    const unsigned storage = be16(d + 18);
    const unsigned channels = be16(d + 20);
    const unsigned mattes = be16(d + 22);
    if (storage != 0 || channels > 3 || mattes > 1) return false;  // 8-bit channels only
    // The colour-space field names the channels.
    const std::uint8_t* chan = d + 580;
    return (chan[0] | 0x20) == 'r' && (chan[1] | 0x20) == 'g' && (chan[2] | 0x20) == 'b';
}

bool looksSgi(const std::uint8_t* d, std::size_t size) {
    if (size < 512 || be16(d) != 474) return false;
    const unsigned storage = d[2];
    const unsigned bpc = d[3];
    const unsigned dimension = be16(d + 4);
    const unsigned xs = be16(d + 6);
    const unsigned ys = be16(d + 8);
    const unsigned zs = be16(d + 10);
    if (storage > 1 || (bpc != 1 && bpc != 2) || dimension < 1 || dimension > 3) return false;
    return xs > 0 && ys > 0 && zs > 0 && zs <= 4;
}

namespace {

// Reads one decimal header number of a portable map, skipping white space and comments.
bool pnmNumber(const std::uint8_t* d, std::size_t size, std::size_t& at, unsigned long& value) {
    for (;;) {
        if (at >= size) return false;
        const std::uint8_t c = d[at];
        if (c == '#') {
            while (at < size && d[at] != '\n' && d[at] != '\r') ++at;
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
            ++at;
        } else {
            break;
        }
    }
    if (d[at] < '0' || d[at] > '9') return false;
    value = 0;
    while (at < size && d[at] >= '0' && d[at] <= '9') {
        value = value * 10 + (d[at] - '0');
        if (value > 0xFFFFFFFFul) return false;
        ++at;
    }
    return true;
}

}  // namespace

bool looksPnm(const std::uint8_t* d, std::size_t size) {
    if (size < 3 || d[0] != 'P' || d[1] < '1' || d[1] > '6') return false;
    const std::uint8_t gap = d[2];
    if (gap != ' ' && gap != '\t' && gap != '\n' && gap != '\r' && gap != '#') return false;
    std::size_t at = 2;
    unsigned long width = 0;
    unsigned long height = 0;
    if (!pnmNumber(d, size, at, width) || !pnmNumber(d, size, at, height)) return false;
    if (width == 0 || height == 0) return false;
    const bool bitmap = d[1] == '1' || d[1] == '4';
    if (bitmap) return true;
    unsigned long maxValue = 0;
    return pnmNumber(d, size, at, maxValue) && maxValue >= 1 && maxValue <= 65535;
}

bool tgaSize(const std::uint8_t* d, std::size_t size, ClaimedSize& claimed) {
    if (size < 18) return false;
    claimed = {le16(d + 12), le16(d + 14)};
    return true;
}

bool pcxSize(const std::uint8_t* d, std::size_t size, ClaimedSize& claimed) {
    if (size < 12) return false;
    claimed = {std::int64_t{le16(d + 8)} - le16(d + 4) + 1, std::int64_t{le16(d + 10)} - le16(d + 6) + 1};
    return true;
}

bool rlaSize(const std::uint8_t* d, std::size_t size, ClaimedSize& claimed) {
    if (size < 16) return false;
    const auto s16 = [&](std::size_t at) { return std::int64_t{static_cast<std::int16_t>(be16(d + at))}; };
    claimed = {s16(10) - s16(8) + 1, s16(14) - s16(12) + 1};
    return true;
}

bool sgiSize(const std::uint8_t* d, std::size_t size, ClaimedSize& claimed) {
    if (size < 12) return false;
    claimed = {be16(d + 6), be16(d + 8)};
    return true;
}

bool pnmSize(const std::uint8_t* d, std::size_t size, ClaimedSize& claimed) {
    std::size_t at = 2;
    unsigned long width = 0;
    unsigned long height = 0;
    if (size < 3 || !pnmNumber(d, size, at, width) || !pnmNumber(d, size, at, height)) return false;
    claimed = {static_cast<std::int64_t>(width), static_cast<std::int64_t>(height)};
    return true;
}

bool cutSize(const std::uint8_t* d, std::size_t size, ClaimedSize& claimed) {
    if (size < 4) return false;
    claimed = {le16(d), le16(d + 2)};
    return true;
}

bool looksPcd(const std::uint8_t* d, std::size_t size) {
    // The image pack information sits in sector 1; the base image starts at sector 96.
    return size > 0x30000 && std::memcmp(d + 0x800, "PCD_IPI", 7) == 0;
}

bool looksCut(const std::uint8_t* d, std::size_t size) {
    // No magic number: width, height, a reserved zero word, then the first run-length line,
    // which must add up to the width (at 8, 4 or 1 bits a pixel) and end where its byte
    // count says.
    if (size < 9) return false;
    const unsigned width = le16(d);
    const unsigned height = le16(d + 2);
    if (width == 0 || height == 0 || le16(d + 4) != 0) return false;
    const std::size_t lineBytes = le16(d + 6);
    std::size_t at = 8;
    const std::size_t end = 8 + lineBytes;
    if (lineBytes < 1 || end > size) return false;
    unsigned long pixels = 0;
    while (at < end) {
        const unsigned run = d[at];
        const unsigned count = run & 0x7F;
        if (count == 0) return at + 1 == end && (pixels == width || pixels * 2 == width || pixels * 8 == width);
        at += (run & 0x80) ? 2 : 1 + count;
        pixels += count;
    }
    return false;
}

bool looksPng(const std::uint8_t* d, std::size_t size) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 33 || std::memcmp(d, kSignature, 8) != 0) return false;
    if (be32(d + 8) != 13 || std::memcmp(d + 12, "IHDR", 4) != 0) return false;
    const std::uint32_t width = be32(d + 16);
    const std::uint32_t height = be32(d + 20);
    const unsigned depth = d[24];
    const unsigned colorType = d[25];
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) return false;
    switch (colorType) {
        case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
        case 2:
        case 4:
        case 6: return depth == 8 || depth == 16;
        default: return false;
    }
}

}  // namespace dg
