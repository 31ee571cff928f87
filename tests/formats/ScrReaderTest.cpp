#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "formats/ScrReader.h"
#include "imaging/Failure.h"
#include "support/Damage.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::string& relative) {
    std::ifstream in(test::fixturePath(relative), std::ios::binary);
    EXPECT_TRUE(in.good()) << relative;
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

RgbImage decode(const Bytes& file) { return decodeScr(file.data(), file.size()); }

void putLe16(Bytes& f, std::size_t at, int v) {
    f[at] = static_cast<std::uint8_t>(v);
    f[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// Run-length coding the usual way: runs within a line, at most 63, and single bytes with
// both top bits set coded as runs of one.
Bytes packLine(const Bytes& line) {
    Bytes out;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t run = 1;
        while (i + run < line.size() && run < 63 && line[i + run] == line[i]) ++run;
        if (run > 1 || line[i] >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 | run));
        out.push_back(line[i]);
        i += run;
    }
    return out;
}

struct PcxSpec {
    int maker = 0xCD;
    int version = 5;
    bool packed = true;
    int bits = 8;
    int planes = 1;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    int paletteKind = 1;
    Bytes headerPalette;       // up to 48 bytes
    std::vector<Bytes> lines;  // each planes * bytesPerLine bytes
    Bytes trailingPalette;     // 768 bytes, written after 0x0C
};

Bytes writePcx(const PcxSpec& s) {
    Bytes f(128, 0);
    f[0] = static_cast<std::uint8_t>(s.maker);
    f[1] = static_cast<std::uint8_t>(s.version);
    f[2] = s.packed ? 1 : 0;
    f[3] = static_cast<std::uint8_t>(s.bits);
    putLe16(f, 4, 3);  // a picture that does not start at 0, 0
    putLe16(f, 6, 5);
    putLe16(f, 8, 3 + s.width - 1);
    putLe16(f, 10, 5 + s.height - 1);
    std::copy(s.headerPalette.begin(), s.headerPalette.end(), f.begin() + 16);
    f[65] = static_cast<std::uint8_t>(s.planes);
    putLe16(f, 66, s.bytesPerLine);
    putLe16(f, 68, s.paletteKind);
    for (const Bytes& line : s.lines) {
        const Bytes coded = s.packed ? packLine(line) : line;
        f.insert(f.end(), coded.begin(), coded.end());
    }
    if (!s.trailingPalette.empty()) {
        f.push_back(0x0C);
        f.insert(f.end(), s.trailingPalette.begin(), s.trailingPalette.end());
    }
    return f;
}

TEST(ScrReader, ReadsGraphicsMagickPcxFilesInBothForms) {
    for (const char* name : {"truecolor", "palette", "mono"}) {
        SCOPED_TRACE(name);
        Bytes file = readFile(std::string("formats/own/") + name + ".pcx");
        const Bytes bmp = readFile(std::string("formats/own/pcx-") + name + ".bmp");
        const RgbImage expected = decodeBmp24(bmp);
        EXPECT_TRUE(test::SameImage(expected, decode(file)));
        EXPECT_FALSE(looksScr(file.data(), file.size()));  // plain PCX belongs to the PCX reader
        file[0] = 0xCD;
        EXPECT_TRUE(looksScr(file.data(), file.size()));
        EXPECT_TRUE(test::SameImage(expected, decode(file)));
    }
}

