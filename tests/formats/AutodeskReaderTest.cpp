#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "formats/AutodeskReader.h"
#include "formats/Bmp.h"
#include "formats/ForeignFiles.h"
#include "imaging/Failure.h"
#include "support/Damage.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using Bytes = std::vector<std::uint8_t>;

void putLe(Bytes& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

RgbImage decode(const Bytes& file) { return decodeAutodesk(file.data(), file.size()); }

// Palette entries whose 6-bit values scale to known 8-bit ones: 0, 21, 42, 63 -> 0, 85, 170,
// 255, and 32 -> 129.5, which rounds to 130.
struct Entry {
    std::uint8_t six[3];
    ColorValue colour;
};
const Entry kEntries[] = {
    {{0, 0, 0}, makeColor(0, 0, 0)},         {{63, 0, 0}, makeColor(255, 0, 0)},
    {{0, 42, 21}, makeColor(0, 170, 85)},    {{63, 63, 63}, makeColor(255, 255, 255)},
    {{32, 21, 63}, makeColor(130, 85, 255)},
};

Bytes oldPicture(int width, int height, const Bytes& pixels) {
    Bytes f;
    putLe(f, 0x9119, 2);
    putLe(f, static_cast<std::uint64_t>(width), 2);
    putLe(f, static_cast<std::uint64_t>(height), 2);
    putLe(f, 0, 4);  // x, y
    f.push_back(8);
    f.push_back(0);
    putLe(f, static_cast<std::uint64_t>(width * height), 4);
    f.insert(f.end(), 16, 0);
    Bytes palette(768, 0);
    for (std::size_t i = 0; i < 5; ++i) {
        for (std::size_t c = 0; c < 3; ++c) palette[3 * i + c] = kEntries[i].six[c];
    }
    f.insert(f.end(), palette.begin(), palette.end());
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

struct Chunk {
    int type;
    Bytes body;
};

Bytes proPicture(int width, int height, int depth, const std::vector<Chunk>& chunks) {
    Bytes f;
    putLe(f, 0, 4);  // file size, filled in below
    putLe(f, 0x9500, 2);
    putLe(f, static_cast<std::uint64_t>(width), 2);
    putLe(f, static_cast<std::uint64_t>(height), 2);
    putLe(f, 0, 4);  // x, y
    putLe(f, 0, 4);  // user id
    f.push_back(static_cast<std::uint8_t>(depth));
    f.insert(f.end(), 45, 0);
    for (const Chunk& c : chunks) {
        putLe(f, c.body.size() + 6, 4);
        putLe(f, static_cast<std::uint64_t>(c.type), 2);
        f.insert(f.end(), c.body.begin(), c.body.end());
    }
    const std::uint64_t size = f.size();
    for (int i = 0; i < 4; ++i) f[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    return f;
}

Bytes colourMap(const std::vector<ColorValue>& colours) {
    Bytes body = {0, 0};  // version
    Bytes table(768, 0);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        table[3 * i] = static_cast<std::uint8_t>(redOf(colours[i]));
        table[3 * i + 1] = static_cast<std::uint8_t>(greenOf(colours[i]));
        table[3 * i + 2] = static_cast<std::uint8_t>(blueOf(colours[i]));
    }
    body.insert(body.end(), table.begin(), table.end());
    return body;
}

TEST(AutodeskReader, ReadsAFullScreenPicAndAnOddSizedCel) {
    Bytes pixels(64000);
    RgbImage expected(320, 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x) {
            const int i = (x / 7 + y / 5) % 5;
            pixels[static_cast<std::size_t>(y * 320 + x)] = static_cast<std::uint8_t>(i);
            expected.setPixel(x, y, kEntries[i].colour);
        }
    }
    const Bytes pic = oldPicture(320, 200, pixels);
    ASSERT_EQ(pic.size(), 64800u);
    EXPECT_TRUE(looksAutodesk(pic.data(), pic.size()));
    EXPECT_TRUE(test::SameImage(expected, decode(pic)));

    const Bytes cel = oldPicture(3, 2, {4, 3, 2, 1, 0, 4});
    EXPECT_TRUE(
        test::SameImage(test::imageFromRows({{kEntries[4].colour, kEntries[3].colour, kEntries[2].colour},
                                             {kEntries[1].colour, kEntries[0].colour, kEntries[4].colour}}),
                        decode(cel)));
}

TEST(AutodeskReader, ReadsProPicturesAndMasks) {
    const ColorValue a = makeColor(1, 2, 3);
    const ColorValue b = makeColor(250, 128, 7);
    const ColorValue c = makeColor(9, 200, 99);
    const RgbImage expected = test::imageFromRows({{a, b, c}, {c, c, a}});
    // An unknown chunk is stepped over; the colour map may come after the pixels.
    const Bytes pic =
        proPicture(3, 2, 8, {{1, {0, 1, 2, 2, 2, 0}}, {7, {1, 2, 3}}, {0, colourMap({a, b, c})}});
    EXPECT_TRUE(looksAutodesk(pic.data(), pic.size()));
    EXPECT_TRUE(test::SameImage(expected, decode(pic)));

    // Rows padded to an even length, as the chunk's size shows.
    const Bytes padded = proPicture(3, 2, 8, {{0, colourMap({a, b, c})}, {1, {0, 1, 2, 9, 2, 2, 0, 9}}});
    EXPECT_TRUE(test::SameImage(expected, decode(padded)));

    // Without a colour map the indices are grey levels.
    const Bytes grey = proPicture(2, 1, 8, {{1, {0, 200}}});
    EXPECT_TRUE(test::SameImage(test::imageFromRows({{kBlack, makeColor(200, 200, 200)}}), decode(grey)));

    // A mask: a set bit is black; 10 pixels a row, rows on byte boundaries.
    const Bytes mask = proPicture(10, 2, 1, {{2, {0b11000000, 0b01000000, 0b00000001, 0b10000000}}});
    const ColorValue k = kBlack;
    const ColorValue w = kWhite;
    EXPECT_TRUE(test::SameImage(
        test::imageFromRows({{k, k, w, w, w, w, w, w, w, k}, {w, w, w, w, w, w, w, k, k, w}}), decode(mask)));
}

TEST(AutodeskReader, EveryCutShortFileFails) {
    const Bytes cel = oldPicture(5, 4, Bytes(20, 3));
    const Bytes pro = proPicture(5, 3, 8, {{0, colourMap({kWhite})}, {1, Bytes(15, 0)}});
    for (const Bytes& file : {cel, pro}) {
        for (std::size_t cut = 0; cut < file.size(); cut += 3) {
            EXPECT_THROW(decodeAutodesk(file.data(), cut), Failure)
                << "cut at " << cut << " of " << file.size();
        }
    }
}

TEST(AutodeskReader, DamagedAndUnsupportedFilesFail) {
    const Bytes pro = proPicture(2, 2, 8, {{1, {0, 0, 0, 0}}});
    struct Case {
        const char* name;
        Bytes file;
        const char* message;
    };
    auto changed = [](Bytes f, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), f.begin() + static_cast<std::ptrdiff_t>(at));
        return f;
    };
    const Bytes cel = oldPicture(2, 2, {0, 0, 0, 0});
    const std::vector<Case> cases = {
        {"neither id", changed(cel, 0, {0x18, 0x91}), "Not an Autodesk"},
        {"old compressed", changed(cel, 11, {1}), "Only uncompressed"},
        {"old zero width", changed(cel, 2, {0, 0}), "no pixels"},
        {"pro depth 4", changed(pro, 18, {4}), "4 bits"},
        {"pro huge", changed(pro, 6, {0xFF, 0xFF, 0xFF, 0xFF}), "too large"},
        {"chunk size below its head", changed(pro, 64, {5, 0, 0, 0}), "bad size"},
        {"chunk past the end", changed(pro, 64, {11, 0, 0, 0}), "cut short"},
        {"no pixels", changed(pro, 68, {9}), "missing"},
        {"pixels for the other depth", changed(pro, 68, {2}), "missing"},
        {"short colour map", proPicture(1, 1, 8, {{0, {0, 0, 1}}, {1, {0}}}), "colour map"},
        {"short pixels", proPicture(2, 2, 8, {{1, {0, 0, 0}}}), "cut short"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(test::FailsWith([&] { decode(c.file); }, c.message)) << c.name;
    }
}

