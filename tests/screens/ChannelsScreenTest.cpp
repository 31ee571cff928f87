#include <QCheckBox>
#include <QLabel>
#include <filesystem>

#include "ShellFixture.h"
#include "formats/Bmp.h"
#include "screens/ChangeColorsScreen.h"
#include "screens/ChannelsScreen.h"
#include "screens/InfoWindows.h"
#include "screens/MergeScreen.h"
#include "screens/PictureBox.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/Thumbnails.h"
#include "screens/Viewers.h"

namespace dg::test {
namespace {

constexpr ColorValue kRed = 0x0000FF;

// Black, red and white in equal thirds, side by side.
RgbImage thirds() {
    RgbImage picture(30, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 30; ++x) picture.setPixel(x, y, x < 10 ? kBlack : x < 20 ? kRed : kWhite);
    return picture;
}

class ChannelsScreen : public ShellFixture {
protected:
    void enter(const RgbImage& before) {
        ch = screens->channels.get();
        screens->workflow.channels.before = before;
        ch->SpinEdit000.step();
        ASSERT_TRUE(ch->isVisible());
    }
    QCheckBox* box(int n) { return child<QCheckBox>(ch, qPrintable(QString("CheckBox%1").arg(n))); }
    bool tileShown(int n) { return child<QWidget>(ch, qPrintable(QString("mask%1").arg(n)))->isVisible(); }
    QString percent(int n) { return text(ch, qPrintable(QString("percent%1").arg(n))); }
    bool nextEnabled() { return button(ch, "next")->isEnabled(); }

