#include <QTimer>

#include "ShellFixture.h"
#include "screens/InfoWindows.h"
#include "screens/OutputSize.h"
#include "screens/SelectTask.h"
#include "screens/SplashScreen.h"
#include "screens/TribalScreen.h"
#include "screens/Viewers.h"

namespace dg::test {
namespace {

using StartUp = ShellFixture;

TEST_F(StartUp, CreatesEveryWindowInOrderWithItsCaptionAndOnlySelectTaskVisible) {
    const char* const captions[] = {"Dermagraph Software",
                                    "SOURCE",
                                    "RESULT",
                                    "SELECT TASK",
                                    "OUTPUT SIZE AND RESOLUTION",
                                    "CHANNELS / COLORS",
                                    "PREVIEW",
                                    "TRIBAL CREATION",
                                    "Form027",
                                    "COLOR REDUCTION AND SEPARATION",
                                    "COLOR MATCHING",
                                    "OPTIONS",
                                    "PRINTING ",
                                    "MERGE COLORS/CHANNELS",
                                    "enhance",
                                    "CHANGE COLORS",
                                    "Form024",
                                    "Warning",
                                    "About",
                                    "Description",
                                    "Terms And Conditions"};
    const std::vector<QWidget*> windows = screens->windows();
    ASSERT_EQ(windows.size(), 32u);
    for (std::size_t i = 0; i < std::size(captions); ++i)
        EXPECT_EQ(windows[i]->windowTitle(), captions[i]) << i;
    for (std::size_t i = std::size(captions); i < windows.size(); ++i)
        EXPECT_EQ(windows[i]->windowTitle(), "Help") << i;
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    EXPECT_FALSE(screens->selectTask->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(StartUp, TheSplashCoversSelectTaskForTenSecondsOnce) {
    screens->start();
    TForm1& splash = *screens->splash;
    EXPECT_TRUE(splash.isVisible());
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(splash.size(), QSize(1015, 729));
    EXPECT_EQ(splash.findChild<QLabel*>("pleaseWait")->text(), "Please Wait...");
    EXPECT_TRUE(splash.Timer1.isActive());
    EXPECT_EQ(splash.Timer1.interval(), 10000);
    EXPECT_TRUE(splash.Timer1.isSingleShot());

    splash.Timer1Timer();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer1.isActive());
    EXPECT_TRUE(screens->selectTask->isVisible());
    EXPECT_TRUE(splash.findChild<QLabel*>("splashPicture")->pixmap().isNull());
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
}

TEST_F(StartUp, ExitAndClosingSelectTaskEndTheRun) {
    click(button(screens->selectTask.get(), "exit"));
    EXPECT_EQ(ended, 1);
    screens->selectTask->close();
    EXPECT_EQ(ended, 2);
}

TEST_F(StartUp, ViewerClicksFollowTheTask) {
    TForm002& source = *screens->sourceViewer;
    TForm010& preview = *screens->previewViewer;
    screens->pictures.source = imageFromRows({{0x0000FF, 0x00FF00}});
    screens->pictures.result = imageFromRows({{0xFF0000}});

    screens->state.task = TaskMode::TattooIn23Colors;
    source.Image1Click();
    EXPECT_FALSE(preview.isVisible());
    EXPECT_TRUE(screens->pictures.preview.empty());

    screens->state.task = TaskMode::CreateTribalTattoo;
    QTest::mouseClick(source.findChild<QWidget*>("Image1"), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(preview.isVisible());
    EXPECT_TRUE(SameImage(screens->pictures.source, screens->pictures.preview));

    click(button(&preview, "closePreview"));
    EXPECT_FALSE(preview.isVisible());
    EXPECT_TRUE(screens->pictures.preview.empty());

    screens->state.task = TaskMode::PrintSingleFile;
    QTest::mouseClick(screens->resultViewer->findChild<QWidget*>("Image1"), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(preview.isVisible());
    EXPECT_TRUE(SameImage(screens->pictures.result, screens->pictures.preview));
    QTest::mouseClick(preview.findChild<QWidget*>("Image1"), Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_FALSE(preview.isVisible());
    EXPECT_TRUE(screens->pictures.preview.empty());
}

TEST_F(StartUp, ViewersFloatAboveTheScreensWhereTheyBelong) {
    for (QWidget* viewer : {static_cast<QWidget*>(screens->sourceViewer.get()),
                            static_cast<QWidget*>(screens->resultViewer.get()),
                            static_cast<QWidget*>(screens->previewViewer.get())})
        EXPECT_TRUE(viewer->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(screens->sourceViewer->size(), QSize(296, 439));
    EXPECT_EQ(screens->resultViewer->size(), QSize(719, 440));
    EXPECT_EQ(screens->previewViewer->size(), QSize(1018, 736));
}

// The tribal and enhance helps bring the viewers back only to TRIBAL CREATION; the
// change-colours help always brings SOURCE back.
TEST_F(StartUp, HelpClosingRules) {
    struct Case {
        QWidget* help;
        bool tribalVisible;
        bool sourceShown, resultShown;
    };
    const Case cases[] = {
        {screens->tribalHelp.get(), false, false, false},
        {screens->tribalHelp.get(), true, true, true},
        {screens->enhanceHelp.get(), false, false, false},
        {screens->enhanceHelp.get(), true, true, true},
        {screens->changeColorsHelp.get(), false, true, false},
        {screens->outputSizeHelp.get(), true, false, false},
        {screens->channelsHelp.get(), true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.help->metaObject()->className() + std::string(c.tribalVisible ? " over tribal" : ""));
        screens->sourceViewer->hide();
        screens->resultViewer->hide();
        screens->tribal->setVisible(c.tribalVisible);
        c.help->show();
        c.help->close();
        EXPECT_FALSE(c.help->isVisible());
        EXPECT_EQ(screens->sourceViewer->isVisible(), c.sourceShown);
        EXPECT_EQ(screens->resultViewer->isVisible(), c.resultShown);
    }
    // Hiding a help from code, as a screen does when the user leaves it, is not a close.
    screens->sourceViewer->hide();
    screens->tribal->show();
    screens->tribalHelp->show();
    screens->tribalHelp->hide();
    EXPECT_FALSE(screens->sourceViewer->isVisible());
}

}  // namespace
}  // namespace dg::test
