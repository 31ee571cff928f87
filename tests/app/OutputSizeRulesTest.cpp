#include <gtest/gtest.h>

#include <string>

#include "app/OutputSizeRules.h"
#include "app/TaskSelectionRules.h"

namespace dg {
namespace {

TEST(DeriveHeight, KeepsTheProportionsAndSplitsIntoWholeAndHundredths) {
    struct Case {
        int widthWhole, widthHundredths, sourceWidth, sourceHeight;
        std::int64_t whole, hundredths;
    };
    const Case cases[] = {
        {8, 50, 200, 300, 12, 75},     // the worked example: 8.5 cm of a 2:3 picture
        {60, 0, 100, 200, 120, 0},     // twice as high: the field clamps 120 to 60
        {1, 0, 250, 2249, 8, 100},     // 8.996: the hundredths round to 100, which clamps to 99
        {8, 50, 300, 300, 8, 50},      // square
        {10, 0, 300, 100, 3, 33},      // 3.333...
        {5, 0, 1, 100000, 500000, 0},  // a very thin picture: far beyond the field, clamped there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.widthWhole) + "." + std::to_string(c.widthHundredths) + " of " +
                     std::to_string(c.sourceWidth) + "x" + std::to_string(c.sourceHeight));
        const auto h = deriveHeight(c.widthWhole, c.widthHundredths, c.sourceWidth, c.sourceHeight);
        ASSERT_TRUE(h.has_value());
        EXPECT_EQ(h->whole, c.whole);
        EXPECT_EQ(h->hundredths, c.hundredths);
    }
}

TEST(DeriveHeight, APictureWithoutWidthLeavesTheHeightAlone) {
    EXPECT_FALSE(deriveHeight(8, 50, 0, 300).has_value());
    EXPECT_FALSE(deriveHeight(8, 50, 0, 0).has_value());
}

TEST(SizeText, ShortestDecimal) {
    EXPECT_EQ(sizeText(8, 50), "8.5");
    EXPECT_EQ(sizeText(8, 0), "8");
    EXPECT_EQ(sizeText(12, 7), "12.07");
    EXPECT_EQ(sizeText(29, 70), "29.7");
    EXPECT_EQ(sizeText(0, 1), "0.01");
}

OutputSizeInputs inchesAt100(int widthWhole, int widthHundredths, int heightWhole, int heightHundredths,
                             int sourceWidth, int sourceHeight) {
    OutputSizeInputs in;
    in.unit = MeasuringUnit::Inches;
    in.dpi = 100;
    in.widthWhole = widthWhole;
    in.widthHundredths = widthHundredths;
    in.heightWhole = heightWhole;
    in.heightHundredths = heightHundredths;
    in.sourceWidth = sourceWidth;
    in.sourceHeight = sourceHeight;
    in.mediaWidth = 8.27;
    in.mediaHeight = 11.69;
    return in;
}

TEST(EvaluateOutputSize, PixelRangeBoundsAreInclusive) {
    // 8 x 8 inches at 100 DPI: 200 to 800 pixels each way.
    struct Case {
        int w, h;
        RangeMessage message;
        bool additionally;
    };
    const Case cases[] = {
        {200, 200, RangeMessage::None, false},  // exactly minW: not small
        {800, 800, RangeMessage::None, false},  // exactly maxW: not large
        {199, 400, RangeMessage::TooSmall, false}, {400, 199, RangeMessage::TooSmall, false},
        {801, 400, RangeMessage::TooLarge, false}, {400, 801, RangeMessage::TooLarge, false},
        {801, 199, RangeMessage::TooSmall, true},  // small wins; "Additionally" for the large side
        {0, 0, RangeMessage::TooSmall, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        const OutputSizeVerdict v = evaluateOutputSize(inchesAt100(8, 0, 8, 0, c.w, c.h));
        EXPECT_EQ(v.message, c.message);
        EXPECT_EQ(v.additionally, c.additionally);
        EXPECT_EQ(v.minWidth, 200);
        EXPECT_EQ(v.maxWidth, 800);
        EXPECT_EQ(v.minHeight, 200);
        EXPECT_EQ(v.maxHeight, 800);
    }
}

TEST(EvaluateOutputSize, CentimetreExamples) {
    OutputSizeInputs in;
    in.unit = MeasuringUnit::Centimeters;
    in.dpi = 100;
    in.widthWhole = 8;
    in.widthHundredths = 50;
    in.heightWhole = 12;
    in.heightHundredths = 75;
    in.sourceWidth = 200;
    in.sourceHeight = 300;
    in.mediaWidth = 21;
    in.mediaHeight = 29.7;
    OutputSizeVerdict v = evaluateOutputSize(in);
    EXPECT_EQ(v.message, RangeMessage::None);
    EXPECT_EQ(v.maxWidth, 335);  // 334.6
    EXPECT_EQ(v.minWidth, 84);   // 83.7
    EXPECT_EQ(v.maxHeight, 502);
    EXPECT_EQ(v.minHeight, 125);  // 125.49
    EXPECT_FALSE(v.exceedsPrinterArea);

    in.dpi = 160;
    in.widthWhole = 20;
    in.widthHundredths = 0;
    in.heightWhole = 30;
    in.heightHundredths = 0;
    v = evaluateOutputSize(in);
    EXPECT_EQ(v.message, RangeMessage::TooSmall);
    EXPECT_EQ(v.minWidth, 315);
    EXPECT_EQ(v.maxWidth, 1260);
    EXPECT_TRUE(v.exceedsPrinterArea);  // 30 cm high on a 29.7 cm page
}

// Sizes whose pixel range falls exactly on a whole pixel or a half: the decisions and the
// range numbers must come from the exact ratios, not from 18.04 as a binary fraction.
TEST(EvaluateOutputSize, ExactRatiosAtTheEdgesOfTheRange) {
    constexpr auto in = MeasuringUnit::Inches;
    constexpr auto cm = MeasuringUnit::Centimeters;
    struct Case {
        MeasuringUnit unit;
        int dpi, ww, wh, hw, hh, sourceWidth, sourceHeight;
        RangeMessage message;
        std::int64_t minWidth, maxWidth, minHeight, maxHeight;
    };
    const Case cases[] = {
        // Pictures exactly minW wide and minH high, with the height derived from the width.
        {in, 100, 18, 4, 12, 0, 451, 300, RangeMessage::None, 451, 1804, 300, 1200},
        {cm, 127, 36, 8, 24, 0, 451, 300, RangeMessage::None, 451, 1804, 300, 1200},
        {cm, 127, 54, 80, 38, 72, 685, 484, RangeMessage::None, 685, 2740, 484, 1936},
        {cm, 127, 29, 28, 28, 88, 366, 361, RangeMessage::None, 366, 1464, 361, 1444},
        // One pixel less is small; exactly maxW is not large, one more is.
        {in, 100, 18, 4, 12, 0, 450, 300, RangeMessage::TooSmall, 451, 1804, 300, 1200},
        {cm, 127, 54, 80, 38, 72, 685, 483, RangeMessage::TooSmall, 685, 2740, 484, 1936},
        {cm, 127, 36, 8, 24, 0, 1804, 1200, RangeMessage::None, 451, 1804, 300, 1200},
        {cm, 127, 36, 8, 24, 0, 1805, 1200, RangeMessage::TooLarge, 451, 1804, 300, 1200},
        // Halves round to the even neighbour: maxW 79.5 -> 80 (minW 19.875); minW 122.5 -> 122.
        {in, 75, 1, 6, 1, 6, 50, 50, RangeMessage::None, 20, 80, 20, 80},
        {cm, 70, 17, 78, 17, 78, 300, 300, RangeMessage::None, 122, 490, 122, 490},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dpi) + " DPI, " + sizeText(c.ww, c.wh) + " x " + sizeText(c.hw, c.hh) +
                     (c.unit == in ? " in, " : " cm, ") + std::to_string(c.sourceWidth) + "x" +
                     std::to_string(c.sourceHeight));
        if (c.message == RangeMessage::None && c.sourceWidth < 1000) {
            // These are the heights the screen derives for the picture, as a user would see them.
            const auto h = deriveHeight(c.ww, c.wh, c.sourceWidth, c.sourceHeight);
            ASSERT_TRUE(h.has_value());
            EXPECT_EQ(h->whole * 100 + h->hundredths, c.hw * 100 + c.hh);
        }
        OutputSizeInputs inputs = inchesAt100(c.ww, c.wh, c.hw, c.hh, c.sourceWidth, c.sourceHeight);
        inputs.unit = c.unit;
        inputs.dpi = c.dpi;
        const OutputSizeVerdict v = evaluateOutputSize(inputs);
        EXPECT_EQ(v.message, c.message);
        EXPECT_FALSE(v.additionally);
        EXPECT_EQ(v.minWidth, c.minWidth);
        EXPECT_EQ(v.maxWidth, c.maxWidth);
        EXPECT_EQ(v.minHeight, c.minHeight);
        EXPECT_EQ(v.maxHeight, c.maxHeight);
    }
}

