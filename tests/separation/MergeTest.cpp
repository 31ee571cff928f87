#include <gtest/gtest.h>

#include <deque>

#include "separation/ChannelSetBuild.h"
#include "separation/Merge.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::SameImage;

const ColorValue kRed = makeColor(255, 0, 0);
const ColorValue kGreen = makeColor(0, 200, 0);
const ColorValue kBlue = makeColor(0, 0, 255);

// One row: each colour repeated its count.
RgbImage runs(std::initializer_list<std::pair<ColorValue, int>> parts) {
    int width = 0;
    for (const auto& p : parts) width += p.second;
    RgbImage picture(width, 1);
    int x = 0;
    for (const auto& [c, n] : parts) {
        for (int i = 0; i < n; ++i) picture.setPixel(x++, 0, c);
    }
    return picture;
}

RgbImage rowOf(const std::vector<ColorValue>& colors) {
    RgbImage picture(static_cast<std::int32_t>(colors.size()), 1);
    for (std::size_t x = 0; x < colors.size(); ++x)
        picture.setPixel(static_cast<std::int32_t>(x), 0, colors[x]);
    return picture;
}

ChannelSet built(const RgbImage& before) {
    ChannelSet set;
    set.before = before;
    rebuildChannelSet(set);
    return set;
}

struct SeenOffer {
    int channel;
    ColorValue color;
    int finalColors;
    std::array<MergeChoice, kChannelCount> choices;
    RgbImage after;
    RgbImage preview;
};

// Answers offers from a script; once the script is used up, skips.
class ScriptedDialog : public MergeDialog {
public:
    explicit ScriptedDialog(std::deque<MergeDecision> script = {}) : script_(std::move(script)) {}
    void message(const std::string& text) override { messages.push_back(text); }
    MergeDecision offer(const MergeOffer& o) override {
        offers.push_back({o.channel, o.color, o.finalColors, o.choices, o.after, o.preview});
        if (script_.empty()) return {MergeAnswer::Skip, 0, ReplaceMode::Color1};
        MergeDecision d = script_.front();
        script_.pop_front();
        return d;
    }
    std::vector<std::string> messages;
    std::vector<SeenOffer> offers;

private:
    std::deque<MergeDecision> script_;
};

MergeDecision ok(int choice, ReplaceMode mode = ReplaceMode::Color1) {
    return {MergeAnswer::Ok, choice, mode};
}

TEST(MergeSequence, HalfHalfAndNinetyNine) {
    // Counts 1, 1 and 198 of 200: 0.5, 0.5 and 99 percent. Both 0.5 channels are offered in
    // the same pass, the lower number first, even though the first merge leaves N = 2; the
    // 99 percent channel never is (two offers reach the cap N0 - 1).
    ChannelSet set = built(runs({{kRed, 1}, {kGreen, 1}, {kBlue, 198}}));
    ScriptedDialog dialog({ok(3)});
    const MergeOutcome outcome = mergeChannels(set, dialog);
    ASSERT_EQ(outcome.offered, (std::vector<int>{1, 2}));
    EXPECT_EQ(dialog.offers[0].finalColors, 3);
    EXPECT_EQ(dialog.offers[1].finalColors, 2);
    EXPECT_EQ(outcome.merged, 1);
    EXPECT_EQ(outcome.afterCount, 2);
    EXPECT_TRUE(dialog.messages.empty());
    EXPECT_FALSE(dialog.offers[0].choices[0].shown);
    EXPECT_EQ(dialog.offers[0].choices[2].caption, "99     % ");
    EXPECT_EQ(dialog.offers[0].choices[1].caption, "0.5     % ");
    EXPECT_EQ(dialog.offers[0].color, kRed);
    EXPECT_TRUE(SameImage(runs({{kRed, 1}, {kWhite, 199}}), dialog.offers[0].preview));
    EXPECT_FALSE(set.channel(1).checked);
    EXPECT_TRUE(set.channel(2).checked);
    EXPECT_EQ(set.after.pixel(0, 0), kBlue);
}

