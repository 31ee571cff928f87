#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "imaging/Effects.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using namespace test;

// Every byte value 0..255 in all four bytes of one pixel each.
Bitmap32 allByteValues() {
    Bitmap32 bitmap(256, 1);
    for (int v = 0; v < 256; ++v) {
        for (int b = 0; b < 4; ++b) bitmap.row(0)[4 * v + b] = static_cast<std::uint8_t>(v);
    }
    return bitmap;
}

TEST(Posterize, LevelTable) {
    struct Case {
        int level;
        std::vector<std::pair<int, int>> bytes;  // before, after
    };
    const Case cases[] = {
        {2, {{0, 0}, {1, 0}, {2, 2}, {3, 4}, {5, 4}, {7, 8}, {254, 254}, {255, 255}}},
        {100, {{49, 0}, {50, 0}, {51, 100}, {150, 200}, {249, 200}, {250, 200}, {251, 255}, {255, 255}}},
        {255, {{0, 0}, {127, 0}, {128, 255}, {255, 255}}},
    };
    for (const Case& c : cases) {
        Bitmap32 bitmap = allByteValues();
        TEffects effects;
        EXPECT_TRUE(effects.Posterize(bitmap, c.level));
        for (auto [before, after] : c.bytes) {
            for (int b = 0; b < 4; ++b) {
                EXPECT_EQ(bitmap.row(0)[4 * before + b], after) << "level " << c.level << " byte " << before;
            }
        }
    }
    // Level 255 splits the bytes in two; levels 0 and 1 change nothing.
    Bitmap32 halves = allByteValues();
    TEffects().Posterize(halves, 255);
    for (int v = 0; v < 256; ++v) EXPECT_EQ(halves.row(0)[4 * v], v < 128 ? 0 : 255) << v;
    for (int level : {0, 1}) {
        Bitmap32 bitmap = allByteValues();
        TEffects().Posterize(bitmap, level);
        for (int v = 0; v < 256; ++v) ASSERT_EQ(bitmap.row(0)[4 * v + 3], v) << level;
    }
}

TEST(Posterize, TableAgreesWithTheRoundingRuleAtEveryLevel) {
    // A slow reference: std::nearbyint rounds halves to even in the default rounding mode.
    for (int level = 0; level <= 255; ++level) {
        const std::array<std::uint8_t, 256> table = posterizeTable(level);
        const double l = level == 0 ? 1.0 : level;
        for (int v = 0; v < 256; ++v) {
            const double expected = std::clamp(std::nearbyint(v / l) * l, 0.0, 255.0);
            ASSERT_EQ(table[static_cast<std::size_t>(v)], expected) << "level " << level << " byte " << v;
        }
    }
    // Halves go to the even neighbour, and a byte rounded past 255 is clamped.
    EXPECT_EQ(posterizeTable(2)[1], 0);
    EXPECT_EQ(posterizeTable(2)[3], 4);
    EXPECT_EQ(posterizeTable(100)[150], 200);
    EXPECT_EQ(posterizeTable(100)[251], 255);
}

TEST(Posterize, PictureFromTwentyFourBitsKeepsItsFourthBytesAtZero) {
    const RgbImage picture = randomImage(7, 5, 2);
    Bitmap32 bitmap = toBitmap32(picture);
    TEffects effects;
    effects.Posterize(bitmap, 100);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            ASSERT_EQ(bitmap.row(y)[4 * x + 3], 0);
            const int v = picture.row(y)[3 * x + 1];
            const int expected = v <= 50 ? 0 : (v < 150 ? 100 : (v <= 250 ? 200 : 255));
            ASSERT_EQ(bitmap.row(y)[4 * x + 1], expected) << v;
        }
    }
    EXPECT_TRUE(SameImage(picture, toRgbImage(toBitmap32(picture))));
}

TEST(Posterize, PutsTheHostsHandlerBackAndFailsOnEmpty) {
    TEffects effects;
    int calls = 0;
    effects.OnScan = [&](const TPixelRef&, std::int32_t&, std::int32_t&, void*, bool&) { ++calls; };
    Bitmap32 bitmap = allByteValues();
    EXPECT_TRUE(effects.Posterize(bitmap, 2));
    Bitmap32 empty;
    EXPECT_FALSE(effects.Posterize(empty, 2));
    EXPECT_EQ(calls, 0);
    Bitmap32 three(3, 1);
    EXPECT_TRUE(effects.Scan(three, nullptr));
    EXPECT_EQ(calls, 3);
}

