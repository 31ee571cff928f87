#include <gtest/gtest.h>

#include "output/OptionsComposition.h"
#include "output/OutputTestSupport.h"
#include "output/Stencil.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::channelSetOf;
using test::imageFromRows;
using test::SameImage;

constexpr ColorValue W = kWhite;
constexpr ColorValue K = kBlack;
const ColorValue R = makeColor(255, 0, 0);
const ColorValue N = makeColor(240, 240, 240);  // near white: background at depth 20

// A near-white background touching the border, a black ring around a pure-white hole, and a
// red spot. Channels in colour-value order: black, red, near white, white.
RgbImage design() {
    return imageFromRows({{N, N, N, N, N, N, N, N},
                          {N, K, K, K, N, N, N, N},
                          {N, K, W, K, N, R, R, N},
                          {N, K, K, K, N, R, R, N},
                          {N, N, N, N, N, N, N, N},
                          {N, N, N, N, N, N, N, N}});
}

class Composition : public ::testing::Test {
protected:
    RgbImage picture = design();
    ChannelSet channels = channelSetOf(picture);
    RgbImage source = picture;
    RgbImage stencil = imageFromRows({{R}});  // what an earlier pass left
};

TEST_F(Composition, MaskingClearsTheEdgeBackgroundEverywhereButKeepsTheEnclosedWhite) {
    ASSERT_EQ(channels.colorOf(3), N);
    ASSERT_EQ(channels.colorOf(4), W);
    OutputOptions options;
    options.masked = true;
    options.createStencil = false;
    const ComposedOutput out = composeOutput(channels, source, stencil, options);

    EXPECT_TRUE(SameImage(picture, out.resultThumbnail));  // taken before masking
    RgbImage after = picture;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) == N) after.setPixel(x, y, W);
    EXPECT_TRUE(SameImage(after, channels.after));
    EXPECT_TRUE(SameImage(RgbImage(8, 6), channels.channel(3).mask));  // the background is gone
    // The pure-white channel is black on white now, and its enclosed pixel stays.
    RgbImage white(8, 6);
    white.setPixel(2, 2, K);
    EXPECT_TRUE(SameImage(white, channels.channel(4).mask));
    EXPECT_EQ(channels.channel(1).mask.pixel(1, 1), K);
    // No stencil: SOURCE untouched, the old stencil kept, no entry, no thumbnail.
    EXPECT_TRUE(SameImage(picture, source));
    EXPECT_TRUE(SameImage(imageFromRows({{R}}), stencil));
    EXPECT_FALSE(out.entries.stencil.shown);
    EXPECT_FALSE(out.entries.stencil.ticked);
    EXPECT_FALSE(out.showStencilThumbnail);
}

TEST_F(Composition, WithoutMaskingTheWhiteChannelIsStillInvertedAndNothingIsRemoved) {
    OutputOptions options;
    options.createStencil = false;
    composeOutput(channels, source, stencil, options);
    EXPECT_TRUE(SameImage(picture, channels.after));
    EXPECT_EQ(channels.channel(3).mask.pixel(0, 0), N);
    EXPECT_EQ(channels.channel(4).mask.pixel(2, 2), K);
    EXPECT_EQ(channels.channel(4).mask.pixel(0, 0), W);
}

TEST_F(Composition, StencilReplacesSourceAndIsMirroredAndBlackenedAsSet) {
    struct Case {
        bool mirror, black;
    };
    for (const Case c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << "mirror " << c.mirror << " black " << c.black);
        ChannelSet set = channelSetOf(picture);
        RgbImage src = picture, sten;
        OutputOptions options;
        options.mirrorStencil = c.mirror;
        options.stencilInBlack = c.black;
        options.depth = 7;
        const ComposedOutput out = composeOutput(set, src, sten, options);
        const RgbImage outline = stencilOutline(picture, 7);
        EXPECT_TRUE(SameImage(outline, src));  // never mirrored
        RgbImage expected = outline;
        if (c.mirror) mirrorLeftRight(expected);
        if (c.black) blackenStencil(expected);
        EXPECT_TRUE(SameImage(expected, sten));
        EXPECT_TRUE(out.entries.stencil.shown && out.entries.stencil.ticked);
        EXPECT_TRUE(out.showStencilThumbnail);
    }
}

