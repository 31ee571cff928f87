#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <memory>

#include "ShellFixture.h"
#include "screens/ChangeColorsScreen.h"
#include "screens/ChannelsScreen.h"
#include "screens/InfoWindows.h"
#include "screens/PictureBox.h"
#include "screens/Viewers.h"
#include "separation/ChannelSetBuild.h"

namespace dg::test {
namespace {

constexpr ColorValue kRed = makeColor(255, 0, 0);
constexpr ColorValue kDarkRed = makeColor(120, 0, 0);
constexpr ColorValue kBlue = makeColor(0, 0, 255);
constexpr ColorValue kGreen = makeColor(0, 160, 0);

// A reduced design of three colours, and the SOURCE picture it came from: the dark red area
// was red in the source, the blue area a lighter blue.
class ChangeColors : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        screens->state.task = TaskMode::TattooIn23Colors;
        design = imageFromRows({{kRed, kRed, kDarkRed, kDarkRed}, {kBlue, kBlue, kGreen, kGreen}});
        screens->pictures.source = imageFromRows(
            {{kRed, kRed, kRed, makeColor(250, 0, 0)}, {makeColor(0, 0, 200), kBlue, kGreen, kGreen}});
        set().before = design;
        rebuildChannelSet(set());
        change = screens->changeColors.get();
        screens->channels->changeColorsClick();
    }
    ChannelSet& set() { return screens->workflow.channels; }
    QWidget* picture() { return change->findChild<PictureBox*>("Image1"); }
    QColor swatch(const char* name) { return child<QLabel>(change, name)->palette().color(QPalette::Window); }
    // The pointer moving over a widget. The offscreen platform reports a move of the cursor
    // only when it enters another window, so the move is delivered as the widget gets it.
    static void moveTo(QWidget* box, int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), box->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
    }
    void doubleClickAt(QWidget* box, int x, int y) {
        moveTo(box, x, y);
        QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(x, y));
    }

    RgbImage design;
    TForm022* change = nullptr;
};

TEST_F(ChangeColors, TheSwatchesFollowThePointerOverThePicture) {
    ASSERT_TRUE(change->isVisible());
    EXPECT_TRUE(screens->sourceViewer->isVisible());
    EXPECT_FALSE(screens->channels->isVisible());
    EXPECT_TRUE(SameImage(design, screens->workflow.changeColorsWorking));
    EXPECT_EQ(picture()->size(), QSize(4, 2)) << "one screen pixel per picture pixel";
    moveTo(picture(), 2, 0);
    EXPECT_EQ(swatch("originalColor"), QColor(255, 0, 0));
    EXPECT_EQ(swatch("resultColor"), QColor(120, 0, 0));
    moveTo(picture(), 0, 1);
    EXPECT_EQ(swatch("originalColor"), QColor(0, 0, 200));
    EXPECT_EQ(swatch("resultColor"), QColor(0, 0, 255));
    for (const char* hint : {"changingHint", "moveHint", "doubleClickHint"})
        EXPECT_TRUE(child<QLabel>(change, hint));
    EXPECT_EQ(text(change, "changingHint"), "Changing specific areas of color ");
    EXPECT_EQ(text(change, "moveHint"), "Move Into Image For  Prevew");
}

TEST_F(ChangeColors, ADoubleClickMergesTwoColoursAndOkRebuildsTheChannels) {
    // Channels by colour value: dark red, red, green, blue.
    ASSERT_EQ(set().colorOf(1), kDarkRed);
    ASSERT_EQ(set().colorOf(5), kNoColor);
    // Dark red was red in the source: it joins the red channel, every pixel of it.
    doubleClickAt(picture(), 2, 0);
    EXPECT_EQ(screens->workflow.changeColorsWorking.pixel(3, 0), kRed);
    // Where source and design agree nothing changes.
    doubleClickAt(picture(), 3, 1);
    EXPECT_EQ(screens->workflow.changeColorsWorking.pixel(2, 1), kGreen);
    const auto rebuilds = std::make_shared<int>(0);
    screens->workflow.listen([rebuilds](Change what) {
        if (what == Change::ChannelsRebuilt) ++*rebuilds;
    });
    click(button(change, "ok"));

    EXPECT_FALSE(change->isVisible());
    EXPECT_FALSE(screens->sourceViewer->isVisible());
    EXPECT_TRUE(screens->channels->isVisible());
    const RgbImage expected = imageFromRows({{kRed, kRed, kRed, kRed}, {kBlue, kBlue, kGreen, kGreen}});
    EXPECT_TRUE(SameImage(expected, set().before));
    EXPECT_EQ(*rebuilds, 1) << "the channels screen rebuilds";
    ChannelSet rebuilt;
    rebuilt.before = set().before;
    rebuildChannelSet(rebuilt);
    EXPECT_EQ(rebuilt.colorOf(3), kBlue);
    EXPECT_EQ(rebuilt.colorOf(4), kNoColor) << "one channel fewer";
    EXPECT_EQ(rebuilt.counts[0], 4) << "red";
    EXPECT_TRUE(SameImage(design, screens->pictures.result)) << "the UNDO picture";
}

