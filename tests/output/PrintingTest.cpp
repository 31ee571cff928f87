#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/OutputTestSupport.h"
#include "output/Printing.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::SameImage;

// A small printer, so that pages stay small: 2 x 3 inches at 100 DPI.
class Printing : public ::testing::Test {
protected:
    void SetUp() override {
        printer.portraitWidthPx = 200;
        printer.portraitHeightPx = 300;
        printer.resolutionX = printer.resolutionY = 100;
        state.unit = MeasuringUnit::Centimeters;
        state.outputWidthText = "2.54";
        state.outputHeightText = "1.27";
        const RgbImage picture = test::randomImage(6, 4, 1);
        channels.colorOf(3) = makeColor(1, 2, 3);
        channels.channel(3).mask = test::randomImage(6, 4, 3);
        channels.colorOf(12) = makeColor(4, 5, 6);
        channels.channel(12).mask = test::randomImage(6, 4, 12);
        result = picture;
        entries.stencil.shown = entries.stencil.ticked = true;
        entries.result.shown = entries.result.ticked = true;
        entries.colorMatching.shown = entries.colorMatching.ticked = true;
        for (int n : {3, 12}) {
            entries.channel(n).shown = entries.channel(n).ticked = true;
            entries.channel(n).caption = n == 3 ? "Channel # 1" : "Channel # 2";
        }
    }

    void print() { printChecked(entries, pictures, state, settings, printer, dialogs); }

    std::vector<std::string> jobNames() const {
        std::vector<std::string> names;
        for (const auto& job : printer.jobs) names.push_back(job.name);
        return names;
    }

    fake::FakePrinter printer;
    fake::FakeDialogs dialogs;
    OutputSettings state;
    PageSettings settings;
    ChannelSet channels;
    RgbImage stencil = test::randomImage(5, 5, 7);
    RgbImage result;
    RgbImage colorMatching = test::randomImage(505, 481, 2);
    PagePictures pictures{stencil, result, colorMatching, &channels};
    PageEntries entries;
};

TEST_F(Printing, PrintsEveryTickedPageInOrderAndUnticksIt) {
    print();
    EXPECT_EQ(jobNames(), (std::vector<std::string>{"STENCIL", "COLOR MATCHING", "RESULT", "Channel # 1",
                                                    "Channel # 2"}));
    EXPECT_EQ(dialogs.messages,
              (std::vector<std::string>{kStencilMediaMessage, kRegularPaperMessage, " FINISHED "}));
    EXPECT_EQ(printer.printDialogsShown, 2);
    EXPECT_FALSE(entries.stencil.ticked || entries.result.ticked || entries.colorMatching.ticked ||
                 entries.channel(3).ticked || entries.channel(12).ticked);

    // Every placed page is the composer's page: 100 x 50 printer pixels, centred.
    const PagePlacement placement{200, 300, {50, 125, 100, 50}};
    EXPECT_TRUE(SameImage(composePlacedPage(result, placement, PageDecoration{}, ""), printer.jobs[2].page));
    EXPECT_TRUE(SameImage(composePlacedPage(channels.channel(12).mask, placement, PageDecoration{}, ""),
                          printer.jobs[4].page));
    EXPECT_TRUE(SameImage(composeStretchedPage(colorMatching, 200, 300), printer.jobs[1].page));

    // The ticks are the queue: nothing is left to print.
    printer.jobs.clear();
    print();
    EXPECT_TRUE(printer.jobs.empty());
}

TEST_F(Printing, ColourMatchingPrintsInPortraitAndThePrinterStaysLandscape) {
    printer.currentOrientation = Orientation::Landscape;
    entries.stencil.ticked = entries.result.ticked = false;
    entries.channel(3).ticked = entries.channel(12).ticked = false;
    print();
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].orientation, Orientation::Portrait);
    EXPECT_EQ(printer.jobs[0].page.width(), 200);
    EXPECT_EQ(printer.jobs[0].page.height(), 300);
    EXPECT_EQ(printer.orientation(), Orientation::Landscape);
}

