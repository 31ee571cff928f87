#include "separation/Thresholds.h"

#include <algorithm>

namespace dg {

namespace {

struct Family {
    int SeparationThresholds::*high;
    int SeparationThresholds::*mid;
};

// The order in which the clamping visits the hue families.
constexpr std::array<Family, 6> kFamilies = {{
    {&SeparationThresholds::redHigh, &SeparationThresholds::redMid},
    {&SeparationThresholds::greenHigh, &SeparationThresholds::greenMid},
    {&SeparationThresholds::blueHigh, &SeparationThresholds::blueMid},
    {&SeparationThresholds::yellowHigh, &SeparationThresholds::yellowMid},
    {&SeparationThresholds::cyanHigh, &SeparationThresholds::cyanMid},
    {&SeparationThresholds::magentaHigh, &SeparationThresholds::magentaMid},
}};

constexpr std::array<int SeparationThresholds::*, kThresholdCount> kSliders = {
    &SeparationThresholds::white,      &SeparationThresholds::lightGrey,  &SeparationThresholds::midGrey,
    &SeparationThresholds::black,      &SeparationThresholds::redHigh,    &SeparationThresholds::redMid,
    &SeparationThresholds::greenHigh,  &SeparationThresholds::greenMid,   &SeparationThresholds::blueHigh,
    &SeparationThresholds::blueMid,    &SeparationThresholds::yellowHigh, &SeparationThresholds::yellowMid,
    &SeparationThresholds::cyanHigh,   &SeparationThresholds::cyanMid,    &SeparationThresholds::magentaHigh,
    &SeparationThresholds::magentaMid,
};

}  // namespace

std::array<int, kThresholdCount> thresholdValues(const SeparationThresholds& t) {
    std::array<int, kThresholdCount> values{};
    for (std::size_t i = 0; i < kSliders.size(); ++i) values[i] = t.*kSliders[i];
    return values;
}

SeparationThresholds thresholdsFromValues(const std::array<int, kThresholdCount>& values) {
    SeparationThresholds t;
    for (std::size_t i = 0; i < kSliders.size(); ++i) t.*kSliders[i] = values[i];
    return t;
}

SeparationThresholds clampThresholds(const SeparationThresholds& in) {
    SeparationThresholds t = in;
    for (auto slider : kSliders) t.*slider = std::clamp(t.*slider, 0, 255);
    // Every step below either leaves the earlier invariants intact or only moves a value
    // towards them, so a nested rerun of the whole sequence (which a slider change causes)
    // finds nothing more to do: one pass gives the cascade's final state.
    if (t.lightGrey >= t.white) t.lightGrey = t.white;
    if (t.midGrey >= t.lightGrey) t.midGrey = t.lightGrey;
    if (t.black >= t.midGrey) t.black = t.midGrey;
    for (const Family& f : kFamilies) {
        if (t.*f.mid >= t.*f.high) t.*f.mid = t.*f.high;
        if (t.black >= t.*f.high) t.*f.high = t.black;
        if (t.black >= t.*f.mid) t.*f.mid = t.black;
    }
    return t;
}

std::array<SliderRange, kThresholdCount> highlightedRanges(const SeparationThresholds& t) {
    std::array<SliderRange, kThresholdCount> ranges{};
    ranges[0] = {t.white, 255};
    ranges[1] = {t.lightGrey, t.white};
    ranges[2] = {t.black, t.lightGrey};
    ranges[3] = {0, t.black};
    for (std::size_t f = 0; f < kFamilies.size(); ++f) {
        ranges[4 + 2 * f] = {t.*kFamilies[f].high, 255};
        ranges[5 + 2 * f] = {t.black, t.*kFamilies[f].high};
    }
    return ranges;
}

SeparationThresholds thresholdsOnEnter(const SeparationThresholds& in) {
    SeparationThresholds t = clampThresholds(in);
    auto setWhite = [&t](int value) {
        t.white = value;
        t = clampThresholds(t);
    };
    if (t.lightGrey < t.white && t.white < 255) setWhite(t.white + 1);
    if (t.lightGrey < t.white && t.white < 255) return t;
    if (t.lightGrey >= t.white) setWhite(t.lightGrey + 1);
    if (t.white > 254) setWhite(254);
    return t;
}

}  // namespace dg
