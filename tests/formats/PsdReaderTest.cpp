#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "formats/ForeignFiles.h"
#include "formats/PsdReader.h"
#include "imaging/Failure.h"
#include "imaging/Parallel.h"
#include "support/Damage.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putBe(Bytes& out, std::uint64_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A plain PackBits encoder: runs of three or more equal bytes become repeats, the rest
// literals of at most 128 bytes.
Bytes packBits(const std::uint8_t* p, std::size_t n) {
    Bytes out;
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (i + run < n && run < 128 && p[i + run] == p[i]) ++run;
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(257 - run));
            out.push_back(p[i]);
            i += run;
            continue;
        }
        std::size_t start = i;
        std::size_t len = 0;
        while (i < n && len < 128) {
            if (i + 2 < n && p[i] == p[i + 1] && p[i] == p[i + 2]) break;
            ++i;
            ++len;
        }
        out.push_back(static_cast<std::uint8_t>(len - 1));
        out.insert(out.end(), p + start, p + start + len);
    }
    return out;
}

struct PsdSpec {
    int version = 1;
    int width = 0;
    int height = 0;
    int depth = 8;
    int mode = 3;
    bool packed = false;
    std::vector<Bytes> planes;  // one per channel, rows of (width * depth + 7) / 8 bytes
    Bytes palette;              // 768 bytes for indexed pictures
    int transparentIndex = -1;  // resource 1047
    int layerCount = 0;         // negative: the first extra channel is the transparency
};

// Writes a Photoshop file the way the published layout describes it.
Bytes writePsd(const PsdSpec& s) {
    const bool large = s.version == 2;
    Bytes f = {'8', 'B', 'P', 'S'};
    putBe(f, static_cast<std::uint64_t>(s.version), 2);
    f.insert(f.end(), 6, 0);
    putBe(f, s.planes.size(), 2);
    putBe(f, static_cast<std::uint64_t>(s.height), 4);
    putBe(f, static_cast<std::uint64_t>(s.width), 4);
    putBe(f, static_cast<std::uint64_t>(s.depth), 2);
    putBe(f, static_cast<std::uint64_t>(s.mode), 2);
    putBe(f, s.palette.size(), 4);
    f.insert(f.end(), s.palette.begin(), s.palette.end());
    Bytes resources;
    // A resource the reader must step over, with an odd name and odd data size.
    for (char c : std::string("8BIM")) resources.push_back(static_cast<std::uint8_t>(c));
    putBe(resources, 1005, 2);
    resources.insert(resources.end(), {3, 'a', 'b', 'c'});
    putBe(resources, 3, 4);
    resources.insert(resources.end(), {1, 2, 3, 0});
    if (s.transparentIndex >= 0) {
        for (char c : std::string("8BIM")) resources.push_back(static_cast<std::uint8_t>(c));
        putBe(resources, 1047, 2);
        resources.insert(resources.end(), {0, 0});
        putBe(resources, 2, 4);
        putBe(resources, static_cast<std::uint64_t>(s.transparentIndex), 2);
    }
    putBe(f, resources.size(), 4);
    f.insert(f.end(), resources.begin(), resources.end());
    const int lengthBytes = large ? 8 : 4;
    if (s.layerCount != 0) {
        putBe(f, static_cast<std::uint64_t>(lengthBytes + 2 + 2), lengthBytes);
        putBe(f, 2, lengthBytes);
        putBe(f, static_cast<std::uint16_t>(static_cast<std::int16_t>(s.layerCount)), 2);
        putBe(f, 0, 2);
    } else {
        putBe(f, 0, lengthBytes);
    }
    const std::size_t rowBytes =
        (static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.depth) + 7) / 8;
    putBe(f, s.packed ? 1 : 0, 2);
    if (!s.packed) {
        for (const Bytes& plane : s.planes) f.insert(f.end(), plane.begin(), plane.end());
        return f;
    }
    std::vector<Bytes> rows;
    for (const Bytes& plane : s.planes) {
        for (int y = 0; y < s.height; ++y)
            rows.push_back(packBits(plane.data() + rowBytes * static_cast<std::size_t>(y), rowBytes));
    }
    for (const Bytes& row : rows) putBe(f, row.size(), large ? 4 : 2);
    for (const Bytes& row : rows) f.insert(f.end(), row.begin(), row.end());
    return f;
}

RgbImage decode(const Bytes& file) { return decodePsd(file.data(), file.size()); }

