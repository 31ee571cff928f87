#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Workflow.h"
#include "imaging/CountColors.h"
#include "imaging/Failure.h"
#include "imaging/Progress.h"
#include "imaging/Tribal.h"
#include "platform/fake/FakePlatform.h"
#include "separation/Thresholds.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::SameImage;

// A picture of exactly `colours` distinct colours, one pixel each, then grey.
RgbImage picture(int colours, int width = 40, int height = 30) {
    RgbImage p(width, height);
    p.fill(0x808080);
    for (int k = 0; k + 1 < colours; ++k) p.setPixel(k % width, k / width, 0x010203 * (k + 1));
    return p;
}

class WorkflowTest : public ::testing::Test {
protected:
    fake::FakePlatform fakes;
    Workflow run{fakes.platform};
    std::vector<Change> heard;

    void SetUp() override {
        run.listen([this](Change what) { heard.push_back(what); });
        run.readPrinter();
    }
    void takeIn(const RgbImage& p, TaskMode task) {
        run.chooseTask(task);
        run.pictures.intake = p;
        run.takeIntoSource();
        run.recomputeOutputSize();
    }
};

// The output size's fields clamp into their ranges, and with the proportions kept every width
// brings its height along.
TEST_F(WorkflowTest, OutputFieldsClampAndTheHeightFollowsTheWidth) {
    takeIn(picture(2, 200, 100), TaskMode::TattooIn23Colors);
    struct Case {
        const char* what;
        std::int32_t dpi, widthWhole, widthHundredths;
        std::int32_t expectDpi, expectWidth, expectHeightWhole, expectHeightHundredths;
    };
    const Case cases[] = {{"in range", 120, 10, 0, 120, 10, 5, 0},
                          {"below", 10, 0, 0, 70, 1, 0, 50},
                          {"above", 999, 99, 0, 160, 60, 30, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        run.setDpi(c.dpi);
        run.setWidthWhole(c.widthWhole);
        run.setWidthHundredths(c.widthHundredths);
        EXPECT_EQ(run.state.outputDpi, c.expectDpi);
        EXPECT_EQ(run.state.outputWidthWhole, c.expectWidth);
        EXPECT_EQ(run.state.outputHeightWhole, c.expectHeightWhole);
        EXPECT_EQ(run.state.outputHeightHundredths, c.expectHeightHundredths);
        EXPECT_EQ(run.state.outputWidthText, std::to_string(c.expectWidth));
    }
    // Cleared, the height is the user's own.
    run.setPreserveAspect(false);
    run.setHeightWhole(7);
    run.setWidthWhole(20);
    EXPECT_EQ(run.state.outputHeightWhole, 7);
}

// One rule refuses an output of no pixels, with one message, before anything is scaled.
TEST_F(WorkflowTest, AnOutputOfNoPixelsIsRefusedWithOneMessage) {
    takeIn(picture(2), TaskMode::TattooIn23Colors);
    run.setPreserveAspect(false);
    run.setHeightWhole(0);
    run.setHeightHundredths(1);
    try {
        run.requireOutputPixels();
        FAIL() << "refused nothing";
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()),
                  "The output size of 8.5 x 0.01 Centimeters at 100 DPI is less than one pixel high. Please "
                  "choose a larger size.");
    }
    run.setHeightHundredths(2);  // 0.02 cm at 100 DPI rounds to one pixel
    EXPECT_NO_THROW(run.requireOutputPixels());
}

// The colour task goes straight to the channels with fewer than 24 colours.
TEST_F(WorkflowTest, TheColourRouteSkipsTheReductionBelow24Colours) {
    for (const auto& [colours, route] :
         {std::pair{23, ColourRoute::Channels}, std::pair{24, ColourRoute::Separation}}) {
        SCOPED_TRACE(colours);
        // 8.50 cm at 100 DPI is 335 pixels: the scaled picture keeps every colour.
        takeIn(picture(colours, 335, 335), TaskMode::TattooIn23Colors);
        run.scaleSource();
        ASSERT_EQ(CountColors(run.pictures.source), colours);
        EXPECT_EQ(run.colourRoute(), route);
    }
    run.channelsFromSource();
    EXPECT_TRUE(run.reductionSkipped);
    EXPECT_TRUE(SameImage(run.pictures.source, run.channels.before));
}

