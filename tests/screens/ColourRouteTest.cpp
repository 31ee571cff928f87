#include <QLabel>
#include <vector>

#include "ShellFixture.h"
#include "app/OutputSizeRules.h"
#include "imaging/CountColors.h"
#include "imaging/Scaling.h"
#include "screens/ChannelsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/TribalScreen.h"
#include "screens/Viewers.h"

namespace dg::test {
namespace {

// Vertical bands of the given colours, each `band` pixels wide.
RgbImage bands(const std::vector<ColorValue>& colours, int band, int height) {
    RgbImage picture(static_cast<std::int32_t>(colours.size()) * band, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, colours[static_cast<std::size_t>(x / band)]);
    return picture;
}

std::vector<ColorValue> distinctColours(int n) {
    std::vector<ColorValue> colours;
    for (int i = 0; i < n; ++i) colours.push_back(makeColor(10 * i, 255 - 7 * i, (i * 53) % 256));
    return colours;
}

// From SELECT TASK through the output-size screen with the given task and picture.
class ColourRoute : public ShellFixture {
protected:
    void toOutputSize(const char* taskCaption, const RgbImage& picture) {
        click(button(screens->selectTask.get(), taskCaption));
        paste(picture);
        out = screens->outputSize.get();
        ASSERT_TRUE(out->isVisible());
    }
    void nextColourReduction() { click(button(out, "nextColorReduction")); }
    bool visible(QWidget* window, const char* name) { return child<QWidget>(window, name)->isVisible(); }

