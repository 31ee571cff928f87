#include <locale.h>

#include <QCheckBox>
#include <QImage>
#include <QLocale>
#include <QPixmap>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdlib>
#include <functional>
#include <vector>

#include "ShellFixture.h"
#include "imaging/Numbers.h"
#include "screens/ChannelsScreen.h"
#include "screens/InfoWindows.h"
#include "screens/MergeScreen.h"
#include "screens/Viewers.h"
#include "separation/ChannelSetBuild.h"

namespace dg::test {
namespace {

constexpr ColorValue kRed = makeColor(255, 0, 0);
constexpr ColorValue kBlue = makeColor(0, 0, 255);

// One row of runs: each colour repeated count times, left to right.
RgbImage runs(const std::vector<std::pair<ColorValue, int>>& colours) {
    int width = 0;
    for (const auto& run : colours) width += run.second;
    RgbImage picture(width, 1);
    int x = 0;
    for (const auto& [colour, count] : colours)
        for (int i = 0; i < count; ++i) picture.setPixel(x++, 0, colour);
    return picture;
}

// The channels screen holding a design, MERGE CHANNELS pressed, the merge screen answered
// offer by offer from a script of the user's actions.
class MergeChannels : public ShellFixture {
protected:
    using Step = std::function<void()>;

    void design(const RgbImage& picture) {
        screens->state.task = TaskMode::TattooIn23Colors;
        set().before = picture;
        rebuildChannelSet(set());
        merge = screens->merge.get();
    }
    ChannelSet& set() { return screens->workflow.channels; }
    // A fresh program for the next case of a table.
    void restart() {
        TearDown();
        SetUp();
        fakes.dialogs.messages.clear();
        offered.clear();
        script.clear();
        next = 0;
    }

    // Runs MERGE CHANNELS; each offer takes the next step, and an offer beyond the script
    // fails the test and closes the window.
    void run(std::vector<Step> steps) {
        script = std::move(steps);
        QObject::connect(
            merge, &TForm020::offerShown, merge,
            [this](int channel) {
                offered.push_back(channel);
                if (next < script.size()) {
                    script[next++]();
                } else {
                    ADD_FAILURE() << "unexpected offer of channel " << channel;
                    merge->close();
                }
            },
            Qt::QueuedConnection);
        screens->channels->mergeChannelsClick();
        EXPECT_EQ(next, script.size()) << "offers left unanswered";
    }

    QAbstractButton* choice(int n) {
        return merge->findChild<QCheckBox*>(QString("CheckBox%1").arg(n).toLatin1().constData());
    }
    Step press(const char* name) {
        return [this, name] { click(button(merge, name)); };
    }
    Step mergeInto(int n, ReplaceMode mode = ReplaceMode::Color1) {
        return [this, n, mode] {
            click(choice(n));
            if (mode == ReplaceMode::Color2) click(button(merge, "replaceColor2"));
            click(button(merge, "ok"));
        };
    }
    bool visible(const char* name) { return child<QWidget>(merge, name)->isVisible(); }