TEST_F(ChangeColors, CancelAfterSeveralDoubleClicksKeepsTheChannels) {
    const ChannelSet before = set();
    const std::pair<const char*, std::function<void()>> leaves[] = {
        {"CANCEL", [this] { click(button(change, "cancel")); }},
        {"closing the window", [this] { change->close(); }},
    };
    for (const auto& [name, leave] : leaves) {
        SCOPED_TRACE(name);
        if (!change->isVisible()) screens->channels->changeColorsClick();
        doubleClickAt(picture(), 2, 0);
        doubleClickAt(picture(), 0, 1);
        ASSERT_EQ(screens->workflow.changeColorsWorking.pixel(1, 1), makeColor(0, 0, 200));
        leave();
        EXPECT_FALSE(change->isVisible());
        EXPECT_FALSE(screens->sourceViewer->isVisible());
        EXPECT_TRUE(screens->channels->isVisible());
        EXPECT_TRUE(SameImage(before.before, set().before));
        EXPECT_TRUE(SameImage(before.after, set().after));
        for (int n = 1; n <= 3; ++n) EXPECT_EQ(set().colorOf(n), before.colorOf(n));
        EXPECT_TRUE(screens->workflow.changeColorsWorking.empty()) << "the changes are dropped";
    }
}

TEST_F(ChangeColors, TheSourceViewerSamplesAndChangesOnlyInTheColourTask) {
    QWidget* source = screens->sourceViewer->findChild<PictureBox*>("Image1");
    ASSERT_NE(source, nullptr);
    for (TaskMode task : {TaskMode::CreateTribalTattoo, TaskMode::TattooIn23Colors}) {
        screens->state.task = task;
        const bool colourTask = task == TaskMode::TattooIn23Colors;
        SCOPED_TRACE(colourTask ? "colour task" : "tribal task");
        moveTo(source, 3, 0);
        EXPECT_EQ(swatch("originalColor") == QColor(250, 0, 0), colourTask);
        EXPECT_EQ(swatch("resultColor") == QColor(120, 0, 0), colourTask);
        QTest::mouseDClick(source, Qt::LeftButton, {}, QPoint(3, 0));
        EXPECT_EQ(screens->workflow.changeColorsWorking.pixel(2, 0),
                  colourTask ? makeColor(250, 0, 0) : kDarkRed);
    }
}

// Zoomed in, the SOURCE viewer still samples and changes at the picture pixel under the
// pointer, not at the screen pixel.
TEST_F(ChangeColors, AZoomedSourceViewerWorksInPicturePixels) {
    PictureView* view = screens->sourceViewer->findChild<PictureView*>();
    ASSERT_NE(view, nullptr);
    click(button(view, "zoomIn"));
    click(button(view, "zoomIn"));
    ASSERT_EQ(view->scale(), 2.0);
    QWidget* source = view->box();
    moveTo(source, 7, 1);
    EXPECT_EQ(swatch("originalColor"), QColor(250, 0, 0));
    EXPECT_EQ(swatch("resultColor"), QColor(120, 0, 0));
    QTest::mouseDClick(source, Qt::LeftButton, {}, QPoint(7, 1));
    EXPECT_EQ(screens->workflow.changeColorsWorking.pixel(2, 0), makeColor(250, 0, 0));
}

TEST_F(ChangeColors, HelpOpensTheHelpWindow) {
    click(button(change, "help"));
    EXPECT_TRUE(screens->changeColorsHelp->isVisible());
    click(button(change, "cancel"));
    EXPECT_FALSE(screens->changeColorsHelp->isVisible());
}

}  // namespace
}  // namespace dg::test