// Every DPI, width and unit of the screen, for pictures at and around the ends of the range,
// against a computation in integers alone: pixels needed = DPI x hundredths / (100 or 254),
// a quarter of that at the low end.
TEST(EvaluateOutputSize, AgreesWithIntegerArithmeticForEverySetting) {
    // n / d for n >= 0: rounded up, and to the nearest with halves to the even neighbour.
    const auto up = [](std::int64_t n, std::int64_t d) { return (n + d - 1) / d; };
    const auto nearest = [](std::int64_t n, std::int64_t d) {
        const std::int64_t r = (2 * n + d) / (2 * d);
        const bool half = (2 * n + d) % (2 * d) == 0;
        return half && r % 2 != 0 ? r - 1 : r;
    };
    for (const MeasuringUnit unit : {MeasuringUnit::Inches, MeasuringUnit::Centimeters}) {
        const std::int64_t perInch = unit == MeasuringUnit::Inches ? 100 : 254;
        for (int dpi = 70; dpi <= 160; ++dpi) {
            for (int hundredths = 100; hundredths <= 6099; ++hundredths) {
                const std::int64_t need = std::int64_t{dpi} * hundredths;
                const std::int64_t minW = nearest(need, 4 * perInch), maxW = nearest(need, perInch);
                // The smallest width that is not small, and the largest that is not large.
                const std::int64_t lowest = up(need, 4 * perInch), highest = need / perInch;
                // Width and height at the two ends of the range: neither small nor large; one
                // pixel beyond each: small, and "Additionally" large.
                struct Probe {
                    std::int64_t width, height;
                    RangeMessage message;
                    bool additionally;
                };
                for (const Probe& p : {Probe{lowest, highest, RangeMessage::None, false},
                                       Probe{highest, lowest, RangeMessage::None, false},
                                       Probe{lowest - 1, highest + 1, RangeMessage::TooSmall, true}}) {
                    OutputSizeInputs inputs =
                        inchesAt100(hundredths / 100, hundredths % 100, hundredths / 100, hundredths % 100,
                                    static_cast<std::int32_t>(p.width), static_cast<std::int32_t>(p.height));
                    inputs.unit = unit;
                    inputs.dpi = dpi;
                    const OutputSizeVerdict v = evaluateOutputSize(inputs);
                    if (v.message != p.message || v.additionally != p.additionally || v.minWidth != minW ||
                        v.maxWidth != maxW || v.minHeight != minW || v.maxHeight != maxW) {
                        FAIL() << dpi << " DPI, " << sizeText(hundredths / 100, hundredths % 100)
                               << (unit == MeasuringUnit::Inches ? " in, " : " cm, ") << p.width << " x "
                               << p.height << " pixels: message " << static_cast<int>(v.message) << ", range "
                               << v.minWidth << " to " << v.maxWidth << ", expected "
                               << static_cast<int>(p.message) << ", " << minW << " to " << maxW;
                    }
                }
            }
        }
    }
}

