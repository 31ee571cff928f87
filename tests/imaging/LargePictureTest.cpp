#include <gtest/gtest.h>

#include "imaging/CountColors.h"
#include "imaging/Resample.h"
#include "imaging/Scaling.h"

namespace dg {
namespace {

// Pictures past 2^31 bytes: every byte offset must be formed in 64 bits. Pixels are set
// near the far end, where a 32-bit offset would land somewhere else or fault.

TEST(LargePicture, TwoHundredMegapixelsAreCountedAndStretched) {
    RgbImage picture(20000, 10000);  // 600 MB
    // The last 20 x 20 blocks of the bottom row, which the 20-fold stretch samples from.
    for (int y = 9980; y < 10000; ++y) {
        for (int x = 0; x < 20; ++x) {
            picture.setPixel(x, y, kBlack);
            picture.setPixel(19980 + x, y, makeColor(1, 2, 3));
        }
    }
    EXPECT_EQ(CountColors(picture), 3);

    RgbImage target(1000, 500);
    plainStretch(picture, target);
    EXPECT_EQ(target.pixel(999, 499), makeColor(1, 2, 3));
    EXPECT_EQ(target.pixel(0, 499), kBlack);
    EXPECT_EQ(CountColors(target), 3);
}

TEST(LargePicture, HermiteEnlargesToTheLargestOutput) {
    // 60 x 60 inches at 160 DPI, enlarged from half the width.
    RgbImage picture(4800, 9600);
    picture.setPixel(4799, 9599, kBlack);
    ResampleInPlace(9600, 9600, 2, 0, picture);
    ASSERT_EQ(picture.width(), 9600);
    ASSERT_EQ(picture.height(), 9600);
    EXPECT_EQ(picture.pixel(9599, 9599), kBlack);  // the last pixels map onto each other
    EXPECT_EQ(picture.pixel(0, 0), kWhite);
    EXPECT_EQ(picture.pixel(9599, 9598), kWhite);
}

}  // namespace
}  // namespace dg
