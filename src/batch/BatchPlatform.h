#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <string>

#include "platform/Platform.h"

namespace dg {

// The wizard's dialogs without a person: the open and save dialogs answer with the names the
// command line gave (an opened file's folder becomes the current folder, as a dialog makes
// it), every message goes to a stream, every question is answered Yes.
class BatchDialogs : public Dialogs {
public:
    BatchDialogs(std::ostream& out, FileSystem& files) : out_(out), files_(files) {}
    std::deque<std::string> openAnswers;
    std::deque<std::string> saveAnswers;

    std::optional<std::string> openPicture(const std::string&) override { return opened(); }
    std::optional<std::string> openProject() override { return opened(); }
    std::optional<std::string> saveAs() override;
    void message(const std::string& text) override { out_ << text << '\n'; }
    bool askYesNo(const std::string& text) override;
    void setBusy(bool) override {}

private:
    std::optional<std::string> opened();

    std::ostream& out_;
    FileSystem& files_;
};

// The files of the machine with a current folder of the run's own: the process's current
// folder is never changed.
class RunFolderFiles : public FileSystem {
public:
    explicit RunFolderFiles(FileSystem& files) : files_(files), folder_(files.currentFolder()) {}

    std::string currentFolder() const override { return folder_; }
    void setCurrentFolder(const std::string& path) override { folder_ = path; }
    bool exists(const std::string& path) const override { return files_.exists(path); }
    bool isFolder(const std::string& path) const override { return files_.isFolder(path); }
    void createFolder(const std::string& path) override { files_.createFolder(path); }
    std::vector<std::uint8_t> readFile(const std::string& path) const override {
        return files_.readFile(path);
    }
    void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override {
        files_.writeFile(path, bytes);
    }
    void writeFilePieces(const std::string& path,
                         const std::vector<std::span<const std::uint8_t>>& pieces) override {
        files_.writeFilePieces(path, pieces);
    }
    void removeMade(const std::string& path) override { files_.removeMade(path); }

private:
    FileSystem& files_;
    std::string folder_;
};

class NoClipboard : public Clipboard {
public:
    bool hasBitmap() const override { return false; }
    RgbImage bitmap() const override { return {}; }
};

class NoShell : public Shell {
public:
    void openFolder(const std::string&) override {}
    void openLink(const std::string&) override {}
};

}  // namespace dg