TEST(ScrReader, ReadsPlanarAndPackedPaletteLayouts) {
    const Bytes palette16 = {0,  0,  0,  255, 0,  0,  0,  255, 0,  0,  0,  255, 1,  2,  3,  4,
                             5,  6,  7,  8,   9,  10, 11, 12,  13, 14, 15, 16,  17, 18, 19, 20,
                             21, 22, 23, 24,  25, 26, 27, 28,  29, 30, 31, 32,  33, 34, 35, 36};
    auto colour = [&](int i) {
        return makeColor(palette16[3 * i], palette16[3 * i + 1], palette16[3 * i + 2]);
    };

    // 16 colours as four bit planes: pixel x of 10 takes index x + 3 (bit p from plane p).
    PcxSpec planar;
    planar.bits = 1;
    planar.planes = 4;
    planar.width = 10;
    planar.height = 1;
    planar.bytesPerLine = 2;
    planar.headerPalette = palette16;
    Bytes line(8, 0);
    RgbImage expected(10, 1);
    for (int x = 0; x < 10; ++x) {
        const int index = (x + 3) % 16;
        for (int p = 0; p < 4; ++p) {
            if (index & (1 << p))
                line[static_cast<std::size_t>(p * 2 + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        expected.setPixel(x, 0, colour(index));
    }
    planar.lines = {line};
    EXPECT_TRUE(test::SameImage(expected, decode(writePcx(planar))));

    // The same colours as 4-bit nibbles in one plane, stored plain.
    PcxSpec nibbles = planar;
    nibbles.bits = 4;
    nibbles.planes = 1;
    nibbles.packed = false;
    nibbles.bytesPerLine = 6;  // one more than needed, as lines are even
    nibbles.lines = {{0x34, 0x56, 0x78, 0x9A, 0xBC, 0x00}};
    EXPECT_TRUE(test::SameImage(expected, decode(writePcx(nibbles))));

    // Four colours as 2-bit pairs.
    PcxSpec pairs = nibbles;
    pairs.bits = 2;
    pairs.width = 5;
    pairs.bytesPerLine = 2;
    pairs.lines = {{0b00011011, 0b10000000}};
    EXPECT_TRUE(
        test::SameImage(test::imageFromRows({{colour(0), colour(1), colour(2), colour(3), colour(2)}}),
                        decode(writePcx(pairs))));

    // Version 3 carries no palette: the standard 16 colours are used.
    PcxSpec standard = nibbles;
    standard.version = 3;
    standard.width = 4;
    standard.bytesPerLine = 2;
    standard.lines = {{0x01, 0xEF}};
    EXPECT_TRUE(test::SameImage(
        test::imageFromRows({{kBlack, makeColor(0, 0, 170), makeColor(255, 255, 85), kWhite}}),
        decode(writePcx(standard))));
}

TEST(ScrReader, ReadsTrueColourGreyAndRunsAcrossLines) {
    // 8 bits in four planes: the fourth is coverage, blended onto white.
    PcxSpec rgba;
    rgba.planes = 4;
    rgba.width = 3;
    rgba.height = 1;
    rgba.bytesPerLine = 4;
    rgba.lines = {{10, 20, 30, 0, 40, 50, 60, 0, 70, 80, 90, 0, 255, 0, 128, 0}};
    EXPECT_TRUE(test::SameImage(test::imageFromRows({{makeColor(10, 40, 70), kWhite,
                                                      makeColor((30 * 128 + 255 * 127 + 127) / 255,
                                                                (60 * 128 + 255 * 127 + 127) / 255,
                                                                (90 * 128 + 255 * 127 + 127) / 255)}}),
                                decode(writePcx(rgba))));

    // A grey picture may leave out the trailing palette; a run may carry on into the next line.
    PcxSpec grey;
    grey.width = 3;
    grey.height = 2;
    grey.bytesPerLine = 4;
    grey.paletteKind = 2;
    Bytes file = writePcx(grey);
    file.insert(file.end(), {0xC6, 0x50, 0xC2, 0x07});  // six bytes of 0x50, then two of 7
    const ColorValue g = makeColor(0x50, 0x50, 0x50);
    EXPECT_TRUE(test::SameImage(test::imageFromRows({{g, g, g}, {g, g, makeColor(7, 7, 7)}}), decode(file)));
    // Any other 8-bit picture without its palette has lost the end of the file.
    file[68] = 1;
    EXPECT_THROW(decode(file), Failure);
}

TEST(ScrReader, EveryCutShortFileFails) {
    std::vector<Bytes> files;
    PcxSpec indexed;
    indexed.width = 9;
    indexed.height = 4;
    indexed.bytesPerLine = 10;
    indexed.trailingPalette.assign(768, 0x33);
    std::mt19937 random(9);
    for (int y = 0; y < 4; ++y) {
        Bytes line(10);
        for (auto& b : line) b = static_cast<std::uint8_t>(random() % 0x0C);  // no stray palette mark
        indexed.lines.push_back(line);
    }
    files.push_back(writePcx(indexed));
    PcxSpec planar;
    planar.bits = 1;
    planar.planes = 3;
    planar.width = 16;
    planar.height = 3;
    planar.bytesPerLine = 2;
    planar.lines.assign(3, Bytes{0xFF, 0xFF, 0x00, 0x00, 0xC3, 0x3C});
    files.push_back(writePcx(planar));
    for (const Bytes& file : files) {
        for (std::size_t cut = 0; cut < file.size(); cut += 2) {
            EXPECT_THROW(decodeScr(file.data(), cut), Failure) << "cut at " << cut << " of " << file.size();
        }
    }
    // The GraphicsMagick files end with a palette that only the 8-bit one needs.
    const Bytes truecolor = readFile("formats/own/truecolor.pcx");
    for (std::size_t cut = 0; cut + 769 < truecolor.size(); cut += 5) {
        EXPECT_THROW(decodeScr(truecolor.data(), cut), Failure) << "cut at " << cut;
    }
}

TEST(ScrReader, DamagedOrUnsupportedHeadersFail) {
    PcxSpec good;
    good.bits = 8;
    good.planes = 3;
    good.width = 2;
    good.height = 2;
    good.bytesPerLine = 2;
    good.lines.assign(2, Bytes(6, 9));
    const Bytes file = writePcx(good);
    ASSERT_NO_THROW(decode(file));
    struct Case {
        const char* name;
        std::size_t offset;
        Bytes bytes;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"maker", 0, {0x0B}, "Not a PCX"},
        {"version", 1, {1}, "version"},
        {"encoding", 2, {2}, "encoding"},
        {"bits", 3, {3}, "not supported"},
        {"planes", 65, {2}, "not supported"},
        {"xmax before xmin", 8, {0, 0}, "picture size"},
        {"short lines", 66, {1, 0}, "shorter"},
        {"more lines than the file holds", 10, {0xFF, 0x0F}, "cut short"},
    };
    for (const Case& c : cases) {
        Bytes bad = file;
        std::copy(c.bytes.begin(), c.bytes.end(), bad.begin() + static_cast<std::ptrdiff_t>(c.offset));
        EXPECT_TRUE(test::FailsWith([&] { decode(bad); }, c.message)) << c.name;
    }
    // A claim beyond the size limit is refused as too large before anything is read.
    Bytes huge = file;
    putLe16(huge, 4, 0);
    putLe16(huge, 8, 65535);
    putLe16(huge, 6, 0);
    putLe16(huge, 10, 65535);
    try {
        decode(huge);
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("too large"), std::string::npos) << failure.what();
    }
}

TEST(ScrReader, ProbeAcceptsCapturesAndRejectsOthers) {
    PcxSpec s;
    s.bits = 1;
    s.planes = 1;
    s.width = 8;
    s.height = 1;
    s.bytesPerLine = 2;
    s.lines = {{0xF0, 0}};
    const Bytes file = writePcx(s);
    EXPECT_TRUE(looksScr(file.data(), file.size()));
    // With no palette in the header a set bit is white.
    const ColorValue w = kWhite;
    const ColorValue k = kBlack;
    EXPECT_TRUE(test::SameImage(test::imageFromRows({{w, w, w, w, k, k, k, k}}), decode(file)));
    for (std::size_t n = 0; n < 128; ++n) EXPECT_FALSE(looksScr(file.data(), n)) << n;
    const Bytes bmp = encodeBmp(test::randomImage(3, 3, 1));
    EXPECT_FALSE(looksScr(bmp.data(), bmp.size()));
    std::mt19937 random(4);
    Bytes noise(256);
    for (auto& b : noise) b = static_cast<std::uint8_t>(random());
    noise[0] = 0xCD;
    EXPECT_FALSE(looksScr(noise.data(), noise.size()));
    for (const std::pair<std::size_t, std::uint8_t>& change :
         std::vector<std::pair<std::size_t, std::uint8_t>>{
             {1, 1}, {2, 7}, {3, 16}, {65, 0}, {65, 5}, {66, 0}, {8, 0}}) {
        Bytes bad = file;
        bad[change.first] = change.second;
        if (change.first == 8) {  // xmax before xmin
            bad[8] = 0;
            bad[9] = 0;
        }
        EXPECT_FALSE(looksScr(bad.data(), bad.size())) << "byte " << change.first;
    }
}

TEST(ScrReader, RandomDamageGivesAPictureOrAFailure) {
    test::decodeRandomlyDamaged({readFile("formats/own/truecolor.pcx"), readFile("formats/own/palette.pcx"),
                                 readFile("formats/own/mono.pcx")},
                                300, 2, [](const Bytes& bad) { decode(bad); });
}

}  // namespace
}  // namespace dg
