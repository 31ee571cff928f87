#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <random>

#include "imaging/Parallel.h"
#include "output/Stencil.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::imageFromRows;
using test::SameImage;

constexpr ColorValue W = kWhite;
constexpr ColorValue K = kBlack;
const ColorValue R = makeColor(255, 0, 0);
const ColorValue B = makeColor(0, 0, 200);

// The outline walked exactly as described: per pixel the four flags, the writes of steps 6
// and 7 and the last-edge colour, which does not exist before the first edge.
RgbImage referenceOutline(const RgbImage& in, int t) {
    const int w = in.width(), h = in.height();
    RgbImage out(w, h);
    auto at = [&](int x, int y) { return in.contains(x, y) ? in.pixel(x, y) : kWhite; };
    auto differ = [&](ColorValue a, ColorValue b) {
        return std::abs(redOf(a) - redOf(b)) > t || std::abs(greenOf(a) - greenOf(b)) > t ||
               std::abs(blueOf(a) - blueOf(b)) > t;
    };
    std::optional<ColorValue> last;
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            const ColorValue c = at(x, y);
            const bool right = differ(c, at(x + 1, y)) || (last && std::abs(redOf(c) - redOf(*last)) > t);
            const bool down = differ(c, at(x, y + 1)) || (last && std::abs(greenOf(c) - greenOf(*last)) > t);
            const bool left = differ(c, at(x - 1, y)) || (last && std::abs(blueOf(c) - blueOf(*last)) > t);
            const bool up = differ(c, at(x, y - 1));
            out.setPixel(x, y, right || down || left ? c : kWhite);
            if (up) {
                if (y > 0) out.setPixel(x, y - 1, at(x, y - 1));
                out.setPixel(x, y, c);
            }
            if (right || down || left || up) last = c;
        }
    }
    return out;
}

TEST(StencilOutline, OneColourShapeHasATwoPixelOutline) {
    // The white side of each boundary pair is drawn in its own colour, white.
    const RgbImage picture = imageFromRows({{W, W, W, W, W, W, W},
                                            {W, R, R, R, R, R, W},
                                            {W, R, R, R, R, R, W},
                                            {W, R, R, R, R, R, W},
                                            {W, R, R, R, R, R, W},
                                            {W, W, W, W, W, W, W}});
    const RgbImage expected = imageFromRows({{W, W, W, W, W, W, W},
                                             {W, R, R, R, R, R, W},
                                             {W, R, W, W, W, R, W},
                                             {W, R, W, W, W, R, W},
                                             {W, R, R, R, R, R, W},
                                             {W, W, W, W, W, W, W}});
    EXPECT_TRUE(SameImage(expected, stencilOutline(picture, 20)));
}

TEST(StencilOutline, EachSideOfABoundaryKeepsItsOwnColour) {
    const RgbImage picture =
        imageFromRows({{R, R, R, B, B, B}, {R, R, R, B, B, B}, {R, R, R, B, B, B}, {R, R, R, B, B, B}});
    // Along the picture's border the shapes are outlined too (outside reads white).
    const RgbImage expected =
        imageFromRows({{R, R, R, B, B, B}, {R, W, R, B, W, B}, {R, W, R, B, W, B}, {R, R, R, B, B, B}});
    EXPECT_TRUE(SameImage(expected, stencilOutline(picture, 20)));
}

TEST(StencilOutline, SmallStepsUpToTheThresholdGiveNoOutline) {
    const ColorValue a = makeColor(100, 100, 100), b = makeColor(120, 80, 110);  // 20 apart at most
    RgbImage picture(12, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x) picture.setPixel(x, y, x < 6 ? a : b);
    const RgbImage at20 = stencilOutline(picture, 20);
    EXPECT_EQ(at20.pixel(5, 3), kWhite);
    EXPECT_EQ(at20.pixel(6, 3), kWhite);
    const RgbImage at19 = stencilOutline(picture, 19);
    EXPECT_EQ(at19.pixel(5, 3), a);
    EXPECT_EQ(at19.pixel(6, 3), b);
}

