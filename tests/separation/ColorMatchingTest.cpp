#include <gtest/gtest.h>

#include "separation/ColorMatching.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

std::string slotText(const InkRecipe& r, std::size_t slot) {
    return r.inkSlots[slot].shown ? r.inkSlots[slot].partText : "hidden";
}

TEST(InkRecipe, WorkedExamples) {
    struct Case {
        int r, g, b;
        const char* first;
        const char* second;
        const char* black;
        const char* white;
        Ink firstInk, secondInk;
    };
    const Case cases[] = {
        {200, 100, 50, " 39 ", " 20 ", " 7.18 ", " 20 ", Ink::Red, Ink::Yellow},
        {10, 200, 30, " 67 ", " 8 ", " 7.18 ", " 4 ", Ink::Green, Ink::Cyan},
        {128, 128, 128, "hidden", "hidden", " 16.6 ", " 50 ", Ink::Blue, Ink::Cyan},
        {255, 0, 0, " 100 ", "hidden", "hidden", "hidden", Ink::Red, Ink::Magenta},
        {255, 255, 255, "hidden", "hidden", "hidden", " 100 ", Ink::Blue, Ink::Cyan},
        {0, 0, 0, "hidden", "hidden", " 100 ", "hidden", Ink::Blue, Ink::Cyan},
        {2, 1, 0, "hidden", "hidden", " 99.2 ", "hidden", Ink::Red, Ink::Yellow},
        // A black part below one still shows, divided by 3 beside other inks.
        {254, 0, 0, " 100 ", "hidden", " 0.13 ", "hidden", Ink::Red, Ink::Magenta},
        // Equal components: the last rule that holds decides the inks.
        {100, 100, 20, "hidden", " 31 ", " 20.2 ", " 8 ", Ink::Green, Ink::Yellow},
        {90, 20, 90, "", "", "", "", Ink::Blue, Ink::Magenta},
        {20, 90, 90, "", "", "", "", Ink::Blue, Ink::Cyan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b));
        const InkRecipe r = computeRecipe(c.r, c.g, c.b);
        EXPECT_EQ(r.inkSlots[0].ink, c.firstInk);
        EXPECT_EQ(r.inkSlots[1].ink, c.secondInk);
        EXPECT_EQ(r.inkSlots[2].ink, Ink::Black);
        EXPECT_EQ(r.inkSlots[3].ink, Ink::White);
        if (*c.first == '\0') continue;  // only the inks are pinned
        EXPECT_EQ(slotText(r, 0), c.first);
        EXPECT_EQ(slotText(r, 1), c.second);
        EXPECT_EQ(slotText(r, 2), c.black);
        EXPECT_EQ(slotText(r, 3), c.white);
    }
}

TEST(InkRecipe, PartsAreSinglePrecisionAndAddUp) {
    for (int v = 0; v < 256; v += 5) {
        const InkRecipe r = computeRecipe(v, 255 - v, v / 2);
        EXPECT_NEAR(r.firstPart + r.secondPart + r.blackPart + r.whitePart, 100.0f, 1e-3f);
    }
    // 100 * 55 / 255 in single precision, a third of it shown.
    const InkRecipe r = computeRecipe(200, 100, 50);
    EXPECT_EQ(r.blackPart, 100.0f * 55.0f / 255.0f);
}

TEST(InkRecipe, Texts) {
    EXPECT_EQ(recipeText(computeRecipe(200, 100, 50)), "Red- 39 ; Yellow- 20 ; Black- 7.18 ; White- 20 ; ");
    EXPECT_EQ(recipeText(computeRecipe(0, 0, 0)), "Black- 100 ; ");
    EXPECT_EQ(rgbText(makeColor(200, 100, 50)), "200 - 100 - 50");
    EXPECT_EQ(hexText(makeColor(200, 100, 50)), " # C86432");
    EXPECT_EQ(hexText(makeColor(0, 10, 255)), " # 000AFF");
    EXPECT_STREQ(inkName(Ink::Magenta), "Magenta-");
    EXPECT_EQ(inkColor(Ink::Yellow), makeColor(255, 255, 0));
}

bool anyDark(const RgbImage& page, int x0, int x1, int y0, int y1) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const ColorValue c = page.pixel(x, y);
            if (redOf(c) < 128 && greenOf(c) < 128 && blueOf(c) < 128) return true;
        }
    }
    return false;
}

TEST(ColorMatchingPage, RunningNumbersLinesAndSwatches) {
    ChannelSet set;
    for (int n = 1; n <= 9; ++n) set.colorOf(n) = makeColor(20 * n, 200, 10);
    for (int n : {2, 5, 9}) set.channel(n).checked = true;
    const ColorMatching m = colorMatching(set);
    EXPECT_EQ(m.rows[1].caption, "Channel # 1");
    EXPECT_EQ(m.rows[4].caption, "Channel # 2");
    EXPECT_EQ(m.rows[8].caption, "Channel # 3");
    EXPECT_EQ(m.rows[1].captionColor, makeColor(255 - 40, 55, 245));
    EXPECT_EQ(m.rows[8].screenY, 56 + 160);
    EXPECT_FALSE(m.rows[0].shown);
    EXPECT_EQ(m.rows[0].rgbText, "20 - 200 - 10");  // filled for every channel with a colour
    for (int i = 0; i < kChannelCount; ++i) {
        const bool present = i == 1 || i == 4 || i == 8;
        EXPECT_EQ(m.mixingList[static_cast<std::size_t>(i)].empty(), !present) << i;
    }
    EXPECT_EQ(m.mixingList[1], "Channel # 1 : " + recipeText(computeRecipe(makeColor(40, 200, 10))));

    ASSERT_EQ(m.page.width(), 505);
    ASSERT_EQ(m.page.height(), 481);
    // Texts: the title at 5, line i at 25 + 20 i, only where a line is.
    EXPECT_TRUE(anyDark(m.page, 40, 505, 5, 15));
    for (int i = 0; i < kChannelCount; ++i) {
        const bool present = i == 1 || i == 4 || i == 8;
        EXPECT_EQ(anyDark(m.page, 40, 505, 25 + 20 * i, 25 + 20 * i + 12), present) << "line " << i;
    }
    // Swatches at the fixed y of their channel, 10 pixels high, from x = 0 to 30.
    for (int n : {2, 5, 9}) {
        const int y = colorMatchingSwatchY(n);
        EXPECT_EQ(m.page.pixel(15, y), set.colorOf(n)) << n;
        EXPECT_EQ(m.page.pixel(0, y), set.colorOf(n)) << n;
        EXPECT_EQ(m.page.pixel(30, y), set.colorOf(n)) << n;
        EXPECT_EQ(m.page.pixel(15, y - 5), set.colorOf(n)) << n;
        EXPECT_EQ(m.page.pixel(15, y + 4), set.colorOf(n)) << n;
        EXPECT_EQ(m.page.pixel(15, y + 6), kWhite) << n;
        EXPECT_EQ(m.page.pixel(15, y - 7), kWhite) << n;
    }
    EXPECT_EQ(colorMatchingSwatchY(9), 191);
    EXPECT_EQ(colorMatchingSwatchY(11), 230);
    EXPECT_EQ(m.page.pixel(15, colorMatchingSwatchY(1)), kWhite);
}

TEST(ColorMatchingPage, NoChannels) {
    const ColorMatching m = colorMatching(ChannelSet{});
    for (const auto& line : m.mixingList) EXPECT_TRUE(line.empty());
    EXPECT_FALSE(anyDark(m.page, 0, 505, 20, 481));
}

}  // namespace
}  // namespace dg
