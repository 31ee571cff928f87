#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "formats/ForeignFiles.h"
#include "formats/PspReader.h"
#include "imaging/Failure.h"
#include "support/Damage.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putLe(Bytes& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

// Writes Paint Shop Pro files after the published block layout, in format version 3 (block
// headers carry the information size) or 4 and later (the information starts with its size).
class PspWriter {
public:
    explicit PspWriter(int version) : version_(version) {}

    Bytes block(int id, const Bytes& body) const {
        Bytes b = {'~', 'B', 'K', 0};
        putLe(b, static_cast<std::uint64_t>(id), 2);
        if (version_ == 3) putLe(b, 0, 4);
        putLe(b, body.size(), 4);
        append(b, body);
        return b;
    }
    Bytes infoBlock(int id, const Bytes& info, const Bytes& rest) const {
        Bytes body;
        if (version_ >= 4) putLe(body, info.size() + 4, 4);
        append(body, info);
        append(body, rest);
        Bytes b = {'~', 'B', 'K', 0};
        putLe(b, static_cast<std::uint64_t>(id), 2);
        if (version_ == 3) putLe(b, info.size(), 4);
        putLe(b, body.size(), 4);
        append(b, body);
        return b;
    }

    Bytes file(int width, int height, int compression, int depth, bool grey, const Bytes& blocks) const {
        Bytes f(32, 0);
        std::memcpy(f.data(), "Paint Shop Pro Image File\n\x1a", 27);
        putLe(f, static_cast<std::uint64_t>(version_), 2);
        putLe(f, 0, 2);
        Bytes info;
        putLe(info, static_cast<std::uint64_t>(width), 4);
        putLe(info, static_cast<std::uint64_t>(height), 4);
        putLe(info, 0, 8);  // resolution
        info.push_back(1);  // per inch
        putLe(info, static_cast<std::uint64_t>(compression), 2);
        putLe(info, static_cast<std::uint64_t>(depth), 2);
        putLe(info, 1, 2);  // planes
        putLe(info, 1u << std::min(depth, 24), 4);
        info.push_back(grey ? 1 : 0);
        putLe(info, 0, 4);                     // total size
        putLe(info, 0, 4);                     // active layer
        putLe(info, 1, 2);                     // layer count
        if (version_ >= 4) putLe(info, 1, 4);  // graphic contents
        append(f, infoBlock(0, info, {}));
        append(f, blocks);
        return f;
    }

    Bytes palette(const std::vector<ColorValue>& colours) const {
        Bytes info;
        putLe(info, colours.size(), 4);
        Bytes entries;
        for (ColorValue c : colours) {
            entries.push_back(static_cast<std::uint8_t>(blueOf(c)));
            entries.push_back(static_cast<std::uint8_t>(greenOf(c)));
            entries.push_back(static_cast<std::uint8_t>(redOf(c)));
            entries.push_back(0);
        }
        return infoBlock(2, info, entries);
    }

    struct Channel {
        int bitmapType;
        int channelType;
        Bytes data;  // uncompressed
    };
    struct Layer {
        int type = 1;  // raster (0 in version 3)
        int left = 0, top = 0, width = 0, height = 0;
        int opacity = 255;
        bool visible = true;
        std::vector<Channel> channels;
    };

    Bytes layer(const Layer& l, int compression) const {
        Bytes info;
        if (version_ >= 4) {
            putLe(info, 4, 2);
            append(info, {'L', 'a', 'y', 'r'});
        } else {
            info.assign(256, 0);
        }
        info.push_back(static_cast<std::uint8_t>(version_ >= 4 ? l.type : l.type == 1 ? 0 : l.type));
        // The image rectangle places the layer; the saved one, relative to it, is what is stored.
        for (int v : {l.left - 1, l.top - 2, l.left - 1 + l.width + 5, l.top - 2 + l.height + 5})
            putLe(info, static_cast<std::uint32_t>(v), 4);
        for (int v : {1, 2, 1 + l.width, 2 + l.height}) putLe(info, static_cast<std::uint32_t>(v), 4);
        info.push_back(static_cast<std::uint8_t>(l.opacity));
        info.push_back(0);  // normal blending
        info.push_back(l.visible ? 1 : 0);
        info.push_back(0);
        info.push_back(0);
        info.insert(info.end(), 32 + 2, 0);  // mask rectangles, mask flags
        Bytes rest;
        const std::uint64_t bitmaps = l.channels.size() > 3 ? 2 : 1;
        if (version_ >= 4) {
            info.insert(info.end(), 12, 0);  // fields this reader need not know
            if (version_ > 8) append(rest, block(0x21, {9, 9, 9}));
            putLe(rest, 8, 4);
            putLe(rest, bitmaps, 2);
            putLe(rest, l.channels.size(), 2);
        } else {
            info.insert(info.end(), 43, 0);
            putLe(info, bitmaps, 2);
            putLe(info, l.channels.size(), 2);
        }
        for (const Channel& c : l.channels) {
            const Bytes packed = pack(c.data, compression);
            Bytes cinfo;
            putLe(cinfo, packed.size(), 4);
            putLe(cinfo, c.data.size(), 4);
            putLe(cinfo, static_cast<std::uint64_t>(c.bitmapType), 2);
            putLe(cinfo, static_cast<std::uint64_t>(c.channelType), 2);
            append(rest, infoBlock(5, cinfo, packed));
        }
        return infoBlock(4, info, rest);
    }