TEST(MergeSequence, MessagesAndNothingOffered) {
    struct Case {
        const char* what;
        RgbImage before;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"empty picture", RgbImage(), {"error#1", "Cannot merge under 3 colors"}},
        {"one colour", runs({{kRed, 4}}), {"Cannot merge under 3 colors"}},
        {"two colours", runs({{kRed, 1}, {kBlue, 3}}), {"Cannot merge under 3 colors"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChannelSet set = built(c.before);
        ScriptedDialog dialog;
        const MergeOutcome outcome = mergeChannels(set, dialog);
        EXPECT_EQ(dialog.messages, c.messages);
        EXPECT_TRUE(dialog.offers.empty());
        EXPECT_TRUE(SameImage(set.before, set.after));
    }
}

TEST(MergeSequence, OfferOrderAndCap) {
    // 23 colours of one pixel each: one percentage, walked in the order 1, 2, 22, 23, 3 ...;
    // 22 offers at most.
    RgbImage before(23, 1);
    for (int x = 0; x < 23; ++x) before.setPixel(x, 0, makeColor(10 * x, 0, 0));
    ChannelSet set = built(before);
    ScriptedDialog dialog;
    const MergeOutcome outcome = mergeChannels(set, dialog);
    std::vector<int> expected = {1, 2, 22, 23};
    for (int n = 3; n <= 20; ++n) expected.push_back(n);
    EXPECT_EQ(outcome.offered, expected);
    EXPECT_EQ(outcome.afterCount, 23);
}

TEST(MergeSequence, RarestFirstAndFinishEndsIt) {
    ChannelSet set = built(runs({{kRed, 5}, {kGreen, 2}, {kBlue, 3}, {kWhite, 10}}));
    ScriptedDialog skipAll;
    EXPECT_EQ(mergeChannels(set, skipAll).offered, (std::vector<int>{2, 3, 1}));

    ChannelSet again = built(runs({{kRed, 5}, {kGreen, 2}, {kBlue, 3}, {kWhite, 10}}));
    ScriptedDialog finish({{MergeAnswer::Finish, 0, ReplaceMode::Color1}});
    EXPECT_EQ(mergeChannels(again, finish).offered, (std::vector<int>{2}));
}

TEST(MergeSequence, SkipLeavesMasksAsTheyWere) {
    ChannelSet set = built(runs({{kRed, 1}, {kGreen, 3}, {kBlue, 4}}));
    const ChannelSet original = set;
    ScriptedDialog dialog;
    mergeChannels(set, dialog);
    for (int n = 1; n <= 3; ++n) {
        EXPECT_TRUE(SameImage(original.channel(n).mask, set.channel(n).mask));
        EXPECT_TRUE(set.channel(n).shown);
    }
    EXPECT_TRUE(SameImage(set.before, set.after));
}

TEST(MergeSequence, OkWithoutAChoiceMergesNothing) {
    ChannelSet set = built(runs({{kRed, 1}, {kGreen, 3}, {kBlue, 4}}));
    ScriptedDialog dialog({ok(0), ok(1)});  // 1 is the offered (hidden) choice
    const MergeOutcome outcome = mergeChannels(set, dialog);
    EXPECT_EQ(outcome.merged, 0);
    EXPECT_EQ(outcome.afterCount, 3);
}

// The merge rules, one offer each: red (1 pixel, offered first) into the chosen channel.
struct MergeCase {
    const char* what;
    std::initializer_list<std::pair<ColorValue, int>> before;
    int chosen;
    ReplaceMode mode;
    // Expected: the chosen channel's colour and mask, the offered mask, AFTER.
    ColorValue chosenColor;
    std::vector<ColorValue> chosenMask, offeredMask, after;
};

TEST(MergeRules, EveryWhiteAndNonWhiteCombination) {
    const ColorValue R = kRed, G = kGreen, B = kBlue, W = kWhite, K = kBlack;
    const MergeCase cases[] = {
        // Colour values: red 1, green 2, blue 3, white last.
        {"COLOR 1: red into blue",
         {{R, 1}, {G, 2}, {B, 3}},
         3,
         ReplaceMode::Color1,
         B,
         {B, W, W, B, B, B},
         {W, W, W, W, W, W},
         {B, G, G, B, B, B}},
        {"COLOR 2: red into blue",
         {{R, 1}, {G, 2}, {B, 3}},
         3,
         ReplaceMode::Color2,
         R,
         {R, W, W, R, R, R},
         {W, W, W, W, W, W},
         {R, G, G, R, R, R}},
        {"COLOR 1: red into white",
         {{R, 1}, {G, 2}, {W, 3}},
         3,
         ReplaceMode::Color1,
         W,
         {W, K, K, W, W, W},
         {W, W, W, W, W, W},
         {W, G, G, W, W, W}},
        {"COLOR 2: red into white",
         {{R, 1}, {G, 2}, {W, 3}},
         3,
         ReplaceMode::Color2,
         R,
         {R, W, W, R, R, R},
         {W, W, W, W, W, W},
         {R, G, G, R, R, R}},
        {"COLOR 1: white into red",
         {{W, 1}, {G, 2}, {R, 3}},
         1,
         ReplaceMode::Color1,
         R,
         {R, W, W, R, R, R},
         {K, K, K, K, K, K},
         {R, G, G, R, R, R}},
        {"COLOR 2: white into red",
         {{W, 1}, {G, 2}, {R, 3}},
         1,
         ReplaceMode::Color2,
         W,
         {W, K, K, W, W, W},
         {W, W, W, W, W, W},
         {W, G, G, W, W, W}},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.what);
        ChannelSet set = built(runs(c.before));
        const ColorValue offeredColor = set.before.pixel(0, 0);
        int offered = 0;
        for (int n = 1; n <= 3; ++n) {
            if (set.colorOf(n) == offeredColor) offered = n;
        }
        int chosen = 0;
        const ColorValue chosenOriginal = runs(c.before).pixel(3, 0);
        for (int n = 1; n <= 3; ++n) {
            if (set.colorOf(n) == chosenOriginal) chosen = n;
        }
        ASSERT_NE(offered, 0);
        ASSERT_NE(chosen, 0);
        ScriptedDialog dialog({ok(chosen, c.mode)});
        const MergeOutcome outcome = mergeChannels(set, dialog);
        ASSERT_FALSE(outcome.offered.empty());
        ASSERT_EQ(outcome.offered[0], offered);
        EXPECT_EQ(outcome.merged, 1);
        EXPECT_EQ(set.colorOf(chosen), c.chosenColor);
        EXPECT_TRUE(SameImage(rowOf(c.chosenMask), set.channel(chosen).mask));
        EXPECT_TRUE(SameImage(rowOf(c.offeredMask), set.channel(offered).mask));
        EXPECT_FALSE(set.channel(offered).shown);
        EXPECT_FALSE(set.channel(offered).checked);
        EXPECT_TRUE(SameImage(rowOf(c.after), set.after));
        EXPECT_EQ(outcome.afterCount, 2);
        // BEFORE stays as it was: UNDO rebuilds from it.
        EXPECT_TRUE(SameImage(runs(c.before), set.before));
    }
}

