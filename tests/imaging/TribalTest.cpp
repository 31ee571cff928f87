#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "imaging/Parallel.h"
#include "imaging/Tribal.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::SameImage;

// The tests as the screen describes them, one pixel at a time, with the averages divided out.
bool referenceBlack(int method, int r, int g, int b, const TribalSliders& t) {
    switch (method) {
        case 1:
            return r < t.t1 && g < t.t2 && b < t.t3;
        case 2:
            return (r + g) / 2 < t.t1 && b < t.t2;
        case 3:
            return (r + b) / 2 < t.t1 && g < t.t2;
        case 4:
            return (g + b) / 2 < t.t2 && r < t.t1;
        case 5:
            return (r + b) / 2 < t.t1 && g < t.t1;
        case 6:
            return (r + g) / 2 < t.t1 && b < t.t1;
        case 7:
            return (g + b) / 2 < t.t1 && r < t.t1;
        case 8:
            return (r + g + b) / 3 < t.t1;
        default:
            return false;
    }
}

RgbImage reference(const RgbImage& source, int method, const TribalSliders& t) {
    RgbImage out(source.width(), source.height());
    for (std::int32_t y = 0; y < source.height(); ++y)
        for (std::int32_t x = 0; x < source.width(); ++x) {
            const ColorValue c = source.pixel(x, y);
            if (referenceBlack(method, redOf(c), greenOf(c), blueOf(c), t)) out.setPixel(x, y, kBlack);
        }
    return out;
}

// Every mix of byte values on either side of the slider positions below, where a truncated
// average or a strict comparison decides, laid out over a width that is not a multiple of
// the sixteen pixels the fast path takes at once.
RgbImage boundaryColours() {
    const std::vector<int> values{0, 1, 2, 99, 100, 101, 102, 199, 200, 201, 254, 255};
    const auto n = static_cast<std::int32_t>(values.size());
    const std::int32_t mixes = n * n * n;
    const std::int32_t width = 149;
    RgbImage picture(width, (mixes + width - 1) / width);
    for (std::int32_t i = 0; i < picture.width() * picture.height(); ++i) {
        const std::int32_t mix = i % mixes;
        picture.setPixel(i % width, i / width,
                         makeColor(values[static_cast<std::size_t>(mix / (n * n))],
                                   values[static_cast<std::size_t>(mix / n % n)],
                                   values[static_cast<std::size_t>(mix % n)]));
    }
    return picture;
}

TEST(Tribal, EveryMethodAgreesWithTheReferenceAtTheBoundaries) {
    const RgbImage source = boundaryColours();
    const std::vector<int> positions{0, 1, 100, 101, 201, 255, 256};
    RgbImage result;
    for (int method = 0; method <= 8; ++method)
        for (int t1 : positions)
            for (int t2 : positions)
                for (int t3 : positions) {
                    const TribalSliders t{t1, t2, t3};
                    makeTribal(source, method, t, result);
                    ASSERT_TRUE(SameImage(reference(source, method, t), result))
                        << "method " << method << ", sliders " << t1 << " " << t2 << " " << t3;
                }
}

TEST(Tribal, NamedPixels) {
    struct Case {
        const char* what;
        int method;
        TribalSliders t;
        ColorValue pixel;
        bool black;
    };
    const Case cases[] = {
        {"slider 0: nothing is below it", 8, {0, 256, 256}, makeColor(0, 0, 0), false},
        {"slider 0, method 1", 1, {0, 256, 256}, makeColor(0, 0, 0), false},
        {"method 8 at 256: white is black", 8, {256, 0, 0}, makeColor(255, 255, 255), true},
        {"method 1 all at 256", 1, {256, 256, 256}, makeColor(255, 255, 255), true},
        {"method 1, red 255 under slider 1 at 255", 1, {255, 256, 256}, makeColor(255, 0, 0), false},
        {"equal is not below", 8, {100, 0, 0}, makeColor(100, 100, 100), false},
        {"red 100 and green 101 average to 100", 2, {101, 256, 0}, makeColor(100, 101, 255), true},
        {"grey 100, 100, 101 averages to 100", 8, {101, 0, 0}, makeColor(100, 100, 101), true},
        {"method 4: slider 2 bounds the average", 4, {101, 60, 0}, makeColor(100, 50, 60), true},
        {"method 4: slider 1 bounds red", 4, {100, 256, 0}, makeColor(100, 0, 0), false},
        {"method 5 uses slider 1 for green too", 5, {100, 0, 0}, makeColor(0, 99, 0), true},
        {"method 7 ignores sliders 2 and 3", 7, {50, 0, 0}, makeColor(49, 10, 10), true},
        {"past 256 acts as 256", 1, {300, 1000, 257}, makeColor(255, 255, 255), true},
        {"below 0 acts as 0", 2, {-4, 256, 0}, makeColor(0, 0, 0), false},
    };
    for (const Case& c : cases) {
        // Wide enough for the sixteen-pixel path and the pixels after it.
        RgbImage source(21, 1);
        source.fill(c.pixel);
        RgbImage result;
        makeTribal(source, c.method, c.t, result);
        for (std::int32_t x = 0; x < source.width(); ++x)
            ASSERT_EQ(result.pixel(x, 0), c.black ? kBlack : kWhite) << c.what << ", pixel " << x;
    }
}

TEST(Tribal, SameBytesForAnyWorkerCountPaddingIncluded) {
    // An odd width leaves padding at the end of every row.
    const RgbImage source = test::randomImage(333, 517, 7);
    std::vector<RgbImage> results;
    for (int workers : {1, 2, 5}) {
        setWorkerCount(workers);
        RgbImage result = test::randomImage(333, 517, 8);  // stale bytes, same size: reused
        makeTribal(source, 6, {128, 0, 0}, result);
        results.push_back(std::move(result));
    }
    setWorkerCount(0);
    // A fresh white picture has white padding; the reused one must end up the same.
    const RgbImage fresh = reference(source, 6, {128, 0, 0});
    for (const RgbImage& r : results) {
        ASSERT_EQ(r.byteSize(), fresh.byteSize());
        EXPECT_EQ(std::memcmp(r.data(), fresh.data(), fresh.byteSize()), 0);
    }
}

TEST(Tribal, TheResultTakesTheSourceSizeEmptyIncluded) {
    RgbImage result = test::randomImage(4, 4, 1);
    makeTribal(RgbImage(), 8, {}, result);
    EXPECT_TRUE(result.empty());
    makeTribal(RgbImage(0, 7), 1, {}, result);
    EXPECT_TRUE(result.empty());
    makeTribal(test::randomImage(9, 2, 3), 8, {256, 0, 0}, result);
    EXPECT_EQ(result.width(), 9);
    EXPECT_EQ(result.height(), 2);
    EXPECT_EQ(tribalSliderCount(1), 3);
    EXPECT_EQ(tribalSliderCount(4), 2);
    EXPECT_EQ(tribalSliderCount(5), 1);
    EXPECT_EQ(tribalSliderCount(8), 1);
    EXPECT_EQ(tribalSliderCount(0), 0);
}

}  // namespace
}  // namespace dg