    static Bytes pack(const Bytes& data, int compression) {
        if (compression == 0) return data;
        if (compression == 2) {
            uLongf n = compressBound(static_cast<uLong>(data.size()));
            Bytes out(n);
            compress(out.data(), &n, data.data(), static_cast<uLong>(data.size()));
            out.resize(n);
            return out;
        }
        Bytes out;  // runs of 3 or more as repeats, the rest as literals of at most 128
        for (std::size_t i = 0; i < data.size();) {
            std::size_t run = 1;
            while (i + run < data.size() && run < 127 && data[i + run] == data[i]) ++run;
            if (run >= 3) {
                out.push_back(static_cast<std::uint8_t>(128 + run));
                out.push_back(data[i]);
                i += run;
                continue;
            }
            const std::size_t n = std::min<std::size_t>(data.size() - i, std::min<std::size_t>(run, 128));
            out.push_back(static_cast<std::uint8_t>(n));
            out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                       data.begin() + static_cast<std::ptrdiff_t>(i + n));
            i += n;
        }
        return out;
    }

private:
    int version_;
};

using Channel = PspWriter::Channel;
using Layer = PspWriter::Layer;

Bytes plane(const RgbImage& picture, int channel) { return test::colorPlane(picture, channel); }

Layer rgbLayer(const RgbImage& picture) {
    Layer l;
    l.width = picture.width();
    l.height = picture.height();
    l.channels = {{0, 1, plane(picture, 0)}, {0, 2, plane(picture, 1)}, {0, 3, plane(picture, 2)}};
    return l;
}

RgbImage decode(const Bytes& file) { return decodePsp(file.data(), file.size()); }

RgbImage samplePicture() {
    RgbImage picture = test::randomImage(11, 6, 21);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) picture.setPixel(x, y, makeColor(12, 200, 45));
    }
    return picture;
}

TEST(PspReader, ReadsOneRasterLayerInEveryVersionAndCoding) {
    const RgbImage picture = samplePicture();
    for (int version : {3, 5, 10}) {
        for (int compression : {0, 1, 2}) {
            SCOPED_TRACE(testing::Message() << "version " << version << ", compression " << compression);
            const PspWriter w(version);
            const Bytes file =
                w.file(11, 6, compression, 24, false, w.block(3, w.layer(rgbLayer(picture), compression)));
            EXPECT_TRUE(looksPsp(file.data(), file.size()));
            EXPECT_TRUE(test::SameImage(picture, decode(file)));
        }
    }
}

TEST(PspReader, LaysVisibleRasterLayersOntoWhite) {
    const PspWriter w(6);
    const ColorValue ground = makeColor(100, 150, 200);
    const RgbImage background =
        test::imageFromRows({{ground, ground, ground, ground}, {ground, ground, ground, ground}});
    // A 2 x 1 red layer at (1, 1) with coverage 255 and 0, and a 1 x 1 blue one at (3, 0)
    // half transparent by its opacity.
    Layer red;
    red.left = 1;
    red.top = 1;
    red.width = 2;
    red.height = 1;
    red.channels = {{0, 1, {255, 255}}, {0, 2, {0, 0}}, {0, 3, {0, 0}}, {1, 0, {255, 0}}};
    Layer blue;
    blue.left = 3;
    blue.width = 1;
    blue.height = 1;
    blue.opacity = 128;
    blue.channels = {{0, 1, {0}}, {0, 2, {0}}, {0, 3, {255}}};
    Layer hidden = rgbLayer(test::imageFromRows({{kBlack, kBlack, kBlack, kBlack}}));
    hidden.visible = false;
    Layer vector;
    vector.type = 3;
    vector.width = 4;
    vector.height = 1;
    Bytes layers;
    for (const Layer* l : {&hidden, &vector}) append(layers, w.layer(*l, 2));
    append(layers, w.layer(rgbLayer(background), 2));
    append(layers, w.layer(red, 2));
    append(layers, w.layer(blue, 2));
    const Bytes file = w.file(4, 3, 2, 24, false, w.block(3, layers));
    const ColorValue half =
        makeColor((100 * 127 + 127) / 255, (150 * 127 + 127) / 255, (255 * 128 + 200 * 127 + 127) / 255);
    EXPECT_TRUE(test::SameImage(test::imageFromRows({{ground, ground, ground, half},
                                                     {ground, makeColor(255, 0, 0), ground, ground},
                                                     {kWhite, kWhite, kWhite, kWhite}}),
                                decode(file)));
}

