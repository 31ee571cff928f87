#include <gtest/gtest.h>

#include <string>

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

// Making a picture of the size it already has (a rebuild's AFTER picture, a copy into the
// BEFORE picture) keeps its memory; any other byte size gets new memory. Width, height and
// stride always follow the new size, and the pixels are white or the copied ones.
TEST(RgbImage, TheSameByteSizeKeepsItsMemory) {
    struct Case {
        std::int32_t fromWidth, fromHeight, toWidth, toHeight;
        bool kept;
    };
    // 4 x 3 and 3 x 3 both take 36 bytes (rows of 12); 5 x 3 takes 48.
    for (const Case c :
         {Case{4, 3, 4, 3, true}, Case{4, 3, 3, 3, true}, Case{4, 3, 5, 3, false}, Case{4, 3, 4, 2, false}}) {
        SCOPED_TRACE(std::to_string(c.toWidth) + " x " + std::to_string(c.toHeight));
        RgbImage picture = test::randomImage(c.fromWidth, c.fromHeight, 1);
        const std::uint8_t* memory = picture.data();
        picture.reset(c.toWidth, c.toHeight);
        EXPECT_EQ(picture.data() == memory, c.kept);
        EXPECT_EQ(picture.width(), c.toWidth);
        EXPECT_EQ(picture.stride(), RgbImage::strideFor(c.toWidth));
        RgbImage white(c.toWidth, c.toHeight);
        EXPECT_TRUE(picture == white);

        RgbImage target = test::randomImage(c.fromWidth, c.fromHeight, 2);
        memory = target.data();
        const RgbImage source = test::randomImage(c.toWidth, c.toHeight, 3);
        target = source;
        EXPECT_EQ(target.data() == memory, c.kept);
        EXPECT_EQ(target.height(), c.toHeight);
        EXPECT_TRUE(target == source);
        EXPECT_NE(target.data(), source.data());
    }
    // Copying an empty picture empties the target.
    RgbImage target(4, 3);
    target = RgbImage();
    EXPECT_TRUE(target.empty());
    EXPECT_EQ(target.byteSize(), 0u);
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
