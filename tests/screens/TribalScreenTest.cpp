#include <QRadioButton>
#include <QSlider>

#include "ShellFixture.h"
#include "imaging/Tribal.h"
#include "screens/ChannelsScreen.h"
#include "screens/EnhanseUnit.h"
#include "screens/InfoWindows.h"
#include "screens/OutputSize.h"
#include "screens/SelectTask.h"
#include "screens/TribalScreen.h"
#include "screens/Viewers.h"

namespace dg::test {
namespace {

// TRIBAL CREATION as the output-size screen's tribal route leaves it: a scaled SOURCE
// picture, the SOURCE viewer shown, then Enter.
class Tribal : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        screens->state.task = TaskMode::CreateTribalTattoo;
        tribal = screens->tribal.get();
    }
    void enter(const RgbImage& source) {
        screens->pictures.source = source;
        screens->selectTask->hide();
        screens->sourceViewer->show();
        screens->go(Move::TribalShown);
        screens->workflow.enterTribal();
    }
    QSlider* slider(int n) { return child<QSlider>(tribal, ("TrackBar" + std::to_string(n)).c_str()); }
    QRadioButton* method(int n) {
        return child<QRadioButton>(tribal, ("RadioButton" + std::to_string(n)).c_str());
    }
    std::vector<bool> slidersShown() {
        return {slider(1)->isVisible(), slider(2)->isVisible(), slider(3)->isVisible()};
    }
    // What RESULT must hold for the screen's method and sliders now.
    RgbImage expectedResult() {
        RgbImage expected;
        makeTribal(screens->pictures.source, tribal->checkedMethod(), tribal->sliders(), expected);
        return expected;
    }

    RgbImage photo = randomImage(37, 23, 5);
    TForm005* tribal = nullptr;
};

TEST_F(Tribal, TheFirstEntryShowsMethodEightWithSliderOneAtOneHundredAndTwo) {
    enter(photo);
    EXPECT_EQ(tribal->checkedMethod(), 8);
    EXPECT_TRUE(method(8)->isChecked());
    EXPECT_EQ(tribal->sliders().t1, 102);
    EXPECT_EQ(tribal->sliders().t2, 100);
    EXPECT_EQ(tribal->sliders().t3, 100);
    EXPECT_EQ(slidersShown(), (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result));
    EXPECT_TRUE(SameImage(photo, screens->workflow.tribalEntryCopy));
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"TForm002", "TForm003", "TForm005"}));
    EXPECT_TRUE(button(tribal, "next")->isVisible());
    EXPECT_EQ(tribal->size(), QSize(1020, 299));

    // A second entry checks Method 8 anew (nudging twice) and takes a fresh entry copy.
    const RgbImage other = randomImage(12, 40, 6);
    click(method(1));
    tribal->hide();
    enter(other);
    EXPECT_EQ(tribal->checkedMethod(), 8);
    EXPECT_EQ(tribal->sliders().t1, 105);
    EXPECT_TRUE(SameImage(other, screens->workflow.tribalEntryCopy));
    EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result));
    enter(other);
    EXPECT_EQ(tribal->sliders().t1, 107);
}

TEST_F(Tribal, MethodsShowTheirSlidersAndKeepEveryPosition) {
    enter(photo);
    click(method(1));
    EXPECT_EQ(slidersShown(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(tribal->sliders().t1, 103);
    slider(2)->setValue(40);
    slider(3)->setValue(256);
    EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result));

    // Re-clicking the checked method changes nothing.
    const int recomputes = screens->workflow.tribalRecomputes();
    click(method(1));
    EXPECT_EQ(screens->workflow.tribalRecomputes(), recomputes);
    EXPECT_EQ(tribal->sliders().t1, 103);

    const struct {
        int method;
        std::vector<bool> shown;
    } cases[] = {{2, {true, true, false}},  {3, {true, true, false}},  {4, {true, true, false}},
                 {5, {true, false, false}}, {6, {true, false, false}}, {7, {true, false, false}},
                 {8, {true, false, false}}};
    int t1 = 103;
    for (const auto& c : cases) {
        click(method(c.method));
        EXPECT_EQ(slidersShown(), c.shown) << c.method;
        EXPECT_EQ(tribal->sliders().t1, ++t1) << c.method;
        EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result)) << c.method;
    }
    click(method(1));
    EXPECT_EQ(slidersShown(), (std::vector<bool>{true, true, true}));
    EXPECT_EQ(tribal->sliders().t2, 40);
    EXPECT_EQ(tribal->sliders().t3, 256);

    // The user's own moves recompute too, one step per key press.
    QTest::keyClick(slider(2), Qt::Key_Right);
    EXPECT_EQ(tribal->sliders().t2, 41);
    EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result));
}

// Rule A (a method click), B (ORIGINAL) and C (back from the enhance screen), from the same
// starting positions; the last recompute of each nudge is the one RESULT shows.
TEST_F(Tribal, NudgeRules) {
    enter(photo);
    const struct {
        int from, afterA, afterB, afterC;
    } cases[] = {{0, 1, 1, 1},         {100, 101, 100, 101}, {253, 254, 253, 254},
                 {254, 255, 254, 254}, {255, 255, 255, 254}, {256, 255, 256, 255}};
    int next = 3;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        slider(1)->setValue(c.from);
        click(method(next));  // a method not checked yet
        next = next == 3 ? 5 : 3;
        EXPECT_EQ(tribal->sliders().t1, c.afterA);

        slider(1)->setValue(c.from);
        click(button(tribal, "original"));
        EXPECT_EQ(tribal->sliders().t1, c.afterB);
        EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result));

        slider(1)->setValue(c.from);
        const int recomputes = screens->workflow.tribalRecomputes();
        screens->workflow.nudgeAfterEnhance();
        EXPECT_EQ(tribal->sliders().t1, c.afterC);
        EXPECT_GT(screens->workflow.tribalRecomputes(), recomputes);
        EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result));
    }
}

