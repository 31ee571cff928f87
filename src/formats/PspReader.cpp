#include "formats/PspReader.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "formats/ByteOrder.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

// File layout (little-endian). "Version" is the file format's major version (3 for the
// program's release 5, 4 for release 6 and so on).
//   header: the 32-byte signature "Paint Shop Pro Image File\n\x1a" padded with zeros, then
//     16-bit major and minor version;
//   blocks: "~BK\0", 16-bit block id, then in version 3 a 32-bit size of the block's fixed
//     information, then the 32-bit size of the whole block body. From version 4 on, a block's
//     fixed information starts with its own 32-bit size instead.
//   block 0, image attributes: width, height (32-bit), resolution (double), metric (8-bit),
//     compression (16-bit: 0 none, 1 run-length, 2 LZ77), bits per pixel (16-bit: 1, 4, 8,
//     16, 24, 48), planes (16-bit), colour count (32-bit), grey flag (8-bit), ...;
//   block 2, palette: entry count (32-bit), then entries of blue, green, red, zero;
//   block 3, layer bank: a row of layer blocks (id 4), bottom layer first. A layer's
//     information: name (16-bit length and text; 256 bytes in version 3), type (8-bit; 1
//     raster and 2 floating selection from version 4, 0 and 1 in version 3), image rectangle
//     and saved rectangle (four 32-bit numbers each, left, top, right, bottom; the saved one
//     is the part stored, relative to the first), opacity, blend mode, visibility, ... From
//     version 4 the raster information follows the layer information (preceded, in newer
//     files, by an extension block): 32-bit size, bitmap count, channel count (16-bit each).
//     Then the channel blocks (id 5): compressed and uncompressed length (32-bit), bitmap type
//     (16-bit: 0 colour, 1 transparency mask, 2 user mask), channel type (16-bit: 0 index or
//     grey, 1 red, 2 green, 3 blue), then the data.
//   channel data: rows of the saved rectangle's width, 16-bit samples low byte first; 1- and
//     4-bit rows end on a 4-byte boundary. Run-length: a count above 128 repeats the next byte
//     count - 128 times, any other count copies that many bytes. LZ77 is a zlib stream.
// Blend modes other than normal are laid on as normal.

namespace dg {

namespace {

constexpr char kSignature[32] = "Paint Shop Pro Image File\n\x1a";
constexpr std::size_t kHeaderSize = 36;

enum BlockId : std::uint32_t {
    kImageBlock = 0,
    kPaletteBlock = 2,
    kLayerBank = 3,
    kLayerBlock = 4,
    kChannelBlock = 5
};

[[noreturn]] void damaged(const std::string& what) {
    throw Failure("Damaged Paint Shop Pro file: " + what + ".");
}

struct Range {
    std::size_t begin;
    std::size_t end;
};

struct Block {
    std::uint32_t id;
    std::size_t infoSize;  // version 3 only
    Range body;
};

class Reader {
public:
    Reader(const std::uint8_t* data, std::uint32_t version) : d_(data), version_(version) {}

    std::uint32_t version() const { return version_; }
    const std::uint8_t* at(std::size_t pos) const { return d_ + pos; }

    void need(const Range& r, std::size_t pos, std::uint64_t n, const char* what) const {
        if (pos > r.end || n > r.end - pos) damaged(std::string(what) + " is cut short");
    }
    std::uint32_t u8(const Range& r, std::size_t pos, const char* what) const {
        need(r, pos, 1, what);
        return d_[pos];
    }
    std::uint32_t u16(const Range& r, std::size_t pos, const char* what) const {
        need(r, pos, 2, what);
        return bytes::le16(d_ + pos);
    }
    std::uint32_t u32(const Range& r, std::size_t pos, const char* what) const {
        need(r, pos, 4, what);
        return bytes::le32(d_ + pos);
    }

    Block block(const Range& r, std::size_t pos) const {
        const std::size_t headSize = version_ == 3 ? 14 : 10;
        need(r, pos, headSize, "a block header");
        if (std::memcmp(d_ + pos, "~BK\0", 4) != 0) damaged("a block header is missing");
        Block b{};
        b.id = bytes::le16(d_ + pos + 4);
        b.infoSize = version_ == 3 ? bytes::le32(d_ + pos + 6) : 0;
        const std::uint64_t bodySize = bytes::le32(d_ + pos + headSize - 4);
        b.body.begin = pos + headSize;
        need(r, b.body.begin, bodySize, "a block");
        b.body.end = b.body.begin + static_cast<std::size_t>(bodySize);
        return b;
    }