TEST(EvaluateOutputSize, PrinterAreaComparesStrictlyAsTheTextsRead) {
    struct Case {
        MeasuringUnit unit;
        double mediaWidth, mediaHeight;
        int ww, wh, hw, hh;
        bool exceeds;
    };
    const Case cases[] = {
        {MeasuringUnit::Centimeters, 21, 29.7, 21, 0, 29, 70, false},  // equal both ways
        {MeasuringUnit::Centimeters, 21, 29.7, 21, 1, 10, 0, true},    // 0.01 wider
        {MeasuringUnit::Centimeters, 21, 29.7, 10, 0, 29, 71, true},   // 0.01 higher
        {MeasuringUnit::Inches, 8.27, 11.69, 8, 27, 11, 69, false},    // equal in inches
        {MeasuringUnit::Inches, 8.27, 11.69, 8, 28, 1, 0, true},
        {MeasuringUnit::Centimeters, 29.7, 21, 29, 70, 21, 0, false},  // landscape
    };
    for (const Case& c : cases) {
        OutputSizeInputs in;
        in.unit = c.unit;
        in.mediaWidth = c.mediaWidth;
        in.mediaHeight = c.mediaHeight;
        in.widthWhole = c.ww;
        in.widthHundredths = c.wh;
        in.heightWhole = c.hw;
        in.heightHundredths = c.hh;
        in.sourceWidth = 500;
        in.sourceHeight = 500;
        SCOPED_TRACE(sizeText(c.ww, c.wh) + " x " + sizeText(c.hw, c.hh));
        EXPECT_EQ(evaluateOutputSize(in).exceedsPrinterArea, c.exceeds);
    }
}

