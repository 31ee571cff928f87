#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include "OutputScreensFixture.h"
#include "output/Stencil.h"
#include "output/WhiteEdgeMask.h"

namespace dg::test {
namespace {

class OptionsScreen : public OutputScreens {
protected:
    bool shown(const char* name) { return child<QWidget>(options(), name)->isVisible(); }
    QSlider* depth() { return child<QSlider>(options(), "depth"); }
};

TEST_F(OptionsScreen, SettingsStartAtTheirDefaultsWithinTheirRanges) {
    toOptions();
    const std::pair<const char*, bool> ticks[] = {{"createStencil", true},   {"mirrorStencil", false},
                                                  {"stencilInColors", true}, {"stencilInBlack", false},
                                                  {"masked", false},         {"printColorMatching", true},
                                                  {"printResult", true},     {"adjustmentCorners", false}};
    for (const auto& [name, ticked] : ticks)
        EXPECT_EQ(child<QAbstractButton>(options(), name)->isChecked(), ticked) << name;
    struct Range {
        int value, minimum, maximum;
    };
    const auto range = [](const auto* control) {
        return Range{control->value(), control->minimum(), control->maximum()};
    };
    const std::pair<Range, Range> ranges[] = {
        {range(depth()), {20, 0, 55}},
        {range(child<QSpinBox>(options(), "cornerWidth")), {2, 0, 50}},
        {range(child<QSpinBox>(options(), "cornerSize")), {30, 1, 500}}};
    for (const auto& [actual, expected] : ranges) {
        EXPECT_EQ(actual.value, expected.value);
        EXPECT_EQ(actual.minimum, expected.minimum);
        EXPECT_EQ(actual.maximum, expected.maximum);
    }
    EXPECT_EQ(child<QLabel>(options(), "legend")->text(), "    **  = CLEAR    ");
    EXPECT_EQ(child<QLabel>(options(), "legend")->palette().color(QPalette::Window), QColor(172, 243, 75));
}

TEST_F(OptionsScreen, StencilChoicesFollowCreateStencil) {
    toOptions();
    QAbstractButton* create = button(options(), "createStencil");
    click(button(options(), "mirrorStencil"));
    tick(options(), "stencilInBlack");
    EXPECT_TRUE(screens->warning->isVisible());
    screens->warning->hide();

    click(create);
    for (const char* name : {"mirrorStencil", "stencilInColors", "stencilInBlack"})
        EXPECT_FALSE(shown(name)) << name;
    click(create);
    for (const char* name : {"mirrorStencil", "stencilInColors", "stencilInBlack"})
        EXPECT_TRUE(shown(name)) << name;
    EXPECT_FALSE(button(options(), "mirrorStencil")->isChecked());
    EXPECT_TRUE(button(options(), "stencilInColors")->isChecked());
    EXPECT_FALSE(button(options(), "stencilInBlack")->isChecked());
    EXPECT_FALSE(screens->warning->isVisible());  // only ticking black warns
}

TEST_F(OptionsScreen, MaskedIsClearedEveryTimeTheScreenShows) {
    toOptions();
    const char* maskingControls[] = {"depthCaption", "depth", "preview", "legend"};
    for (const char* name : maskingControls) EXPECT_FALSE(shown(name)) << name;
    click(button(options(), "masked"));
    for (const char* name : maskingControls) EXPECT_TRUE(shown(name)) << name;
    depth()->setValue(40);

    click(button(options(), "back"));
    EXPECT_TRUE(screens->channels->isVisible());
    toOptions();
    EXPECT_FALSE(button(options(), "masked")->isChecked());
    for (const char* name : maskingControls) EXPECT_FALSE(shown(name)) << name;
    EXPECT_EQ(depth()->value(), 40);  // the depth keeps what the user set
}

TEST_F(OptionsScreen, PreviewShowsTheMaskingOfTheSource) {
    toOptions();
    click(button(options(), "masked"));
    depth()->setValue(0);
    const RgbImage source = screens->pictures.source;
    click(button(options(), "preview"));
    EXPECT_TRUE(screens->previewViewer->isVisible());
    EXPECT_TRUE(SameImage(maskingPreview(source, 0), screens->pictures.preview));
    EXPECT_EQ(screens->pictures.preview.pixel(0, 0), kClearKey);
    EXPECT_TRUE(SameImage(source, screens->pictures.source));  // PREVIEW changes no picture
}

// NEXT hands the printing screen exactly what the composition gives for the same pictures
// and settings.
TEST_F(OptionsScreen, NextComposesWithTheSettingsShown) {
    struct Case {
        const char* name;
        std::vector<const char*> clicks;
        OutputOptions want;
    };
    OutputOptions everything;
    everything.masked = everything.mirrorStencil = everything.stencilInBlack = everything.adjustmentCorners =
        true;
    OutputOptions bare;
    bare.createStencil = bare.printResult = bare.printColorMatching = false;
    const Case cases[] = {
        {"defaults", {}, {}},
        {"masked, mirrored, black, corners",
         {"masked", "mirrorStencil", "stencilInBlack", "adjustmentCorners"},
         everything},
        {"no stencil, no result", {"createStencil", "printResult", "printColorMatching"}, bare}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        prepare(design());
        tickOnly({1, 3, 4, 5, 7, 10});
        ChannelSet expectedChannels = channels();
        RgbImage expectedSource = screens->pictures.source;
        RgbImage expectedStencil = screens->workflow.stencil;
        const RgbImage afterBefore = channels().after;

        toOptions();
        for (const char* name : c.clicks) tick(options(), name);
        screens->warning->hide();
        const OutputOptions chosen = options()->options();
        for (const auto& [actual, wanted] :
             {std::pair{chosen.masked, c.want.masked}, std::pair{chosen.mirrorStencil, c.want.mirrorStencil},
              std::pair{chosen.stencilInBlack, c.want.stencilInBlack},
              std::pair{chosen.adjustmentCorners, c.want.adjustmentCorners},
              std::pair{chosen.createStencil, c.want.createStencil},
              std::pair{chosen.printResult, c.want.printResult},
              std::pair{chosen.printColorMatching, c.want.printColorMatching}})
            ASSERT_EQ(actual, wanted);
        const ComposedOutput expected =
            composeOutput(expectedChannels, expectedSource, expectedStencil, chosen);
        screens->sourceViewer->show();
        screens->resultViewer->show();
        click(button(options(), "next"));

        EXPECT_FALSE(options()->isVisible());
        ASSERT_TRUE(printing()->isVisible());
        EXPECT_TRUE(SameImage(expectedSource, screens->pictures.source));
        EXPECT_TRUE(SameImage(expectedChannels.after, channels().after));
        for (int n = 1; n <= kChannelCount; ++n)
            EXPECT_TRUE(SameImage(expectedChannels.channel(n).mask, channels().channel(n).mask)) << n;
        EXPECT_TRUE(SameImage(afterBefore, screens->workflow.resultThumbnail));
        EXPECT_EQ(screens->workflow.stencilMade, chosen.createStencil);
        EXPECT_EQ(child<QWidget>(printing(), "stencilThumbnail")->isVisible(), chosen.createStencil);
        EXPECT_EQ(child<QWidget>(printing(), "resultThumbnail")->isVisible(), chosen.printResult);
        if (chosen.createStencil) {
            EXPECT_TRUE(SameImage(expectedStencil, screens->workflow.stencil));
            // The result goes into the RESULT viewer, and both viewers make way.
            EXPECT_TRUE(SameImage(channels().after, screens->pictures.result));
            EXPECT_FALSE(screens->sourceViewer->isVisible());
            EXPECT_FALSE(screens->resultViewer->isVisible());
        } else {
            EXPECT_TRUE(SameImage(design(), screens->pictures.source));
        }

        const PageEntries& entries = printing()->entries();
        EXPECT_EQ(entries.stencil.shown, chosen.createStencil);
        EXPECT_EQ(entries.result.shown, chosen.printResult);
        EXPECT_EQ(entries.colorMatching.shown, chosen.printColorMatching);
        EXPECT_EQ(entry("stencilEntry")->isVisible(), chosen.createStencil);
        EXPECT_EQ(entry("resultEntry")->isChecked(), chosen.printResult);
        int running = 0;
        for (int n = 1; n <= kChannelCount; ++n) {
            const bool ticked = channels().channel(n).checked && channels().colorOf(n) != kNoColor;
            EXPECT_EQ(channelEntry(n)->isVisible(), ticked) << n;
            EXPECT_EQ(channelEntry(n)->isChecked(), ticked) << n;
            if (ticked) {
                EXPECT_EQ(channelEntry(n)->text(), QString("Channel # %1").arg(++running)) << n;
            }
        }
        EXPECT_EQ(running, 6);
        printing()->hide();
    }
}

TEST_F(OptionsScreen, BackAndExit) {
    toOptions();
    const ChannelSet before = channels();
    click(button(options(), "help"));
    EXPECT_TRUE(screens->optionsHelp->isVisible());
    click(button(options(), "back"));
    EXPECT_FALSE(options()->isVisible());
    EXPECT_FALSE(screens->optionsHelp->isVisible());
    EXPECT_TRUE(screens->channels->isVisible());
    for (int n = 1; n <= kChannelCount; ++n)
        EXPECT_TRUE(SameImage(before.channel(n).mask, channels().channel(n).mask));
    EXPECT_TRUE(SameImage(before.after, channels().after));

    toOptions();
    options()->close();
    EXPECT_FALSE(options()->isVisible());
    EXPECT_EQ(ended, 0);
    toOptions();
    click(button(options(), "exit"));
    EXPECT_EQ(ended, 1);
}

}  // namespace
}  // namespace dg::test
