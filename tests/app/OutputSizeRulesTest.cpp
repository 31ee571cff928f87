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
