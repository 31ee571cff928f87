#pragma once

#include <array>
#include <string>

#include "separation/ChannelModel.h"

namespace dg {

// The eight primary inks.
enum class Ink { Red, Green, Blue, Cyan, Magenta, Yellow, White, Black };
// "Red-", "Green-", ...
const char* inkName(Ink ink);
ColorValue inkColor(Ink ink);

// One of a recipe's four slots: first ink (red, green or blue), second ink (yellow, magenta
// or cyan), black, white, always in this order.
struct InkSlot {
    bool shown = false;
    Ink ink = Ink::Black;
    std::string partText;  // a blank, the number, a blank: " 39 "
};

struct InkRecipe {
    std::array<InkSlot, 4> inkSlots;
    // The parts out of 100, single precision as computed.
    float firstPart = 0, secondPart = 0, blackPart = 0, whitePart = 0;
};

// How many parts of which primary inks mix the colour.
InkRecipe computeRecipe(int red, int green, int blue);
inline InkRecipe computeRecipe(ColorValue c) { return computeRecipe(redOf(c), greenOf(c), blueOf(c)); }

// "Red- 39 ; Yellow- 20 ; Black- 7.18 ; White- 20 ; "
std::string recipeText(const InkRecipe& recipe);
// "200 - 100 - 50"
std::string rgbText(ColorValue c);
// " # C86432"
std::string hexText(ColorValue c);

inline constexpr const char* kColorMatchingHeader =
    " Channel #             *          RGB VALUE     *     HEX  VALUE";
inline constexpr const char* kColorMatchingPageTitle =
    "Discover closely colors. Get mixing parts of primary colors: ";
inline constexpr int kColorMatchingPageWidth = 505;
inline constexpr int kColorMatchingPageHeight = 481;
// Page texts are 5 points at the resolution of the screen the page was laid out for.
inline constexpr double kColorMatchingPointSize = 5.0;
inline constexpr int kColorMatchingDpi = 96;

// The y of channel N's swatch on the page (N = 1..23).
int colorMatchingSwatchY(int n);

// Row N of the COLOR MATCHING screen (channel N).
struct ColorMatchingRow {
    bool shown = false;                  // the channel is ticked on the channels screen
    int number = 0;                      // the running number among shown rows, from 1
    std::string caption;                 // "Channel # 3"
    ColorValue boxColor = kNoColor;      // the channel's display colour
    ColorValue captionColor = kNoColor;  // its inverse
    std::string rgbText;
    std::string hexText;
    InkRecipe recipe;
    int screenY = 0;  // 56 + 20 * (N - 1)
};

struct ColorMatching {
    std::array<ColorMatchingRow, kChannelCount> rows;
    // Line N - 1 for channel N: caption, " : ", recipe text; empty for a channel not shown.
    std::array<std::string, kChannelCount> mixingList;
    RgbImage page;  // 505 x 481
};

// Entering the COLOR MATCHING screen: rows, recipes, mixing list and page from the channel
// colours and ticks.
ColorMatching colorMatching(const ChannelSet& set);

// The colour-matching page: title, the mixing list and a 10-pixel swatch for each shown row,
// black text at 5 points on white.
RgbImage drawColorMatchingPage(const ColorMatching& matching);

}  // namespace dg
