#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "imaging/Failure.h"
#include "output/OutputTestSupport.h"
#include "project/ProjectFolder.h"
#include "project/ProjectReader.h"
#include "project/ProjectTestSupport.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::RecordingTarget;
using test::SameImage;
using Calls = std::vector<std::string>;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Reader : public ::testing::Test {
protected:
    void SetUp() override {
        fakes.files.folder = temp.path();
        state.unit = MeasuringUnit::Centimeters;
    }
    void writeDescriptor(const std::string& text) {
        std::ofstream(temp.file("PROJECT.CSP"), std::ios::binary) << text;
    }
    // SOURCE 200 x 100: the height is half the width.
    void intake() { restoreOutputSettingsOnIntake(fakes.files, state, target, 200, 100); }

    test::TempFolder temp;
    test::RecordingPlatform fakes;
    OutputSettings state;
    RecordingTarget target{state};
};

TEST_F(Reader, IntakeWithOnlyLinesZeroToFiveKeepsTheUnitAndTheHeightFollowsTheWidth) {
    writeDescriptor("index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n");
    intake();
    EXPECT_EQ(target.calls, (Calls{"preserve off", "dpi 120", "width 10", "width/100 40", "height 3",
                                   "height/100 0", "preserve on", "height 5", "height/100 20"}));
    EXPECT_EQ(state.unit, MeasuringUnit::Centimeters);
    EXPECT_EQ(state.outputHeightWhole, 5);
    EXPECT_EQ(state.outputHeightHundredths, 20);
}

TEST_F(Reader, IntakeAppliesTheUnitFirstAndIgnoresLinesSevenToTen) {
    writeDescriptor("index\r\n100\r\n4\r\n25\r\n3\r\n10\r\n1\r\n999\r\nx\r\n?\r\n?\r\nextra\r\nlines\r\n");
    intake();
    EXPECT_EQ(target.calls, (Calls{"unit Inches", "preserve off", "dpi 100", "width 4", "width/100 25",
                                   "height 3", "height/100 10", "preserve on", "height 2", "height/100 12"}));
}

TEST_F(Reader, IntakeWithoutADescriptorStillRecomputesTheHeight) {
    state.outputWidthWhole = 8;
    state.outputWidthHundredths = 50;
    intake();
    EXPECT_EQ(target.calls, (Calls{"height 4", "height/100 25"}));
    target.calls.clear();
    state.preserveAspect = false;
    intake();
    EXPECT_TRUE(target.calls.empty());
}

TEST_F(Reader, HeightHundredthsThatRoundToAHundredAreClampedByTheField) {
    state.outputWidthWhole = 6;
    state.outputWidthHundredths = 0;
    restoreOutputSettingsOnIntake(fakes.files, state, target, 2000, 1999);  // 5.997
    EXPECT_EQ(target.calls, (Calls{"height 5", "height/100 100"}));
    EXPECT_EQ(state.outputHeightWhole, 5);
    EXPECT_EQ(state.outputHeightHundredths, 99);
}