    TForm019* ch = nullptr;
};

TEST_F(ChannelsScreen, RebuildShowsOneTickedTilePerColourInColourOrder) {
    enter(thirds());
    const ColorValue expected[] = {kBlack, kRed, kWhite};
    for (int n = 1; n <= kChannelCount; ++n) {
        SCOPED_TRACE(n);
        const bool used = n <= 3;
        EXPECT_EQ(screens->workflow.channels.colorOf(n), used ? expected[n - 1] : kNoColor);
        EXPECT_EQ(tileShown(n), used);
        EXPECT_EQ(box(n)->isVisible(), used);
        EXPECT_EQ(box(n)->isChecked(), used);
        if (used) {
            EXPECT_EQ(percent(n), "33.33");
            EXPECT_EQ(text(ch, qPrintable(QString("percentSign%1").arg(n))), "%");
            EXPECT_TRUE(SameImage(thumbnail(screens->workflow.channels.channel(n).mask, TForm019::kTileWidth,
                                            TForm019::kTileHeight),
                                  ch->tileThumbnail(n)));
        } else {
            EXPECT_TRUE(ch->tileThumbnail(n).empty());
        }
    }
    // The white channel's mask is white on black.
    EXPECT_EQ(ch->tileThumbnail(3).pixel(0, 0), kBlack);
    EXPECT_EQ(text(ch, "beforeCount"), "3");
    EXPECT_EQ(text(ch, "afterCount"), "3");
    EXPECT_EQ(text(ch, "beforeColors"), " COLORS");
    EXPECT_TRUE(SameImage(thirds(), screens->workflow.channels.after));
    // Drawing is on once the rebuild is over: a tick redraws AFTER at once.
    click(box(2));
    EXPECT_EQ(screens->workflow.channels.after.pixel(10, 0), kWhite);
    click(box(2));
    EXPECT_TRUE(SameImage(thirds(), screens->workflow.channels.after));
    EXPECT_FALSE(button(ch, "undo")->isEnabled());
    EXPECT_TRUE(button(ch, "mergeChannels")->isEnabled());
}

TEST_F(ChannelsScreen, TicksRepaintAfterAndGateNext) {
    enter(thirds());
    click(box(2));
    RgbImage expected = thirds();
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 20; ++x) expected.setPixel(x, y, kWhite);
    EXPECT_TRUE(SameImage(expected, screens->workflow.channels.after));
    EXPECT_EQ(text(ch, "afterCount"), "2");
    // White is never painted: unticking it changes nothing in AFTER.
    click(box(3));
    EXPECT_TRUE(SameImage(expected, screens->workflow.channels.after));
    EXPECT_EQ(text(ch, "afterCount"), "1");
    EXPECT_TRUE(nextEnabled());
    click(box(1));
    EXPECT_EQ(text(ch, "afterCount"), "0");
    EXPECT_FALSE(nextEnabled());
    EXPECT_TRUE(SameImage(RgbImage(30, 10), screens->workflow.channels.after));
    click(box(3));
    EXPECT_TRUE(nextEnabled());
}

TEST_F(ChannelsScreen, NextRenumbersWithUntickedChannelsTurnedWhite) {
    enter(thirds());
    screens->pictures.result = thirds();  // an UNDO picture, dropped by NEXT
    click(box(2));
    click(button(ch, "next"));
    EXPECT_FALSE(ch->isVisible());
    EXPECT_TRUE(screens->pictures.result.empty());
    // Two channels: black, then the white that took over the red parts, both ticked.
    EXPECT_EQ(screens->workflow.channels.colorOf(1), kBlack);
    EXPECT_EQ(screens->workflow.channels.colorOf(2), kWhite);
    EXPECT_EQ(screens->workflow.channels.colorOf(3), kNoColor);
    EXPECT_TRUE(box(1)->isChecked());
    EXPECT_TRUE(box(2)->isChecked());
    EXPECT_FALSE(box(3)->isChecked());
    EXPECT_EQ(percent(2), "66.67");
    EXPECT_EQ(text(ch, "afterCount"), "2");
}

TEST_F(ChannelsScreen, ColoursBeyondTheTwentyThirdGetNoChannel) {
    RgbImage picture(25, 2);
    for (int x = 0; x < 25; ++x) {
        picture.setPixel(x, 0, makeColor(x, 0, 0));
        picture.setPixel(x, 1, makeColor(x, 0, 0));
    }
    enter(picture);
    EXPECT_EQ(text(ch, "beforeCount"), "25");
    EXPECT_EQ(text(ch, "afterCount"), "23");
    EXPECT_TRUE(tileShown(23));
    EXPECT_EQ(screens->workflow.channels.after.pixel(23, 0), kWhite);
    EXPECT_EQ(screens->workflow.channels.after.pixel(24, 1), kWhite);
}

TEST_F(ChannelsScreen, UndoRebuildsFromTheUndoPictureAndRebuildEmptiesTheSeparationMasks) {
    // A separation on show first, whose masks the rebuild gives up.
    TForm021* sep = screens->separation.get();
    screens->pictures.source = randomImage(40, 30, 9);
    screens->workflow.enterSeparation();
    ASSERT_FALSE(sep->fullMask(1).empty() && sep->fullMask(3).empty() && sep->fullMask(4).empty());
    enter(thirds());
    for (int k = 1; k <= kChannelCount; ++k) EXPECT_TRUE(sep->fullMask(k).empty()) << k;

    // CHANGE COLORS offers UNDO, also when it is cancelled.
    screens->state.task = TaskMode::TattooIn23Colors;
    click(button(ch, "changeColors"));
    click(button(screens->changeColors.get(), "cancel"));
    RgbImage two(4, 4);
    two.setPixel(0, 0, kRed);
    screens->pictures.result = two;
    click(button(ch, "undo"));
    EXPECT_TRUE(SameImage(two, screens->workflow.channels.before));
    EXPECT_EQ(text(ch, "beforeCount"), "2");
    EXPECT_FALSE(tileShown(3));
    EXPECT_FALSE(button(ch, "undo")->isEnabled());
}

TEST_F(ChannelsScreen, PicturesOpenInPreview) {
    enter(thirds());
    struct Case {
        const char* name;
        const RgbImage* picture;
    };
    const Case cases[] = {{"Image0", &screens->workflow.channels.before},
                          {"Image00", &screens->workflow.channels.after},
                          {"mask2", &screens->workflow.channels.channel(2).mask}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTest::mouseClick(child<PictureBox>(ch, c.name), Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_TRUE(screens->previewViewer->isVisible());
        EXPECT_TRUE(SameImage(*c.picture, screens->pictures.preview));
    }
}

TEST_F(ChannelsScreen, SaveProjectWritesTheTickedMasksAndRefusesAnExistingFolder) {
    screens->pictures.source = randomImage(12, 8, 1);
    screens->state.outputWidthText = "8.5";
    screens->state.outputHeightText = "5.67";
    enter(thirds());
    click(box(2));
    const std::string name = folder.file("dragon");
    fakes.dialogs.saveAnswers = {name, name};
    click(button(ch, "saveProjectAs"));
    const std::string saved = name + " -OUTPUT- 8.5-Centimeters W -5.67-Centimeters H-100  DPI";
    ASSERT_EQ(fakes.dialogs.messages, std::vector<std::string>{"PROJECT SAVED IN FOLDER: " + saved});
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(saved)) files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"1.bmp", "3.bmp", "PROJECT.CSP", "RESULT.bmp", "_Result0.bmp",
                                               "_Source.bmp"}));
    // Pictures of the output size claim the output resolution.
    const auto bmp = [this](const RgbImage& picture) { return encodeBmp(picture, screens->state.outputDpi); };
    EXPECT_EQ(fakes.files.readFile(saved + "/_Source.bmp"), bmp(screens->pictures.source));
    EXPECT_EQ(fakes.files.readFile(saved + "/RESULT.bmp"), bmp(screens->workflow.channels.after));
    EXPECT_EQ(fakes.files.readFile(saved + "/3.bmp"), bmp(screens->workflow.channels.channel(3).mask));

    const auto before = fs::last_write_time(saved + "/RESULT.bmp");
    click(box(2));  // a different AFTER, which must not reach the first folder
    click(button(ch, "saveProjectAs"));
    EXPECT_EQ(fakes.dialogs.messages.back(),
              "WARNING: NOT SAVED. DIRECTORY EXSIST.  Please use another name for your project.");
    EXPECT_EQ(fs::last_write_time(saved + "/RESULT.bmp"), before);
    EXPECT_FALSE(fs::exists(saved + "/2.bmp"));
    EXPECT_TRUE(ch->isVisible());
}