// A picture with flat areas (so PackBits makes repeats) and noise (so it makes literals).
RgbImage samplePicture(int width, int height) {
    RgbImage picture = test::randomImage(width, height, 7);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width / 2; ++x) picture.setPixel(x, y, makeColor(200, 30, 90));
    }
    return picture;
}

Bytes plane(const RgbImage& picture, int channel) { return test::colorPlane(picture, channel); }

Bytes widen16(const Bytes& plane8) {
    Bytes out;
    for (std::uint8_t v : plane8) putBe(out, v * 257u, 2);
    return out;
}

PsdSpec rgbSpec(const RgbImage& picture, bool packed, int version = 1) {
    PsdSpec s;
    s.version = version;
    s.width = picture.width();
    s.height = picture.height();
    s.packed = packed;
    s.planes = {plane(picture, 0), plane(picture, 1), plane(picture, 2)};
    return s;
}

TEST(PsdReader, ReadsRgbRawPackedLargeAnd16Bit) {
    const RgbImage picture = samplePicture(37, 5);
    for (bool packed : {false, true}) {
        for (int version : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "packed " << packed << " version " << version);
            EXPECT_TRUE(test::SameImage(picture, decode(writePsd(rgbSpec(picture, packed, version)))));
        }
        PsdSpec deep = rgbSpec(picture, packed);
        deep.depth = 16;
        for (Bytes& p : deep.planes) p = widen16(p);
        EXPECT_TRUE(test::SameImage(picture, decode(writePsd(deep)))) << "16 bit, packed " << packed;
    }
}

TEST(PsdReader, SixteenBitSamplesRoundToNearest) {
    PsdSpec s;
    s.width = 4;
    s.height = 1;
    s.mode = 1;
    s.depth = 16;
    s.planes = {{0x00, 0x00, 0x00, 0x80, 0x80, 0x80, 0xFF, 0xFF}};  // 0, 128, 32896, 65535
    const RgbImage out = decode(writePsd(s));
    EXPECT_TRUE(test::SameImage(test::imageFromRows({{makeColor(0, 0, 0), makeColor(0, 0, 0),
                                                      makeColor(128, 128, 128), makeColor(255, 255, 255)}}),
                                out));
}

TEST(PsdReader, ReadsGreyIndexedBitmapAndCmyk) {
    // Grey (and duotone, which is stored the same way) as packed rows.
    for (int mode : {1, 8}) {
        PsdSpec grey;
        grey.width = 9;
        grey.height = 2;
        grey.mode = mode;
        grey.packed = true;
        grey.planes = {{0, 10, 10, 10, 10, 200, 255, 3, 4, 9, 9, 9, 9, 9, 9, 9, 9, 1}};
        RgbImage expected(9, 2);
        for (int i = 0; i < 18; ++i) {
            const int v = grey.planes[0][static_cast<std::size_t>(i)];
            expected.setPixel(i % 9, i / 9, makeColor(v, v, v));
        }
        EXPECT_TRUE(test::SameImage(expected, decode(writePsd(grey)))) << "mode " << mode;
    }

    // Indexed, with index 5 marked transparent: it becomes white whatever its table colour.
    PsdSpec indexed;
    indexed.width = 3;
    indexed.height = 2;
    indexed.mode = 2;
    indexed.palette.assign(768, 0);
    const ColorValue table[6] = {makeColor(1, 2, 3),   makeColor(250, 0, 0),  makeColor(0, 250, 0),
                                 makeColor(0, 0, 250), makeColor(9, 99, 199), makeColor(40, 40, 40)};
    for (int i = 0; i < 6; ++i) {
        indexed.palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(redOf(table[i]));
        indexed.palette[static_cast<std::size_t>(256 + i)] = static_cast<std::uint8_t>(greenOf(table[i]));
        indexed.palette[static_cast<std::size_t>(512 + i)] = static_cast<std::uint8_t>(blueOf(table[i]));
    }
    indexed.transparentIndex = 5;
    indexed.planes = {{0, 1, 2, 3, 4, 5}};
    EXPECT_TRUE(
        test::SameImage(test::imageFromRows({{table[0], table[1], table[2]}, {table[3], table[4], kWhite}}),
                        decode(writePsd(indexed))));

    // Bitmap: a set bit is black. 10 pixels a row, so each row has 2 bytes.
    PsdSpec bitmap;
    bitmap.width = 10;
    bitmap.height = 2;
    bitmap.mode = 0;
    bitmap.depth = 1;
    bitmap.planes = {{0b10100000, 0b01000000, 0b00000001, 0b10000000}};
    const ColorValue k = kBlack;
    const ColorValue w = kWhite;
    EXPECT_TRUE(
        test::SameImage(test::imageFromRows({{k, w, k, w, w, w, w, w, w, k}, {w, w, w, w, w, w, w, k, k, w}}),
                        decode(writePsd(bitmap))));

    // CMYK, stored inverted (255 = no ink), converted the plain way: light = (255 - c)(255 - k).
    PsdSpec cmyk;
    cmyk.width = 4;
    cmyk.height = 1;
    cmyk.mode = 4;
    cmyk.packed = true;
    // white paper, full cyan, full black, half magenta under a little black
    cmyk.planes = {{255, 0, 255, 255}, {255, 255, 255, 127}, {255, 255, 255, 255}, {255, 255, 0, 200}};
    EXPECT_TRUE(test::SameImage(test::imageFromRows({{kWhite, makeColor(0, 255, 255), kBlack,
                                                      makeColor(200, (127 * 200 + 127) / 255, 200)}}),
                                decode(writePsd(cmyk))));
}

