#include "separation/Merge.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

#include "imaging/Numbers.h"
#include "imaging/Parallel.h"
#include "separation/ChannelSetBuild.h"

namespace dg {

namespace {

constexpr int kMaxListed = 25;
constexpr int kSlotProbe = 30;
constexpr int kPercentFlags = 10009;  // hundredths of a percent

// The order in which the sequence walks the channels in each pass.
constexpr std::array<int, kChannelCount> kOfferOrder = {1,  2,  22, 23, 3,  4,  5,  6,  7,  8,  9, 10,
                                                        11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};

std::size_t at(int n) { return static_cast<std::size_t>(n - 1); }

// The merge screen's state between showings.
struct MergeScreen {
    // The hidden count captions: they carry the channel colours and counts to and fro.
    std::array<ColorValue, kChannelCount> captionColors{};
    std::array<std::int32_t, kChannelCount> captionCounts{};
    std::array<MergeChoice, kChannelCount> choices{};
    ColorValue background = kWhite;
    bool finish = false;
    ReplaceMode mode = ReplaceMode::Color1;
    RgbImage before;
    RgbImage after;
    RgbImage preview;
};

void setColor(ChannelSet& set, int n, ColorValue c) {
    set.colorOf(n) = c;
    set.channel(n).color = c;
}

void readColorsBack(ChannelSet& set, const MergeScreen& screen) {
    for (int n = 1; n <= kChannelCount; ++n) setColor(set, n, screen.captionColors[at(n)]);
}

void refresh(ChannelSet& set, MergeScreen& screen) {
    readColorsBack(set, screen);
    for (int n = 1; n <= kChannelCount; ++n) set.counts[at(n)] = screen.captionCounts[at(n)];
    screen.after = composeMergeAfter(set);
}

// A percentage text in hundredths, as the flags are indexed; -1 when it is no number.
int percentKey(const std::string& text) {
    double value = 0.0;
    if (!parseNumber(text, value)) return -1;
    const double hundredths = value * 100.0;
    if (!(hundredths >= 0.0) || hundredths >= kPercentFlags) return -1;
    return static_cast<int>(roundHalfEven(hundredths));
}

RgbImage maskOrBackground(const ChannelSet& set, int n, ColorValue color) {
    const RgbImage& mask = set.channel(n).mask;
    if (mask.width() == set.before.width() && mask.height() == set.before.height()) return mask;
    // An empty channel: nothing of it anywhere.
    RgbImage blank(set.before.width(), set.before.height());
    if (color == kWhite) blank.fill(kBlack);
    return blank;
}

// OK on the merge screen: merges the offered channel (colour C2, the background) into the
// ticked choice's channel.
void merge(ChannelSet& set, MergeScreen& screen, int chosen, ReplaceMode mode) {
    const ColorValue c2 = screen.background;
    const ColorValue c1 = screen.choices[at(chosen)].color;
    int offered = 0;
    for (int n = 1; n <= kChannelCount && offered == 0; ++n) {
        if (set.channel(n).shown && set.colorOf(n) == c2) offered = n;
    }
    if (offered == 0) return;  // the offered channel is always shown; nothing to merge else
    RgbImage a = maskOrBackground(set, offered, c2);
    set.channel(offered).shown = false;
    RgbImage b = maskOrBackground(set, chosen, c1);
    mergeMasks(a, b, c1, c2, mode);
    for (int n = 1; n <= kChannelCount; ++n) {
        if (set.colorOf(n) == c2) set.channel(n).mask = a;
    }
    set.channel(chosen).mask = std::move(b);
    if (mode == ReplaceMode::Color2) {
        screen.choices[at(chosen)].color = c2;
        screen.choices[at(chosen)].textColor = choiceTextColor(c2);
        screen.captionColors[at(chosen)] = c2;
        for (int n = 1; n <= kChannelCount; ++n) {
            if (set.colorOf(n) == c1) setColor(set, n, c2);
        }
    }
    screen.mode = ReplaceMode::Color1;
}

}  // namespace

ColorValue choiceTextColor(ColorValue color) {
    return redOf(color) > 130 || greenOf(color) > 130 || blueOf(color) > 130 ? kBlack : kWhite;
}

std::vector<ColorValue> colorsByFallingCount(const RgbImage& picture) {
    // A map of the taken slots stands in for a table of 2^24 + 2 of them: counts can exceed
    // 2^24 in pictures of more than 16.7 million pixels, which such a table would not hold.
    std::map<std::int64_t, ColorValue> taken;
    for (const auto& [color, count] : colorCensus(picture)) {
        for (std::int64_t s = count; s <= count + kSlotProbe; ++s) {
            if (taken.emplace(s, color).second) break;
        }
    }
    std::vector<ColorValue> listed;
    for (auto it = taken.rbegin(); it != taken.rend() && static_cast<int>(listed.size()) < kMaxListed; ++it) {
        listed.push_back(it->second);
    }
    return listed;
}

ChoicePosition choicePosition(int i) {
    if (i <= 12) return {10, 30 * i};
    return {300, 30 * (i - 12)};
}

int automaticFind(const std::array<MergeChoice, kChannelCount>& choices, ColorValue offered) {
    int best = 10000;
    int found = 0;
    for (int n = 1; n <= kChannelCount; ++n) {
        const MergeChoice& choice = choices[at(n)];
        if (!choice.shown) continue;
        const int distance = std::abs(redOf(choice.color) - redOf(offered)) +
                             std::abs(greenOf(choice.color) - greenOf(offered)) +
                             std::abs(blueOf(choice.color) - blueOf(offered));
        if (distance <= best) {
            best = distance;
            found = n;
        }
    }
    return found;
}

RgbImage composeMergeAfter(const ChannelSet& set) {
    const std::int32_t width = set.before.width();
    const std::int32_t height = set.before.height();
    RgbImage after(width, height);
    std::vector<const RgbImage*> masks;
    for (int n = 1; n <= kChannelCount; ++n) {
        const RgbImage& mask = set.channel(n).mask;
        if (set.colorOf(n) == kWhite || mask.width() != width || mask.height() != height) continue;
        masks.push_back(&mask);
    }
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            std::uint8_t* d = after.row(y);
            for (const RgbImage* mask : masks) {
                const std::uint8_t* m = mask->row(y);
                for (std::size_t i = 0; i < bytes; ++i) d[i] &= m[i];
            }
        }
    });
    return after;
}