TEST(MergeRules, AfterNextTheMergedPictureIsTheNewSet) {
    ChannelSet set = built(runs({{kRed, 1}, {kGreen, 2}, {kBlue, 3}}));
    ScriptedDialog dialog({ok(3)});
    mergeChannels(set, dialog);
    const RebuildSummary s = channelSetNext(set);
    EXPECT_EQ(s.beforeColors, 2);
    EXPECT_EQ(set.colorOf(1), kGreen);
    EXPECT_EQ(set.colorOf(2), kBlue);
}

TEST(MergeScreen, AutomaticFindTiesGoToTheLaterChoice) {
    std::array<MergeChoice, kChannelCount> choices{};
    choices[2] = {true, makeColor(190, 0, 0)};
    choices[6] = {true, makeColor(210, 20, 20)};
    choices[9] = {false, makeColor(200, 10, 10)};  // hidden: never found
    EXPECT_EQ(automaticFind(choices, makeColor(200, 10, 10)), 7);
    choices[6].color = makeColor(211, 20, 20);
    EXPECT_EQ(automaticFind(choices, makeColor(200, 10, 10)), 3);
    EXPECT_EQ(automaticFind(std::array<MergeChoice, kChannelCount>{}, kRed), 0);
}

TEST(MergeScreen, ChoiceTextColour) {
    EXPECT_EQ(choiceTextColor(makeColor(131, 0, 0)), kBlack);
    EXPECT_EQ(choiceTextColor(makeColor(0, 0, 131)), kBlack);
    EXPECT_EQ(choiceTextColor(makeColor(130, 130, 130)), kWhite);
    EXPECT_EQ(choiceTextColor(kWhite), kBlack);
}