    // Where a block's data follows its fixed information.
    std::size_t afterInfo(const Block& b, const char* what) const {
        const std::uint64_t info = version_ == 3 ? b.infoSize : u32(b.body, b.body.begin, what);
        need(b.body, b.body.begin, info, what);
        return b.body.begin + static_cast<std::size_t>(info);
    }

private:
    const std::uint8_t* d_;
    std::uint32_t version_;
};

struct Attributes {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t compression = 0;
    std::uint32_t depth = 0;
    bool grey = false;
};

Attributes readAttributes(const Reader& in, const Block& b) {
    std::size_t p = b.body.begin + (in.version() >= 4 ? 4 : 0);
    Attributes a;
    a.width = static_cast<std::int32_t>(in.u32(b.body, p, "the image attributes"));
    a.height = static_cast<std::int32_t>(in.u32(b.body, p + 4, "the image attributes"));
    a.compression = in.u16(b.body, p + 17, "the image attributes");
    a.depth = in.u16(b.body, p + 19, "the image attributes");
    a.grey = in.u8(b.body, p + 27, "the image attributes") != 0;
    return a;
}

std::uint64_t lineBytes(std::int64_t width, std::uint32_t depth) {
    const auto w = static_cast<std::uint64_t>(width);
    if (depth < 8) return ((w * depth + 7) / 8 + 3) / 4 * 4;
    return w * (depth == 16 || depth == 48 ? 2 : 1);
}

// Unpacks one channel into exactly out.size() bytes.
void unpackChannel(const std::uint8_t* src, std::size_t n, std::uint32_t compression,
                   std::vector<std::uint8_t>& out) {
    const std::size_t want = out.size();
    if (compression == 0) {
        if (n < want) damaged("a channel is cut short");
        std::memcpy(out.data(), src, want);
    } else if (compression == 1) {
        std::size_t i = 0;
        std::size_t o = 0;
        while (o < want) {
            if (i >= n) damaged("a channel is cut short");
            const std::uint32_t count = src[i++];
            if (count > 128) {
                const std::size_t run = count - 128;
                if (i >= n) damaged("a channel is cut short");
                if (run > want - o) damaged("a channel is longer than its layer");
                std::memset(out.data() + o, src[i++], run);
                o += run;
            } else {
                if (count > n - i) damaged("a channel is cut short");
                if (count > want - o) damaged("a channel is longer than its layer");
                std::memcpy(out.data() + o, src + i, count);
                i += count;
                o += count;
            }
        }
    } else {
        z_stream z{};
        if (inflateInit(&z) != Z_OK) throw Failure("Not enough memory to unpack a Paint Shop Pro file.");
        z.next_in = const_cast<Bytef*>(src);
        z.avail_in = static_cast<uInt>(n);
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(want);
        const int status = inflate(&z, Z_FINISH);
        const std::size_t produced = want - z.avail_out;
        inflateEnd(&z);
        if (status != Z_STREAM_END || produced != want)
            damaged("a compressed channel is corrupt or cut short");
    }
}

struct LayerInfo {
    bool raster = false;
    bool visible = true;
    std::uint32_t opacity = 255;
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::size_t channels = 0;  // where the channel blocks start
};

LayerInfo readLayerInfo(const Reader& in, const Block& layer) {
    const Range& r = layer.body;
    LayerInfo info;
    std::size_t p = r.begin;
    std::uint32_t type = 0;
    if (in.version() >= 4) {
        p += 4;
        const std::uint32_t nameLength = in.u16(r, p, "a layer");
        p += 2 + nameLength;
        type = in.u8(r, p, "a layer");
        info.raster = type == 1 || type == 2;
    } else {
        p += 256;
        type = in.u8(r, p, "a layer");
        info.raster = type <= 1;
    }
    p += 1;
    in.need(r, p, 16 + 16 + 3, "a layer");
    const auto num = [&](std::size_t at) {
        return static_cast<std::int64_t>(static_cast<std::int32_t>(bytes::le32(in.at(at))));
    };
    const std::int64_t imageLeft = num(p);
    const std::int64_t imageTop = num(p + 4);
    const std::int64_t savedLeft = num(p + 16);
    const std::int64_t savedTop = num(p + 20);
    info.width = num(p + 24) - savedLeft;
    info.height = num(p + 28) - savedTop;
    info.left = imageLeft + savedLeft;
    info.top = imageTop + savedTop;
    info.opacity = *in.at(p + 32);
    info.visible = *in.at(p + 34) != 0;
    if (!info.raster) return info;

    if (in.version() >= 4) {
        std::size_t extension = in.afterInfo(layer, "a layer");
        // Newer files put a block of their own before the raster information.
        if (in.version() > 8 && extension + 4 <= r.end && std::memcmp(in.at(extension), "~BK\0", 4) == 0) {
            const Block skipped = in.block(r, extension);
            extension = skipped.body.end;
        }
        const std::uint32_t rasterSize = in.u32(r, extension, "a layer's raster information");
        in.need(r, extension, rasterSize, "a layer's raster information");
        info.channels = extension + rasterSize;
    } else {
        in.need(r, r.begin, layer.infoSize, "a layer");
        info.channels = r.begin + layer.infoSize;
    }
    return info;
}

struct Canvas {
    RgbImage picture;
    Attributes attributes;
    std::array<std::uint8_t, 768> palette{};
    bool havePalette = false;
    int rasterLayers = 0;
};

std::uint8_t sample(const std::vector<std::uint8_t>& plane, std::size_t i, std::uint32_t depth) {
    if (depth == 16 || depth == 48) {
        const std::uint32_t v = plane[2 * i] | (std::uint32_t{plane[2 * i + 1]} << 8);
        return static_cast<std::uint8_t>((v * 255 + 32767) / 65535);
    }
    return plane[i];
}

void drawLayer(const Reader& in, const Block& layer, Canvas& canvas) {
    const LayerInfo info = readLayerInfo(in, layer);
    if (info.raster) ++canvas.rasterLayers;
    if (!info.raster || !info.visible || info.width <= 0 || info.height <= 0) return;
    const Attributes& a = canvas.attributes;
    checkPictureSize(info.width, info.height);

    const bool colour = a.depth == 24 || a.depth == 48;
    const std::uint64_t imageLine = lineBytes(info.width, a.depth == 24 ? 8 : a.depth == 48 ? 16 : a.depth);
    const std::uint64_t maskLine = static_cast<std::uint64_t>(info.width);
    std::array<std::vector<std::uint8_t>, 4> planes;  // index or red, green, blue, transparency
    const Range& r = layer.body;
    std::size_t p = info.channels;
    while (p < r.end) {
        const Block channel = in.block(r, p);
        p = channel.body.end;
        if (channel.id != kChannelBlock) continue;
        const std::size_t fields = channel.body.begin + (in.version() >= 4 ? 4 : 0);
        const std::uint64_t compressed = in.u32(channel.body, fields, "a channel");
        const std::uint32_t bitmapType = in.u16(channel.body, fields + 8, "a channel");
        const std::uint32_t channelType = in.u16(channel.body, fields + 10, "a channel");
        std::size_t slot = 0;
        std::uint64_t line = imageLine;
        if (bitmapType == 0) {
            if (colour ? channelType < 1 || channelType > 3 : channelType != 0)
                damaged("a channel has the wrong type");
            slot = colour ? channelType - 1 : 0;
        } else if (bitmapType == 1) {
            slot = 3;
            line = maskLine;
        } else {
            continue;  // user masks and the like do not change what is seen
        }
        const std::size_t dataAt = in.afterInfo(channel, "a channel");
        in.need(channel.body, dataAt, compressed, "a channel");
        const std::uint64_t want = line * static_cast<std::uint64_t>(info.height);
        // The most each coding can expand, so a tiny file cannot claim a huge layer.
        const std::uint64_t limit = a.compression == 0   ? compressed
                                    : a.compression == 1 ? compressed * 64
                                                         : compressed * 1032 + 64;
        if (want > limit) damaged("a channel is cut short");
        planes[slot].assign(static_cast<std::size_t>(want), 0);
        unpackChannel(in.at(dataAt), static_cast<std::size_t>(compressed), a.compression, planes[slot]);
    }
    for (std::size_t s = 0; s < (colour ? 3u : 1u); ++s) {
        if (planes[s].empty()) damaged("a layer lacks one of its colour channels");
    }

    const std::int64_t x0 = std::max<std::int64_t>(0, info.left);
    const std::int64_t y0 = std::max<std::int64_t>(0, info.top);
    const std::int64_t x1 = std::min<std::int64_t>(canvas.picture.width(), info.left + info.width);
    const std::int64_t y1 = std::min<std::int64_t>(canvas.picture.height(), info.top + info.height);
    for (std::int64_t y = y0; y < y1; ++y) {
        const auto ly = static_cast<std::size_t>(y - info.top);
        std::uint8_t* out = canvas.picture.row(static_cast<std::int32_t>(y)) + 3 * x0;
        for (std::int64_t x = x0; x < x1; ++x, out += 3) {
            const auto lx = static_cast<std::size_t>(x - info.left);
            const std::size_t i = ly * static_cast<std::size_t>(info.width) + lx;
            std::uint32_t red = 0;
            std::uint32_t green = 0;
            std::uint32_t blue = 0;
            if (colour) {
                red = sample(planes[0], i, a.depth);
                green = sample(planes[1], i, a.depth);
                blue = sample(planes[2], i, a.depth);
            } else if (a.depth < 8) {
                const std::uint8_t* row = planes[0].data() + ly * imageLine;
                const std::size_t bit = lx * a.depth;
                const std::uint32_t index =
                    (row[bit >> 3] >> (8 - a.depth - (bit & 7))) & ((1u << a.depth) - 1);
                red = canvas.palette[3 * index];
                green = canvas.palette[3 * index + 1];
                blue = canvas.palette[3 * index + 2];
            } else if (a.grey) {
                red = green = blue = sample(planes[0], i, a.depth);
            } else {
                const std::uint32_t index = planes[0][i];
                red = canvas.palette[3 * index];
                green = canvas.palette[3 * index + 1];
                blue = canvas.palette[3 * index + 2];
            }
            std::uint32_t alpha = info.opacity;
            if (!planes[3].empty())
                alpha = (alpha * planes[3][ly * static_cast<std::size_t>(info.width) + lx] + 127) / 255;
            out[0] = static_cast<std::uint8_t>((blue * alpha + out[0] * (255 - alpha) + 127) / 255);
            out[1] = static_cast<std::uint8_t>((green * alpha + out[1] * (255 - alpha) + 127) / 255);
            out[2] = static_cast<std::uint8_t>((red * alpha + out[2] * (255 - alpha) + 127) / 255);
        }
    }
}

void readPalette(const Reader& in, const Block& b, Canvas& canvas) {
    const std::size_t entriesAt = in.version() >= 4 ? in.afterInfo(b, "the palette") : b.body.begin + 4;
    const std::uint32_t count = in.u32(b.body, b.body.begin + (in.version() >= 4 ? 4 : 0), "the palette");
    if (count > 256) damaged("the palette has more than 256 colours");
    in.need(b.body, entriesAt, std::uint64_t{count} * 4, "the palette");
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = in.at(entriesAt + 4 * i);
        canvas.palette[3 * i] = e[2];
        canvas.palette[3 * i + 1] = e[1];
        canvas.palette[3 * i + 2] = e[0];
    }
    canvas.havePalette = true;
}

}  // namespace

