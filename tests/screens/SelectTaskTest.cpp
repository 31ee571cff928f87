#include <QCheckBox>

#include "ShellFixture.h"
#include "screens/InfoWindows.h"
#include "screens/OutputSize.h"
#include "screens/ScreenLook.h"
#include "screens/SelectTask.h"
#include "screens/Viewers.h"

namespace dg::test {
namespace {

using SelectTask = ShellFixture;

QCheckBox* box(QWidget* w, const char* name) { return w->findChild<QCheckBox*>(name); }

TEST_F(SelectTask, ShowsThePrinterPageAndFollowsTheUnitAndOrientation) {
    QWidget* s = screens->selectTask.get();
    EXPECT_EQ(text(s, "pageWidthPx"), "2480");
    EXPECT_EQ(text(s, "pageHeightPx"), "3508");
    EXPECT_EQ(text(s, "resolution"), "300");
    EXPECT_EQ(text(s, "mediaWidth"), "21");
    EXPECT_EQ(text(s, "mediaHeight"), "29.7");
    EXPECT_EQ(text(s, "mediaWidthUnit"), "Centimeters");
    EXPECT_TRUE(box(s, "Portrait")->isChecked());
    EXPECT_FALSE(box(s, "Landscape")->isChecked());

    click(box(s, "Landscape"));
    EXPECT_EQ(fakes.printer.orientation(), Orientation::Landscape);
    EXPECT_FALSE(box(s, "Portrait")->isChecked());
    EXPECT_EQ(text(s, "pageWidthPx"), "3508");
    EXPECT_EQ(text(s, "mediaWidth"), "29.7");
    EXPECT_EQ(text(s, "mediaHeight"), "21");
    EXPECT_EQ(screens->state.mediaWidth, "29.7");

    // Clearing one box ticks the other.
    click(box(s, "Landscape"));
    EXPECT_TRUE(box(s, "Portrait")->isChecked());
    EXPECT_EQ(fakes.printer.orientation(), Orientation::Portrait);
    EXPECT_EQ(text(s, "mediaWidth"), "21");
}

TEST_F(SelectTask, StartsFromALandscapePrinterAsItIs) {
    screens.reset();
    fakes.printer.currentOrientation = Orientation::Landscape;
    screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
    QWidget* s = screens->selectTask.get();
    EXPECT_TRUE(box(s, "Landscape")->isChecked());
    EXPECT_EQ(text(s, "pageWidthPx"), "3508");
    EXPECT_EQ(screens->state.orientation, Orientation::Landscape);
}

TEST_F(SelectTask, EitherUnitBoxSelectsInchesOnceAndLocksBoth) {
    for (const char* clicked : {"Centimeters", "Inches"}) {
        SCOPED_TRACE(clicked);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        QWidget* s = screens->selectTask.get();
        click(box(s, clicked));
        EXPECT_TRUE(box(s, "Inches")->isChecked());
        EXPECT_FALSE(box(s, "Centimeters")->isChecked());
        EXPECT_FALSE(box(s, "Inches")->isEnabled());
        EXPECT_FALSE(box(s, "Centimeters")->isEnabled());
        EXPECT_TRUE(screens->state.unitLocked);
        EXPECT_EQ(screens->state.unit, MeasuringUnit::Inches);
        EXPECT_EQ(text(s, "mediaWidth"), "8.27");
        EXPECT_EQ(text(s, "mediaHeight"), "11.69");
        EXPECT_EQ(text(s, "mediaWidthUnit"), "Inches");
        EXPECT_EQ(text(screens->outputSize.get(), "widthUnit"), "Inches");
        EXPECT_EQ(text(screens->outputSize.get(), "heightUnit"), "Inches");
    }
    // The project reader can still tick either unit.
    screens->workflow.setUnit(MeasuringUnit::Centimeters);
    EXPECT_EQ(screens->state.unit, MeasuringUnit::Centimeters);
    EXPECT_EQ(text(screens->selectTask.get(), "mediaWidth"), "21");
}

TEST_F(SelectTask, TaskCaptionsMoveTheMarkerAndSwapTheNextButtons) {
    QWidget* s = screens->selectTask.get();
    const char* const tasks[] = {"PrintSingleFile", "PrintOldProject", "TattooIn23Colors",
                                 "CreateTribalTattoo"};
    EXPECT_TRUE(child<QLabel>(s, "CreateTribalTattooMarker")->isVisible());
    EXPECT_FALSE(button(s, "openProject")->isVisible());
    for (const char* chosen : tasks) {
        SCOPED_TRACE(chosen);
        click(button(s, (std::string(chosen) + "Caption").c_str()));
        for (const char* t : tasks)
            EXPECT_EQ(child<QLabel>(s, (std::string(t) + "Marker").c_str())->isVisible(),
                      std::string(t) == chosen);
        const bool project = std::string(chosen) == "PrintOldProject";
        EXPECT_EQ(button(s, "openProject")->isVisible(), project);
        EXPECT_EQ(button(s, "openImage")->isVisible(), !project);
        EXPECT_EQ(button(s, "paste")->isVisible(), !project);
    }
    EXPECT_EQ(screens->state.task, TaskMode::CreateTribalTattoo);
}

TEST_F(SelectTask, PrinterListAndSetup) {
    QWidget* s = screens->selectTask.get();
    fakes.printer.printers.clear();
    click(button(s, "printerList"));
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes.dialogs.messages[0], TForm001::kNoPrinterMessage);
    EXPECT_EQ(fakes.dialogs.messages[0].back(), ' ');

