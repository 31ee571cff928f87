#pragma once

#include "imaging/RgbImage.h"

namespace dg {

inline constexpr int kInkChartWidth = 347;
inline constexpr int kInkChartHeight = 441;

// Where ink i (in the order red, green, blue, cyan, magenta, yellow, white, black) has its
// swatch on the chart.
struct InkChartSwatch {
    int x, y, width, height;
};
InkChartSwatch inkChartSwatch(int i);

// The chart of the eight primary inks: a title, and for each ink a swatch of its colour in a
// black frame with the ink's name beside it, on white.
RgbImage primaryInkChart();

}  // namespace dg