TEST_F(Reader, BadDescriptorsOnIntake) {
    struct Case {
        const char* name;
        const char* text;
        Calls calls;
        bool fails;
    };
    const Case cases[] = {
        {"empty file: nothing to apply", "", {"preserve on", "height 4", "height/100 25"}, false},
        {"an empty line is skipped, and no line 4 keeps preserve on",
         "index\r\n\r\n9\r\n",
         {"width 9", "preserve on", "height 4", "height/100 75"},
         false},
        {"a non-integer line stops there",
         "index\r\n100\r\n5O\r\n0\r\n3\r\n0\r\n",
         {"preserve off", "dpi 100"},
         true},
        {"a number with a decimal point is not an integer", "index\r\n100\r\n8.5\r\n", {"dpi 100"}, true},
        {"a blank inside a line", "index\r\n 100\r\n", {}, true},
        {"out of range values are clamped by the fields",
         "index\r\n999\r\n-5\r\n150\r\n99999999999\r\n0\r\n",
         {"preserve off", "dpi 999", "width -5", "width/100 150", "height 2147483647", "height/100 0",
          "preserve on", "height 0", "height/100 100"},
         false},
        {"LF line ends are read too",
         "index\n100\n2\n0\n",
         {"dpi 100", "width 2", "width/100 0", "preserve on", "height 1", "height/100 0"},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        state = OutputSettings{};
        state.outputWidthWhole = 8;
        state.outputWidthHundredths = 50;
        target.calls.clear();
        writeDescriptor(c.text);
        if (c.fails) {
            try {
                intake();
                ADD_FAILURE() << "no failure";
            } catch (const Failure& failure) {
                EXPECT_NE(std::string(failure.what()).find("PROJECT.CSP, line"), std::string::npos)
                    << failure.what();
            }
        } else {
            EXPECT_NO_THROW(intake());
        }
        EXPECT_EQ(target.calls, c.calls);
    }
    // What the fields made of the out-of-range values.
    writeDescriptor("index\r\n999\r\n-5\r\n150\r\n99999999999\r\n0\r\n");
    intake();
    EXPECT_EQ(state.outputDpi, 160);
    EXPECT_EQ(state.outputWidthWhole, 1);
    EXPECT_EQ(state.outputWidthHundredths, 99);
}

class OpenProject : public Reader {
protected:
    OpenedProject open(const std::string& path) {
        fakes.dialogs.projectAnswers.push_back(path);
        return openProject(fakes.dialogs, fakes.files, state, target, source);
    }
    RgbImage source = test::randomImage(3, 3, 1);
};

TEST_F(OpenProject, ASavedProjectComesBackWithItsSettingsAndItsResultByteForByte) {
    OutputSettings saved;
    saved.unit = MeasuringUnit::Inches;
    saved.outputDpi = 150;
    saved.outputWidthWhole = 4;
    saved.outputWidthHundredths = 25;
    saved.outputHeightWhole = 3;
    saved.outputHeightHundredths = 19;
    saved.outputWidthText = "4.25";
    saved.outputHeightText = "3.19";
    const RgbImage savedSource = test::randomImage(638, 478, 2);
    ChannelSet channels;
    channels.before = test::randomImage(7, 5, 3);
    channels.after = test::randomImage(7, 5, 4);
    fakes.dialogs.saveAnswers.push_back(temp.file("tiger"));
    ASSERT_TRUE(saveProject(channelsScreenProject(savedSource, channels), saved, fakes.dialogs, fakes.files));
    const std::string folder = projectFolderPath(temp.file("tiger"), saved);

    const OpenedProject opened = open(folder + "/PROJECT.CSP");
    ASSERT_EQ(opened.outcome, OpenProjectOutcome::Opened);
    EXPECT_EQ(target.calls, (Calls{"unit Inches", "preserve off", "dpi 150", "width 4", "width/100 25",
                                   "height 3", "height/100 19", "preserve on"}));
    EXPECT_EQ(source.width(), 638);
    EXPECT_EQ(source.height(), 478);
    EXPECT_EQ(state.unit, saved.unit);
    EXPECT_EQ(state.outputDpi, saved.outputDpi);
    EXPECT_EQ(state.outputWidthWhole, saved.outputWidthWhole);
    EXPECT_EQ(state.outputWidthHundredths, saved.outputWidthHundredths);
    EXPECT_EQ(state.outputHeightWhole, saved.outputHeightWhole);
    EXPECT_EQ(state.outputHeightHundredths, saved.outputHeightHundredths);
    EXPECT_EQ(state.outputWidthText, "4.25");
    EXPECT_EQ(state.outputHeightText, "3.19");
    EXPECT_TRUE(SameImage(channels.after, opened.result));

    // Saved again, under another name, RESULT.bmp is the same file.
    ChannelSet reopened;
    reopened.before = opened.result;
    reopened.after = opened.result;
    fakes.dialogs.saveAnswers.push_back(temp.file("tiger again"));
    ASSERT_TRUE(
        saveProject(channelsScreenProject(opened.result, reopened), state, fakes.dialogs, fakes.files));
    EXPECT_EQ(fileBytes(projectFolderPath(temp.file("tiger again"), state) + "/RESULT.bmp"),
              fileBytes(folder + "/RESULT.bmp"));
}

TEST_F(OpenProject, OnlyLinesZeroToFiveStopsAtLineSeven) {
    writeDescriptor("index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n");
    try {
        open(temp.file("PROJECT.CSP"));
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("line 7"), std::string::npos) << failure.what();
    }
    EXPECT_TRUE(target.calls.empty());
    EXPECT_EQ(source.width(), 3);
}

TEST_F(OpenProject, TheUnitIsAppliedBeforeABadPictureSizeStopsTheOpen) {
    for (const char* size : {"0\r\n5", "5\r\nabc", "100000\r\n100000"}) {
        SCOPED_TRACE(size);
        target.calls.clear();
        writeDescriptor(std::string("index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n1\r\n") + size +
                        "\r\n10.4\r\n3\r\n");
        EXPECT_THROW(open(temp.file("PROJECT.CSP")), Failure);
        EXPECT_EQ(target.calls, (Calls{"unit Inches"}));
        EXPECT_EQ(source.width(), 3);
    }
}

TEST_F(OpenProject, AMissingResultShowsTheMessageAndKeepsTheSettings) {
    writeDescriptor("index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n2\r\n300\r\n200\r\n10.4\r\n3\r\n");
    const OpenedProject opened = open(temp.file("PROJECT.CSP"));
    EXPECT_EQ(opened.outcome, OpenProjectOutcome::ResultMissing);
    EXPECT_EQ(fakes.dialogs.messages, (std::vector<std::string>{"Fife/s/ missing!"}));
    EXPECT_EQ(state.outputDpi, 120);
    EXPECT_EQ(state.outputWidthText, "10.4");
    EXPECT_EQ(source.width(), 300);
}

TEST_F(OpenProject, NothingHappensForOtherFilesOrACancelledDialog) {
    std::ofstream(temp.file("project.csp")) << "index\r\n120\r\n";
    EXPECT_EQ(open(temp.file("project.csp")).outcome, OpenProjectOutcome::NotAProject);
    EXPECT_EQ(open(temp.file("PROJECT.CSP")).outcome, OpenProjectOutcome::Cancelled);  // does not exist
    fakes.dialogs.projectAnswers.push_back(std::nullopt);
    EXPECT_EQ(openProject(fakes.dialogs, fakes.files, state, target, source).outcome,
              OpenProjectOutcome::Cancelled);
    EXPECT_TRUE(target.calls.empty());
    EXPECT_TRUE(fakes.dialogs.messages.empty());
}

}  // namespace
}  // namespace dg