TEST_F(Printing, PlacedPagesUseTheCornersAndLabelAsSet) {
    settings.pageCorners = true;
    settings.cornerSizeMm = 10;  // 39 pixels at 100 DPI
    settings.cornerWidthMm = 1;  // 4 pixels
    settings.labelOnTop = true;
    settings.labelPoints = 10;
    print();
    PageDecoration decoration;
    decoration.corners = decoration.label = true;
    decoration.cornerLength = 39;
    decoration.penWidth = 4;
    decoration.labelPoints = 10;
    decoration.labelDpi = 100;  // the printer's resolution
    const PagePlacement placement{200, 300, {50, 125, 100, 50}};
    EXPECT_TRUE(SameImage(composePlacedPage(channels.channel(3).mask, placement, decoration, "Channel # 1"),
                          printer.jobs[3].page));
    // The colour-matching page has neither.
    EXPECT_TRUE(SameImage(composeStretchedPage(colorMatching, 200, 300), printer.jobs[1].page));
}

TEST_F(Printing, CancellingTheFirstDialogSkipsOnlyTheStencil) {
    printer.printAnswers = {false, true};
    print();
    EXPECT_EQ(jobNames(),
              (std::vector<std::string>{"COLOR MATCHING", "RESULT", "Channel # 1", "Channel # 2"}));
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{kStencilMediaMessage, " FINISHED "}));
    EXPECT_FALSE(entries.stencil.ticked);
}

TEST_F(Printing, CancellingTheSecondDialogSkipsTheRestWithoutFinished) {
    printer.printAnswers = {true, false};
    print();
    EXPECT_EQ(jobNames(), (std::vector<std::string>{"STENCIL"}));
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{kStencilMediaMessage, kRegularPaperMessage}));
    EXPECT_TRUE(entries.result.ticked && entries.colorMatching.ticked && entries.channel(3).ticked);
}

TEST_F(Printing, AFailedJobShowsTheErrorAndLeavesTheRestTicked) {
    printer.failJob = 2;  // RESULT
    print();
    EXPECT_EQ(jobNames(), (std::vector<std::string>{"STENCIL", "COLOR MATCHING"}));
    EXPECT_EQ(dialogs.messages.back(), "ERRORThe printer is out of paper.");
    EXPECT_FALSE(entries.colorMatching.ticked);
    EXPECT_TRUE(entries.result.ticked);
    EXPECT_TRUE(entries.channel(3).ticked && entries.channel(12).ticked);

    // Pressing again prints what was left.
    printer.failJob.reset();
    printer.jobs.clear();
    dialogs.messages.clear();
    print();
    EXPECT_EQ(jobNames(), (std::vector<std::string>{"RESULT", "Channel # 1", "Channel # 2"}));
    EXPECT_EQ(dialogs.messages.back(), " FINISHED ");
}

TEST_F(Printing, AFailedStencilJobStaysTickedAndStopsTheRun) {
    printer.failJob = 0;
    print();
    EXPECT_TRUE(printer.jobs.empty());
    EXPECT_EQ(dialogs.messages,
              (std::vector<std::string>{kStencilMediaMessage, "ERRORThe printer is out of paper."}));
    EXPECT_TRUE(entries.stencil.ticked);
    EXPECT_EQ(printer.printDialogsShown, 1);
}

TEST_F(Printing, AFailedPortraitJobStillTurnsThePrinterBack) {
    printer.currentOrientation = Orientation::Landscape;
    printer.failJob = 1;  // COLOR MATCHING
    print();
    EXPECT_EQ(printer.orientation(), Orientation::Landscape);
    EXPECT_TRUE(entries.colorMatching.ticked);
    EXPECT_EQ(dialogs.messages.back(), "ERRORThe printer is out of paper.");
}

TEST_F(Printing, AnUnreadableOutputSizeIsAnError) {
    state.outputWidthText = "";
    entries.stencil.ticked = false;
    print();
    EXPECT_TRUE(printer.jobs.size() == 1 && printer.jobs[0].name == "COLOR MATCHING");
    EXPECT_EQ(dialogs.messages.back().rfind("ERROR", 0), 0u);
    EXPECT_TRUE(entries.result.ticked);
}

}  // namespace
}  // namespace dg