TEST(AutodeskReader, ProbeAcceptsBothKindsAndRejectsOthers) {
    const Bytes cel = oldPicture(2, 2, {0, 1, 2, 3});
    const Bytes pro = proPicture(2, 2, 1, {{2, {0, 0}}});
    for (const Bytes* file : {&cel, &pro}) {
        EXPECT_TRUE(looksAutodesk(file->data(), file->size()));
    }
    for (std::size_t n = 0; n < 32; ++n) EXPECT_FALSE(looksAutodesk(cel.data(), n)) << n;
    for (std::size_t n = 0; n < 64; ++n) EXPECT_FALSE(looksAutodesk(pro.data(), n)) << n;
    auto rejects = [](Bytes f, std::size_t at, std::uint8_t v) {
        f[at] = v;
        return !looksAutodesk(f.data(), f.size());
    };
    EXPECT_TRUE(rejects(cel, 10, 4));    // bits per pixel
    EXPECT_TRUE(rejects(cel, 11, 1));    // compression
    EXPECT_TRUE(rejects(cel, 12, 5));    // data size not width * height
    EXPECT_TRUE(rejects(cel, 2, 0));     // width 0
    EXPECT_TRUE(rejects(pro, 18, 4));    // depth
    EXPECT_TRUE(rejects(pro, 8, 0));     // height 0
    EXPECT_TRUE(rejects(pro, 5, 0x96));  // id
    for (const Bytes& other : test::foreignFiles()) EXPECT_FALSE(looksAutodesk(other.data(), other.size()));
}

TEST(AutodeskReader, RandomDamageGivesAPictureOrAFailure) {
    test::decodeRandomlyDamaged(
        {oldPicture(5, 4, Bytes(20, 3)), proPicture(5, 3, 8, {{0, colourMap({kWhite})}, {1, Bytes(15, 0)}})},
        300, 3, [](const Bytes& bad) { decode(bad); });
}

}  // namespace
}  // namespace dg
