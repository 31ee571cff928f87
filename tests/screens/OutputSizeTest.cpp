#include <QCheckBox>

#include "ShellFixture.h"
#include "app/OutputSizeRules.h"
#include "screens/InfoWindows.h"
#include "screens/OutputSize.h"
#include "screens/SelectTask.h"

namespace dg::test {
namespace {

// The output-size screen after a picture came in through PASTE.
class OutputSize : public ShellFixture {
protected:
    void open(int width, int height) {
        paste(RgbImage(width, height));
        out = screens->outputSize.get();
        ASSERT_TRUE(out->isVisible());
    }
    void setWidth(int whole, int hundredths) {
        out->SpinEdit2->setValue(whole);
        out->SpinEdit3->setValue(hundredths);
    }
    void setHeight(int whole, int hundredths) {
        out->SpinEdit4->setValue(whole);
        out->SpinEdit5->setValue(hundredths);
    }
    bool shown(const char* name) { return child<QWidget>(out, name)->isVisible(); }
    QCheckBox* preserve() { return out->findChild<QCheckBox*>("PreserveAspectRatio"); }

    TForm004* out = nullptr;
};

TEST_F(OutputSize, FieldsStartWithinTheirRanges) {
    open(200, 300);
    const std::pair<ArrowSpinBox*, std::pair<int, int>> ranges[] = {{out->SpinEdit1, {70, 160}},
                                                                    {out->SpinEdit2, {1, 60}},
                                                                    {out->SpinEdit3, {0, 99}},
                                                                    {out->SpinEdit4, {0, 60}},
                                                                    {out->SpinEdit5, {0, 99}}};
    for (const auto& [field, range] : ranges) {
        EXPECT_EQ(field->minimum(), range.first);
        EXPECT_EQ(field->maximum(), range.second);
    }
    EXPECT_EQ(out->SpinEdit1->value(), 100);
    EXPECT_EQ(text(out, "outputWidthText"), "8.5");
    EXPECT_FALSE(out->SpinEdit4->isEnabled());
    EXPECT_FALSE(child<QLabel>(out, "heightCaption")->isEnabled());
    // The worked example: nothing to say about 200 x 300 pixels at 8.5 x 12.75 cm, 100 DPI.
    for (const char* line : {"printerAreaWarning", "tooSmallMessage", "tooLargeMessage", "widthRange",
                             "heightRange", "additionally", "closeForExternalResizer"})
        EXPECT_FALSE(shown(line)) << line;
}

TEST_F(OutputSize, TheDerivedHeightIsClampedByItsFields) {
    open(100, 200);  // twice as high as wide
    setWidth(60, 0);
    EXPECT_EQ(out->SpinEdit4->value(), 60);
    EXPECT_EQ(out->SpinEdit5->value(), 0);
    EXPECT_EQ(screens->state.outputHeightText, "60");

    screens.reset();
    screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
    open(250, 2249);
    setWidth(1, 0);  // 8.996 high
    EXPECT_EQ(out->SpinEdit4->value(), 8);
    EXPECT_EQ(out->SpinEdit5->value(), 99);
    EXPECT_EQ(text(out, "outputHeightText"), "8.99");
}

TEST_F(OutputSize, PreserveAspectRatio) {
    open(200, 100);
    click(preserve());
    EXPECT_TRUE(out->SpinEdit4->isEnabled());
    setHeight(30, 10);
    setWidth(10, 0);
    EXPECT_EQ(out->SpinEdit4->value(), 30);  // left as it was
    EXPECT_EQ(out->SpinEdit5->value(), 10);
    click(preserve());
    EXPECT_FALSE(out->SpinEdit4->isEnabled());
    EXPECT_EQ(out->SpinEdit4->value(), 5);  // derived at once
    EXPECT_EQ(out->SpinEdit5->value(), 0);
    EXPECT_EQ(text(out, "outputHeightText"), "5");
}

TEST_F(OutputSize, PrinterAreaWarningIsStrict) {
    open(500, 500);
    click(preserve());
    setHeight(10, 0);
    setWidth(21, 0);  // exactly the media width
    EXPECT_FALSE(shown("printerAreaWarning"));
    EXPECT_FALSE(screens->state.exceedsPrinterArea);
    setWidth(21, 1);
    EXPECT_TRUE(shown("printerAreaWarning"));
    EXPECT_TRUE(screens->state.exceedsPrinterArea);
    EXPECT_EQ(text(out, "printerAreaWarning"), kExceedsPrinterAreaText);
    setWidth(10, 0);
    setHeight(29, 70);
    EXPECT_FALSE(shown("printerAreaWarning"));
    setHeight(29, 71);
    EXPECT_TRUE(shown("printerAreaWarning"));
}

TEST_F(OutputSize, MessageBoardAtTheRangeBounds) {
    // Inches at 100 DPI, 8 x 8: the picture should be 200 to 800 pixels each way.
    click(button(screens->selectTask.get(), "Inches"));
    struct Case {
        int size;
        const char* message;
    };
    const Case cases[] = {{200, nullptr}, {800, nullptr}, {199, "tooSmallMessage"}, {801, "tooLargeMessage"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        open(c.size, c.size);
        setWidth(8, 0);
        EXPECT_EQ(out->SpinEdit4->value(), 8);
        EXPECT_EQ(out->SpinEdit5->value(), 0);
        EXPECT_EQ(shown("tooSmallMessage"),
                  c.message != nullptr && std::string(c.message) == "tooSmallMessage");
        EXPECT_EQ(shown("tooLargeMessage"),
                  c.message != nullptr && std::string(c.message) == "tooLargeMessage");
        EXPECT_EQ(shown("widthRange"), c.message != nullptr);
        EXPECT_EQ(shown("closeForExternalResizer"), c.message != nullptr);
        EXPECT_EQ(text(out, "widthRange"), "200 AND 800 PIXELS WIDTH");
        EXPECT_EQ(text(out, "heightRange"), "200 AND 800 PIXELS HEIGHT");
        click(button(out, "back"));
    }
}

TEST_F(OutputSize, MessagesSwitchInOneChange) {
    open(2000, 100);  // wide and low
    click(preserve());
    setWidth(8, 50);
    setHeight(8, 50);
    // 8.5 cm at 100 DPI wants 84..335 pixels: 2000 is too many, 100 is fine.
    EXPECT_TRUE(shown("tooLargeMessage"));
    EXPECT_FALSE(shown("tooSmallMessage"));
    EXPECT_FALSE(shown("additionally"));
    // Taller now: 100 pixels are too few for it, the width is still too large.
    setHeight(60, 0);
    EXPECT_TRUE(shown("tooSmallMessage"));
    EXPECT_FALSE(shown("tooLargeMessage"));
    EXPECT_TRUE(shown("additionally"));
    // Wide enough for 2000 pixels: no longer large, so "Additionally" goes.
    setWidth(60, 0);
    EXPECT_TRUE(shown("tooSmallMessage"));
    EXPECT_FALSE(shown("additionally"));
    // Both fine again: every line of the board goes.
    setHeight(8, 50);
    EXPECT_FALSE(shown("tooSmallMessage"));
    EXPECT_FALSE(shown("tooLargeMessage"));
    EXPECT_FALSE(shown("widthRange"));
    EXPECT_FALSE(shown("andBetween"));
    EXPECT_FALSE(shown("closeForExternalResizer"));
}

TEST_F(OutputSize, TheRangeLinesOfTheCentimetreExample) {
    open(200, 300);
    out->SpinEdit1->setValue(160);
    setWidth(20, 0);
    EXPECT_TRUE(shown("tooSmallMessage"));
    EXPECT_EQ(text(out, "tooSmallMessage"), kTooSmallText);
    EXPECT_EQ(text(out, "widthRange"), "315 AND 1260 PIXELS WIDTH");
    EXPECT_EQ(text(out, "andBetween"), "AND BETWEEN ");
    EXPECT_EQ(text(out, "heightRange"), "472 AND 1890 PIXELS HEIGHT");
    click(button(out, "closeForExternalResizer"));
    EXPECT_EQ(ended, 1);
}

TEST_F(OutputSize, FitToPageWidth) {
    // Centimetres, landscape: the page is 29.7 wide.
    click(button(screens->selectTask.get(), "Landscape"));
    open(100, 50);
    click(button(out, "fitToPageWidth"));
    EXPECT_EQ(out->SpinEdit2->value(), 29);
    EXPECT_EQ(out->SpinEdit3->value(), 70);
    EXPECT_EQ(out->SpinEdit4->value(), 14);
    EXPECT_EQ(out->SpinEdit5->value(), 85);
    EXPECT_FALSE(shown("printerAreaWarning"));
    // Without the aspect ratio the width still fits the page and the height takes the page
    // height.
    click(preserve());
    setWidth(10, 0);
    click(button(out, "fitToPageWidth"));
    EXPECT_EQ(out->SpinEdit2->value(), 29);
    EXPECT_EQ(out->SpinEdit3->value(), 70);
    EXPECT_EQ(out->SpinEdit4->value(), 21);
    EXPECT_EQ(out->SpinEdit5->value(), 0);
    EXPECT_EQ(screens->state.outputWidthText, "29.7");
    EXPECT_EQ(screens->state.outputHeightText, "21");

    screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
    fakes.printer.currentOrientation = Orientation::Portrait;
    click(button(screens->selectTask.get(), "Inches"));
    open(100, 100);
    click(button(out, "fitToPageWidth"));
    EXPECT_EQ(out->SpinEdit2->value(), 8);
    EXPECT_EQ(out->SpinEdit3->value(), 27);
    EXPECT_EQ(out->SpinEdit4->value(), 8);
    EXPECT_EQ(out->SpinEdit5->value(), 27);
}

TEST_F(OutputSize, APictureWithoutWidthNeverDividesByZero) {
    open(10, 10);
    screens->pictures.source = RgbImage();
    setWidth(30, 0);
    EXPECT_EQ(out->SpinEdit4->value(), 8);  // as it was
    EXPECT_EQ(out->SpinEdit5->value(), 50);
    EXPECT_TRUE(shown("tooSmallMessage"));
}

TEST_F(OutputSize, BackAndClosingReturnToSelectTask) {
    open(10, 10);
    screens->outputSizeHelp->show();
    click(button(out, "back"));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    open(10, 10);
    out->close();
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    EXPECT_EQ(ended, 0);
}

// An output that comes to less than one pixel high (0.00 unticked, or a thin picture's derived
// height) makes no picture: NEXT says so and leaves the user here to choose a larger size, in
// every task. Taken on, it made a design of no rows whose saved project could not be opened.
TEST_F(OutputSize, AnOutputLessThanOnePixelHighIsRefusedAndTheUserStaysHere) {
    struct Case {
        const char* task;
        const char* next;
        int pictureWidth, pictureHeight;
        bool untick;
        int heightWhole, heightHundredths;
        const char* message;
    };
    const Case cases[] = {
        {"CreateTribalTattooCaption", "nextColorReduction", 400, 120, true, 0, 0,
         "The output size of 8.5 x 0 Centimeters at 100 DPI is less than one pixel high. Please choose a "
         "larger size."},
        {"TattooIn23ColorsCaption", "nextColorReduction", 400, 120, true, 0, 1,
         "The output size of 8.5 x 0.01 Centimeters at 100 DPI is less than one pixel high. Please choose a "
         "larger "
         "size."},
        // 1000 x 1 pixels at 8.50 cm wide: 0.01 cm high, 0.39 pixels.
        {"PrintSingleFileCaption", "nextSingleFile", 1000, 1, false, 0, 0,
         "The output size of 8.5 x 0.01 Centimeters at 100 DPI is less than one pixel high. Please choose a "
         "larger "
         "size."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.task);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        fakes.dialogs.messages.clear();
        click(button(screens->selectTask.get(), c.task));
        open(c.pictureWidth, c.pictureHeight);
        if (c.untick) {
            click(preserve());
            setHeight(c.heightWhole, c.heightHundredths);
        }
        const RgbImage source = screens->pictures.source;
        click(button(out, c.next));
        EXPECT_EQ(fakes.dialogs.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"TForm002", "TForm004"}));
        EXPECT_TRUE(SameImage(source, screens->pictures.source));
    }
}

}  // namespace
}  // namespace dg::test
