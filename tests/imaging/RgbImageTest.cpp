#include <gtest/gtest.h>

#include "imaging/Failure.h"
#include "imaging/RgbImage.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

TEST(RgbImage, NewPixelsAreWhiteAndRowsAreBgrPaddedToFourBytes) {
    RgbImage picture(5, 2);
    EXPECT_EQ(picture.stride(), 16u);  // 15 bytes rounded up
    EXPECT_EQ(picture.pixel(4, 1), kWhite);
    picture.setPixel(1, 0, makeColor(10, 20, 30));
    const std::uint8_t* row = picture.row(0);
    EXPECT_EQ(row[3], 30);  // blue first
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
    EXPECT_EQ(picture.pixel(1, 0), 10 + 256 * 20 + 65536 * 30);
}

TEST(RgbImage, EmptyPicturesAreValid) {
    RgbImage none;
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.byteSize(), 0u);
    RgbImage copy = none;
    EXPECT_TRUE(copy == none);
    RgbImage picture(3, 3);
    picture.clear();
    EXPECT_EQ(picture.width(), 0);
    EXPECT_TRUE(picture.empty());
    picture.fill(kBlack);  // nothing to fill, no crash
}

TEST(RgbImage, CopiesAreDeepAndMovesEmptyTheSource) {
    RgbImage a(2, 2);
    a.setPixel(0, 0, kBlack);
    RgbImage b = a;
    b.setPixel(0, 0, makeColor(1, 2, 3));
    EXPECT_EQ(a.pixel(0, 0), kBlack);
    RgbImage c = std::move(b);
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(c.pixel(0, 0), makeColor(1, 2, 3));
}

TEST(RgbImage, FillPaintsEveryPixel) {
    RgbImage picture(7, 3);
    picture.fill(makeColor(1, 2, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) ASSERT_EQ(picture.pixel(x, y), makeColor(1, 2, 3));
}

TEST(RgbImage, ImpossibleSizesFailWithAMessage) {
    EXPECT_THROW(RgbImage(-1, 5), Failure);
    try {
        RgbImage huge(2000000000, 2000000000);
        FAIL() << "a picture of 4e18 pixels was allocated";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("too large"), std::string::npos);
    }
}

TEST(RgbImage, LargestScreenOutputFits) {
    // 60 x 60 inches at 160 DPI: byte counts above 2^31 must not overflow.
    RgbImage picture(9600, 9600);
    EXPECT_EQ(picture.byteSize(), 9600ull * 28800ull);
    picture.setPixel(9599, 9599, kBlack);
    EXPECT_EQ(picture.row(9599)[3 * 9599], 0);
}

}  // namespace
}  // namespace dg
