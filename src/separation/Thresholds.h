#pragma once

#include <array>

#include "separation/ChannelModel.h"

namespace dg {

inline constexpr int kThresholdCount = 16;

// The sixteen thresholds in slider order: TrackBar1, TrackBar2, TrackBar2a, TrackBar3,
// TrackBar4 ... TrackBar15.
std::array<int, kThresholdCount> thresholdValues(const SeparationThresholds& t);
SeparationThresholds thresholdsFromValues(const std::array<int, kThresholdCount>& values);

// The thresholds after a slider change, clamped the way the separation screen restores its
// invariants (black <= mid grey <= light grey <= white; black <= mid <= high in every hue
// family). Each value is first kept within the sliders' range 0..255. The grey sliders give
// way downwards, the hue sliders are pushed up by black. The result is the state the nested
// slider-change cascade settles in, so the screen can set the sliders and separate once.
SeparationThresholds clampThresholds(const SeparationThresholds& t);

// The highlighted (selected) range of one slider, display only.
struct SliderRange {
    int low = 0;
    int high = 0;
    bool operator==(const SliderRange&) const = default;
};
// In slider order, as for thresholdValues.
std::array<SliderRange, kThresholdCount> highlightedRanges(const SeparationThresholds& t);

// The thresholds after entering the separation screen: the white threshold normally goes up
// by one, never ends above 254 and never at or below light grey; then clamped. The entry
// always separates once with the result.
SeparationThresholds thresholdsOnEnter(const SeparationThresholds& t);

}  // namespace dg