void mergeMasks(RgbImage& a, RgbImage& b, ColorValue c1, ColorValue c2, ReplaceMode mode) {
    const bool white1 = c1 == kWhite;
    const bool white2 = c2 == kWhite;
    const std::int32_t width = std::min(a.width(), b.width());
    const std::int32_t height = std::min(a.height(), b.height());
    auto read = [](const std::uint8_t* p) {
        return static_cast<ColorValue>(p[2] | (p[1] << 8) | (p[0] << 16));
    };
    auto write = [](std::uint8_t* p, ColorValue c) {
        p[0] = static_cast<std::uint8_t>(blueOf(c));
        p[1] = static_cast<std::uint8_t>(greenOf(c));
        p[2] = static_cast<std::uint8_t>(redOf(c));
    };
    forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            std::uint8_t* rowA = a.row(y);
            std::uint8_t* rowB = b.row(y);
            for (std::int32_t x = 0; x < width; ++x) {
                std::uint8_t* qa = rowA + 3 * static_cast<std::size_t>(x);
                std::uint8_t* qb = rowB + 3 * static_cast<std::size_t>(x);
                ColorValue pa = read(qa);
                ColorValue pb = read(qb);
                if (mode == ReplaceMode::Color1) {
                    if (!white1 && !white2 && (pa != kWhite || pb != kWhite)) {
                        pb = c1;
                        pa = kWhite;
                    }
                    if (white1 && pa != kWhite) {
                        pb = kWhite;
                        pa = kWhite;
                    }
                    if (white2 && pa == kWhite) {
                        pb = c1;
                        pa = kBlack;
                    }
                } else {
                    if (!white1 && !white2 && (pa != kWhite || pb != kWhite)) {
                        pb = c2;
                        pa = kWhite;
                    }
                    if (white1) {
                        pb = (pb == kWhite || pa != kWhite) ? c2 : kWhite;
                        pa = kWhite;
                    }
                    if (white2) {
                        pb = (pa == kWhite || pb != kWhite) ? c2 : kBlack;
                        pa = kWhite;
                    }
                }
                write(qa, pa);
                write(qb, pb);
            }
        }
    });
}

