#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "formats/Bmp.h"
#include "separation/ChannelSetBuild.h"
#include "separation/ColorMatching.h"
#include "separation/Merge.h"
#include "separation/Separation.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

RgbImage loadFixture(const std::string& name) {
    std::ifstream in(test::fixturePath(name), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeBmp24(bytes);
}

class ScriptedDialog : public MergeDialog {
public:
    void message(const std::string& text) override { messages.push_back(text); }
    MergeDecision offer(const MergeOffer& o) override {
        ++offers;
        if (offers == 1) return {MergeAnswer::Ok, automaticFind(o.choices, o.color), ReplaceMode::Color1};
        if (offers == 2) return {MergeAnswer::Skip, 0, ReplaceMode::Color1};
        return {MergeAnswer::Finish, 0, ReplaceMode::Color1};
    }
    std::vector<std::string> messages;
    int offers = 0;
};

// A signal flag from a clip-art collection, 120 x 120: blue 6105, yellow 5994, black 1364,
// white 711, grey (127, 127, 128) 222 and four dark grey (60, 60, 60) pixels.
TEST(FlatPicture, SeparationChannelsMergeAndColourMatching) {
    const RgbImage flag = loadFixture("separation/signal-flag-delta.bmp");
    ASSERT_EQ(flag.width(), 120);
    const ColorValue blue = makeColor(0, 0, 255), yellow = makeColor(255, 255, 0),
                     grey = makeColor(127, 127, 128);

    const SeparationResult separated = separate(flag, SeparationThresholds{});
    EXPECT_EQ(separated.countOf(10), 6105);
    EXPECT_EQ(separated.countOf(13), 5994);
    EXPECT_EQ(separated.countOf(3), 1368);  // black and the dark grey pixels
    EXPECT_EQ(separated.countOf(1), 711);
    EXPECT_EQ(separated.countOf(22), 222);
    EXPECT_EQ(separated.colorOf(3), kBlack);             // 240 / 1368 rounds to 0
    EXPECT_EQ(separated.percentageTextOf(13), "41.62");  // 4162.5 hundredths, to even
    EXPECT_EQ(separated.percentageTextOf(10), "42.4");

    ChannelSet set;
    set.before = separated.result;
    const RebuildSummary rebuilt = rebuildChannelSet(set);
    EXPECT_EQ(rebuilt.beforeColors, 5);
    EXPECT_EQ(set.colorOf(1), kBlack);
    EXPECT_EQ(set.colorOf(2), yellow);
    EXPECT_EQ(set.colorOf(3), grey);
    EXPECT_EQ(set.colorOf(4), blue);
    EXPECT_EQ(set.colorOf(5), kWhite);
    EXPECT_EQ(set.channel(5).percentageText, "4.94");
    EXPECT_TRUE(test::SameImage(set.before, set.after));

    // Rarest first: grey goes into the nearest colour (blue, 381 away), white is skipped,
    // then FINISH.
    ScriptedDialog dialog;
    const MergeOutcome merged = mergeChannels(set, dialog);
    EXPECT_EQ(merged.offered, (std::vector<int>{3, 5, 1}));
    EXPECT_EQ(merged.afterCount, 4);
    const RebuildSummary next = channelSetNext(set);
    EXPECT_EQ(next.beforeColors, 4);
    EXPECT_EQ(set.counts[2], 6105 + 222);  // blue is now channel 3

    const ColorMatching matching = colorMatching(set);
    EXPECT_EQ(matching.mixingList[1], "Channel # 2 : Yellow- 100 ; ");
    EXPECT_EQ(matching.rows[2].hexText, " # 0000FF");
}

}  // namespace
}  // namespace dg