// TRIBAL CREATION's entry chooses Method 8 afresh and nudges slider 1 twice; choosing another
// method nudges it once more, ORIGINAL and the enhance screen's OK by their own rules.
TEST_F(WorkflowTest, TribalNudges) {
    takeIn(picture(30), TaskMode::CreateTribalTattoo);
    run.scaleSource();
    run.enterTribal();
    EXPECT_EQ(run.tribalMethod(), 8);
    EXPECT_EQ(run.tribalSliders().t1, 102);
    EXPECT_EQ(run.tribalSliders().t2, 100);
    EXPECT_EQ(run.tribalSliders().t3, 100);
    EXPECT_EQ(run.tribalRecomputes(), 2);
    run.chooseTribalMethod(8);  // already chosen: nothing runs
    EXPECT_EQ(run.tribalSliders().t1, 102);
    run.chooseTribalMethod(3);
    EXPECT_EQ(run.tribalSliders().t1, 103);

    struct Case {
        const char* rule;
        int from, to;
    };
    const Case cases[] = {{"choosing", 100, 101},
                          {"choosing, at the top", 256, 255},
                          {"choosing, below it", 255, 255},
                          {"ORIGINAL", 100, 100},
                          {"ORIGINAL, at the bottom", 0, 1},
                          {"enhance OK", 100, 101},
                          {"enhance OK, near the top", 255, 254},
                          {"enhance OK, at the top", 256, 255}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        run.setTribalSlider(0, c.from);
        const std::string rule = c.rule;
        if (rule.rfind("choosing", 0) == 0) {
            run.chooseTribalMethod(run.tribalMethod() == 1 ? 2 : 1);
        } else if (rule.rfind("ORIGINAL", 0) == 0) {
            run.tribalOriginal();
        } else {
            run.nudgeAfterEnhance();
        }
        EXPECT_EQ(run.tribalSliders().t1, c.to);
    }
    // The RESULT is always the design of the method and sliders as they stand.
    RgbImage expected;
    makeTribal(run.pictures.source, run.tribalMethod(), run.tribalSliders(), expected);
    EXPECT_TRUE(SameImage(expected, run.pictures.result));
}

// Every slider move is clamped as the separation screen's cascade settles it, from the entry's
// raised white on.
TEST_F(WorkflowTest, ThresholdsClampOnEveryMove) {
    takeIn(picture(40), TaskMode::TattooIn23Colors);
    run.scaleSource();
    EXPECT_TRUE(run.enterSeparation());
    EXPECT_EQ(run.thresholds(), clampThresholds(thresholdsOnEnter(SeparationThresholds{})));
    const std::vector<std::pair<int, int>> moves = {{1, 255}, {3, 250}, {0, 0}, {5, 255}};
    SeparationThresholds expected = run.thresholds();
    for (const auto& [slider, value] : moves) {
        SCOPED_TRACE(slider);
        auto values = thresholdValues(expected);
        values[static_cast<std::size_t>(slider)] = value;
        expected = clampThresholds(thresholdsFromValues(values));
        run.moveThreshold(slider, value);
        EXPECT_EQ(run.thresholds(), expected);
    }
    EXPECT_TRUE(SameImage(separate(run.separationCopy, expected).result, run.separationResult));
}

