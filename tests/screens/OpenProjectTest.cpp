#include <QSpinBox>
#include <fstream>

#include "ShellFixture.h"
#include "formats/Bmp.h"
#include "project/ProjectFolder.h"
#include "screens/ChannelsScreen.h"
#include "screens/OutputSize.h"
#include "screens/SelectTask.h"

namespace dg::test {
namespace {

// PRINT OLD PROJECT: "NEXT : OPEN PROJECT >>" on SELECT TASK with the project dialog scripted.
class OpenProjectScreen : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        click(button(screens->selectTask.get(), "PrintOldProjectCaption"));
    }
    void writeFile(const std::string& name, const std::string& bytes) {
        std::ofstream(folder.file(name), std::ios::binary) << bytes;
    }
    void writeResult(const RgbImage& picture) {
        const std::vector<std::uint8_t> bytes = encodeBmp(picture);
        writeFile("RESULT.bmp", std::string(bytes.begin(), bytes.end()));
    }
    void open(const std::string& path) {
        fakes.dialogs.projectAnswers.push_back(path);
        click(button(screens->selectTask.get(), "openProject"));
    }
    std::int32_t dpi() const { return screens->state.outputDpi; }

    RgbImage result = randomImage(30, 20, 4);
};

TEST_F(OpenProjectScreen, ASavedProjectComesBackOnTheChannelsScreenWithItsSettings) {
    WorkflowState saved;
    saved.unit = MeasuringUnit::Inches;
    saved.outputDpi = 150;
    saved.outputWidthWhole = 4;
    saved.outputWidthHundredths = 25;
    saved.outputHeightWhole = 3;
    saved.outputHeightHundredths = 18;
    saved.outputWidthText = "4.25";
    saved.outputHeightText = "3.18";
    ChannelSet channels;
    channels.before = randomImage(30, 20, 3);
    channels.after = result;
    const RgbImage source(638, 478);
    fakes.dialogs.saveAnswers.push_back(folder.file("tiger"));
    ASSERT_TRUE(saveProject(channelsScreenProject(source, channels), saved, fakes.dialogs, fakes.files));
    fakes.dialogs.messages.clear();

    open(projectFolderPath(folder.file("tiger"), saved) + "/PROJECT.CSP");
    EXPECT_TRUE(fakes.dialogs.messages.empty());
    const WorkflowState& state = screens->state;
    EXPECT_EQ(state.unit, MeasuringUnit::Inches);
    EXPECT_TRUE(child<QCheckBox>(screens->selectTask.get(), "Inches")->isChecked());
    EXPECT_EQ(text(screens->outputSize.get(), "widthUnit"), "Inches");
    EXPECT_EQ(state.outputDpi, 150);
    EXPECT_EQ(screens->outputSize->SpinEdit1->value(), 150);
    EXPECT_EQ(state.outputWidthWhole, 4);
    EXPECT_EQ(state.outputWidthHundredths, 25);
    // With "Preserve Aspect Ratio" ticked again, the height follows the stored 638 x 478.
    EXPECT_EQ(state.outputHeightWhole, 3);
    EXPECT_EQ(state.outputHeightHundredths, 18);
    EXPECT_TRUE(state.preserveAspect);
    EXPECT_EQ(state.outputWidthText, "4.25");
    EXPECT_EQ(state.outputHeightText, "3.18");
    EXPECT_TRUE(SameImage(result, screens->workflow.channels.before));
    EXPECT_TRUE(SameImage(result, screens->pictures.source));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm019"});
    EXPECT_TRUE(button(screens->channels.get(), "undo")->isHidden());
}

TEST_F(OpenProjectScreen, AMissingResultSaysSoAndLeavesTheSettingsApplied) {
    writeFile("PROJECT.CSP", "index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n2\r\n300\r\n200\r\n10.4\r\n3\r\n");
    open(folder.file("PROJECT.CSP"));
    EXPECT_EQ(fakes.dialogs.messages, std::vector<std::string>{"Fife/s/ missing!"});
    EXPECT_EQ(dpi(), 120);
    EXPECT_EQ(screens->state.outputWidthWhole, 10);
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    EXPECT_TRUE(screens->workflow.channels.before.empty());
}

