#include "separation/ColorMatching.h"

#include <algorithm>
#include <cstdio>

#include "imaging/Canvas.h"
#include "imaging/Numbers.h"

namespace dg {

namespace {

constexpr std::array<int, kChannelCount> kSwatchY = {33,  53,  73,  93,  113, 133, 153, 173,
                                                     191, 211, 230, 250, 270, 290, 310, 330,
                                                     350, 370, 390, 410, 430, 450, 470};

std::string partText(const std::string& number) { return " " + number + " "; }

}  // namespace

const char* inkName(Ink ink) {
    switch (ink) {
        case Ink::Red:
            return "Red-";
        case Ink::Green:
            return "Green-";
        case Ink::Blue:
            return "Blue-";
        case Ink::Cyan:
            return "Cyan-";
        case Ink::Magenta:
            return "Magenta-";
        case Ink::Yellow:
            return "Yellow-";
        case Ink::White:
            return "White-";
        case Ink::Black:
            return "Black-";
    }
    return "";
}

ColorValue inkColor(Ink ink) {
    switch (ink) {
        case Ink::Red:
            return makeColor(255, 0, 0);
        case Ink::Green:
            return makeColor(0, 255, 0);
        case Ink::Blue:
            return makeColor(0, 0, 255);
        case Ink::Cyan:
            return makeColor(0, 255, 255);
        case Ink::Magenta:
            return makeColor(255, 0, 255);
        case Ink::Yellow:
            return makeColor(255, 255, 0);
        case Ink::White:
            return kWhite;
        case Ink::Black:
            return kBlack;
    }
    return kBlack;
}

InkRecipe computeRecipe(int R, int G, int B) {
    int max = R, mid = G, min = B;
    Ink first = Ink::Red, second = Ink::Yellow;
    // Of several rules that hold (equal components) the last one decides.
    auto rule = [&](bool holds, int mx, int md, int mn, Ink a, Ink b) {
        if (!holds) return;
        max = mx;
        mid = md;
        min = mn;
        first = a;
        second = b;
    };
    rule(R >= G && G >= B, R, G, B, Ink::Red, Ink::Yellow);
    rule(R >= B && B >= G, R, B, G, Ink::Red, Ink::Magenta);
    rule(G >= B && B >= R, G, B, R, Ink::Green, Ink::Cyan);
    rule(G >= R && R >= B, G, R, B, Ink::Green, Ink::Yellow);
    rule(B >= R && R >= G, B, R, G, Ink::Blue, Ink::Magenta);
    rule(B >= G && G >= R, B, G, R, Ink::Blue, Ink::Cyan);

    auto keep = [](float v) { return std::clamp(v, 0.0f, 255.0f); };
    const float white = keep(static_cast<float>(min));
    const float black = keep(static_cast<float>(255 - max));
    float s = 0.0f, p = 0.0f;
    if (max > 0) {
        s = std::max(0.0f, static_cast<float>(mid - min));
        p = static_cast<float>(max) - s - static_cast<float>(min);
    }
    p = keep(p);
    s = keep(s);
    const float sum = p + s + black + white;  // always 255
    const float T = 100.0f;
    InkRecipe recipe;
    recipe.firstPart = T * p / sum;
    recipe.secondPart = T * s / sum;
    recipe.blackPart = T * black / sum;
    recipe.whitePart = T * white / sum;

    const std::int64_t firstRounded = roundHalfEven(recipe.firstPart);
    const std::int64_t secondRounded = roundHalfEven(recipe.secondPart);
    const std::int64_t whiteRounded = roundHalfEven(recipe.whitePart);
    InkSlot& a = recipe.inkSlots[0];
    a.ink = first;
    if (firstRounded > 0) {
        a.shown = true;
        a.partText = partText(std::to_string(firstRounded));
    }
    InkSlot& b = recipe.inkSlots[1];
    b.ink = second;
    if (secondRounded > 0) {
        b.shown = true;
        b.partText = partText(std::to_string(secondRounded));
    }
    InkSlot& k = recipe.inkSlots[2];
    k.ink = Ink::Black;
    if (recipe.blackPart > 0.0f) {
        // Black is strong: a third of its share goes in unless it is the only ink.
        const bool alone = firstRounded == 0 && secondRounded == 0 && whiteRounded == 0;
        const float shown = alone ? recipe.blackPart : recipe.blackPart / 3.0f;
        k.shown = true;
        k.partText = partText(shortestText(static_cast<double>(shown)).substr(0, 4));
    }
    InkSlot& w = recipe.inkSlots[3];
    w.ink = Ink::White;
    if (whiteRounded > 0) {
        w.shown = true;
        w.partText = partText(std::to_string(whiteRounded));
    }
    return recipe;
}

std::string recipeText(const InkRecipe& recipe) {
    std::string text;
    for (const InkSlot& slot : recipe.inkSlots) {
        if (slot.shown) text += std::string(inkName(slot.ink)) + slot.partText + "; ";
    }
    return text;
}

std::string rgbText(ColorValue c) {
    return std::to_string(redOf(c)) + " - " + std::to_string(greenOf(c)) + " - " + std::to_string(blueOf(c));
}

std::string hexText(ColorValue c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, " # %02X%02X%02X", redOf(c), greenOf(c), blueOf(c));
    return buffer;
}

int colorMatchingSwatchY(int n) { return kSwatchY[static_cast<std::size_t>(n - 1)]; }

ColorMatching colorMatching(const ChannelSet& set) {
    ColorMatching m;
    int k = 1;
    for (int n = 1; n <= kChannelCount; ++n) {
        ColorMatchingRow& row = m.rows[static_cast<std::size_t>(n - 1)];
        const ColorValue c = set.colorOf(n);
        row.screenY = 56 + 20 * (n - 1);
        row.boxColor = c;
        if (c != kNoColor) {
            row.rgbText = rgbText(c);
            row.hexText = hexText(c);
        }
        // Ticked means present: a rebuild ticks exactly the channels that have pixels.
        row.shown = set.channel(n).checked && c != kNoColor;
        if (!row.shown) continue;
        row.number = k++;
        row.caption = "Channel # " + std::to_string(row.number);
        row.captionColor = makeColor(255 - redOf(c), 255 - greenOf(c), 255 - blueOf(c));
        row.recipe = computeRecipe(c);
        m.mixingList[static_cast<std::size_t>(n - 1)] = row.caption + " : " + recipeText(row.recipe);
    }
    m.page = drawColorMatchingPage(m);
    return m;
}

RgbImage drawColorMatchingPage(const ColorMatching& matching) {
    RgbImage page(kColorMatchingPageWidth, kColorMatchingPageHeight);
    Canvas canvas(page);
    // The page is white, so black text on its own opaque white background looks the same.
    canvas.text(40, 5, kColorMatchingPageTitle, kColorMatchingPointSize, kColorMatchingDpi, kBlack);
    for (int i = 0; i < kChannelCount; ++i) {
        const std::string& line = matching.mixingList[static_cast<std::size_t>(i)];
        canvas.text(40, 25 + 20 * i, line, kColorMatchingPointSize, kColorMatchingDpi, kBlack);
    }
    for (int n = 1; n <= kChannelCount; ++n) {
        const ColorMatchingRow& row = matching.rows[static_cast<std::size_t>(n - 1)];
        if (!row.shown) continue;
        const int y = colorMatchingSwatchY(n);
        canvas.line(0, y, 30, y, row.boxColor, 10);
    }
    return page;
}

}  // namespace dg