    fakes.printer.printers = {"Office", "Studio"};
    click(button(s, "printerList"));
    ASSERT_EQ(fakes.dialogs.messages.size(), 2u);
    EXPECT_NE(fakes.dialogs.messages[1].find("Studio"), std::string::npos);

    // A cancelled setup changes nothing, even when the printer changed meanwhile.
    fakes.printer.setupAnswers = {false, true};
    fakes.printer.currentOrientation = Orientation::Landscape;
    click(button(s, "printerSetup"));
    EXPECT_TRUE(box(s, "Portrait")->isChecked());
    EXPECT_EQ(text(s, "pageWidthPx"), "2480");
    click(button(s, "printerSetup"));
    EXPECT_TRUE(box(s, "Landscape")->isChecked());
    EXPECT_EQ(text(s, "pageWidthPx"), "3508");
}

TEST_F(SelectTask, PasteIsOnlyThereWhileTheClipboardHoldsABitmap) {
    QWidget* s = screens->selectTask.get();
    QAbstractButton* pasteButton = button(s, "paste");
    screens->selectTask->ClipboardPollTimer();
    EXPECT_FALSE(pasteButton->isEnabled());
    EXPECT_EQ(pasteButton->palette().color(QPalette::Button), look::kLightBackground);
    click(pasteButton);
    EXPECT_TRUE(screens->pictures.intake.empty());
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});

    fakes.clipboard.picture = RgbImage(4, 4);
    screens->selectTask->ClipboardPollTimer();
    EXPECT_TRUE(pasteButton->isEnabled());
    EXPECT_EQ(pasteButton->palette().color(QPalette::Button), look::kSkyBlue);

    // Emptied between two polls: pressing the still enabled button does nothing.
    fakes.clipboard.picture = RgbImage();
    click(pasteButton);
    EXPECT_TRUE(screens->pictures.intake.empty());
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});

    // The poll runs only while the screen is visible.
    EXPECT_TRUE(screens->selectTask->clipboardPoll.isActive());
    screens->selectTask->hide();
    EXPECT_FALSE(screens->selectTask->clipboardPoll.isActive());
}

TEST_F(SelectTask, InformationButtonsOpenTheirWindows) {
    QWidget* s = screens->selectTask.get();
    click(button(s, "help"));
    EXPECT_TRUE(screens->selectTaskHelp->isVisible());
    click(button(s, "description"));
    EXPECT_TRUE(screens->description->isVisible());
    click(button(s, "terms"));
    EXPECT_TRUE(screens->terms->isVisible());
    click(button(s, "about"));
    EXPECT_TRUE(screens->about->isVisible());
    // Leaving for a picture puts the SELECT TASK help away.
    fakes.dialogs.pictureAnswers = {std::nullopt};
    click(button(s, "openImage"));
    EXPECT_FALSE(screens->selectTaskHelp->isVisible());
}

}  // namespace
}  // namespace dg::test