MergeOutcome mergeChannels(ChannelSet& set, MergeDialog& dialog) {
    MergeOutcome outcome;
    MergeScreen screen;
    screen.mode = dialog.replaceMode();
    const std::int64_t total = static_cast<std::int64_t>(set.before.width()) * set.before.height();
    const std::vector<std::pair<ColorValue, std::int64_t>> census = colorCensus(set.before);

    // Step 1: the count captions take the set's counts and colours.
    for (int n = 1; n <= kChannelCount; ++n) {
        screen.captionCounts[at(n)] = set.counts[at(n)];
        screen.captionColors[at(n)] = set.colorOf(n);
    }
    set.after = set.before;

    // Step 2: the choices.
    for (int n = 1; n <= kChannelCount; ++n) {
        MergeChoice& choice = screen.choices[at(n)];
        choice = MergeChoice{};
        if (set.counts[at(n)] <= 0) continue;
        choice.shown = true;
        choice.color = set.colorOf(n);
        choice.textColor = choiceTextColor(choice.color);
        choice.caption = channelPercentageText(set.counts[at(n)], total) + kMergeChoiceSuffix;
    }
    // Step 3: arranged by falling count.
    const std::vector<ColorValue> listed = colorsByFallingCount(set.before);
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const ChoicePosition p = choicePosition(static_cast<int>(i));
        for (MergeChoice& choice : screen.choices) {
            if (choice.color != listed[i] || choice.color == kNoColor) continue;
            choice.placed = true;
            choice.left = p.left;
            choice.top = p.top;
        }
    }
    // Step 4.
    screen.before = set.after;
    screen.after = set.after;

    // Step 5.
    int remaining = static_cast<int>(census.size());
    const int initial = remaining;
    int presented = 0;

    // Step 6: the percentages in use.
    std::vector<bool> flags(kPercentFlags, false);
    bool anyCount = false;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (set.counts[at(n)] <= 0) continue;
        anyCount = true;
        const int key = percentKey(set.channel(n).percentageText);
        if (key >= 0) flags[static_cast<std::size_t>(key)] = true;
    }
    // Step 7.
    if (!anyCount) dialog.message(kMergeNoCountsMessage);
    if (remaining < 3) dialog.message(kMergeTooFewColorsMessage);

    // Step 8: the rarest percentages first. N > 2 is tested once per percentage, so channels
    // of one percentage are all offered even where that takes N below 3; the cap
    // N0 - presented > 1 keeps at least one channel from being offered at all.
    for (int i = 0; i <= 10000 && remaining > 2; ++i) {
        if (!flags[static_cast<std::size_t>(i)]) continue;
        for (int ch : kOfferOrder) {
            if (screen.finish) continue;
            if (set.counts[at(ch)] > 0 && initial - presented > 1 &&
                percentKey(set.channel(ch).percentageText) == i) {
                screen.background = set.colorOf(ch);
                screen.choices[at(ch)].shown = false;
                refresh(set, screen);
                screen.preview = set.channel(ch).mask;
                const MergeOffer offer{
                    ch,           screen.background, remaining, screen.choices, screen.before,
                    screen.after, screen.preview,    set,       screen.mode};
                outcome.offered.push_back(ch);
                const MergeDecision decision = dialog.offer(offer);
                switch (decision.answer) {
                    case MergeAnswer::Ok:
                        if (decision.choice >= 1 && decision.choice <= kChannelCount &&
                            screen.choices[at(decision.choice)].shown) {
                            merge(set, screen, decision.choice, decision.mode);
                            --remaining;
                            ++outcome.merged;
                        } else {
                            screen.mode = decision.mode;
                        }
                        break;
                    case MergeAnswer::Skip:
                        screen.mode = ReplaceMode::Color1;
                        break;
                    case MergeAnswer::Finish:
                        screen.finish = true;
                        screen.mode = decision.mode;
                        break;
                    case MergeAnswer::Close:
                        screen.mode = decision.mode;
                        break;
                }
                ++presented;
            }
            if (ch != 21) readColorsBack(set, screen);
        }
    }

    // Step 9 and the end of MERGE CHANNELS: the channels still shown are ticked, and AFTER is
    // the merged composition of the masks.
    for (Channel& c : set.channels) c.checked = c.shown;
    refresh(set, screen);
    set.after = screen.after;
    for (const Channel& c : set.channels) {
        if (c.shown) ++outcome.afterCount;
    }
    return outcome;
}

}  // namespace dg