// Every line the reader may meet, with a good RESULT.bmp: the project opens, or the
// conversion error is shown, what came before it stays applied and SELECT TASK is back.
TEST_F(OpenProjectScreen, DescriptorLines) {
    struct Case {
        const char* what;
        std::string descriptor;
        bool opens;
        const char* message;  // part of the message shown, when it does not open
        std::int32_t dpi;
    };
    const std::string rest = "\r\n3\r\n0\r\n2\r\n300\r\n200\r\n10.4\r\n3\r\n";
    const Case cases[] = {
        {"bad line 2 keeps line 1's DPI", "index\r\n120\r\nten\r\n40" + rest, false, "line 2", 120},
        {"empty line 1 is skipped", "index\r\n\r\n10\r\n40" + rest, true, "", 100},
        {"negative DPI is clamped", "index\r\n-5\r\n10\r\n40" + rest, true, "", 70},
        {"enormous DPI is clamped", "index\r\n99999999999999999999\r\n10\r\n40" + rest, true, "", 160},
        {"decimal DPI", "index\r\n120.5\r\n10\r\n40" + rest, false, "line 1", 100},
        {"empty line 7 stops before line 1",
         "index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n2\r\n\r\n200\r\n10.4\r\n3\r\n", false, "line 7", 100},
        {"enormous stored size", "index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n2\r\n300\r\n99999999\r\n\r\n\r\n",
         false, "is not valid", 100},
        {"only lines 0 to 5", "index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n", false, "line 7", 100},
        {"an empty file", "", false, "line 7", 100},
    };
    writeResult(result);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        click(button(screens->selectTask.get(), "PrintOldProjectCaption"));
        fakes.dialogs.messages.clear();
        writeFile("PROJECT.CSP", c.descriptor);
        open(folder.file("PROJECT.CSP"));
        EXPECT_EQ(dpi(), c.dpi);
        if (c.opens) {
            EXPECT_TRUE(fakes.dialogs.messages.empty());
            EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm019"});
            EXPECT_TRUE(SameImage(result, screens->workflow.channels.before));
        } else {
            ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
            EXPECT_NE(fakes.dialogs.messages[0].find(c.message), std::string::npos)
                << fakes.dialogs.messages[0];
            EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
            EXPECT_TRUE(screens->workflow.channels.before.empty());
        }
    }
}

TEST_F(OpenProjectScreen, ADamagedResultShowsTheReadersMessageAndTheUserCanStartAgain) {
    writeFile("PROJECT.CSP", "index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n2\r\n300\r\n200\r\n10.4\r\n3\r\n");
    const std::vector<std::uint8_t> good = encodeBmp(result);
    std::string hugeWidth(good.begin(), good.end());
    hugeWidth[18] = hugeWidth[19] = hugeWidth[20] = '\x7f';  // the width field of the header
    const std::string damaged[] = {std::string(good.begin(), good.begin() + 200),
                                   std::string(good.begin(), good.begin() + 20), "not a bitmap at all", "",
                                   hugeWidth};
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(bytes.size());
        fakes.dialogs.messages.clear();
        writeFile("RESULT.bmp", bytes);
        open(folder.file("PROJECT.CSP"));
        EXPECT_EQ(fakes.dialogs.messages.size(), 1u);
        EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
        EXPECT_TRUE(screens->workflow.channels.before.empty());
    }
    writeResult(result);
    fakes.dialogs.messages.clear();
    open(folder.file("PROJECT.CSP"));
    EXPECT_TRUE(fakes.dialogs.messages.empty());
    EXPECT_TRUE(SameImage(result, screens->workflow.channels.before));
}

TEST_F(OpenProjectScreen, NothingHappensWithoutAProjectDescriptor) {
    writeResult(result);
    writeFile("project.csp", "index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n2\r\n300\r\n200\r\n10.4\r\n3\r\n");
    open(folder.file("project.csp"));                      // the name is compared case-sensitively
    open(folder.file("PROJECT.CSP"));                      // no such file
    fakes.dialogs.projectAnswers.push_back(std::nullopt);  // cancelled
    click(button(screens->selectTask.get(), "openProject"));
    // Another task never opens a project, even if the trigger is stepped.
    writeFile("PROJECT.CSP", "index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n2\r\n300\r\n200\r\n10.4\r\n3\r\n");
    screens->selectTask->chooseTask(TaskMode::TattooIn23Colors);
    fakes.dialogs.projectAnswers.push_back(folder.file("PROJECT.CSP"));
    screens->selectTask->SpinEdit11.step();
    EXPECT_EQ(fakes.dialogs.projectAnswers.size(), 1u);
    EXPECT_TRUE(fakes.dialogs.messages.empty());
    EXPECT_EQ(dpi(), 100);
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    EXPECT_TRUE(screens->workflow.channels.before.empty());
}

}  // namespace
}  // namespace dg::test