TEST_F(Tribal, OriginalBringsBackThePictureOfTheEntry) {
    enter(photo);
    // As the enhance screen's OK leaves it: a new SOURCE picture, then rule C.
    const RgbImage enhanced = randomImage(37, 23, 9);
    screens->pictures.source = enhanced;
    screens->workflow.nudgeAfterEnhance();
    EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result));

    click(button(tribal, "original"));
    EXPECT_TRUE(SameImage(photo, screens->pictures.source));
    EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result));
    EXPECT_EQ(screens->sourceViewer->windowTitle(), "SOURCE : 851  COLORS");
}

TEST_F(Tribal, AnEmptySourceGivesAnEmptyResult) {
    screens->pictures.result = randomImage(5, 5, 1);
    enter(RgbImage());
    EXPECT_EQ(tribal->checkedMethod(), 8);
    EXPECT_TRUE(screens->pictures.result.empty());
    click(method(1));
    slider(3)->setValue(7);
    EXPECT_TRUE(screens->pictures.result.empty());
    click(button(tribal, "next"));
    EXPECT_TRUE(screens->workflow.channels.before.empty());
}

TEST_F(Tribal, NextHandsTheResultToTheChannelsScreen) {
    enter(photo);
    click(method(2));
    slider(2)->setValue(180);
    const RgbImage result = screens->pictures.result;
    screens->previewViewer->show();
    click(button(tribal, "next"));
    EXPECT_TRUE(SameImage(result, screens->workflow.channels.before));
    EXPECT_TRUE(screens->workflow.tribalEntryCopy.empty());
    for (QWidget* w : {static_cast<QWidget*>(tribal), static_cast<QWidget*>(screens->sourceViewer.get()),
                       static_cast<QWidget*>(screens->resultViewer.get()),
                       static_cast<QWidget*>(screens->previewViewer.get())})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
}

TEST_F(Tribal, NextIsOfferedOnlyInTheTribalTask) {
    screens->state.task = TaskMode::TattooIn23Colors;
    enter(photo);
    EXPECT_FALSE(button(tribal, "next")->isVisible());
    screens->state.task = TaskMode::CreateTribalTattoo;
    slider(1)->setValue(10);
    EXPECT_TRUE(button(tribal, "next")->isVisible());
}

TEST_F(Tribal, BackKeepsTheEntryCopyAndExitEndsTheRun) {
    enter(photo);
    click(button(tribal, "back"));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    EXPECT_TRUE(SameImage(photo, screens->workflow.tribalEntryCopy));

    enter(photo);
    tribal->close();
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});

    enter(photo);
    click(button(tribal, "exit"));
    EXPECT_EQ(ended, 1);
}

TEST_F(Tribal, HelpPutsTheViewersAwayUntilItIsClosed) {
    enter(photo);
    click(button(tribal, "help"));
    EXPECT_TRUE(screens->tribalHelp->isVisible());
    EXPECT_FALSE(screens->sourceViewer->isVisible());
    EXPECT_FALSE(screens->resultViewer->isVisible());
    screens->tribalHelp->close();
    EXPECT_TRUE(screens->sourceViewer->isVisible());
    EXPECT_TRUE(screens->resultViewer->isVisible());
}

TEST_F(Tribal, EnhanceOpensTheEnhanceScreenWithAnEntryCopyToReturnTo) {
    enter(photo);
    screens->workflow.tribalEntryCopy.clear();
    screens->enhance->CheckBox2 = true;
    const RgbImage current = screens->pictures.source;
    click(button(tribal, "enhance"));
    EXPECT_TRUE(SameImage(current, screens->workflow.tribalEntryCopy));
    EXPECT_FALSE(screens->enhance->CheckBox2);
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"Tenhance"});
}

// The tribal task from a pasted picture: the output-size screen scales it and enters TRIBAL
// CREATION, whose design goes on to the channels screen with its editing panel disabled.
TEST_F(Tribal, FromThePastedPictureToTheChannelsScreen) {
    paste(randomImage(90, 135, 11));
    TForm004& output = *screens->outputSize;
    output.SpinEdit1->setValue(70);
    output.SpinEdit2->setValue(2);
    output.SpinEdit3->setValue(0);
    click(button(&output, "nextColorReduction"));
    // 2 cm at 70 DPI: round(55.12) = 55 pixels wide, the height following the picture's shape.
    const RgbImage& source = screens->pictures.source;
    EXPECT_EQ(source.width(), 55);
    EXPECT_EQ(source.height(), 83);
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"TForm002", "TForm003", "TForm005"}));
    EXPECT_EQ(tribal->checkedMethod(), 8);
    EXPECT_EQ(tribal->sliders().t1, 102);
    EXPECT_TRUE(SameImage(source, screens->workflow.tribalEntryCopy));
    EXPECT_TRUE(SameImage(expectedResult(), screens->pictures.result));

    click(method(1));
    slider(1)->setValue(140);
    slider(2)->setValue(90);
    slider(3)->setValue(200);
    const RgbImage design = screens->pictures.result;
    EXPECT_TRUE(SameImage(expectedResult(), design));
    click(button(tribal, "next"));
    TForm019& channels = *screens->channels;
    EXPECT_TRUE(SameImage(design, screens->workflow.channels.before));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm019"});
    EXPECT_FALSE(child<QWidget>(&channels, "editPanel")->isEnabled());
}

}  // namespace
}  // namespace dg::test
