#include <gtest/gtest.h>

#include "imaging/Failure.h"
#include "imaging/Parallel.h"
#include "output/PageLayout.h"
#include "output/Stencil.h"
#include "platform/fake/FakePlatform.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::SameImage;

OutputSettings outputOf(const char* width, const char* height, MeasuringUnit unit) {
    OutputSettings state;
    state.outputWidthText = width;
    state.outputHeightText = height;
    state.unit = unit;
    return state;
}

TEST(PageLayout, OutputSizeInPrinterPixels) {
    struct Case {
        const char* width;
        const char* height;
        MeasuringUnit unit;
        int dpi;
        PixelSize expected;
    };
    const Case cases[] = {
        {"10", "8", MeasuringUnit::Centimeters, 600, {2362, 1890}},
        {"8.5", "6.38", MeasuringUnit::Centimeters, 300, {1004, 754}},
        {"4", "2.5", MeasuringUnit::Inches, 300, {1200, 750}},
        {"8.27", "0", MeasuringUnit::Inches, 600, {4962, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const PixelSize size = outputSizeInPrinterPixels(outputOf(c.width, c.height, c.unit), c.dpi);
        EXPECT_EQ(size.width, c.expected.width);
        EXPECT_EQ(size.height, c.expected.height);
    }
    EXPECT_THROW(outputSizeInPrinterPixels(outputOf("", "8", MeasuringUnit::Centimeters), 600), Failure);
    EXPECT_THROW(outputSizeInPrinterPixels(outputOf("nan", "8", MeasuringUnit::Centimeters), 600), Failure);
}

TEST(PageLayout, CornerLengthAndPenFromMillimetres) {
    EXPECT_EQ(millimetresToPrinterPixels(50, 600), 1181);
    EXPECT_EQ(millimetresToPrinterPixels(2, 600), 47);
    EXPECT_EQ(millimetresToPrinterPixels(1, 72), 3);
    PageSettings settings;
    const PageDecoration d = pageDecoration(settings, 600, 96);
    EXPECT_EQ(d.cornerLength, 1181);
    EXPECT_EQ(d.penWidth, 47);
    EXPECT_EQ(d.labelDpi, 96);
}

TEST(PageLayout, Placement) {
    using H = HorizontalAlign;
    using V = VerticalAlign;
    struct Case {
        const char* name;
        PixelSize size;
        H h;
        V v;
        PageRect expected;
    };
    const int pw = 4960, ph = 7015;
    const Case cases[] = {
        {"centre-middle halves by integer division",
         {2362, 1890},
         H::Centre,
         V::Middle,
         {pw / 2 - 2362 / 2, ph / 2 - 1890 / 2, 2362, 1890}},
        {"odd sizes", {2361, 1891}, H::Centre, V::Middle, {2480 - 1180, 3507 - 945, 2361, 1891}},
        {"left-top", {100, 50}, H::Left, V::Top, {0, 0, 100, 50}},
        {"right-bottom", {100, 50}, H::Right, V::Bottom, {pw - 100, ph - 50, 100, 50}},
        {"wider than the page, centred: squeezed across only",
         {6000, 1000},
         H::Centre,
         V::Middle,
         {0, ph / 2 - 500, pw, 1000}},
        {"wider than the page, right", {6000, 1000}, H::Right, V::Top, {0, 0, pw, 1000}},
        {"taller than the page, bottom", {1000, 8000}, H::Left, V::Bottom, {0, 0, 1000, ph}},
        {"larger than the page both ways", {9000, 9000}, H::Centre, V::Middle, {0, 0, pw, ph}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PageRect r = placeOnPage(pw, ph, c.size, c.h, c.v);
        EXPECT_EQ(r.x, c.expected.x);
        EXPECT_EQ(r.y, c.expected.y);
        EXPECT_EQ(r.width, c.expected.width);
        EXPECT_EQ(r.height, c.expected.height);
    }
}

TEST(PageLayout, PlacementReadsThePrinterAsItIsSet) {
    fake::FakePrinter printer;
    printer.portraitWidthPx = 4960;
    printer.portraitHeightPx = 7015;
    printer.resolutionY = 600;
    printer.resolutionX = 300;  // the vertical resolution is used both ways
    printer.currentOrientation = Orientation::Landscape;
    const PagePlacement p =
        placementFor(printer, outputOf("10", "8", MeasuringUnit::Centimeters), PageSettings{});
    EXPECT_EQ(p.pageWidth, 7015);
    EXPECT_EQ(p.pageHeight, 4960);
    EXPECT_EQ(p.picture.width, 2362);
    EXPECT_EQ(p.picture.height, 1890);
    EXPECT_EQ(p.picture.x, 7015 / 2 - 2362 / 2);
    const PixelSize portrait = portraitPageSize(printer);
    EXPECT_EQ(portrait.width, 4960);
    EXPECT_EQ(portrait.height, 7015);
    EXPECT_EQ(printer.orientation(), Orientation::Landscape);
}

TEST(PageComposer, StretchesThePictureIntoItsRectangleOnWhite) {
    const ColorValue a = makeColor(10, 20, 30), b = makeColor(200, 0, 0), c = makeColor(0, 90, 0),
                     d = makeColor(5, 5, 250);
    const RgbImage picture = test::imageFromRows({{a, b}, {c, d}});
    PagePlacement placement{40, 30, {10, 5, 8, 6}};
    const RgbImage page = composePlacedPage(picture, placement, PageDecoration{}, "RESULT");
    ASSERT_EQ(page.width(), 40);
    ASSERT_EQ(page.height(), 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            ColorValue expected = kWhite;
            if (x >= 10 && x < 18 && y >= 5 && y < 11) {
                const bool right = x >= 14, lower = y >= 8;
                expected = lower ? (right ? d : c) : (right ? b : a);
            }
            ASSERT_EQ(page.pixel(x, y), expected) << x << "," << y;
        }
}

TEST(PageComposer, ShrinkingPicksThePixelUnderEachCentre) {
    RgbImage picture(9, 1);
    for (int x = 0; x < 9; ++x) picture.setPixel(x, 0, makeColor(x, 0, 0));
    RgbImage page(3, 1);
    stretchInto(picture, page, PageRect{0, 0, 3, 1});
    EXPECT_EQ(page.pixel(0, 0), makeColor(1, 0, 0));
    EXPECT_EQ(page.pixel(1, 0), makeColor(4, 0, 0));
    EXPECT_EQ(page.pixel(2, 0), makeColor(7, 0, 0));
}

TEST(PageComposer, CornersAndLabelGoOnThePage) {
    const RgbImage picture(4, 4);
    PagePlacement placement{300, 200, {100, 100, 4, 4}};
    PageDecoration decoration;
    decoration.corners = true;
    decoration.cornerLength = 20;
    decoration.penWidth = 0;
    RgbImage expected(300, 200);
    drawCornerMarks(expected, 20, 0);
    EXPECT_TRUE(SameImage(expected, composePlacedPage(picture, placement, decoration, "STENCIL")));

    decoration.corners = false;
    decoration.label = true;
    decoration.labelPoints = 12;
    auto labelHeight = [&](int dpi) {
        decoration.labelDpi = dpi;
        const RgbImage page = composePlacedPage(picture, placement, decoration, "Channel # 7");
        int lowest = -1;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (page.pixel(x, y) == kBlack) lowest = std::max(lowest, y);
        return lowest;
    };
    const int at96 = labelHeight(96), at300 = labelHeight(300);
    EXPECT_GT(at96, 0);
    EXPECT_LT(at96, 40);
    EXPECT_GT(at300, 2 * at96);  // the label's points become pixels at the given resolution
}

TEST(PageComposer, SameBytesWithOneOrTwoWorkers) {
    const RgbImage picture = test::randomImage(333, 217, 9);
    const PagePlacement placement{1200, 900, {17, 33, 1001, 777}};
    setWorkerCount(1);
    const RgbImage one = composePlacedPage(picture, placement, PageDecoration{}, "");
    setWorkerCount(2);
    const RgbImage two = composePlacedPage(picture, placement, PageDecoration{}, "");
    setWorkerCount(0);
    EXPECT_TRUE(SameImage(one, two));
}

}  // namespace
}  // namespace dg
