#include <gtest/gtest.h>

#include "screens/Thumbnails.h"
#include "support/ImageCompare.h"

namespace dg::test {
namespace {

TEST(Thumbnails, FitTheFrameKeepingProportions) {
    struct Case {
        std::int32_t width, height;
        ThumbnailSize expected;
    };
    const Case cases[] = {
        {0, 0, {0, 0}},      {185, 161, {185, 161}}, {370, 161, {185, 81}},    {10, 10, {161, 161}},
        {1, 1000, {1, 161}}, {5000, 1, {185, 1}},    {2520, 3780, {107, 161}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        EXPECT_EQ(fitInFrame(c.width, c.height, 185, 161), c.expected);
    }
}

TEST(Thumbnails, SampleEvenlyInsideThePicture) {
    EXPECT_EQ(samplePositions(4, 4), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(samplePositions(10, 5), (std::vector<std::int32_t>{1, 3, 5, 7, 9}));
    EXPECT_EQ(samplePositions(2, 4), (std::vector<std::int32_t>{0, 0, 1, 1}));
    // A picture of the frame's size is its own thumbnail.
    const RgbImage picture = randomImage(185, 100, 4);
    EXPECT_TRUE(SameImage(picture, thumbnail(picture, 185, 161)));
}

}  // namespace
}  // namespace dg::test