TEST(PsdReader, ReadsLabThroughD50) {
    // Photoshop's D50 Lab values of black, white and the sRGB primaries, stored as 8-bit
    // L * 2.55, a + 128, b + 128. Whole steps of a and b move a channel near zero by up to
    // about 10 once gamma-encoded, hence the tolerance; a wrong matrix or axis is far off.
    PsdSpec lab;
    lab.width = 5;
    lab.height = 1;
    lab.mode = 9;
    lab.packed = true;
    lab.planes = {{0, 255, 138, 224, 75}, {128, 128, 209, 49, 196}, {128, 128, 198, 209, 16}};
    const RgbImage out = decode(writePsd(lab));
    const ColorValue expected[5] = {kBlack, kWhite, makeColor(255, 0, 0), makeColor(0, 255, 0),
                                    makeColor(0, 0, 255)};
    ASSERT_EQ(out.width(), 5);
    for (int x = 0; x < 5; ++x) {
        const ColorValue c = out.pixel(x, 0);
        EXPECT_NEAR(redOf(c), redOf(expected[x]), 12) << x;
        EXPECT_NEAR(greenOf(c), greenOf(expected[x]), 12) << x;
        EXPECT_NEAR(blueOf(c), blueOf(expected[x]), 12) << x;
    }
}

TEST(PsdReader, TransparencyOnlyWhereTheLayersSayTheExtraChannelIsAlpha) {
    const RgbImage picture =
        test::imageFromRows({{makeColor(10, 20, 30), makeColor(40, 50, 60), makeColor(70, 80, 90)}});
    PsdSpec s = rgbSpec(picture, true);
    s.planes.push_back({0, 128, 255});
    // Without a negative layer count the fourth channel is a saved selection: colours stay.
    EXPECT_TRUE(test::SameImage(picture, decode(writePsd(s))));
    s.layerCount = 3;
    EXPECT_TRUE(test::SameImage(picture, decode(writePsd(s))));
    // With it, a wholly transparent pixel is paper; Photoshop already matted the others on white.
    s.layerCount = -1;
    EXPECT_TRUE(test::SameImage(test::imageFromRows({{kWhite, makeColor(40, 50, 60), makeColor(70, 80, 90)}}),
                                decode(writePsd(s))));
}

TEST(PsdReader, SameBytesWithOneAndTwoWorkers) {
    const Bytes file = writePsd(rgbSpec(test::randomImage(23, 41, 3), true));
    setWorkerCount(1);
    const RgbImage one = decode(file);
    setWorkerCount(2);
    const RgbImage two = decode(file);
    setWorkerCount(0);
    EXPECT_TRUE(test::SameImage(one, two));
}

TEST(PsdReader, EveryCutShortFileFails) {
    PsdSpec indexed;
    indexed.width = 5;
    indexed.height = 3;
    indexed.mode = 2;
    indexed.palette.assign(768, 7);
    indexed.planes = {Bytes(15, 1)};
    for (const Bytes& file : {writePsd(rgbSpec(samplePicture(11, 4), true)),
                              writePsd(rgbSpec(samplePicture(6, 3), false)), writePsd(indexed)}) {
        for (std::size_t cut = 0; cut < file.size(); cut += 3) {
            EXPECT_THROW(decodePsd(file.data(), cut), Failure) << "cut at " << cut << " of " << file.size();
        }
    }
}