TEST(PspReader, ReadsPaletteGreyAndDeepPictures) {
    const std::vector<ColorValue> colours = {makeColor(0, 0, 0),     makeColor(250, 10, 10),
                                             makeColor(10, 250, 10), makeColor(10, 10, 250),
                                             makeColor(1, 2, 3),     makeColor(77, 66, 55)};
    const RgbImage expected =
        test::imageFromRows({{colours[0], colours[1], colours[2]}, {colours[3], colours[4], colours[5]}});
    for (int version : {3, 7}) {
        const PspWriter w(version);
        Layer l;
        l.width = 3;
        l.height = 2;
        // 8 bits: one byte an index, rows unpadded. The palette may come after the layers.
        l.channels = {{0, 0, {0, 1, 2, 3, 4, 5}}};
        Bytes blocks = w.block(3, w.layer(l, 1));
        append(blocks, w.palette(colours));
        EXPECT_TRUE(test::SameImage(expected, decode(w.file(3, 2, 1, 8, false, blocks))))
            << "8 bits, version " << version;
        // 4 bits: nibbles, rows padded to 4 bytes.
        l.channels = {{0, 0, {0x01, 0x20, 0, 0, 0x34, 0x50, 0, 0}}};
        blocks = w.palette(colours);
        append(blocks, w.block(3, w.layer(l, 0)));
        EXPECT_TRUE(test::SameImage(expected, decode(w.file(3, 2, 0, 4, false, blocks)))) << "4 bits";
        // 1 bit: 10 pixels a row, padded to 4 bytes.
        l.width = 10;
        l.height = 1;
        l.channels = {{0, 0, {0b10100000, 0b01000000, 0, 0}}};
        blocks = w.palette({kBlack, kWhite});
        append(blocks, w.block(3, w.layer(l, 2)));
        const ColorValue k = kBlack;
        const ColorValue o = kWhite;
        EXPECT_TRUE(test::SameImage(test::imageFromRows({{o, k, o, k, k, k, k, k, k, o}}),
                                    decode(w.file(10, 1, 2, 1, false, blocks))))
            << "1 bit";
        // Grey, 8 and 16 bits (low byte first).
        l.width = 3;
        l.height = 1;
        l.channels = {{0, 0, {0, 128, 255}}};
        const RgbImage greys = test::imageFromRows({{kBlack, makeColor(128, 128, 128), kWhite}});
        EXPECT_TRUE(test::SameImage(greys, decode(w.file(3, 1, 1, 8, true, w.block(3, w.layer(l, 1))))));
        l.channels = {{0, 0, {0, 0, 0x80, 0x80, 0xFF, 0xFF}}};
        EXPECT_TRUE(test::SameImage(greys, decode(w.file(3, 1, 2, 16, true, w.block(3, w.layer(l, 2))))));
        // 48 bits: three 16-bit channels.
        l.channels = {{0, 1, {0xFF, 0xFF, 0, 0, 0x80, 0x80}},
                      {0, 2, {0, 0, 0xFF, 0xFF, 0x80, 0x80}},
                      {0, 3, {0, 0, 0, 0, 0x80, 0x80}}};
        EXPECT_TRUE(test::SameImage(
            test::imageFromRows({{makeColor(255, 0, 0), makeColor(0, 255, 0), makeColor(128, 128, 128)}}),
            decode(w.file(3, 1, 0, 48, false, w.block(3, w.layer(l, 0))))));
    }
}