bool looksPsp(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize + 6 || std::memcmp(data, kSignature, sizeof kSignature) != 0) return false;
    const std::uint32_t major = bytes::le16(data + 32);
    return major >= 3 && major <= 30 && std::memcmp(data + kHeaderSize, "~BK\0", 4) == 0 &&
           bytes::le16(data + kHeaderSize + 4) == kImageBlock;
}

RgbImage decodePsp(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0) {
        throw Failure("Not a Paint Shop Pro file.");
    }
    if (size < kHeaderSize) damaged("the header is cut short");
    const std::uint32_t version = bytes::le16(data + 32);
    if (version < 3)
        throw Failure("Paint Shop Pro files of format version " + std::to_string(version) +
                      " are not supported.");
    const Reader in(data, version);
    const Range file{kHeaderSize, size};

    const Block first = in.block(file, kHeaderSize);
    if (first.id != kImageBlock) damaged("the image attributes do not come first");
    Canvas canvas;
    canvas.attributes = readAttributes(in, first);
    const Attributes& a = canvas.attributes;
    if (a.compression > 2) damaged("unknown compression");
    const bool depthOk =
        a.depth == 24 || a.depth == 48 ||
        (a.grey ? a.depth == 8 || a.depth == 16 : a.depth == 1 || a.depth == 4 || a.depth == 8);
    if (!depthOk)
        throw Failure("Paint Shop Pro pictures of " + std::to_string(a.depth) + " bits are not supported.");
    checkPictureSize(a.width, a.height);

    // Walk the blocks once to find the palette (which may follow the layers) and the layers.
    std::vector<Block> banks;
    for (std::size_t p = first.body.end; p < size;) {
        const Block b = in.block(file, p);
        if (b.id == kPaletteBlock) readPalette(in, b, canvas);
        if (b.id == kLayerBank) banks.push_back(b);
        p = b.body.end;
    }
    if (banks.empty()) damaged("it holds no layers");

    if (!a.grey && a.depth <= 8 && !canvas.havePalette) damaged("the palette is missing");

    canvas.picture.reset(static_cast<std::int32_t>(a.width), static_cast<std::int32_t>(a.height));
    for (const Block& bank : banks) {
        for (std::size_t p = bank.body.begin; p < bank.body.end;) {
            const Block layer = in.block(bank.body, p);
            if (layer.id == kLayerBlock) drawLayer(in, layer, canvas);
            p = layer.body.end;
        }
    }
    if (canvas.rasterLayers == 0)
        throw Failure("Paint Shop Pro files without a raster layer are not supported.");
    return std::move(canvas.picture);
}

}  // namespace dg