    TForm020* merge = nullptr;
    std::vector<Step> script;
    std::size_t next = 0;
    std::vector<int> offered;
};

TEST_F(MergeChannels, TheDialogShowsTheOfferAndAutomaticFindTakesTheLaterOfEqualDistances) {
    // Channels by colour value: 1 (190, 0, 0), 2 (200, 10, 10) the rarest, 3 (210, 20, 20).
    const ColorValue offeredColour = makeColor(200, 10, 10);
    design(runs({{makeColor(190, 0, 0), 10}, {offeredColour, 1}, {makeColor(210, 20, 20), 10}}));
    run({[&] {
        EXPECT_TRUE(merge->isVisible());
        EXPECT_EQ(merge->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(merge->palette().color(QPalette::Window), QColor(200, 10, 10));
        EXPECT_EQ(child<QLabel>(merge, "color2Swatch")->palette().color(QPalette::Window),
                  QColor(200, 10, 10));
        EXPECT_FALSE(visible("color1Swatch"));
        EXPECT_FALSE(button(merge, "ok")->isEnabled());
        EXPECT_EQ(text(merge, "finalColors"), "3");
        EXPECT_FALSE(choice(2)->isVisible()) << "the offered channel's own choice";
        EXPECT_EQ(choice(1)->text(), "47.62     % ");
        EXPECT_TRUE(child<QRadioButton>(merge, "replaceColor1")->isChecked());
        click(button(merge, "automaticFind"));
        EXPECT_EQ(merge->tickedChoice(), 3);
        EXPECT_TRUE(button(merge, "ok")->isEnabled());
        EXPECT_TRUE(visible("color1Swatch"));
        EXPECT_TRUE(visible("chosenPreview"));
        EXPECT_EQ(child<QLabel>(merge, "color1Swatch")->palette().color(QPalette::Window),
                  QColor(210, 20, 20));
        // Unticking leaves nothing to merge into.
        click(choice(3));
        EXPECT_FALSE(visible("color1Swatch"));
        EXPECT_FALSE(button(merge, "ok")->isEnabled());
        // PREVIEW and the help open above the modal dialog and can be closed there.
        QTest::mouseClick(child<QWidget>(merge, "offeredPreview"), Qt::LeftButton);
        EXPECT_TRUE(screens->previewViewer->isVisible());
        EXPECT_TRUE(SameImage(set().channel(2).mask, screens->pictures.preview));
        click(button(screens->previewViewer.get(), "closePreview"));
        EXPECT_FALSE(screens->previewViewer->isVisible());
        click(button(merge, "help"));
        EXPECT_TRUE(screens->mergeHelp->isVisible());
        click(button(merge, "finish"));
    }});
    EXPECT_FALSE(screens->mergeHelp->isVisible());
    EXPECT_EQ(screens->previewViewer->windowModality(), Qt::NonModal);
    EXPECT_EQ(offered, std::vector<int>{2});
    EXPECT_TRUE(merge->finishFlag);
    EXPECT_FALSE(merge->isVisible());
    EXPECT_TRUE(fakes.dialogs.messages.empty());
}

TEST_F(MergeChannels, ChoicesArePlacedByFallingCountWithTheirFontColours) {
    // Dark choices get white text; any component above 130 gives black text.
    const ColorValue grey130 = makeColor(130, 130, 130);
    const ColorValue red131 = makeColor(131, 0, 0);
    design(runs({{red131, 6}, {grey130, 3}, {kBlue, 1}}));
    // Channels: 1 (131, 0, 0), 2 (130, 130, 130), 3 blue, offered first.
    run({[&] {
        EXPECT_EQ(choice(1)->palette().color(QPalette::WindowText), QColor(Qt::black));
        EXPECT_EQ(choice(2)->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_EQ(choice(1)->palette().color(QPalette::Window), QColor(131, 0, 0));
        EXPECT_EQ(choice(1)->pos(), QPoint(10, 0));   // the most used colour first
        EXPECT_EQ(choice(2)->pos(), QPoint(10, 30));  // then the next
        EXPECT_TRUE(visible("highHeading"));
        EXPECT_EQ(text(merge, "highHeading"), "<<< HIGH PRESENTED COLORS    ");
        EXPECT_EQ(text(merge, "lowHeading"), "    LOW PRESENTED COLORS >>>");
        EXPECT_EQ(text(merge, "selectHint"), "<< SELECT A COLOR");
        EXPECT_EQ(text(merge, "replaceCaption"), "REPLACE WITH  COLOR:");
        EXPECT_EQ(button(merge, "finish")->text(), "FINISH ");
        click(button(merge, "finish"));
    }});
}

// One merge of the rarest channel (offered first) into another, and what the channels
// screen holds afterwards.
struct MergeCase {
    const char* name;
    std::vector<std::pair<ColorValue, int>> picture;  // runs, left to right
    int offered;                                      // the rarest channel
    int offeredX;                                     // a pixel of it
    int chosen;
    int chosenX;  // a pixel of the chosen channel
    ReplaceMode mode;
    ColorValue chosenColour;  // the chosen channel's colour afterwards, in its mask at both pixels
    ColorValue offeredMaskThere;
    ColorValue afterThere;  // the AFTER picture at offeredX
};

TEST_F(MergeChannels, MergeRewritesTheMasksAndTheAfterPicture) {
    // Channels by colour value: 1 red, 2 blue, 3 white.
    const MergeCase cases[] = {
        {"red into blue, COLOR 1",
         {{kRed, 1}, {kBlue, 4}, {kWhite, 6}},
         1,
         0,
         2,
         1,
         ReplaceMode::Color1,
         kBlue,
         kWhite,
         kBlue},
        {"red into blue, COLOR 2",
         {{kRed, 1}, {kBlue, 4}, {kWhite, 6}},
         1,
         0,
         2,
         1,
         ReplaceMode::Color2,
         kRed,
         kWhite,
         kRed},
        {"red into white, COLOR 1",
         {{kRed, 1}, {kBlue, 4}, {kWhite, 6}},
         1,
         0,
         3,
         5,
         ReplaceMode::Color1,
         kWhite,
         kWhite,
         kWhite},
        {"white into red, COLOR 1",
         {{kRed, 6}, {kBlue, 4}, {kWhite, 1}},
         3,
         10,
         1,
         0,
         ReplaceMode::Color1,
         kRed,
         kBlack,
         kRed},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        const RgbImage picture = runs(c.picture);
        design(picture);
        run({mergeInto(c.chosen, c.mode)});
        ASSERT_EQ(offered, std::vector<int>{c.offered});

        EXPECT_EQ(set().colorOf(c.chosen), c.chosenColour);
        EXPECT_EQ(set().channel(c.chosen).mask.pixel(c.offeredX, 0), c.chosenColour);
        EXPECT_EQ(set().channel(c.chosen).mask.pixel(c.chosenX, 0), c.chosenColour);
        EXPECT_FALSE(set().channel(c.offered).shown) << "the offered mask is hidden";
        EXPECT_EQ(set().channel(c.offered).mask.pixel(c.offeredX, 0), c.offeredMaskThere);
        EXPECT_EQ(set().after.pixel(c.offeredX, 0), c.afterThere);
        EXPECT_TRUE(SameImage(merge->after, set().after));
        // A merge changes only AFTER; UNDO brings BEFORE back from the RESULT picture.
        EXPECT_TRUE(SameImage(picture, set().before));
        EXPECT_TRUE(SameImage(picture, screens->pictures.result));
        EXPECT_TRUE(fakes.dialogs.messages.empty());
    }
}

TEST_F(MergeChannels, SkipAndClosingLeaveTheMasksAsTheyWere) {
    const std::pair<const char*, std::function<void(TForm020*)>> answers[] = {
        {"SKIP", [this](TForm020* m) { click(button(m, "skip")); }},
        {"closing the window", [](TForm020* m) { m->close(); }},
    };
    for (const auto& [name, answer] : answers) {
        SCOPED_TRACE(name);
        restart();
        const RgbImage picture = runs({{kRed, 1}, {kBlue, 4}, {kWhite, 6}});
        design(picture);
        ChannelSet expected = set();
        // A choice ticked and COLOR 2 chosen before leaving: nothing of it may be merged.
        const Step leave = [this, answer = answer] {
            click(choice(2));
            click(button(merge, "replaceColor2"));
            answer(merge);
        };
        // Red and then blue are offered; white, the third of three, never is.
        run({leave, leave});
        EXPECT_EQ(offered, (std::vector<int>{1, 2}));
        for (int n = 1; n <= 3; ++n) {
            EXPECT_TRUE(set().channel(n).shown) << n;
            EXPECT_TRUE(set().channel(n).checked) << n;
            EXPECT_EQ(set().colorOf(n), expected.colorOf(n)) << n;
            EXPECT_TRUE(SameImage(expected.channel(n).mask, set().channel(n).mask)) << n;
        }
        EXPECT_TRUE(SameImage(picture, set().after));
        EXPECT_FALSE(merge->finishFlag);
    }
}

TEST_F(MergeChannels, TwoRarestChannelsAreBothOfferedButNeverTheThird) {
    // 200 pixels: 0.5 %, 0.5 % and 99 %. Merging the first leaves two colours, and still the
    // second 0.5 % channel is offered; two offers reach the cap of N0 - 1.
    design(runs({{kRed, 1}, {kBlue, 1}, {makeColor(0, 128, 0), 198}}));
    // Channels by colour value: red, green (128 * 256), blue.
    ASSERT_EQ(set().channel(1).percentageText, "0.5");
    ASSERT_EQ(set().channel(3).percentageText, "0.5");
    run({mergeInto(2), press("skip")});
    EXPECT_EQ(offered, (std::vector<int>{1, 3}));
    EXPECT_FALSE(set().channel(1).shown);
    EXPECT_TRUE(set().channel(3).shown);
}

// The COLOR 2 box is painted in the offered channel's colour, offer by offer, framed in the
// caption's colour so that it stands out from the screen's background of the same colour.
TEST_F(MergeChannels, TheColor2BoxShowsTheOfferedChannelsColour) {
    // Channels by colour value: red, green, dark blue; red and dark blue are the rarest.
    const ColorValue darkBlue = makeColor(0, 0, 120);
    design(runs({{kRed, 1}, {darkBlue, 1}, {makeColor(0, 128, 0), 198}}));
    std::vector<QColor> fills, frames;
    const auto look = [&] {
        QLabel* box = child<QLabel>(merge, "color2Swatch");
        EXPECT_EQ(box->text(), "COLOR 2");
        const QImage seen = box->grab().toImage();
        fills.push_back(seen.pixelColor(6, 6));
        frames.push_back(seen.pixelColor(1, 1));
        EXPECT_EQ(box->palette().color(QPalette::Window), fills.back());
    };
    run({[&] {
             look();
             click(button(merge, "skip"));
         },
         [&] {
             look();
             click(button(merge, "skip"));
         }});
    ASSERT_EQ(offered, (std::vector<int>{1, 3}));
    EXPECT_EQ(fills, (std::vector<QColor>{QColor(255, 0, 0), QColor(0, 0, 120)}));
    // Black on red, white on the dark blue.
    EXPECT_EQ(frames, (std::vector<QColor>{Qt::black, Qt::white}));
}

TEST_F(MergeChannels, DesignsUnderThreeColoursAreRefused) {
    const std::pair<RgbImage, std::vector<std::string>> cases[] = {
        {runs({{kRed, 3}, {kBlue, 5}}), {"Cannot merge under 3 colors"}},
        {RgbImage(0, 0), {"error#1", "Cannot merge under 3 colors"}},
    };
    for (const auto& [picture, messages] : cases) {
        restart();
        design(picture);
        const ChannelSet expected = set();
        run({});
        EXPECT_EQ(fakes.dialogs.messages, messages);
        EXPECT_TRUE(offered.empty());
        for (int n = 1; n <= kChannelCount; ++n) {
            EXPECT_EQ(set().channel(n).shown, expected.channel(n).shown);
            EXPECT_EQ(set().colorOf(n), expected.colorOf(n));
            EXPECT_TRUE(SameImage(expected.channel(n).mask, set().channel(n).mask));
        }
        EXPECT_TRUE(SameImage(expected.after, set().after));
    }
}

TEST_F(MergeChannels, FinishEndsTheSequence) {
    design(runs({{kRed, 1}, {kBlue, 2}, {makeColor(0, 128, 0), 3}, {kWhite, 9}}));
    screens->sourceViewer->show();
    screens->resultViewer->show();
    run({press("finish")});
    // The sequence ends on the channels screen with the viewers put away.
    EXPECT_TRUE(screens->channels->isVisible());
    EXPECT_FALSE(screens->sourceViewer->isVisible());
    EXPECT_FALSE(screens->resultViewer->isVisible());
    EXPECT_EQ(offered, std::vector<int>{1});
    EXPECT_TRUE(merge->finishFlag);
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(set().channel(n).shown) << n;
}

TEST_F(MergeChannels, TheReplaceModeLeftByFinishOrClosingOpensTheNextSequence) {
    // Only SKIP and OK put the replace mode back to COLOR 1: the next MERGE CHANNELS (after
    // UNDO) opens the dialog as FINISH or closing the window left it.
    bool color2 = false;
    const Step look = [&] {
        color2 = child<QRadioButton>(merge, "replaceColor2")->isChecked();
        click(button(merge, "finish"));
    };
    const std::pair<const char*, std::vector<Step>> firstSequences[] = {
        {"FINISH", {[this] {
             click(button(merge, "replaceColor2"));
             click(button(merge, "finish"));
         }}},
        // Red is offered, then blue.
        {"closing the window",
         {[this] {
              click(button(merge, "replaceColor2"));
              merge->close();
          },
          look}},
    };
    for (const auto& [name, first] : firstSequences) {
        SCOPED_TRACE(name);
        restart();
        design(runs({{kRed, 1}, {kBlue, 4}, {kWhite, 6}}));
        run(first);
        click(button(screens->channels.get(), "undo"));
        QObject::disconnect(merge, &TForm020::offerShown, merge, nullptr);
        next = 0;
        color2 = false;
        run({look});
        EXPECT_TRUE(color2);
    }
}

// A German desktop: the C library and Qt both write decimal commas unless told otherwise.
class GermanNumbers {
public:
    GermanNumbers() {
        if (setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && makeLocale())
            setlocale(LC_NUMERIC, "de_DE.UTF-8");
        german_ = std::string(setlocale(LC_NUMERIC, nullptr)) == "de_DE.UTF-8";
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    ~GermanNumbers() {
        setlocale(LC_NUMERIC, "C");
        if (madeLocale_) unsetenv("LOCPATH");
        QLocale::setDefault(QLocale::c());
    }
    bool active() const { return german_; }

private:
    // Where the locale is not installed, it is compiled from the system's definitions into
    // a folder of the test's own.
    bool makeLocale() {
        if (!folder_.isValid()) return false;
        const int status =
            QProcess::execute("localedef", {"-i", "de_DE", "-f", "UTF-8", folder_.path() + "/de_DE.UTF-8"});
        if (status != 0) return false;
        setenv("LOCPATH", folder_.path().toLocal8Bit().constData(), 1);
        madeLocale_ = true;
        return true;
    }

    QTemporaryDir folder_;
    bool german_ = false;
    bool madeLocale_ = false;
};

TEST_F(MergeChannels, AGermanDesktopGetsTheSameCaptionsAndOffers) {
    GermanNumbers german;
    if (!german.active()) GTEST_SKIP() << "no German locale on this machine";
    char written[32];
    std::snprintf(written, sizeof written, "%.1f", 0.5);
    ASSERT_STREQ(written, "0,5") << "the C library writes German numbers now";

    EXPECT_EQ(shortestText(8.5), "8.5");
    double value = 0;
    EXPECT_TRUE(parseNumber("8.27", value));
    EXPECT_EQ(value, 8.27);

    design(runs({{kRed, 1}, {kBlue, 1}, {makeColor(0, 128, 0), 198}}));
    EXPECT_EQ(set().channel(1).percentageText, "0.5");
    run({[this] {
             EXPECT_EQ(choice(2)->text(), "99     % ");
             click(choice(2));
             click(button(merge, "ok"));
         },
         press("skip")});
    EXPECT_EQ(offered, (std::vector<int>{1, 3}));
}

}  // namespace
}  // namespace dg::test
