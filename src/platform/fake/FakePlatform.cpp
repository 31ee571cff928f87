#include "platform/fake/FakePlatform.h"

#include "imaging/Failure.h"

namespace dg::fake {

bool FakePrinter::setupDialog() {
    ++setupDialogsShown;
    if (setupAnswers.empty()) return true;
    const bool answer = setupAnswers.front();
    setupAnswers.pop_front();
    return answer;
}

bool FakePrinter::printDialog() {
    ++printDialogsShown;
    if (printAnswers.empty()) return true;
    const bool answer = printAnswers.front();
    printAnswers.pop_front();
    return answer;
}

void FakePrinter::printPage(const RgbImage& page, const std::string& jobName) {
    const std::size_t index = jobsTried++;
    if (failJob && *failJob == index) throw Failure(failText);
    jobs.push_back(Job{jobName, page, currentOrientation});
}

std::optional<std::string> FakeDialogs::take(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    if (answer && files != nullptr) {
        const std::string folder = folderOf(*answer);
        if (!folder.empty()) files->setCurrentFolder(folder);
    }
    return answer;
}

std::optional<std::string> FakeDialogs::openPicture(const std::string& filter) {
    lastPictureFilter = filter;
    return take(pictureAnswers);
}

std::optional<std::string> FakeDialogs::openProject() { return take(projectAnswers); }

std::optional<std::string> FakeDialogs::saveAs() {
    // The save dialog names a file that need not exist; its folder still becomes current.
    return take(saveAnswers);
}

bool FakeDialogs::askYesNo(const std::string& text) {
    questions.push_back(text);
    if (yesNoAnswers.empty()) return true;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

void FakeDialogs::setBusy(bool busy) {
    if (busy) {
        ++busyDepth;
        ++busyShown;
    } else if (busyDepth > 0) {
        --busyDepth;
    }
}

}  // namespace dg::fake
