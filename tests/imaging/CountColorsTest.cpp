#include <gtest/gtest.h>

#include <random>
#include <set>

#include "imaging/CountColors.h"
#include "imaging/Parallel.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using namespace test;

std::int64_t distinctBySet(const RgbImage& picture) {
    std::set<ColorValue> colors;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) colors.insert(picture.pixel(x, y));
    }
    return static_cast<std::int64_t>(colors.size());
}

TEST(CountColors, EmptyPicturesHaveNoColours) {
    EXPECT_EQ(CountColors(RgbImage()), 0);
    EXPECT_EQ(CountColors(RgbImage(0, 5)), 0);
    EXPECT_EQ(CountColors(RgbImage(1, 1)), 1);
}

TEST(CountColors, ColoursDifferingInOneChannelOnlyAreDistinct) {
    const RgbImage picture = imageFromRows({{makeColor(1, 0, 0), makeColor(0, 1, 0), makeColor(0, 0, 1)},
                                            {makeColor(0, 0, 1), kBlack, kWhite},
                                            {makeColor(255, 255, 254), kWhite, makeColor(1, 0, 0)}});
    EXPECT_EQ(CountColors(picture), 6);
}

// Narrow widths put the last pixel of a row next to the padding (or the end of the memory);
// whatever lies in the padding must not count.
TEST(CountColors, AgreesWithASetOfColoursWhateverThePadding) {
    std::mt19937 random(3);
    for (int width : {1, 2, 3, 5, 8, 33}) {
        for (int height : {1, 7, 40}) {
            RgbImage picture = randomImage(width, height, static_cast<std::uint32_t>(random()));
            // Few colours, so that repeats occur.
            for (int y = 0; y < height; ++y) {
                for (int i = 0; i < width * 3; ++i) picture.row(y)[i] &= 0x03;
                for (std::size_t i = static_cast<std::size_t>(width) * 3; i < picture.stride(); ++i) {
                    picture.row(y)[i] = static_cast<std::uint8_t>(random());
                }
            }
            for (int workers : {1, 2}) {
                setWorkerCount(workers);
                EXPECT_EQ(CountColors(picture), distinctBySet(picture)) << width << "x" << height;
            }
        }
    }
    setWorkerCount(0);
}

TEST(CountColors, EveryColourOnce) {
    RgbImage picture(4096, 4096);
    for (int y = 0; y < 4096; ++y) {
        std::uint8_t* p = picture.row(y);
        for (int x = 0; x < 4096; ++x, p += 3) {
            const std::uint32_t c = static_cast<std::uint32_t>(y) * 4096u + static_cast<std::uint32_t>(x);
            p[0] = static_cast<std::uint8_t>(c);
            p[1] = static_cast<std::uint8_t>(c >> 8);
            p[2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    for (int workers : {1, 2}) {
        setWorkerCount(workers);
        EXPECT_EQ(CountColors(picture), 16777216);
    }
    setWorkerCount(0);
    // One colour gone, another twice.
    picture.row(100)[0] = picture.row(100)[3];
    picture.row(100)[1] = picture.row(100)[4];
    picture.row(100)[2] = picture.row(100)[5];
    EXPECT_EQ(CountColors(picture), 16777215);
}

}  // namespace
}  // namespace dg