TEST_F(ChannelsScreen, AfterAMergeTheAfterPictureAndItsCountComeBack) {
    // 1 red pixel, 4 blue, 6 white: red is offered first and merged into blue.
    RgbImage picture(11, 1);
    for (int x = 1; x < 5; ++x) picture.setPixel(x, 0, 0xFF0000);
    picture.setPixel(0, 0, kRed);
    screens->state.task = TaskMode::TattooIn23Colors;
    ch = screens->channels.get();
    screens->workflow.reductionSkipped = true;  // as a design with under 24 colours enters
    enter(picture);
    ASSERT_FALSE(child<QWidget>(ch, "afterCount")->isVisible());
    TForm020* merge = screens->merge.get();
    QObject::connect(
        merge, &TForm020::offerShown, merge,
        [this, merge](int) {
            click(child<QAbstractButton>(merge, "CheckBox2"));
            click(button(merge, "ok"));
        },
        Qt::QueuedConnection);
    click(button(ch, "mergeChannels"));
    EXPECT_FALSE(screens->workflow.channels.channel(1).shown);
    EXPECT_FALSE(tileShown(1));
    EXPECT_FALSE(child<QWidget>(ch, "percent1")->isVisible());
    EXPECT_TRUE(tileShown(2));
    EXPECT_EQ(text(ch, "afterCount"), "2");
    EXPECT_TRUE(child<QWidget>(ch, "afterCount")->isVisible());
    EXPECT_TRUE(child<QWidget>(ch, "afterColors")->isVisible());
    EXPECT_EQ(screens->workflow.channels.after.pixel(0, 0), 0xFF0000);
    EXPECT_FALSE(button(ch, "mergeChannels")->isEnabled());
    EXPECT_TRUE(button(ch, "undo")->isEnabled());
    // UNDO brings the design back as it was.
    click(button(ch, "undo"));
    EXPECT_TRUE(SameImage(picture, screens->workflow.channels.after));
    EXPECT_TRUE(tileShown(1));
}