TEST_F(Composition, CornersComeAfterTheMirrorAndGoOnTickedMasksOnly) {
    channels.channel(2).checked = false;
    OutputOptions options;
    options.mirrorStencil = true;
    options.adjustmentCorners = true;
    options.cornerWidth = 0;
    options.cornerSize = 2;
    composeOutput(channels, source, stencil, options);

    RgbImage expected = stencilOutline(picture, options.depth);
    mirrorLeftRight(expected);
    drawCornerMarks(expected, 2, 0);
    EXPECT_TRUE(SameImage(expected, stencil));
    for (const auto& [x, y] : {std::pair{0, 0}, {7, 0}, {0, 5}, {7, 5}, {2, 0}, {7, 2}}) {
        EXPECT_EQ(stencil.pixel(x, y), K) << x << "," << y;
        EXPECT_EQ(channels.after.pixel(x, y), K) << x << "," << y;
        EXPECT_EQ(channels.channel(1).mask.pixel(x, y), K) << x << "," << y;
    }
    EXPECT_EQ(channels.channel(2).mask.pixel(0, 0), W);  // unticked: no corners
    // SOURCE holds the outline without corners.
    EXPECT_TRUE(SameImage(stencilOutline(picture, options.depth), source));
}

TEST_F(Composition, PageEntriesFollowTheColourMatchingRows) {
    channels.channel(2).checked = false;
    OutputOptions options;
    options.printResult = false;
    const ComposedOutput out = composeOutput(channels, source, stencil, options);
    const PageEntries& e = out.entries;
    EXPECT_EQ(e.channel(1).caption, "Channel # 1");
    EXPECT_FALSE(e.channel(2).shown);
    EXPECT_FALSE(e.channel(2).ticked);
    EXPECT_EQ(e.channel(2).color, R);
    EXPECT_EQ(e.channel(3).caption, "Channel # 2");
    EXPECT_EQ(e.channel(4).caption, "Channel # 3");
    EXPECT_EQ(e.channel(4).color, W);
    EXPECT_TRUE(e.channel(4).shown && e.channel(4).ticked);
    for (int n = 5; n <= kChannelCount; ++n) EXPECT_FALSE(e.channel(n).shown) << n;
    EXPECT_FALSE(e.result.shown);
    EXPECT_FALSE(out.showResultThumbnail);
    EXPECT_TRUE(e.colorMatching.shown && e.colorMatching.ticked);
    EXPECT_EQ(e.stencil.caption, "STENCIL");
    EXPECT_EQ(e.result.caption, "RESULT");
    EXPECT_EQ(e.colorMatching.caption, "COLOR MATCHING");
}

TEST(PageEntriesTicks, CheckAllLeavesHiddenEntriesAlone) {
    PageEntries e;
    e.result.shown = true;
    e.channel(3).shown = true;
    e.checkAll();
    EXPECT_TRUE(e.result.ticked);
    EXPECT_TRUE(e.channel(3).ticked);
    EXPECT_FALSE(e.stencil.ticked);
    EXPECT_FALSE(e.channel(4).ticked);
    e.uncheckAll();
    EXPECT_FALSE(e.result.ticked);
    EXPECT_FALSE(e.channel(3).ticked);
}

TEST(MaskingPreview, LeavesTheSourceAsItIs) {
    const RgbImage source = imageFromRows({{N, K}, {N, N}});
    const RgbImage preview = maskingPreview(source, 20);
    EXPECT_TRUE(SameImage(imageFromRows({{N, K}, {N, N}}), source));
    EXPECT_TRUE(SameImage(imageFromRows({{kClearKey, K}, {kClearKey, kClearKey}}), preview));
}

}  // namespace
}  // namespace dg