TEST(PsdReader, DamagedAndUnsupportedHeadersFailWithAMessage) {
    const Bytes good = writePsd(rgbSpec(samplePicture(8, 3), true));
    // Header, empty colour data, 18 bytes of resources, empty layer information.
    const std::size_t compressionAt = 26 + 4 + 4 + 18 + 4;
    struct Case {
        const char* name;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
        const char* message;  // part of the expected message
    };
    const std::vector<Case> cases = {
        {"signature", 0, {'8', 'B', 'P', 'X'}, "Not a Photoshop file"},
        {"version 3", 4, {0, 3}, "version 3"},
        {"no channels", 12, {0, 0}, "channel count"},
        {"zero width", 18, {0, 0, 0, 0}, "no pixels"},
        {"huge", 14, {0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0}, "too large to open (100000 x 100000 pixels)"},
        {"depth 7", 22, {0, 7}, "bit depth"},
        {"mode 5", 24, {0, 5}, "colour mode"},
        {"multichannel", 24, {0, 7}, "multichannel"},
        {"32 bit", 22, {0, 32}, "32 bits"},
        {"bitmap at 8 bits", 24, {0, 0}, "bit depth"},
        {"compression 7", compressionAt, {0, 7}, "compression"},
        {"row sizes past the end", compressionAt + 2, {0, 200}, "cut short"},
    };
    for (const Case& c : cases) {
        Bytes file = good;
        std::copy(c.bytes.begin(), c.bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(c.offset));
        EXPECT_TRUE(test::FailsWith([&] { decode(file); }, c.message)) << c.name;
    }
}

TEST(PsdReader, PackedRowsThatOverrunOrUnderrunFail) {
    PsdSpec s;
    s.width = 4;
    s.height = 1;
    s.mode = 1;
    s.packed = true;
    s.planes = {{1, 2, 3, 4}};
    Bytes file = writePsd(s);
    // The single row is "3, 1, 2, 3, 4" (a literal of four bytes); its size is in the table.
    const std::size_t rowAt = file.size() - 5;
    Bytes longer = file;
    longer[rowAt] = 4;  // a literal of five bytes into a row of four
    EXPECT_THROW(decode(longer), Failure);
    Bytes repeat = file;
    repeat[rowAt] = static_cast<std::uint8_t>(-5);  // a repeat of six
    EXPECT_THROW(decode(repeat), Failure);
    Bytes shorter = file;
    shorter[rowAt] = 1;  // two bytes, then "3" asks for four more than the row holds
    EXPECT_THROW(decode(shorter), Failure);
}

TEST(PsdReader, ProbeAcceptsItsFilesAndRejectsOthers) {
    const Bytes psd = writePsd(rgbSpec(samplePicture(4, 2), false));
    EXPECT_TRUE(looksPsd(psd.data(), psd.size()));
    const Bytes psb = writePsd(rgbSpec(samplePicture(4, 2), true, 2));
    EXPECT_TRUE(looksPsd(psb.data(), psb.size()));
    EXPECT_TRUE(looksPsd(psd.data(), 26));  // the header is all it needs

    for (std::size_t n = 0; n < 26; ++n) EXPECT_FALSE(looksPsd(psd.data(), n)) << n;
    for (const Bytes& other : test::foreignFiles()) EXPECT_FALSE(looksPsd(other.data(), other.size()));

    struct Field {
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
    };
    for (const Field& f : std::vector<Field>{{4, {0, 3}},   // version
                                             {8, {1}},      // reserved
                                             {12, {0, 0}},  // channels
                                             {12, {0, 57}},
                                             {18, {0, 0, 0x75, 0x31}},  // width 30001 in a PSD
                                             {14, {0, 0, 0, 0}},        // height 0
                                             {22, {0, 12}},             // depth
                                             {24, {0, 6}},              // mode
                                             {22, {0, 1}}}) {           // 1 bit but not bitmap mode
        Bytes bad = psd;
        std::copy(f.bytes.begin(), f.bytes.end(), bad.begin() + static_cast<std::ptrdiff_t>(f.offset));
        EXPECT_FALSE(looksPsd(bad.data(), bad.size())) << "field at " << f.offset;
    }
}

TEST(PsdReader, RandomDamageGivesAPictureOrAFailure) {
    test::decodeRandomlyDamaged(
        {writePsd(rgbSpec(samplePicture(9, 4), true)), writePsd(rgbSpec(samplePicture(5, 3), false, 2))}, 300,
        1, [](const Bytes& bad) { decode(bad); });
}

}  // namespace
}  // namespace dg
