#include <gtest/gtest.h>

#include "imaging/Parallel.h"
#include "separation/ChangeColors.h"
#include "separation/ChannelSetBuild.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::imageFromRows;
using test::SameImage;

const ColorValue kRed = makeColor(255, 0, 0);

ChannelSet built(const RgbImage& before) {
    ChannelSet set;
    set.before = before;
    rebuildChannelSet(set);
    return set;
}

// Black, red and white, two pixels each.
RgbImage threeColours() { return imageFromRows({{kWhite, kRed, kBlack}, {kBlack, kWhite, kRed}}); }

TEST(ChannelSet, ThreeColoursInAscendingColourValue) {
    ChannelSet set;
    set.before = threeColours();
    const RebuildSummary s = rebuildChannelSet(set);
    EXPECT_EQ(s.beforeColors, 3);
    EXPECT_EQ(s.afterCount, 3);
    EXPECT_TRUE(s.nextEnabled);
    EXPECT_EQ(set.total, 6);
    EXPECT_EQ(set.colorOf(1), kBlack);
    EXPECT_EQ(set.colorOf(2), kRed);
    EXPECT_EQ(set.colorOf(3), kWhite);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(set.counts[static_cast<std::size_t>(n - 1)], 2);
        EXPECT_EQ(set.channel(n).count, 2);
        EXPECT_EQ(set.channel(n).color, set.colorOf(n));
        EXPECT_EQ(set.channel(n).percentageText, "33.33");
        EXPECT_TRUE(set.channel(n).checked);
        EXPECT_TRUE(set.channel(n).shown);
    }
    for (int n = 4; n <= kChannelCount; ++n) {
        EXPECT_EQ(set.colorOf(n), kNoColor);
        EXPECT_TRUE(set.channel(n).mask.empty());
        EXPECT_FALSE(set.channel(n).checked);
        EXPECT_EQ(set.channel(n).percentageText, "0");
    }
    EXPECT_TRUE(
        SameImage(imageFromRows({{kWhite, kWhite, kBlack}, {kBlack, kWhite, kWhite}}), set.channel(1).mask));
    EXPECT_TRUE(
        SameImage(imageFromRows({{kWhite, kRed, kWhite}, {kWhite, kWhite, kRed}}), set.channel(2).mask));
    // The pure white channel: white on black.
    EXPECT_TRUE(
        SameImage(imageFromRows({{kWhite, kBlack, kBlack}, {kBlack, kWhite, kBlack}}), set.channel(3).mask));
    EXPECT_TRUE(SameImage(set.before, set.after));
}

TEST(ChannelSet, ColourValueOrder) {
    // Blue first, then green, then red.
    const ColorValue a = makeColor(10, 0, 0), b = makeColor(11, 0, 0), c = makeColor(255, 255, 0),
                     d = makeColor(0, 0, 1);
    const ChannelSet set = built(imageFromRows({{d, c, b, a}}));
    EXPECT_EQ(set.colorOf(1), a);
    EXPECT_EQ(set.colorOf(2), b);
    EXPECT_EQ(set.colorOf(3), c);
    EXPECT_EQ(set.colorOf(4), d);
}

TEST(ChannelSet, UntickingRedrawsAndRecounts) {
    ChannelSet set = built(threeColours());
    ChannelCount c = setChannelChecked(set, 2, false);
    EXPECT_EQ(c.afterCount, 2);
    EXPECT_TRUE(SameImage(imageFromRows({{kWhite, kWhite, kBlack}, {kBlack, kWhite, kWhite}}), set.after));
    // Unticking white changes nothing in AFTER: white is never painted.
    c = setChannelChecked(set, 3, false);
    EXPECT_EQ(c.afterCount, 1);
    EXPECT_TRUE(SameImage(imageFromRows({{kWhite, kWhite, kBlack}, {kBlack, kWhite, kWhite}}), set.after));
    c = setChannelChecked(set, 1, false);
    EXPECT_EQ(c.afterCount, 0);
    EXPECT_FALSE(c.nextEnabled);
    c = setChannelChecked(set, 2, true);
    EXPECT_TRUE(c.nextEnabled);
}

TEST(ChannelSet, LaterChannelOverwritesEarlierInRedraw) {
    ChannelSet set = built(imageFromRows({{kBlack, kRed}}));
    // Make channel 2's mask cover channel 1's pixel too.
    set.channel(2).mask.setPixel(0, 0, kRed);
    redrawChannelSet(set);
    EXPECT_TRUE(SameImage(imageFromRows({{kRed, kRed}}), set.after));
}

TEST(ChannelSet, NextDropsUntickedChannelsIntoWhite) {
    const ColorValue green = makeColor(0, 200, 0);
    ChannelSet set = built(imageFromRows({{kBlack, kRed, green}}));
    ASSERT_EQ(set.colorOf(2), kRed);
    setChannelChecked(set, 2, false);
    const RebuildSummary s = channelSetNext(set);
    EXPECT_EQ(s.beforeColors, 3);
    EXPECT_EQ(set.colorOf(1), kBlack);
    EXPECT_EQ(set.colorOf(2), green);
    EXPECT_EQ(set.colorOf(3), kWhite);  // created
    for (int n = 1; n <= 3; ++n) EXPECT_TRUE(set.channel(n).checked);

    // Unticking the white channel: after NEXT it is there and ticked again.
    setChannelChecked(set, 3, false);
    channelSetNext(set);
    EXPECT_EQ(set.colorOf(3), kWhite);
    EXPECT_TRUE(set.channel(3).checked);
}