TEST(StencilOutline, MatchesTheStepByStepWalk) {
    std::mt19937 random(11);
    const ColorValue palette[] = {
        W, K, R, B, makeColor(240, 240, 240), makeColor(250, 10, 30), makeColor(30, 200, 30)};
    // The later rounds are wider than a strip of columns walked together, with bands of white
    // columns: columns without an edge, and columns whose first edge lies far down.
    for (int round = 0; round < 90; ++round) {
        const bool wide = round >= 60;
        const int w = 1 + static_cast<int>(random() % (wide ? 200 : 25));
        const int h = 1 + static_cast<int>(random() % (wide ? 40 : 25));
        RgbImage p(w, h);
        // Blocks of colour, so that flat areas (where the last-edge colour matters) occur.
        const int block = 1 + static_cast<int>(random() % 4);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::mt19937 cell(static_cast<unsigned>(round * 1000 + (x / block) * 31 + (y / block)));
                const bool blank = wide && ((x / 16) % 3 == 1 || (x % 7 == 0 && y < h / 2));
                p.setPixel(x, y, blank ? W : palette[cell() % 7]);
            }
        const int t = static_cast<int>(random() % 60);
        ASSERT_TRUE(SameImage(referenceOutline(p, t), stencilOutline(p, t)))
            << "round " << round << " T " << t;
    }
}

TEST(StencilOutline, SameBytesWithOneOrTwoWorkers) {
    const RgbImage p = test::randomImage(200, 150, 5);
    setWorkerCount(1);
    const RgbImage one = stencilOutline(p, 40);
    setWorkerCount(2);
    const RgbImage two = stencilOutline(p, 40);
    setWorkerCount(0);
    EXPECT_TRUE(SameImage(one, two));
    EXPECT_TRUE(SameImage(referenceOutline(p, 40), one));
}

TEST(StencilPicture, MirrorBlackAndWhiteChannelInversion) {
    RgbImage p = imageFromRows({{R, W, B}, {K, R, W}});
    mirrorLeftRight(p);
    EXPECT_TRUE(SameImage(imageFromRows({{B, W, R}, {W, R, K}}), p));
    blackenStencil(p);
    EXPECT_TRUE(SameImage(imageFromRows({{K, W, K}, {W, K, K}}), p));

    const ColorValue mixed = makeColor(255, 10, 10);
    RgbImage mask = imageFromRows({{W, K, mixed, makeColor(1, 2, 3)}});
    invertWhiteChannelMask(mask);
    EXPECT_TRUE(SameImage(imageFromRows({{K, W, mixed, W}}), mask));
}

TEST(CornerMarks, PenWidthZeroDrawsOnePixelAtTheFourCorners) {
    RgbImage p(20, 12);
    drawCornerMarks(p, 4, 0);
    // (0, 4)-(0, 0)-(4, 0), (0, 8)-(0, 11)-(4, 11), (16, 0)-(19, 0)-(19, 4), (16, 11)-(19, 11)-(19, 8)
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool black =
                ((x == 0 || x == 19) && (y <= 4 || y >= 8)) || ((y == 0 || y == 11) && (x <= 4 || x >= 16));
            EXPECT_EQ(p.pixel(x, y), black ? kBlack : kWhite) << x << "," << y;
        }
    }
}

TEST(CornerMarks, LargerThanThePictureLeavesIt) {
    RgbImage p(6, 5);
    drawCornerMarks(p, 50, 0);
    // Every border pixel is covered, nothing inside is.
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool border = x == 0 || y == 0 || x == 5 || y == 4;
            EXPECT_EQ(p.pixel(x, y), border ? kBlack : kWhite) << x << "," << y;
        }
}

}  // namespace
}  // namespace dg
