#include "separation/InkChart.h"

#include <string>

#include "imaging/Canvas.h"
#include "separation/ColorMatching.h"

namespace dg {

namespace {

constexpr int kTop = 40;
constexpr int kRowHeight = 50;
constexpr int kSwatchLeft = 20;
constexpr int kSwatchWidth = 130;
constexpr int kSwatchHeight = 40;
constexpr int kChartDpi = 96;

constexpr Ink kInks[] = {Ink::Red,     Ink::Green,  Ink::Blue,  Ink::Cyan,
                         Ink::Magenta, Ink::Yellow, Ink::White, Ink::Black};

// "Red-" is the recipe's form; the chart names the ink alone.
std::string chartName(Ink ink) {
    std::string name = inkName(ink);
    if (!name.empty() && name.back() == '-') name.pop_back();
    return name;
}

}  // namespace

InkChartSwatch inkChartSwatch(int i) {
    return {kSwatchLeft, kTop + kRowHeight * i, kSwatchWidth, kSwatchHeight};
}

RgbImage primaryInkChart() {
    RgbImage chart(kInkChartWidth, kInkChartHeight);
    Canvas canvas(chart);
    canvas.text(kSwatchLeft, 8, "PRIMARY COLORS FOR MIXING", 12, kChartDpi, kBlack);
    for (int i = 0; i < 8; ++i) {
        const InkChartSwatch s = inkChartSwatch(i);
        // A black frame one pixel outside the swatch keeps the white ink visible on the page.
        canvas.fillRect(s.x - 1, s.y - 1, s.width + 2, s.height + 2, kBlack);
        canvas.fillRect(s.x, s.y, s.width, s.height, inkColor(kInks[i]));
        canvas.text(s.x + s.width + 20, s.y + 10, chartName(kInks[i]), 14, kChartDpi, kBlack);
    }
    return chart;
}

}  // namespace dg
