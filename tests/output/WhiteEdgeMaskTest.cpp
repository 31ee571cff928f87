#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <random>
#include <vector>

#include "imaging/Parallel.h"
#include "output/WhiteEdgeMask.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::imageFromRows;
using test::SameImage;

constexpr ColorValue W = kWhite;
constexpr ColorValue K = kBlack;
constexpr ColorValue C = kClearKey;
const ColorValue N = makeColor(235, 240, 250);  // white at depth 20, not at depth 19 or 0
const ColorValue G = makeColor(234, 255, 255);  // never white at depth 20

// The masking written out step by step: the framed copy, a breadth-first fill from (5, 5),
// and the copy back.
RgbImage referenceMask(const RgbImage& p, int depth) {
    RgbImage framed(p.width() + 20, p.height() + 20);
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            ColorValue c = p.pixel(x, y);
            if (c == kClearKey) c = kClearKeyStandIn;
            if (redOf(c) > 254 - depth && greenOf(c) > 254 - depth && blueOf(c) > 254 - depth) c = kWhite;
            framed.setPixel(x + 10, y + 10, c);
        }
    std::deque<std::pair<int, int>> queue{{5, 5}};
    framed.setPixel(5, 5, kClearKey);
    while (!queue.empty()) {
        auto [x, y] = queue.front();
        queue.pop_front();
        const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
        for (int i = 0; i < 4; ++i) {
            const int nx = x + dx[i], ny = y + dy[i];
            if (framed.contains(nx, ny) && framed.pixel(nx, ny) == kWhite) {
                framed.setPixel(nx, ny, kClearKey);
                queue.push_back({nx, ny});
            }
        }
    }
    RgbImage out(p.width(), p.height());
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) out.setPixel(x, y, framed.pixel(x + 10, y + 10));
    return out;
}

struct MaskCase {
    const char* name;
    int depth;
    RgbImage picture;
    RgbImage expected;
};

TEST(WhiteEdgeMask, EdgeCases) {
    const ColorValue S = kClearKeyStandIn;
    const MaskCase cases[] = {
        {"enclosed white stays, border near-white goes", 20,
         imageFromRows({{N, N, N, N, N}, {N, K, K, K, N}, {N, K, W, K, N}, {N, K, K, K, N}}),
         imageFromRows({{C, C, C, C, C}, {C, K, K, K, C}, {C, K, W, K, C}, {C, K, K, K, C}})},
        {"depth 0 counts only pure white", 0, imageFromRows({{W, N, W}, {N, K, W}}),
         imageFromRows({{C, N, C}, {N, K, C}})},
        {"depth 19 keeps 235", 19, imageFromRows({{N, W}}), imageFromRows({{N, C}})},
        {"234 is not white at depth 20", 20, imageFromRows({{G, W, G}}), imageFromRows({{G, C, G}})},
        {"a clear-key pixel is moved, not removed", 20, imageFromRows({{W, C, W}, {C, W, K}}),
         imageFromRows({{C, S, C}, {S, C, K}})},
        {"4-connected only: a diagonal gap does not leak", 20,
         imageFromRows({{K, K, K, K}, {K, W, K, K}, {K, K, W, K}, {K, K, K, K}}),
         imageFromRows({{K, K, K, K}, {K, W, K, K}, {K, K, W, K}, {K, K, K, K}})},
        {"white reaches in through an opening", 20, imageFromRows({{K, W, K}, {K, W, K}, {K, K, K}}),
         imageFromRows({{K, C, K}, {K, C, K}, {K, K, K}})},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.name);
        RgbImage p = c.picture;
        whiteEdgeMask(p, c.depth);
        EXPECT_TRUE(SameImage(c.expected, p));
        EXPECT_TRUE(SameImage(referenceMask(c.picture, c.depth), p));
    }
}

TEST(WhiteEdgeMask, MatchesTheFramedFillOnRandomPictures) {
    std::mt19937 random(7);
    const ColorValue palette[] = {W, W, W, N, G, K, kClearKey, makeColor(250, 250, 250)};
    for (int round = 0; round < 40; ++round) {
        const int width = 1 + static_cast<int>(random() % 30), height = 1 + static_cast<int>(random() % 30);
        RgbImage p(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) p.setPixel(x, y, palette[random() % 8]);
        const int depth = static_cast<int>(random() % 56);
        RgbImage masked = p;
        whiteEdgeMask(masked, depth);
        ASSERT_TRUE(SameImage(referenceMask(p, depth), masked)) << "round " << round << " depth " << depth;
    }
}

TEST(WhiteEdgeMask, SameBytesWithOneOrTwoWorkers) {
    RgbImage p = test::randomImage(300, 200, 3);
    for (int y = 50; y < 150; ++y)
        for (int x = 0; x < 300; ++x)
            if ((x / 7 + y / 5) % 3 == 0) p.setPixel(x, y, kWhite);
    RgbImage one = p, two = p;
    setWorkerCount(1);
    whiteEdgeMask(one, 30);
    setWorkerCount(2);
    whiteEdgeMask(two, 30);
    setWorkerCount(0);
    EXPECT_TRUE(SameImage(one, two));
}

// A white corridor winding through the whole picture, reachable from the border at one
// pixel only: black walls on the even rows, each with one gap, alternately at the right and
// the left end.
RgbImage serpentine(int size) {
    RgbImage p(size, size);
    const std::size_t bytes = 3 * static_cast<std::size_t>(size);
    for (int y = 0; y < size; ++y) {
        std::uint8_t* row = p.row(y);
        if (y % 2 == 1 && y < size - 1) {
            row[0] = row[1] = row[2] = 0;
            std::fill_n(row + bytes - 3, 3, 0);
        } else {
            std::fill_n(row, bytes, 0);
            if (y == 0) {
                std::fill_n(row + 3, 3, 255);  // the way in
            } else if (y < size - 1) {
                const int gap = (y / 2) % 2 == 1 ? size - 2 : 1;
                std::fill_n(row + 3 * gap, 3, 255);
            }
        }
    }
    return p;
}

std::int64_t whitePixels(const RgbImage& p) {
    std::int64_t white = 0;
    for (int y = 0; y < p.height(); ++y) {
        const std::uint8_t* row = p.row(y);
        for (int x = 0; x < p.width(); ++x)
            white += row[3 * x] == 255 && row[3 * x + 1] == 255 && row[3 * x + 2] == 255;
    }
    return white;
}

// The largest output with a 46-million-pixel path: fine without recursion.
TEST(WhiteEdgeMask, LargestOutputWithALongWindingPath) {
    const int size = 9600;
    RgbImage p = serpentine(size);
    whiteEdgeMask(p, 20);
    EXPECT_EQ(whitePixels(p), 0);
    EXPECT_EQ(p.pixel(1, 0), kClearKey);
    EXPECT_EQ(p.pixel(size / 2, size - 3), kClearKey);  // the last corridor
    EXPECT_EQ(p.pixel(size / 2, size - 4), kBlack);
}

// Corridors one pixel wide and running down the columns: a fill that recursed once per run
// would go a million levels deep here. (Kept smaller than the largest output: walking down
// columns misses the cache at every pixel.)
TEST(WhiteEdgeMask, ColumnWiseWindingPath) {
    const int size = 1500;
    const RgbImage rows = serpentine(size);
    RgbImage p(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) p.setPixel(x, y, rows.pixel(y, x));
    whiteEdgeMask(p, 20);
    EXPECT_EQ(whitePixels(p), 0);
    EXPECT_EQ(p.pixel(size - 3, size / 2), kClearKey);
}

}  // namespace
}  // namespace dg