TEST(MergeScreen, ChoicesByFallingCountWithSlotProbing) {
    // Counts: a 5, b 5 (b's slot 5 is taken by a: goes to 6), c 6 (slot 6 taken: 7), d 9.
    const ColorValue a = makeColor(1, 0, 0), b = makeColor(2, 0, 0), c = makeColor(3, 0, 0),
                     d = makeColor(4, 0, 0);
    EXPECT_EQ(colorsByFallingCount(runs({{a, 5}, {b, 5}, {c, 6}, {d, 9}})),
              (std::vector<ColorValue>{d, c, b, a}));
    // 32 colours of one pixel: only 31 slots (1..31) for them, the last one in colour order
    // finds none; at most 25 listed, the higher colour values first.
    RgbImage many(32, 1);
    for (int x = 0; x < 32; ++x) many.setPixel(x, 0, makeColor(x, 0, 0));
    const auto listed = colorsByFallingCount(many);
    ASSERT_EQ(listed.size(), 25u);
    EXPECT_EQ(listed[0], makeColor(30, 0, 0));
    EXPECT_EQ(listed[24], makeColor(6, 0, 0));
    EXPECT_EQ(choicePosition(0).left, 10);
    EXPECT_EQ(choicePosition(12).top, 360);
    EXPECT_EQ(choicePosition(13).left, 300);
    EXPECT_EQ(choicePosition(13).top, 30);
}

TEST(MergeScreen, ChoicesArePlacedByCount) {
    ChannelSet set = built(runs({{kRed, 1}, {kGreen, 2}, {kBlue, 3}, {kWhite, 4}}));
    ScriptedDialog dialog;
    mergeChannels(set, dialog);
    ASSERT_FALSE(dialog.offers.empty());
    const auto& choices = dialog.offers[0].choices;
    EXPECT_EQ(choices[3].top, 0);   // white, most pixels
    EXPECT_EQ(choices[2].top, 30);  // blue
    EXPECT_EQ(choices[1].top, 60);  // green
    EXPECT_EQ(choices[1].textColor, kBlack);
    EXPECT_EQ(choices[2].textColor, kBlack);
    EXPECT_EQ(choices[1].caption, "20     % ");
}

TEST(MergeScreen, ComposeAndsTheMasksAndLeavesWhiteOut) {
    ChannelSet set = built(runs({{kRed, 1}, {kGreen, 1}, {kWhite, 1}}));
    EXPECT_TRUE(SameImage(set.before, composeMergeAfter(set)));
    // Two masks over one pixel combine by AND.
    set.channel(1).mask.setPixel(1, 0, kRed);
    EXPECT_EQ(composeMergeAfter(set).pixel(1, 0), makeColor(0, 0, 0));
}

}  // namespace
}  // namespace dg
