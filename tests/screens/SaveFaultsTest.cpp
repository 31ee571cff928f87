#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "OutputScreensFixture.h"
#include "output/PageExport.h"
#include "project/ProjectFolder.h"
#include "support/DiskFaults.h"

namespace dg::test {
namespace {

namespace fs = std::filesystem;

// Every file under a folder with its bytes, to see that an earlier save stays as it was.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

// Each of the four ways to save, against faults of the disk and of the name: a clear message,
// never a success message, nothing written outside the new folder, what came before it
// untouched, and the program still working afterwards.
class SaveFaults : public OutputScreens {
protected:
    struct Save {
        const char* what;
        std::function<QWidget*()> screen;
        const char* button;
        const char* success;  // the start of the message a saved result shows, if any
    };

    std::vector<Save> saves() {
        return {
            {"channels project", [this] { return static_cast<QWidget*>(screens->channels.get()); },
             "saveProjectAs", kProjectSavedMessage},
            {"printing project", [this] { return static_cast<QWidget*>(printing()); }, "saveProject",
             kProjectSavedMessage},
            {"pages", [this] { return static_cast<QWidget*>(printing()); }, "saveChecked",
             kPagesSavedMessage},
            {"colour matching", [this] { return static_cast<QWidget*>(matching()); }, "saveAsBmp", nullptr},
        };
    }

    // Saves once with the answer, and checks the fault's handling.
    void expectFaultHandled(const Save& save, const std::string& answer) {
        SCOPED_TRACE(std::string(save.what) + " as " + answer.substr(0, 80));
        const auto before = snapshot(folder.path());
        const std::size_t messages = fakes.dialogs.messages.size();
        fakes.dialogs.saveAnswers = {answer};
        click(button(save.screen(), save.button));
        ASSERT_EQ(fakes.dialogs.messages.size(), messages + 1) << "no message";
        const std::string& message = fakes.dialogs.messages.back();
        EXPECT_FALSE(message.empty());
        if (save.success != nullptr) {
            EXPECT_NE(message.rfind(save.success, 0), 0u) << message;
        }
        // Nothing that was there before changed.
        for (const auto& [path, bytes] : before) {
            const auto now = snapshot(folder.path());
            ASSERT_TRUE(now.contains(path)) << path;
            EXPECT_EQ(now.at(path), bytes) << path;
        }
        EXPECT_TRUE(save.screen()->isVisible());
    }
};

TEST_F(SaveFaults, EverySaveReportsAMissingFolderAndANameTheSystemRefuses) {
    tickOnly({1, 3});
    toPrinting();
    // Each kind saved well once first: those files must survive the faults.
    fakes.dialogs.saveAnswers = {folder.file("good"), folder.file("good pages")};
    click(button(printing(), "saveProject"));
    click(button(printing(), "saveChecked"));
    ASSERT_EQ(fakes.dialogs.messages.back().rfind(kPagesSavedMessage, 0), 0u)
        << fakes.dialogs.messages.back();

    const std::string tooLong(300, 'x');
    for (const Save& save : saves()) {
        save.screen()->show();
        // The folder chosen in the dialog went away before the write.
        fs::create_directory(folder.file("gone"));
        const std::string inGone = folder.file("gone/design");
        fs::remove(folder.file("gone"));
        expectFaultHandled(save, inGone);
        // A name longer than the file system takes.
        expectFaultHandled(save, folder.file(tooLong));
    }

    // A colour-matching page replaced by one that does not fit on the disk: the earlier page
    // stays whole (the snapshot comparison) and no piece of the new one is left beside it.
    fakes.dialogs.saveAnswers = {folder.file("chart")};
    click(button(matching(), "saveAsBmp"));
    ASSERT_TRUE(fs::exists(folder.file("chart.bmp")));
    const auto entries = [this] { return std::distance(fs::directory_iterator(folder.path()), {}); };
    const auto before = entries();
    {
        FileSizeLimit limit(1000);
        fakes.dialogs.yesNoAnswers = {true};
        expectFaultHandled(saves()[3], folder.file("chart"));
    }
    EXPECT_EQ(entries(), before);
}

// A folder without write permission refuses every save, and a read-only page is not replaced.
// Root writes past permissions: the read-only run (without that power) is a test of its own.
TEST_F(SaveFaults, AReadOnlyFolderOrFileRefusesEverySave) {
    const std::string locked = folder.file("locked");
    fs::create_directory(locked);
    if (writesPastPermissions(locked)) {
        if (std::getenv("DG_UNPRIVILEGED") != nullptr) FAIL() << "the read-only run writes past permissions";
        GTEST_SKIP() << "this process writes past permissions; the read-only run covers this";
    }
    tickOnly({1, 3});
    toPrinting();
    fakes.dialogs.saveAnswers = {folder.file("chart")};
    click(button(matching(), "saveAsBmp"));
    ASSERT_EQ(::chmod(folder.file("chart.bmp").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(locked.c_str(), 0555), 0);
    for (const Save& save : saves()) {
        save.screen()->show();
        expectFaultHandled(save, locked + "/design");
        EXPECT_TRUE(fs::is_empty(locked));
    }
    fakes.dialogs.yesNoAnswers = {true};
    expectFaultHandled(saves()[3], folder.file("chart"));
    ::chmod(locked.c_str(), 0755);
}

TEST_F(SaveFaults, AFullDiskKeepsWhatWasWrittenAndNeverSaysSaved) {
    toPrintingOnAFillingDisk();
    for (const Save& save : saves()) {
        save.screen()->show();
        disk.writesLeft = 0;
        expectFaultHandled(save, folder.file(std::string("full ") + save.button));
        EXPECT_EQ(fakes.dialogs.messages.back().find(fullDiskText()) != std::string::npos, true)
            << fakes.dialogs.messages.back();
        // The program goes on: the same save works once there is room again.
        disk.writesLeft = 1000;
        fakes.dialogs.saveAnswers = {folder.file(std::string("room ") + save.button)};
        click(button(save.screen(), save.button));
        if (save.success != nullptr) {
            EXPECT_EQ(fakes.dialogs.messages.back().rfind(save.success, 0), 0u)
                << fakes.dialogs.messages.back();
        }
    }
}

}  // namespace
}  // namespace dg::test
