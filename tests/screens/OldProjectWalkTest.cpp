#include "ShellFixture.h"
#include "formats/Bmp.h"
#include "imaging/Canvas.h"
#include "project/ProjectFolder.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/PrintingScreen.h"
#include "screens/SelectTask.h"

namespace dg::test {
namespace {

struct PrintedPage {
    std::string name;
    RgbImage page;
};

// A project saved on the channels screen of the colour task and reopened in a new run with
// "PRINT OLD PROJECT" prints the same pages.
class OldProjectWalk : public ShellFixture {
protected:
    static RgbImage design() {
        RgbImage picture(48, 30);
        Canvas canvas(picture);
        const ColorValue blocks[] = {makeColor(200, 100, 50), makeColor(10, 200, 30), makeColor(0, 0, 0),
                                     makeColor(30, 60, 200)};
        for (int i = 0; i < 4; ++i) canvas.fillRect(6 + 9 * i, 8, 7, 14, blocks[i]);
        return picture;
    }

    // From the channels screen on, as the user goes: NEXT three times, then "Print checked".
    std::vector<PrintedPage> printFromTheChannelsScreen() {
        fakes.printer.jobs.clear();
        click(button(screens->channels.get(), "next"));
        EXPECT_TRUE(screens->colorMatching->isVisible());
        click(button(screens->colorMatching.get(), "next"));
        click(button(screens->options.get(), "next"));
        EXPECT_TRUE(screens->printing->isVisible());
        click(button(screens->printing.get(), "printChecked"));
        std::vector<PrintedPage> pages;
        for (const auto& job : fakes.printer.jobs) pages.push_back({job.name, job.page});
        return pages;
    }
};

TEST_F(OldProjectWalk, AReopenedProjectPrintsTheSamePages) {
    setSmallColourOutput();
    const WorkflowState& state = screens->state;
    screens->pictures.source = design();
    screens->selectTask->hide();
    screens->workflow.channels.before = design();
    screens->channels->SpinEdit000.step();
    fakes.dialogs.saveAnswers.push_back(folder.file("walk"));
    click(button(screens->channels.get(), "saveProjectAs"));
    const std::string project = projectFolderPath(folder.file("walk"), state) + "/PROJECT.CSP";
    const std::vector<PrintedPage> before = printFromTheChannelsScreen();
    ASSERT_GE(before.size(), 3u);

    // A new run.
    screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
    click(button(screens->selectTask.get(), "PrintOldProjectCaption"));
    fakes.dialogs.projectAnswers.push_back(project);
    fakes.dialogs.messages.clear();
    click(button(screens->selectTask.get(), "openProject"));
    ASSERT_TRUE(fakes.dialogs.messages.empty()) << fakes.dialogs.messages[0];
    ASSERT_TRUE(screens->channels->isVisible());
    EXPECT_EQ(screens->state.outputDpi, 100);
    EXPECT_EQ(screens->state.outputWidthText, "4");
    EXPECT_EQ(screens->state.outputHeightText, "2.5");
    const std::vector<PrintedPage> after = printFromTheChannelsScreen();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].name, before[i].name);
        EXPECT_TRUE(SameImage(before[i].page, after[i].page)) << before[i].name;
    }
}

// Earlier work of the same run left its picture in the intake; a project reopened afterwards
// did not start from it, so saving it again from the printing screen writes its own SOURCE.
TEST_F(OldProjectWalk, AReopenedProjectNeverSavesAnEarlierPictureAsItsSource) {
    WorkflowState saved;
    saved.outputDpi = 100;
    saved.outputWidthText = "4";
    saved.outputHeightText = "2.5";
    ChannelSet channels;
    channels.before = channels.after = design();
    fakes.dialogs.saveAnswers.push_back(folder.file("kept"));
    ASSERT_TRUE(saveProject(channelsScreenProject(design(), channels), saved, fakes.dialogs, fakes.files));
    screens->pictures.intake = randomImage(17, 11, 5);

    click(button(screens->selectTask.get(), "PrintOldProjectCaption"));
    fakes.dialogs.projectAnswers.push_back(projectFolderPath(folder.file("kept"), saved) + "/PROJECT.CSP");
    click(button(screens->selectTask.get(), "openProject"));
    ASSERT_TRUE(screens->channels->isVisible());
    printFromTheChannelsScreen();
    fakes.dialogs.saveAnswers.push_back(folder.file("again"));
    click(button(screens->printing.get(), "saveProject"));
    const RgbImage written = decodeBmp24(
        fakes.files.readFile(projectFolderPath(folder.file("again"), screens->state) + "/_Source.bmp"));
    EXPECT_TRUE(SameImage(screens->pictures.source, written));
}

}  // namespace
}  // namespace dg::test