// Each tile shows its channel's number and colour, so that it can be matched with its page
// ("Channel # N") and its recipe; a merge takes the offered channel's tile away and a COLOR 2
// merge gives the chosen channel the offered colour.
TEST_F(ChannelsScreen, TilesShowTheirNumbersAndColours) {
    const auto shown = [this] {
        std::vector<std::pair<QString, QColor>> tiles;
        for (int n = 1; n <= kChannelCount; ++n) {
            QLabel* number = child<QLabel>(ch, qPrintable(QString("number%1").arg(n)));
            QLabel* swatch = child<QLabel>(ch, qPrintable(QString("swatch%1").arg(n)));
            EXPECT_EQ(number->isVisible(), swatch->isVisible()) << n;
            EXPECT_EQ(number->isVisible(), tileShown(n)) << n;
            if (number->isVisible())
                tiles.emplace_back(number->text(), swatch->palette().color(QPalette::Window));
        }
        return tiles;
    };
    using Tiles = std::vector<std::pair<QString, QColor>>;
    enter(thirds());
    EXPECT_EQ(shown(), (Tiles{{"# 1", Qt::black}, {"# 2", Qt::red}, {"# 3", Qt::white}}));

    // 1 red pixel, 4 blue, 6 white: red is offered and merged into blue, taking its colour.
    RgbImage picture(11, 1);
    for (int x = 1; x < 5; ++x) picture.setPixel(x, 0, 0xFF0000);
    picture.setPixel(0, 0, kRed);
    screens->state.task = TaskMode::TattooIn23Colors;
    enter(picture);
    EXPECT_EQ(shown(), (Tiles{{"# 1", Qt::red}, {"# 2", Qt::blue}, {"# 3", Qt::white}}));
    TForm020* merge = screens->merge.get();
    QObject::connect(
        merge, &TForm020::offerShown, merge,
        [this, merge](int) {
            click(child<QAbstractButton>(merge, "CheckBox2"));
            click(button(merge, "replaceColor2"));
            click(button(merge, "ok"));
        },
        Qt::QueuedConnection);
    click(button(ch, "mergeChannels"));
    EXPECT_EQ(shown(), (Tiles{{"# 2", Qt::red}, {"# 3", Qt::white}}));
    // NEXT numbers the channels afresh.
    click(button(ch, "next"));
    screens->channels->show();
    EXPECT_EQ(shown(), (Tiles{{"# 1", Qt::red}, {"# 2", Qt::white}}));
}

TEST_F(ChannelsScreen, LeavingAndThePanel) {
    enter(thirds());
    // As a tribal design leaves the panel, and a reopened project UNDO.
    screens->workflow.channelEditing = false;
    ch->SpinEdit000.step();
    EXPECT_FALSE(child<QWidget>(ch, "editPanel")->isEnabled());
    screens->workflow.reopenedProject = true;
    ch->SpinEdit000.step();
    EXPECT_FALSE(button(ch, "undo")->isVisible());
    click(button(ch, "exit"));
    EXPECT_EQ(ended, 1);
    screens->sourceViewer->show();
    click(button(ch, "help"));
    EXPECT_TRUE(screens->channelsHelp->isVisible());
    click(button(ch, "back"));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    enter(thirds());
    ch->close();
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
}

}  // namespace
}  // namespace dg::test
