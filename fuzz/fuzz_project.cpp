// PROJECT.CSP as it is read back: the restore of the output settings on intake, and the
// open-project reader with the RESULT.bmp beside it. The input is the descriptor's text; when
// it holds a NUL byte, what follows the first one is RESULT.bmp (without it the file is
// missing).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "project/ProjectReader.h"

namespace {

// The project folder in memory.
class MemoryFolder : public dg::FileSystem {
public:
    std::map<std::string, std::vector<std::uint8_t>> files;

    std::string currentFolder() const override { return "/project"; }
    void setCurrentFolder(const std::string&) override {}
    bool exists(const std::string& path) const override {
        return files.count(path) != 0 || path == "/project";
    }
    bool isFolder(const std::string& path) const override { return path == "/project"; }
    void createFolder(const std::string&) override { throw dg::Failure("Read only."); }
    std::vector<std::uint8_t> readFile(const std::string& path) const override {
        const auto it = files.find(path);
        if (it == files.end()) throw dg::Failure("No such file.");
        return it->second;
    }
    void writeFile(const std::string&, const std::vector<std::uint8_t>&) override {
        throw dg::Failure("Read only.");
    }
    void removeMade(const std::string&) override {}
};

class ChooseDescriptor : public dg::Dialogs {
public:
    std::optional<std::string> openPicture(const std::string&) override { return std::nullopt; }
    std::optional<std::string> openProject() override { return std::string("/project/PROJECT.CSP"); }
    std::optional<std::string> saveAs() override { return std::nullopt; }
    void message(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
    void setBusy(bool) override {}
};

// The output-size screen's bounded fields, clamping as the controls do.
class Fields : public dg::OutputSettingsTarget {
public:
    explicit Fields(dg::OutputSettings& state) : state_(state) {}
    void setUnit(dg::MeasuringUnit unit) override { state_.unit = unit; }
    void setPreserveAspect(bool preserve) override { state_.preserveAspect = preserve; }
    void setDpi(std::int32_t v) override { state_.outputDpi = std::clamp(v, 70, 160); }
    void setWidthWhole(std::int32_t v) override { state_.outputWidthWhole = std::clamp(v, 1, 60); }
    void setWidthHundredths(std::int32_t v) override { state_.outputWidthHundredths = std::clamp(v, 0, 99); }
    void setHeightWhole(std::int32_t v) override { state_.outputHeightWhole = std::clamp(v, 0, 60); }
    void setHeightHundredths(std::int32_t v) override {
        state_.outputHeightHundredths = std::clamp(v, 0, 99);
    }

private:
    dg::OutputSettings& state_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dg::fuzz::useSmallLimits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto* end = data + size;
    const auto* nul = std::find(data, end, std::uint8_t{0});
    MemoryFolder folder;
    folder.files["/project/PROJECT.CSP"].assign(data, nul);
    if (nul != end) folder.files["/project/RESULT.bmp"].assign(nul + 1, end);

    dg::OutputSettings state;
    Fields fields(state);
    try {
        dg::restoreOutputSettingsOnIntake(folder, state, fields, 640, 480);
    } catch (const dg::Failure&) {
    }
    ChooseDescriptor dialogs;
    dg::RgbImage source;
    try {
        const dg::OpenedProject opened = dg::openProject(dialogs, folder, state, fields, source);
        dg::fuzz::touch(opened.result);
    } catch (const dg::Failure&) {
    }
    return 0;
}