TEST(PspReader, EveryCutShortFileFails) {
    for (int version : {3, 5}) {
        for (int compression : {0, 1, 2}) {
            const PspWriter w(version);
            const Bytes file = w.file(11, 6, compression, 24, false,
                                      w.block(3, w.layer(rgbLayer(samplePicture()), compression)));
            for (std::size_t cut = 0; cut < file.size(); cut += 3) {
                EXPECT_THROW(decodePsp(file.data(), cut), Failure)
                    << "version " << version << ", compression " << compression << ", cut at " << cut
                    << " of " << file.size();
            }
        }
    }
}

TEST(PspReader, DamagedAndUnsupportedFilesFail) {
    const PspWriter w(5);
    const RgbImage picture = samplePicture();
    const Bytes layers = w.block(3, w.layer(rgbLayer(picture), 2));
    const Bytes good = w.file(11, 6, 2, 24, false, layers);
    ASSERT_NO_THROW(decode(good));
    const std::size_t attributes = 36 + 10 + 4;  // header, block head, information size
    struct Case {
        const char* name;
        Bytes file;
        const char* message;
    };
    auto changed = [](Bytes f, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), f.begin() + static_cast<std::ptrdiff_t>(at));
        return f;
    };
    Bytes corruptStream = good;
    corruptStream[corruptStream.size() - 30] ^= 0x5A;
    Layer twoChannels = rgbLayer(picture);
    twoChannels.channels.pop_back();
    Layer wrongType = rgbLayer(picture);
    wrongType.channels[0].channelType = 0;
    Layer tooLong = rgbLayer(picture);
    tooLong.channels[1].data.assign(67, 5);  // one run, a byte past the layer
    const std::vector<Case> cases = {
        {"signature", changed(good, 3, {'X'}), "Not a Paint Shop Pro"},
        {"version 2", changed(good, 32, {2, 0}), "version 2"},
        {"block mark", changed(good, 37, {'X'}), "block header"},
        {"first block", changed(good, 40, {3}), "first"},
        {"compression 3", changed(good, attributes + 17, {3, 0}), "compression"},
        {"depth 32", changed(good, attributes + 19, {32, 0}), "32 bits"},
        {"huge", changed(good, attributes, {0xA0, 0x86, 0x01, 0, 0xA0, 0x86, 0x01, 0}),
         "too large to open (100000 x 100000"},
        {"zero height", changed(good, attributes + 4, {0, 0, 0, 0}), "no pixels"},
        {"corrupt zlib data", corruptStream, "corrupt"},
        {"missing colour channel", w.file(11, 6, 2, 24, false, w.block(3, w.layer(twoChannels, 2))), "lacks"},
        {"wrong channel type", w.file(11, 6, 2, 24, false, w.block(3, w.layer(wrongType, 2))), "wrong type"},
        {"channel longer than its layer", w.file(11, 6, 1, 24, false, w.block(3, w.layer(tooLong, 1))),
         "longer"},
        {"no layers", w.file(11, 6, 2, 24, false, {}), "no layers"},
        {"palette picture without palette", w.file(11, 6, 2, 8, false, layers), "palette"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(test::FailsWith([&] { decode(c.file); }, c.message)) << c.name;
    }
}

TEST(PspReader, ProbeAcceptsItsFilesAndRejectsOthers) {
    const PspWriter w(5);
    const Bytes file = w.file(2, 2, 0, 24, false, {});
    EXPECT_TRUE(looksPsp(file.data(), file.size()));
    EXPECT_TRUE(looksPsp(file.data(), 42));
    for (std::size_t n = 0; n < 42; ++n) EXPECT_FALSE(looksPsp(file.data(), n)) << n;
    for (const std::pair<std::size_t, std::uint8_t>& change :
         std::vector<std::pair<std::size_t, std::uint8_t>>{
             {0, 'p'}, {26, 0}, {31, 1}, {32, 2}, {33, 1}, {36, '-'}, {40, 1}}) {
        Bytes bad = file;
        bad[change.first] = change.second;
        EXPECT_FALSE(looksPsp(bad.data(), bad.size())) << "byte " << change.first;
    }
    for (const Bytes& other : test::foreignFiles()) EXPECT_FALSE(looksPsp(other.data(), other.size()));
}

TEST(PspReader, RandomDamageGivesAPictureOrAFailure) {
    test::decodeRandomlyDamaged(
        {PspWriter(5).file(11, 6, 2, 24, false,
                           PspWriter(5).block(3, PspWriter(5).layer(rgbLayer(samplePicture()), 2))),
         PspWriter(3).file(11, 6, 1, 24, false,
                           PspWriter(3).block(3, PspWriter(3).layer(rgbLayer(samplePicture()), 1)))},
        300, 4, [](const Bytes& bad) { decode(bad); });
}

}  // namespace
}  // namespace dg
