#include <deque>
#include <functional>

#include "ShellFixture.h"
#include "project/ProjectFolder.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"
#include "screens/SelectTask.h"
#include "screens/TribalScreen.h"

namespace dg::test {
namespace {

// Every way the run ends (the EXIT and Exit buttons, SELECT TASK's window close and the
// output-size screen's close for an external resizer) asks "Quit without saving the
// project?" when there is work no saved project holds, and only then; "No" leaves the user
// where they were.
class Ending : public ShellFixture {
protected:
    // A picture of one colour, too small for 8.50 cm at 100 DPI (the Message Board offers the
    // external resizer), and with one colour the colour task goes straight to the channels.
    void takeIn(const char* task) {
        click(button(screens->selectTask.get(), (std::string(task) + "Caption").c_str()));
        RgbImage picture(40, 30);
        picture.fill(makeColor(200, 30, 30));
        paste(picture);
        ASSERT_TRUE(screens->outputSize->isVisible());
    }
    void next(QWidget* window, const char* name, QWidget* arrived) {
        click(button(window, name));
        ASSERT_TRUE(arrived->isVisible());
    }
    void toChannels() {
        takeIn("TattooIn23Colors");
        next(screens->outputSize.get(), "nextColorReduction", screens->channels.get());
    }
    void toOptions() {
        toChannels();
        next(screens->channels.get(), "next", screens->colorMatching.get());
        next(screens->colorMatching.get(), "next", screens->options.get());
    }
    void toPrinting() {
        toOptions();
        next(screens->options.get(), "next", screens->printing.get());
    }
    // A new name each time: a save never goes into a folder that exists.
    std::string newName() { return folder.file("project" + std::to_string(++saves)); }
    void save(QWidget* window, const char* name) {
        fakes.dialogs.saveAnswers.push_back(newName());
        click(button(window, name));
        ASSERT_FALSE(fakes.dialogs.messages.empty());
        ASSERT_EQ(fakes.dialogs.messages.back().rfind("PROJECT SAVED IN FOLDER: ", 0), 0u);
    }
    void openProject() {
        WorkflowState saved;
        ChannelSet channels;
        channels.before = channels.after = randomImage(30, 20, 3);
        const std::string name = newName();
        fakes.dialogs.saveAnswers.push_back(name);
        ASSERT_TRUE(saveProject(channelsScreenProject(RgbImage(30, 20), channels), saved, fakes.dialogs,
                                fakes.files));
        fakes.dialogs.messages.clear();
        click(button(screens->selectTask.get(), "PrintOldProjectCaption"));
        fakes.dialogs.projectAnswers.push_back(projectFolderPath(name, saved) + "/PROJECT.CSP");
        next(screens->selectTask.get(), "openProject", screens->channels.get());
    }