    TForm004* out = nullptr;
};

TEST_F(ColourRoute, TwentyThreeColoursSkipTheSeparationAndTwentyFourDoNot) {
    for (const int colours : {23, 24}) {
        SCOPED_TRACE(colours);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        // 8.50 cm at 100 DPI shrinks the bands of 16 pixels to 335 wide; every band survives.
        const RgbImage picture = bands(distinctColours(colours), 16, 600);
        toOutputSize("TattooIn23ColorsCaption", picture);
        screens->workflow.reopenedProject = true;  // as an old project left it
        nextColourReduction();
        EXPECT_FALSE(button(screens->channels.get(), "undo")->isHidden());
        const RgbImage& source = screens->pictures.source;
        ASSERT_EQ(source.width(), 335);
        ASSERT_EQ(CountColors(source), colours);
        EXPECT_TRUE(screens->pictures.preview.empty());
        EXPECT_FALSE(out->isVisible());
        EXPECT_TRUE(child<QWidget>(screens->channels.get(), "editPanel")->isEnabled());
        TForm019* channels = screens->channels.get();
        TForm021* separation = screens->separation.get();
        if (colours == 23) {
            EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm019"});
            EXPECT_TRUE(SameImage(source, screens->workflow.channels.before));
            EXPECT_TRUE(SameImage(source, screens->workflow.channels.after));
            // The AFTER picture is drawn again, but its count captions stay hidden.
            EXPECT_TRUE(visible(channels, "Image00"));
            EXPECT_FALSE(visible(channels, "afterCount"));
            EXPECT_FALSE(visible(channels, "afterColors"));
            EXPECT_EQ(text(channels, "beforeCount"), "23");
        } else {
            EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm021"});
            EXPECT_TRUE(SameImage(source, screens->workflow.separationCopy));
            EXPECT_TRUE(SameImage(source, screens->workflow.separationBackup));
            EXPECT_EQ(separation->thresholds().white, 201);
            EXPECT_EQ(screens->workflow.separationResult.width(), 335);
            EXPECT_EQ(child<QWidget>(separation, "separationResult")->size(), QSize(185, 161));
            // RESULT is left blank at the scaled size.
            EXPECT_TRUE(SameImage(RgbImage(335, source.height()), screens->pictures.result));
        }
    }
}

TEST_F(ColourRoute, EnlargingResamplesUnderTheBusyPointerAndShrinkingStretches) {
    struct Case {
        int dpi;
        PixelSize size;
        bool enlarging;
    };
    const Case cases[] = {{100, {335, 502}, false}, {160, {535, 803}, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        fakes.dialogs.busyShown = 0;
        const RgbImage picture = randomImage(400, 600, 7);
        toOutputSize("TattooIn23ColorsCaption", picture);
        out->SpinEdit1->setValue(c.dpi);
        nextColourReduction();

        RgbImage expectedResult;
        RgbImage expected;
        std::int32_t filter = 0;
        scaleInto(picture, c.size, expectedResult, expected, filter);
        EXPECT_TRUE(SameImage(expected, screens->pictures.source));
        EXPECT_TRUE(SameImage(expected, screens->workflow.separationCopy));
        EXPECT_EQ(screens->state.resampleFilter, c.enlarging ? 2 : 0);
        EXPECT_EQ(fakes.dialogs.busyShown > 0, c.enlarging);
        EXPECT_EQ(fakes.dialogs.busyDepth, 0);
    }
}

TEST_F(ColourRoute, SingleFileScalesIntoAfterAndLeavesSourceAlone) {
    const RgbImage picture = randomImage(400, 600, 3);
    toOutputSize("PrintSingleFileCaption", picture);
    click(button(out, "nextSingleFile"));
    RgbImage expected(335, 502);
    plainStretch(picture, expected);
    EXPECT_TRUE(SameImage(expected, screens->workflow.channels.after));
    EXPECT_TRUE(SameImage(expected, screens->workflow.resultThumbnail));
    EXPECT_TRUE(SameImage(picture, screens->pictures.source));
    EXPECT_TRUE(screens->pictures.result.empty());
    EXPECT_TRUE(screens->printing->isVisible());
    EXPECT_FALSE(out->isVisible());
    EXPECT_FALSE(screens->resultViewer->isVisible());
}

TEST_F(ColourRoute, TribalScalesTheSourceAndEntersTribalCreation) {
    const RgbImage picture = randomImage(400, 600, 5);
    toOutputSize("CreateTribalTattooCaption", picture);
    nextColourReduction();
    RgbImage expected(335, 502);
    plainStretch(picture, expected);
    EXPECT_TRUE(SameImage(expected, screens->pictures.source));
    EXPECT_TRUE(screens->tribal->isVisible());
    EXPECT_TRUE(screens->sourceViewer->isVisible());
    EXPECT_FALSE(child<QWidget>(screens->channels.get(), "editPanel")->isEnabled());
    EXPECT_FALSE(screens->separation->isVisible());
}

// Each route hands the output-size screen's printer warning to the printing screen, and
// takes down a warning an earlier route left there when the size now fits.
TEST_F(ColourRoute, EveryRouteCarriesThePrinterWarningToThePrintingScreen) {
    struct Case {
        const char* task;
        const char* next;
    };
    const Case cases[] = {{"PrintSingleFileCaption", "nextSingleFile"},
                          {"TattooIn23ColorsCaption", "nextColorReduction"},
                          {"CreateTribalTattooCaption", "nextColorReduction"}};
    for (const Case& c : cases) {
        for (const bool exceeds : {true, false}) {
            SCOPED_TRACE(std::string(c.task) + (exceeds ? " 22 cm" : " 8 cm"));
            screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
            toOutputSize(c.task, randomImage(60, 20, 9));
            out->SpinEdit1->setValue(70);
            out->SpinEdit2->setValue(exceeds ? 22 : 8);  // the A4 page is 21 cm wide
            ASSERT_EQ(screens->state.exceedsPrinterArea, exceeds);
            TForm029* printing = screens->printing.get();
            printing->showMessageLine("left from an earlier route");
            click(button(out, c.next));
            EXPECT_EQ(child<QWidget>(printing, "messageLine")->isHidden(), !exceeds);
            if (exceeds) {
                EXPECT_EQ(text(printing, "messageText"), kExceedsPrinterAreaText);
            }
        }
    }
}

// A route that fails on its way (here an output size no picture can have; out of memory
// while scaling ends the same way) shows its message and leaves the user on SELECT TASK,
// not with every window hidden.
TEST_F(ColourRoute, AFailedRouteLandsOnSelectTask) {
    for (const char* task : {"TattooIn23ColorsCaption", "CreateTribalTattooCaption"}) {
        SCOPED_TRACE(task);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        fakes.dialogs.messages.clear();
        const RgbImage picture = randomImage(40, 60, 5);
        toOutputSize(task, picture);
        screens->state.outputWidthWhole = -100;
        nextColourReduction();
        ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
        EXPECT_NE(fakes.dialogs.messages[0].find("cannot be made into a picture"), std::string::npos)
            << fakes.dialogs.messages[0];
        EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
        EXPECT_TRUE(SameImage(picture, screens->pictures.source));
    }
}

}  // namespace
}  // namespace dg::test
