#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace dg::fake {

// A printer that records its jobs. Dialog answers are scripted; an empty script confirms.
class FakePrinter : public Printer {
public:
    struct Job {
        std::string name;
        RgbImage page;
        Orientation orientation;
    };

    std::string printerName = "Fake Printer";
    std::int32_t portraitWidthPx = 2480;  // A4 at 300 DPI, printable area
    std::int32_t portraitHeightPx = 3508;
    std::int32_t resolutionX = 300;
    std::int32_t resolutionY = 300;
    std::int32_t portraitWidthMm = 210;
    std::int32_t portraitHeightMm = 297;
    Orientation currentOrientation = Orientation::Portrait;
    std::vector<std::string> printers{"Fake Printer"};

    std::deque<bool> setupAnswers;
    std::deque<bool> printAnswers;
    int setupDialogsShown = 0;
    int printDialogsShown = 0;
    // When set, the job with this index (0-based, counting every job) fails with this text.
    std::optional<std::size_t> failJob;
    std::string failText = "The printer is out of paper.";
    std::vector<Job> jobs;
    std::size_t jobsTried = 0;

    std::string name() const override { return printerName; }
    std::int32_t pageWidthPx() const override { return portrait() ? portraitWidthPx : portraitHeightPx; }
    std::int32_t pageHeightPx() const override { return portrait() ? portraitHeightPx : portraitWidthPx; }
    std::int32_t dpiX() const override { return resolutionX; }
    std::int32_t dpiY() const override { return resolutionY; }
    std::int32_t widthMm() const override { return portrait() ? portraitWidthMm : portraitHeightMm; }
    std::int32_t heightMm() const override { return portrait() ? portraitHeightMm : portraitWidthMm; }
    Orientation orientation() const override { return currentOrientation; }
    void setOrientation(Orientation o) override { currentOrientation = o; }
    std::vector<std::string> installedPrinters() const override { return printers; }
    bool setupDialog() override;
    bool printDialog() override;
    void printPage(const RgbImage& page, const std::string& jobName) override;

private:
    bool portrait() const { return currentOrientation == Orientation::Portrait; }
};

// Dialogs with scripted answers; every message box shown is recorded.
class FakeDialogs : public Dialogs {
public:
    std::deque<std::optional<std::string>> pictureAnswers;
    std::deque<std::optional<std::string>> projectAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::deque<bool> yesNoAnswers;  // empty: Yes
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::string lastPictureFilter;
    int busyDepth = 0;
    int busyShown = 0;
    FileSystem* files = nullptr;  // when set, a chosen file sets the current folder

    std::optional<std::string> openPicture(const std::string& filter) override;
    std::optional<std::string> openProject() override;
    std::optional<std::string> saveAs() override;
    void message(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text) override;
    void setBusy(bool busy) override;

private:
    std::optional<std::string> take(std::deque<std::optional<std::string>>& answers);
};

class FakeClipboard : public Clipboard {
public:
    RgbImage picture;  // empty: no bitmap
    bool hasBitmap() const override { return !picture.empty(); }
    RgbImage bitmap() const override { return picture; }
};

class FakeShell : public Shell {
public:
    std::vector<std::string> openedFolders;
    std::vector<std::string> openedLinks;
    void openFolder(const std::string& path) override { openedFolders.push_back(path); }
    void openLink(const std::string& url) override { openedLinks.push_back(url); }
};

// The real disk, but a current folder of its own, so tests never change the process's.
class FakeFileSystem : public LocalFileSystem {
public:
    std::string folder = "/";
    std::string currentFolder() const override { return folder; }
    void setCurrentFolder(const std::string& path) override { folder = path; }
};

// All fakes together, with the Platform bundle over them.
struct FakePlatform {
    FakePrinter printer;
    FakeClipboard clipboard;
    FakeDialogs dialogs;
    FakeFileSystem files;
    FakeShell shell;
    Platform platform{printer, clipboard, dialogs, files, shell};
    FakePlatform() { dialogs.files = &files; }
};

}  // namespace dg::fake
