#include <gtest/gtest.h>

#include "imaging/Failure.h"
#include "imaging/Parallel.h"
#include "imaging/Resample.h"
#include "imaging/Scaling.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using namespace test;

TEST(Scaling, OutputPixelsRoundHalfToEvenInExtendedPrecision) {
    struct Case {
        int whole, hundredths, dpi;
        MeasuringUnit unit;
        int pixels;
    };
    const Case cases[] = {
        {1, 0, 70, MeasuringUnit::Centimeters, 28},      // 27.56
        {8, 50, 100, MeasuringUnit::Centimeters, 335},   // 334.65
        {12, 75, 100, MeasuringUnit::Centimeters, 502},  // 501.97
        {8, 50, 160, MeasuringUnit::Centimeters, 535},   // 535.43
        {12, 75, 160, MeasuringUnit::Centimeters, 803},  // 803.15
        {2, 54, 100, MeasuringUnit::Centimeters, 100},   // exactly one inch
        {60, 0, 160, MeasuringUnit::Inches, 9600},      {8, 50, 100, MeasuringUnit::Inches, 850},
        {1, 25, 70, MeasuringUnit::Inches, 88},   // 87.5: up to the even neighbour
        {1, 75, 70, MeasuringUnit::Inches, 122},  // 122.5: down to the even neighbour
        {0, 0, 100, MeasuringUnit::Inches, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(outputPixels(c.whole, c.hundredths, c.dpi, c.unit), c.pixels)
            << c.whole << "." << c.hundredths << " at " << c.dpi;
    }
    OutputSettings state;
    state.unit = MeasuringUnit::Centimeters;
    state.outputDpi = 160;
    state.outputWidthWhole = 8;
    state.outputWidthHundredths = 50;
    state.outputHeightWhole = 12;
    state.outputHeightHundredths = 75;
    EXPECT_EQ(outputPixelSize(state), (PixelSize{535, 803}));
    EXPECT_THROW(outputPixels(-3, 0, 100, MeasuringUnit::Inches), Failure);
    EXPECT_THROW(outputPixels(2000000000, 0, 100, MeasuringUnit::Inches), Failure);
}

TEST(Scaling, EnlargingInEitherDirection) {
    const RgbImage square(300, 300);
    EXPECT_TRUE(isEnlarging({400, 100}, square));
    EXPECT_TRUE(isEnlarging({100, 301}, square));
    EXPECT_FALSE(isEnlarging({300, 300}, square));
    EXPECT_FALSE(isEnlarging({299, 10}, square));
    EXPECT_TRUE(isEnlarging({1, 1}, RgbImage()));
}

TEST(Scaling, PlainStretchSamplesPixelCentresWithoutAveraging) {
    const RgbImage source = randomImage(4, 4, 9);
    RgbImage same(4, 4);
    plainStretch(source, same);
    EXPECT_TRUE(SameImage(source, same));

    RgbImage half(2, 2);
    plainStretch(source, half);
    EXPECT_TRUE(SameImage(
        imageFromRows({{source.pixel(1, 1), source.pixel(3, 1)}, {source.pixel(1, 3), source.pixel(3, 3)}}),
        half));

    const RgbImage two = imageFromRows({{1, 2}, {3, 4}});
    RgbImage doubled(4, 3);
    plainStretch(two, doubled);
    // Row centres at 1/3, 1 and 5/3 source rows.
    EXPECT_TRUE(SameImage(imageFromRows({{1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}}), doubled));

    // Rows are shared out between workers; repeated rows must not depend on where a block starts.
    const RgbImage small = randomImage(31, 29, 4);
    setWorkerCount(1);
    RgbImage one(97, 203);
    plainStretch(small, one);
    setWorkerCount(2);
    RgbImage both(97, 203);
    plainStretch(small, both);
    setWorkerCount(0);
    EXPECT_TRUE(SameImage(one, both));
}

TEST(Scaling, ShrinkingStretchesIntoTheDestination) {
    const RgbImage source = randomImage(400, 600, 1);
    RgbImage result, destination;
    std::int32_t filter = 0;
    const PixelSize size = outputPixelSize(8, 50, 12, 75, 100, MeasuringUnit::Centimeters);
    scaleInto(source, size, result, destination, filter);
    RgbImage expected(335, 502);
    plainStretch(source, expected);
    EXPECT_TRUE(SameImage(expected, destination));
    EXPECT_TRUE(SameImage(RgbImage(335, 502), result));
    EXPECT_EQ(filter, 0);

    scaleInto(source, {400, 600}, result, destination, filter);
    EXPECT_TRUE(SameImage(source, destination));
}

TEST(Scaling, EnlargingResamplesWithHermiteInBothDirections) {
    const RgbImage source = randomImage(300, 300, 2);
    RgbImage result, destination;
    std::int32_t filter = 0;
    scaleInto(source, {400, 100}, result, destination, filter);
    EXPECT_EQ(filter, 2);
    RgbImage expected = source;
    ResampleInPlace(400, 100, 2, 0.0f, expected);
    EXPECT_TRUE(SameImage(expected, destination));
    EXPECT_TRUE(SameImage(expected, result));
}

TEST(Scaling, EmptySourceLeavesABlankDestination) {
    RgbImage result, destination = randomImage(5, 5, 3);
    std::int32_t filter = 0;
    scaleInto(RgbImage(), {28, 20}, result, destination, filter);
    EXPECT_TRUE(SameImage(RgbImage(28, 20), destination));
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(filter, 2);
}

}  // namespace
}  // namespace dg