    int saves = 0;
};

TEST_F(Ending, TheQuestionComesOnlyWithUnsavedWork) {
    using Step = std::function<void()>;
    using Screen = std::function<QWidget*()>;
    const Screen selectTask = [this] { return screens->selectTask.get(); };
    const Screen outputSize = [this] { return screens->outputSize.get(); };
    const Screen tribal = [this] { return screens->tribal.get(); };
    const Screen channels = [this] { return screens->channels.get(); };
    const Screen options = [this] { return screens->options.get(); };
    const Screen printing = [this] { return screens->printing.get(); };

    const Step nothing = [] {};
    const Step colourPictureThenBack = [this] {
        takeIn("TattooIn23Colors");
        click(button(screens->outputSize.get(), "back"));
    };
    const Step tribalPictureThenBack = [this] {
        takeIn("CreateTribalTattoo");
        click(button(screens->outputSize.get(), "back"));
    };
    const Step singleFileThenBack = [this] {
        takeIn("PrintSingleFile");
        click(button(screens->outputSize.get(), "back"));
    };
    const Step singleFile = [this] { takeIn("PrintSingleFile"); };
    const Step colourPicture = [this] { takeIn("TattooIn23Colors"); };
    const Step tribalDesign = [this] {
        takeIn("CreateTribalTattoo");
        next(screens->outputSize.get(), "nextColorReduction", screens->tribal.get());
    };
    const Step channelsShown = [this] { toChannels(); };
    const Step channelsSaved = [this] {
        toChannels();
        save(screens->channels.get(), "saveProjectAs");
    };
    const Step channelsSavedThenUnticked = [this] {
        toChannels();
        save(screens->channels.get(), "saveProjectAs");
        click(button(screens->channels.get(), "CheckBox1"));
    };
    const Step projectOpened = [this] { openProject(); };
    const Step projectOpenedThenUnticked = [this] {
        openProject();
        click(button(screens->channels.get(), "CheckBox2"));
    };
    const Step optionsShown = [this] { toOptions(); };
    // Colour matching changes nothing a project holds.
    const Step optionsAfterASave = [this] {
        toChannels();
        save(screens->channels.get(), "saveProjectAs");
        next(screens->channels.get(), "next", screens->colorMatching.get());
        next(screens->colorMatching.get(), "next", screens->options.get());
    };
    // The pages composed by OPTIONS' NEXT are new work.
    const Step printingShown = [this] { toPrinting(); };
    const Step printingSaved = [this] {
        toPrinting();
        save(screens->printing.get(), "saveProject");
    };
    const Step singleFilePrinting = [this] {
        takeIn("PrintSingleFile");
        next(screens->outputSize.get(), "nextSingleFile", screens->printing.get());
    };

    struct Case {
        const char* what;
        Step prepare;
        Screen screen;
        const char* control;  // nullptr: the window's close
        bool asked;
        std::deque<bool> answers;
    };
    const char* resizer = "closeForExternalResizer";
    const std::vector<std::string> question{"Quit without saving the project?"};
    const Case cases[] = {
        {"nothing taken in, EXIT", nothing, selectTask, "exit", false, {}},
        {"nothing taken in, closed", nothing, selectTask, nullptr, false, {}},
        {"a picture taken in, EXIT, yes", colourPictureThenBack, selectTask, "exit", true, {true}},
        {"a picture taken in, closed, no", tribalPictureThenBack, selectTask, nullptr, true, {false}},
        {"a single file taken in, EXIT", singleFileThenBack, selectTask, "exit", false, {}},
        {"a single file, resizer", singleFile, outputSize, resizer, false, {}},
        {"a colour picture, resizer, no", colourPicture, outputSize, resizer, true, {false}},
        {"a colour picture, resizer, yes", colourPicture, outputSize, resizer, true, {true}},
        {"a tribal design, Exit, no", tribalDesign, tribal, "exit", true, {false}},
        {"the channels, Exit, yes", channelsShown, channels, "exit", true, {true}},
        {"the channels saved, Exit", channelsSaved, channels, "exit", false, {}},
        {"saved, then unticked, Exit, no", channelsSavedThenUnticked, channels, "exit", true, {false}},
        {"a project opened, Exit", projectOpened, channels, "exit", false, {}},
        {"opened, then unticked, Exit, yes", projectOpenedThenUnticked, channels, "exit", true, {true}},
        {"OPTIONS, Exit, no", optionsShown, options, "exit", true, {false}},
        {"OPTIONS after a save, Exit", optionsAfterASave, options, "exit", false, {}},
        {"PRINTING, EXIT, no", printingShown, printing, "exit", true, {false}},
        {"PRINTING saved, EXIT", printingSaved, printing, "exit", false, {}},
        {"PRINTING a single file, EXIT", singleFilePrinting, printing, "exit", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        ended = 0;
        fakes.dialogs.messages.clear();
        fakes.dialogs.questions.clear();
        c.prepare();
        fakes.dialogs.yesNoAnswers = c.answers;
        QWidget* screen = c.screen();
        ASSERT_TRUE(screen->isVisible());
        if (c.control != nullptr)
            click(button(screen, c.control));
        else
            screen->close();
        EXPECT_EQ(fakes.dialogs.questions, c.asked ? question : std::vector<std::string>{});
        const bool ends = !c.asked || c.answers.front();
        EXPECT_EQ(ended, ends ? 1 : 0);
        if (!ends) {
            EXPECT_TRUE(screen->isVisible()) << "the user is left where they were";
        }
    }
}

}  // namespace
}  // namespace dg::test