TEST(SplitUnits, FitToPageWidth) {
    EXPECT_EQ(splitUnits(29.7).whole, 29);
    EXPECT_EQ(splitUnits(29.7).hundredths, 70);
    EXPECT_EQ(splitUnits(8.27).whole, 8);
    EXPECT_EQ(splitUnits(8.27).hundredths, 27);
    EXPECT_EQ(splitUnits(11.69).hundredths, 69);
    EXPECT_EQ(splitUnits(21).whole, 21);
    EXPECT_EQ(splitUnits(21).hundredths, 0);
}

TEST(TaskSelectionRules, MediaSizeTextsFromMillimetres) {
    EXPECT_EQ(mediaSizeTexts(MeasuringUnit::Centimeters, 210, 297).width, "21");
    EXPECT_EQ(mediaSizeTexts(MeasuringUnit::Centimeters, 210, 297).height, "29.7");
    EXPECT_EQ(mediaSizeTexts(MeasuringUnit::Inches, 210, 297).width, "8.27");
    EXPECT_EQ(mediaSizeTexts(MeasuringUnit::Inches, 210, 297).height, "11.69");
    EXPECT_EQ(mediaSizeTexts(MeasuringUnit::Inches, 216, 279).width, "8.5");  // US letter
    EXPECT_EQ(mediaSizeTexts(MeasuringUnit::Inches, 216, 279).height, "10.98");
    EXPECT_EQ(mediaSizeTexts(MeasuringUnit::Centimeters, 203, 0).width, "20.3");
    EXPECT_EQ(mediaSizeTexts(MeasuringUnit::Centimeters, 203, 0).height, "0");
}

TEST(TaskSelectionRules, AutomaticRotationAndRoutes) {
    EXPECT_EQ(orientationForPicture(300, 300), Orientation::Portrait);
    EXPECT_EQ(orientationForPicture(301, 300), Orientation::Landscape);
    EXPECT_EQ(orientationForPicture(300, 301), Orientation::Portrait);
    EXPECT_EQ(orientationForPicture(0, 0), Orientation::Portrait);

    EXPECT_EQ(routeTriggerFor(TaskMode::PrintSingleFile), 5);
    EXPECT_EQ(routeTriggerFor(TaskMode::PrintOldProject), 6);
    EXPECT_EQ(routeTriggerFor(TaskMode::TattooIn23Colors), 7);
    EXPECT_EQ(routeTriggerFor(TaskMode::CreateTribalTattoo), 8);
    EXPECT_TRUE(offersSingleFileNext(TaskMode::PrintSingleFile));
    EXPECT_FALSE(offersSingleFileNext(TaskMode::TattooIn23Colors));
    EXPECT_FALSE(offersSingleFileNext(TaskMode::CreateTribalTattoo));
    EXPECT_FALSE(offersSingleFileNext(TaskMode::PrintOldProject));
}

}  // namespace
}  // namespace dg
