#include "project/ProjectReader.h"

#include <algorithm>
#include <limits>

#include "formats/Bmp.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"
#include "imaging/Numbers.h"
#include "project/ProjectFolder.h"

namespace dg {

namespace {

// Lines 7 and 8 become a picture's size; a damaged file must not ask for gigabytes. The
// stored size is that of an output (at most 9600 x 9600).
constexpr std::int64_t kMaxStoredPixels = std::int64_t{1} << 27;

[[noreturn]] void notAWholeNumber(std::size_t index, const std::string& text) {
    // A damaged file may hold anything on that line; the message quotes only its start.
    const std::string shown = text.size() > 40 ? text.substr(0, 40) + "..." : text;
    throw Failure(std::string(kDescriptorFileName) + ", line " + std::to_string(index) + ": \"" + shown +
                  "\" is not a whole number.");
}

void applyUnitLine(const DescriptorLines& lines, OutputSettingsTarget& target) {
    const std::string& unit = lines.line(6);
    if (unit == "1") target.setUnit(MeasuringUnit::Inches);
    if (unit == "2") target.setUnit(MeasuringUnit::Centimeters);
}

void applySizeLines(const DescriptorLines& lines, OutputSettingsTarget& target) {
    if (!lines.line(4).empty()) target.setPreserveAspect(false);
    void (OutputSettingsTarget::*setters[])(std::int32_t) = {
        &OutputSettingsTarget::setDpi, &OutputSettingsTarget::setWidthWhole,
        &OutputSettingsTarget::setWidthHundredths, &OutputSettingsTarget::setHeightWhole,
        &OutputSettingsTarget::setHeightHundredths};
    for (std::size_t i = 1; i <= 5; ++i) {
        if (lines.line(i).empty()) continue;
        (target.*setters[i - 1])(lines.integer(i));
    }
    target.setPreserveAspect(true);
}

}  // namespace

DescriptorLines DescriptorLines::parse(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return DescriptorLines(std::move(lines));
}

DescriptorLines DescriptorLines::read(const FileSystem& files, const std::string& path) {
    const std::vector<std::uint8_t> bytes = files.readFile(path);
    return parse(std::string(bytes.begin(), bytes.end()));
}

const std::string& DescriptorLines::line(std::size_t index) const {
    static const std::string empty;
    return index < lines_.size() ? lines_[index] : empty;
}

std::int32_t DescriptorLines::integer(std::size_t index) const {
    const std::string& text = line(index);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) notAWholeNumber(index, text);
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') notAWholeNumber(index, text);
        value = std::min<std::int64_t>(value * 10 + (c - '0'), std::int64_t{1} << 40);
    }
    if (negative) value = -value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

void restoreOutputSettingsOnIntake(const FileSystem& files, const OutputSettings& state,
                                   OutputSettingsTarget& target, std::int32_t sourceWidth,
                                   std::int32_t sourceHeight) {
    const std::string path = joinPath(files.currentFolder(), kDescriptorFileName);
    if (files.exists(path) && !files.isFolder(path)) {
        const DescriptorLines lines = DescriptorLines::read(files, path);
        applyUnitLine(lines, target);
        applySizeLines(lines, target);
    }
    if (!state.preserveAspect || sourceWidth <= 0) return;
    const double width = state.outputWidthWhole + state.outputWidthHundredths / 100.0;
    const double v = width * (static_cast<double>(sourceHeight) / static_cast<double>(sourceWidth));
    const auto whole = static_cast<std::int64_t>(v);
    // Hundredths that round to 100 (5.997) go to the field as they are and are clamped there
    // to 99, as the output-size screen's own derivation does: 5.99, not 6.00.
    const std::int64_t hundredths = roundHalfEven((v - static_cast<double>(whole)) * 100.0);
    target.setHeightWhole(
        static_cast<std::int32_t>(std::min<std::int64_t>(whole, std::numeric_limits<std::int32_t>::max())));
    target.setHeightHundredths(static_cast<std::int32_t>(hundredths));
}

OpenedProject openProject(Dialogs& dialogs, const FileSystem& files, OutputSettings& state,
                          OutputSettingsTarget& target, RgbImage& source) {
    OpenedProject opened;
    const auto chosen = dialogs.openProject();
    if (!chosen || !files.exists(*chosen) || files.isFolder(*chosen)) return opened;
    if (chosen->find(kDescriptorFileName) == std::string::npos) {
        opened.outcome = OpenProjectOutcome::NotAProject;
        return opened;
    }
    // The dialog has made the chosen file's folder the current folder.
    const std::string folder = files.currentFolder();
    const DescriptorLines lines = DescriptorLines::read(files, joinPath(folder, kDescriptorFileName));

    applyUnitLine(lines, target);
    const std::int32_t width = lines.integer(7);
    const std::int32_t height = lines.integer(8);
    // Nor may it ask for a picture larger than intake takes in.
    const PictureLimits limits = pictureLimits();
    const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
    if (width < 1 || height < 1 || pixels > kMaxStoredPixels || width > limits.maxSide ||
        height > limits.maxSide || pixels > limits.maxPixels) {
        throw Failure(std::string(kDescriptorFileName) + ": the stored picture size " +
                      std::to_string(width) + " x " + std::to_string(height) + " is not valid.");
    }
    source.reset(width, height);
    state.outputWidthText = lines.line(9);
    state.outputHeightText = lines.line(10);
    applySizeLines(lines, target);

    const std::string resultPath = joinPath(folder, kResultFileName);
    if (!files.exists(resultPath)) {
        dialogs.message(kResultMissingMessage);
        opened.outcome = OpenProjectOutcome::ResultMissing;
        return opened;
    }
    opened.result = decodeBmp24(files.readFile(resultPath));
    opened.outcome = OpenProjectOutcome::Opened;
    return opened;
}

}  // namespace dg
