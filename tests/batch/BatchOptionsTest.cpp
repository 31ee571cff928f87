#include <gtest/gtest.h>

#include "batch/BatchOptions.h"

namespace dg {
namespace {

std::vector<std::string> words(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

// What is not given is left to the workflow, which starts where the wizard's screens do.
TEST(BatchOptions, WhatIsNotGivenIsLeftToTheWorkflow) {
    const BatchOptions o = parseBatchOptions(words({"tiger.jpg", "--task", "colors"}));
    EXPECT_EQ(o.picture, "tiger.jpg");
    EXPECT_EQ(o.task, TaskMode::TattooIn23Colors);
    EXPECT_FALSE(o.unit || o.dpi || o.width || o.height);
    EXPECT_TRUE(o.keepAspect);
    EXPECT_FALSE(o.method || o.sliders[0] || o.sliders[1] || o.sliders[2]);
    EXPECT_EQ(o.screenDpi, kDefaultScreenDpi);
    EXPECT_TRUE(o.output.createStencil);
    EXPECT_TRUE(o.output.printColorMatching);
    EXPECT_EQ(o.page.horizontal, HorizontalAlign::Centre);
    EXPECT_FALSE(o.print || o.save || o.exportName || o.saveChannels);
}

TEST(BatchOptions, EveryOptionReachesItsSetting) {
    const BatchOptions o = parseBatchOptions(words({"--task",
                                                    "colors",
                                                    "a.png",
                                                    "--width",
                                                    "12.5",
                                                    "--height",
                                                    "3.07",
                                                    "--no-aspect",
                                                    "--unit",
                                                    "in",
                                                    "--dpi",
                                                    "160",
                                                    "--threshold",
                                                    "white=230",
                                                    "--threshold",
                                                    "magenta-mid=3",
                                                    "--no-stencil",
                                                    "--mirror",
                                                    "--stencil-black",
                                                    "--masked",
                                                    "--depth",
                                                    "55",
                                                    "--corners",
                                                    "0,500",
                                                    "--no-color-matching",
                                                    "--no-result",
                                                    "--align",
                                                    "right,bottom",
                                                    "--label",
                                                    "72",
                                                    "--page-corners",
                                                    "50,1",
                                                    "--save-channels",
                                                    "c",
                                                    "--save",
                                                    "s",
                                                    "--export",
                                                    "e",
                                                    "--as",
                                                    "bmp",
                                                    "--print",
                                                    "--printer",
                                                    "Q"}));
    EXPECT_EQ(o.width, (std::pair<std::int32_t, std::int32_t>{12, 50}));
    EXPECT_EQ(o.height, (std::pair<std::int32_t, std::int32_t>{3, 7}));
    EXPECT_FALSE(o.keepAspect);
    EXPECT_EQ(o.unit, MeasuringUnit::Inches);
    EXPECT_EQ(o.dpi, 160);
    EXPECT_EQ(o.thresholdMoves, (std::vector<std::pair<int, int>>{{0, 230}, {15, 3}}));
    EXPECT_FALSE(o.output.createStencil);
    EXPECT_TRUE(o.output.mirrorStencil && o.output.stencilInBlack && o.output.masked &&
                o.output.adjustmentCorners);
    EXPECT_EQ(o.output.depth, 55);
    EXPECT_EQ(o.output.cornerWidth, 0);
    EXPECT_EQ(o.output.cornerSize, 500);
    EXPECT_FALSE(o.output.printColorMatching || o.output.printResult);
    EXPECT_EQ(o.page.horizontal, HorizontalAlign::Right);
    EXPECT_EQ(o.page.vertical, VerticalAlign::Bottom);
    EXPECT_TRUE(o.page.labelOnTop && o.page.pageCorners);
    EXPECT_EQ(o.page.labelPoints, 72);
    EXPECT_EQ(o.page.cornerWidthMm, 50);
    EXPECT_EQ(o.page.cornerSizeMm, 1);
    EXPECT_EQ(o.saveChannels, "c");
    EXPECT_EQ(o.save, "s");
    EXPECT_EQ(o.exportName, "e");
    EXPECT_EQ(o.exportType, PageFileType::Bmp);
    EXPECT_TRUE(o.print);
    EXPECT_EQ(o.printer, "Q");
}

TEST(BatchOptions, BadArgumentsAreRefusedWithOneLine) {
    const std::vector<std::vector<std::string>> bad = {
        words({"a.jpg"}),                                          // no task
        words({"--task", "colors"}),                               // no picture
        words({"a.jpg", "b.jpg", "--task", "colors"}),             // two pictures
        words({"a.jpg", "--task", "tattoo"}),                      // unknown task
        words({"a.jpg", "--task", "colors", "--frobnicate"}),      // unknown option
        words({"a.jpg", "--task", "colors", "--width", "0"}),      // below the field
        words({"a.jpg", "--task", "colors", "--width", "61"}),     // above the field
        words({"a.jpg", "--task", "colors", "--width", "8.505"}),  // thousandths
        words({"a.jpg", "--task", "colors", "--width", "-8"}),
        words({"a.jpg", "--task", "colors", "--width", "8."}),
        words({"a.jpg", "--task", "colors", "--dpi", "69"}),
        words({"a.jpg", "--task", "colors", "--dpi", "161"}),
        words({"a.jpg", "--task", "colors", "--dpi"}),          // no value
        words({"a.jpg", "--task", "colors", "--height", "5"}),  // height needs --no-aspect
        words({"a.jpg", "--task", "colors", "--threshold", "purple=3"}),
        words({"a.jpg", "--task", "colors", "--threshold", "white=256"}),
        words({"a.jpg", "--task", "colors", "--threshold", "white=-1"}),
        words({"a.jpg", "--task", "colors", "--threshold", "white"}),
        words({"a.jpg", "--task", "tribal", "--method", "9"}),
        words({"a.jpg", "--task", "tribal", "--slider2", "257"}),
        words({"a.jpg", "--task", "tribal", "--threshold", "white=3"}),
        words({"a.jpg", "--task", "single", "--save", "x"}),
        words({"a.jpg", "--task", "colors", "--as", "png"}),
        words({"a.jpg", "--task", "colors", "--align", "middle,left"}),
        words({"a.jpg", "--task", "colors", "--label", "7"}),
        words({"a.jpg", "--task", "colors", "--printer", "Q"}),     // without --print
        words({"a.jpg", "--task", "colors", "--method", "2"}),      // tribal only
        words({"P/PROJECT.CSP", "--task", "old", "--dpi", "120"}),  // a project keeps its size
        words({"a.jpg", "--task", "colors", "--screen-dpi", "0"}),
    };
    for (const auto& arguments : bad) {
        std::string line;
        for (const auto& a : arguments) line += a + " ";
        SCOPED_TRACE(line);
        try {
            parseBatchOptions(arguments);
            ADD_FAILURE() << "accepted";
        } catch (const UsageError& error) {
            EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace dg
