#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "separation/Thresholds.h"

namespace dg {
namespace {

// The separation screen's sliders as the screen has them: setting a slider to another value
// runs the slider-change handler at once, nested, and the handler clamps by setting sliders.
class SliderScreen {
public:
    explicit SliderScreen(std::array<int, kThresholdCount> values) : v_(values) {}

    void set(int slider, int value) {
        value = std::clamp(value, 0, 255);  // a bounded slider clamps before it compares
        if (v_[static_cast<std::size_t>(slider)] == value) return;
        v_[static_cast<std::size_t>(slider)] = value;
        thresholdChange();
    }
    void thresholdChange() {
        ++runs_;
        int& w = v_[0];
        int& l = v_[1];
        int& m = v_[2];
        int& k = v_[3];
        if (l >= w) set(1, w);
        if (l >= w) set(0, l);
        if (m >= l) set(2, l);
        if (m >= l) set(1, m);
        if (k >= m) set(3, m);
        for (int f = 0; f < 6; ++f) {
            const int high = 4 + 2 * f, mid = 5 + 2 * f;
            if (v_[mid] >= v_[high]) set(mid, v_[high]);
            if (k >= v_[high]) set(high, k);
            if (k >= v_[mid]) set(mid, k);
        }
    }
    const std::array<int, kThresholdCount>& values() const { return v_; }
    int runs() const { return runs_; }

private:
    std::array<int, kThresholdCount> v_;
    int runs_ = 0;
};

TEST(Thresholds, ClampEqualsTheNestedSliderCascade) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> any(-20, 275);
    std::uniform_int_distribution<int> slider(0, kThresholdCount - 1);
    for (int trial = 0; trial < 20000; ++trial) {
        std::array<int, kThresholdCount> start{};
        for (int& v : start) v = std::clamp(any(random), 0, 255);
        std::array<int, kThresholdCount> input{};
        std::array<int, kThresholdCount> cascade{};
        if (trial % 4 == 0) {
            // Wild values, as if every slider had been set without its handler.
            SliderScreen screen(start);
            screen.thresholdChange();
            input = start;
            cascade = screen.values();
        } else {
            // A user moves one slider of a settled screen.
            SliderScreen screen(thresholdValues(clampThresholds(thresholdsFromValues(start))));
            const int which = slider(random);
            const int value = any(random);
            input = screen.values();
            input[static_cast<std::size_t>(which)] = std::clamp(value, 0, 255);
            screen.set(which, value);
            cascade = screen.values();
        }
        ASSERT_EQ(thresholdValues(clampThresholds(thresholdsFromValues(input))), cascade)
            << "trial " << trial;
    }
}

TEST(Thresholds, ClampMovesTheRightSliders) {
    struct Case {
        const char* what;
        std::function<void(SeparationThresholds&)> change;
        std::function<void(SeparationThresholds&)> expect;
    };
    const Case cases[] = {
        {"black above mid grey comes back to mid grey", [](auto& t) { t.black = 150; },
         [](auto& t) { t.black = 120; }},
        {"light grey above white comes back to white", [](auto& t) { t.lightGrey = 230; },
         [](auto& t) { t.lightGrey = 200; }},
        {"white below mid grey pulls light and mid grey and black down", [](auto& t) { t.white = 70; },
         [](auto& t) { t.white = t.lightGrey = t.midGrey = t.black = 70; }},
        {"black above a family's high pulls high and mid up (after mid grey went up)",
         [](auto& t) {
             t.white = t.lightGrey = t.midGrey = 250;
             t.black = 220;
         },
         [](auto& t) {
             t.white = t.lightGrey = t.midGrey = 250;
             t.black = 220;
             t.redHigh = t.greenHigh = t.blueHigh = t.yellowHigh = t.cyanHigh = t.magentaHigh = 220;
             t.redMid = t.greenMid = t.blueMid = t.yellowMid = t.cyanMid = t.magentaMid = 220;
         }},
        {"mid above high comes back to high", [](auto& t) { t.cyanMid = 240; },
         [](auto& t) { t.cyanMid = 192; }},
        {"values outside the sliders' range",
         [](auto& t) {
             t.white = 300;
             t.magentaMid = -5;
         },
         [](auto& t) {
             t.white = 255;
             t.magentaMid = 80;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SeparationThresholds moved, expected;
        c.change(moved);
        c.expect(expected);
        EXPECT_EQ(thresholdValues(clampThresholds(moved)), thresholdValues(expected));
    }
}

TEST(Thresholds, HighlightedRanges) {
    SeparationThresholds t;
    const auto r = highlightedRanges(t);
    EXPECT_EQ(r[0], (SliderRange{200, 255}));
    EXPECT_EQ(r[1], (SliderRange{160, 200}));
    EXPECT_EQ(r[2], (SliderRange{80, 160}));
    EXPECT_EQ(r[3], (SliderRange{0, 80}));
    t.blueHigh = 210;
    t.blueMid = 100;
    const auto b = highlightedRanges(t);
    EXPECT_EQ(b[8], (SliderRange{210, 255}));
    EXPECT_EQ(b[9], (SliderRange{80, 210}));
}

TEST(Thresholds, EnterRaisesWhiteByOneAndKeepsItBelow255) {
    SeparationThresholds t;
    t = thresholdsOnEnter(t);
    EXPECT_EQ(t.white, 201);
    t = thresholdsOnEnter(t);
    EXPECT_EQ(t.white, 202);
    struct Case {
        int white, lightGrey, expectedWhite, expectedLightGrey;
    };
    for (const Case& c : {Case{254, 200, 254, 200}, Case{255, 200, 254, 200}, Case{253, 200, 254, 200},
                          Case{254, 254, 254, 254}, Case{255, 255, 254, 254}, Case{120, 120, 121, 120}}) {
        SeparationThresholds s;
        s.white = c.white;
        s.lightGrey = c.lightGrey;
        s.midGrey = std::min(s.midGrey, c.lightGrey);
        const auto after = thresholdsOnEnter(s);
        EXPECT_EQ(after.white, c.expectedWhite) << c.white << "/" << c.lightGrey;
        EXPECT_EQ(after.lightGrey, c.expectedLightGrey) << c.white << "/" << c.lightGrey;
    }
}

}  // namespace
}  // namespace dg