TEST(ChannelSet, MoreThan23ColoursAndEmptyPictures) {
    RgbImage many(30, 2);
    for (int x = 0; x < 30; ++x) {
        many.setPixel(x, 0, makeColor(x, 0, 0));
        many.setPixel(x, 1, makeColor(x, 0, 0));
    }
    ChannelSet set;
    set.before = many;
    const RebuildSummary s = rebuildChannelSet(set);
    EXPECT_EQ(s.beforeColors, 30);
    EXPECT_EQ(s.afterCount, 23);
    EXPECT_EQ(set.colorOf(23), makeColor(22, 0, 0));
    EXPECT_EQ(set.after.pixel(23, 0), kWhite);  // beyond the 23rd: no channel, white
    EXPECT_EQ(set.after.pixel(22, 1), makeColor(22, 0, 0));
    EXPECT_EQ(set.after.pixel(0, 0), kBlack);

    ChannelSet empty;
    const RebuildSummary e = rebuildChannelSet(empty);
    EXPECT_EQ(e.beforeColors, 0);
    EXPECT_FALSE(e.nextEnabled);
    EXPECT_TRUE(empty.after.empty());
}

TEST(ChannelSet, CensusCountsEveryColour) {
    const RgbImage picture = test::randomImage(50, 40, 1);
    const auto census = colorCensus(picture);
    std::int64_t total = 0;
    for (std::size_t i = 0; i < census.size(); ++i) {
        if (i > 0) {
            EXPECT_LT(census[i - 1].first, census[i].first);
        }
        total += census[i].second;
    }
    EXPECT_EQ(total, 2000);
}

void expectSameSet(const ChannelSet& expected, const ChannelSet& got) {
    EXPECT_EQ(expected.colors, got.colors);
    EXPECT_EQ(expected.counts, got.counts);
    EXPECT_TRUE(SameImage(expected.after, got.after));
    for (int n = 1; n <= kChannelCount; ++n) {
        SCOPED_TRACE("channel " + std::to_string(n));
        EXPECT_TRUE(SameImage(expected.channel(n).mask, got.channel(n).mask));
        EXPECT_EQ(expected.channel(n).checked, got.channel(n).checked);
        EXPECT_EQ(expected.channel(n).percentageText, got.channel(n).percentageText);
    }
}

// A picture of few colours in blotches, white among them.
RgbImage blotches(std::int32_t width, std::int32_t height, int colours, std::uint32_t seed) {
    const RgbImage noise = test::randomImage(width, height, seed);
    RgbImage picture(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const int k = (redOf(noise.pixel(x / 4 * 4, y / 4 * 4)) + x / 8) % colours;
            picture.setPixel(x, y, k == 0 ? kWhite : makeColor(40 * k, 255 - 30 * k, 7 * k));
        }
    }
    return picture;
}

TEST(ChannelSet, RebuildOverAnEarlierSetEqualsAFreshOne) {
    // The masks of the earlier set have the same size and are reused: every trace of the
    // earlier channels must go.
    ChannelSet set = built(blotches(67, 45, 9, 1));
    set.before = blotches(67, 45, 6, 2);
    rebuildChannelSet(set);
    expectSameSet(built(blotches(67, 45, 6, 2)), set);
    set.before = blotches(67, 45, 26, 3);
    rebuildChannelSet(set);
    expectSameSet(built(blotches(67, 45, 26, 3)), set);
    // The rebuild paints AFTER in its own pass: it must be what Redraw paints from the masks.
    ChannelSet redrawn = set;
    redrawChannelSet(redrawn);
    EXPECT_TRUE(SameImage(redrawn.after, set.after));
}

TEST(ChannelSet, SameBytesWithOneAndTwoWorkers) {
    const RgbImage picture = blotches(150, 121, 25, 4);
    setWorkerCount(1);
    ChannelSet one = built(picture);
    setChannelChecked(one, 4, false);
    setWorkerCount(2);
    ChannelSet two = built(picture);
    setChannelChecked(two, 4, false);
    setWorkerCount(0);
    expectSameSet(one, two);
}

TEST(ChangeColors, DoubleClickReplacesEveryPixelOfThatColour) {
    const ColorValue a = makeColor(10, 20, 30), b = makeColor(40, 50, 60), src = makeColor(1, 2, 3);
    const RgbImage source = imageFromRows({{src, b, b}, {b, b, a}});
    RgbImage working = imageFromRows({{a, b, a}, {a, b, b}});
    EXPECT_EQ(changeColors(working, source, 0, 0), 3);
    EXPECT_TRUE(SameImage(imageFromRows({{src, b, src}, {src, b, b}}), working));
    // Where the two colours are equal nothing changes.
    RgbImage same = imageFromRows({{b, a}});
    EXPECT_EQ(changeColors(same, imageFromRows({{b, a}}), 0, 0), 0);
    // Merging into another channel's colour: one colour fewer after the rebuild.
    RgbImage work2 = imageFromRows({{a, b}});
    changeColors(work2, imageFromRows({{b, b}}), 0, 0);
    EXPECT_EQ(built(work2).channel(2).mask.empty(), true);
    // Outside a picture: nothing.
    EXPECT_EQ(changeColors(working, source, 5, 0), 0);
    const ChangeColorsSwatches s = changeColorsSwatches(source, working, 1, 0);
    EXPECT_EQ(s.original, b);
    EXPECT_EQ(s.result, b);
}

TEST(ChangeColors, OnlyWithinTheSourceSize) {
    const ColorValue a = makeColor(10, 20, 30), src = makeColor(1, 2, 3);
    RgbImage working = imageFromRows({{a, a, a}});
    EXPECT_EQ(changeColors(working, imageFromRows({{src, src}}), 0, 0), 2);
    EXPECT_EQ(working.pixel(2, 0), a);
}

}  // namespace
}  // namespace dg