using Visit = std::pair<int, int>;  // HorzIndex, VertIndex

TEST(Scan, VisitsEveryPixelInRowOrderAndHandsOnData) {
    TEffects effects;
    std::vector<Visit> visits;
    int token = 0;
    effects.OnScan = [&](const TPixelRef& pixel, std::int32_t& h, std::int32_t& v, void* data, bool&) {
        EXPECT_EQ(data, &token);
        visits.emplace_back(h, v);
        pixel.red() = 9;
    };
    Bitmap32 bitmap(3, 2);
    EXPECT_TRUE(effects.Scan(bitmap, &token));
    EXPECT_EQ(visits, (std::vector<Visit>{{0, 0}, {4, 0}, {8, 0}, {0, 1}, {4, 1}, {8, 1}}));
    EXPECT_EQ(bitmap.row(1)[8 + 2], 9);
    EXPECT_EQ(bitmap.row(1)[8 + 1], 0);

    Bitmap32 empty;
    EXPECT_FALSE(effects.Scan(empty, nullptr));
    // Without a routine the engine stops itself at the first pixel: still a scan that ran.
    TEffects bare;
    EXPECT_TRUE(bare.Scan(bitmap, nullptr));
}

TEST(Scan, RoutineStopsAndMovesTheScan) {
    TEffects effects;
    std::vector<Visit> visits;
    effects.OnScan = [&](const TPixelRef&, std::int32_t& h, std::int32_t& v, void*, bool& go) {
        visits.emplace_back(h, v);
        if (visits.size() == 1) h = 8;          // skip a pixel
        if (visits.size() == 3) v = 2;          // jump down a row, same byte
        if (visits.size() == 4) h = 4 * 4 - 2;  // no whole pixel left on this row
        if (visits.size() == 6) go = false;
    };
    Bitmap32 bitmap(4, 4);
    EXPECT_TRUE(effects.Scan(bitmap, nullptr));
    EXPECT_EQ(visits, (std::vector<Visit>{{0, 0}, {8, 0}, {12, 0}, {12, 2}, {0, 3}, {4, 3}}));

    visits.clear();
    effects.OnScan = [&](const TPixelRef&, std::int32_t& h, std::int32_t& v, void*, bool&) {
        visits.emplace_back(h, v);
        v = 4;  // past the last row: done
    };
    EXPECT_TRUE(effects.Scan(bitmap, nullptr));
    EXPECT_EQ(visits.size(), 1u);
}

TEST(Scan, MaskKeyIsFourBytesOf255) {
    Bitmap32 mask(3, 1);
    for (int b = 0; b < 4; ++b) mask.row(0)[b] = 255;      // pixel 0: the key
    for (int b = 0; b < 3; ++b) mask.row(0)[8 + b] = 255;  // pixel 2: fourth byte 0, as from 24 bits
    TEffects effects;
    std::vector<Visit> visits;
    effects.OnScan = [&](const TPixelRef&, std::int32_t& h, std::int32_t& v, void*, bool&) {
        visits.emplace_back(h, v);
    };
    Bitmap32 bitmap(3, 1);
    effects.Scan(bitmap, nullptr, &mask);
    EXPECT_EQ(visits.size(), 3u);  // Masked is off: the mask does not count

    effects.Masked = true;
    visits.clear();
    effects.Scan(bitmap, nullptr, &mask);
    EXPECT_EQ(visits, (std::vector<Visit>{{0, 0}}));

    // The component's own mask serves when none is given, unless it is smaller than the bitmap.
    effects.MaskBitmap = mask;
    visits.clear();
    effects.Scan(bitmap, nullptr);
    EXPECT_EQ(visits, (std::vector<Visit>{{0, 0}}));
    Bitmap32 wide(6, 1);
    visits.clear();
    effects.Scan(wide, nullptr);
    EXPECT_EQ(visits.size(), 6u);
    // A given mask that is too small is replaced by the component's, stretched: 0 0 _ _ x x.
    visits.clear();
    effects.Scan(wide, nullptr, &mask);
    EXPECT_EQ(visits, (std::vector<Visit>{{0, 0}, {4, 0}}));
}

}  // namespace
}  // namespace dg