// The single-file task offers RESULT alone, and the printing screen hears of it.
TEST_F(WorkflowTest, TheSingleFileIsTheOnlyPage) {
    takeIn(picture(5), TaskMode::PrintSingleFile);
    heard.clear();
    run.scaleSingleFile();
    EXPECT_TRUE(run.entries.result.shown && run.entries.result.ticked);
    EXPECT_FALSE(run.entries.stencil.shown || run.entries.colorMatching.shown);
    EXPECT_EQ(run.channels.after.width(), 335);
    EXPECT_TRUE(SameImage(run.channels.after, run.resultThumbnail));
    EXPECT_EQ(heard, std::vector<Change>{Change::Pages});
}

}  // namespace
}  // namespace dg

namespace dg {
namespace {

// OUTPUT SIZE's NEXT cancelled at any of its checkpoints puts back everything it changed:
// stopped at the first, then at later and later ones, until it runs to its end.
TEST_F(WorkflowTest, ACancelledReductionLeavesTheRunAsItWas) {
    struct Case {
        const char* name;
        TaskMode task;
        int colours;
    };
    for (const Case& c : {Case{"channels", TaskMode::TattooIn23Colors, 23},
                          Case{"separation", TaskMode::TattooIn23Colors, 60},
                          Case{"tribal", TaskMode::CreateTribalTattoo, 60}}) {
        SCOPED_TRACE(c.name);
        // At the output size's 335 pixels the picture is not resampled and keeps its colours.
        takeIn(picture(c.colours, 335, 335), c.task);
        const RgbImage source = run.pictures.source;
        const RgbImage result = run.pictures.result;
        const RgbImage channelsBefore = run.channels.before;
        const int method = run.tribalMethod();
        const SeparationThresholds thresholds = run.thresholds();
        bool finished = false;
        int cancelled = 0;
        for (int at = 1; !finished && at < 100000; at += 1 + at / 4) {
            StepProgress progress;
            progress.cancelAtCheckpoint(at);
            const ProgressScope scope(&progress);
            try {
                run.enterReduction();
                finished = true;
            } catch (const Cancelled&) {
                ++cancelled;
                ASSERT_TRUE(SameImage(run.pictures.source, source)) << "at checkpoint " << at;
                ASSERT_TRUE(SameImage(run.pictures.result, result)) << "at checkpoint " << at;
                EXPECT_TRUE(SameImage(run.channels.before, channelsBefore)) << at;
                EXPECT_TRUE(run.separationCopy.empty()) << at;
                EXPECT_TRUE(run.tribalEntryCopy.empty()) << at;
                EXPECT_EQ(run.tribalMethod(), method) << at;
                EXPECT_EQ(thresholdValues(run.thresholds()), thresholdValues(thresholds)) << at;
            }
        }
        ASSERT_TRUE(finished);
        EXPECT_GT(cancelled, 3);
        // Done at last, the step is what it always was.
        EXPECT_EQ(run.pictures.source.width(), 335);
        if (c.task == TaskMode::CreateTribalTattoo)
            EXPECT_EQ(run.tribalMethod(), kTribalEntryMethod);
        else if (c.colours == 23)
            EXPECT_FALSE(run.channels.before.empty());
        else
            EXPECT_FALSE(run.separationCopy.empty());
    }
}

// Changes made while they are held are told afterwards, in order, a run of one kind once.
TEST_F(WorkflowTest, HeldChangesAreToldWhenReleased) {
    const auto steps = [this] {
        run.scaleSource();
        run.enterSeparation();
        run.moveThreshold(0, 10);
    };
    takeIn(picture(60), TaskMode::TattooIn23Colors);
    heard.clear();
    steps();
    std::vector<Change> told = heard;
    told.erase(std::unique(told.begin(), told.end()), told.end());
    ASSERT_LT(told.size(), heard.size());

    takeIn(picture(60), TaskMode::TattooIn23Colors);
    heard.clear();
    run.holdChanges();
    steps();
    EXPECT_TRUE(heard.empty());
    run.releaseChanges();
    EXPECT_EQ(heard, told);
    run.moveThreshold(0, 12);
    EXPECT_EQ(heard.back(), Change::Separation);
}

}  // namespace
}  // namespace dg
