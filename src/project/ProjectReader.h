#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/OutputSettings.h"
#include "imaging/RgbImage.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "project/OutputSettingsTarget.h"

namespace dg {

inline constexpr const char* kResultMissingMessage = "Fife/s/ missing!";

// The lines of a PROJECT.CSP (CR LF, LF or CR end a line). Lines past the end read as empty.
class DescriptorLines {
public:
    explicit DescriptorLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    static DescriptorLines parse(const std::string& text);
    static DescriptorLines read(const FileSystem& files, const std::string& path);

    const std::string& line(std::size_t index) const;
    // Line `index` as a decimal integer (an optional sign, then digits); a number beyond the
    // 32-bit range saturates, since the field that receives it clamps it anyway. Throws
    // Failure naming the line for anything else, an empty line included.
    std::int32_t integer(std::size_t index) const;

private:
    std::vector<std::string> lines_;
};

// Restore output size on intake: when the current folder holds a PROJECT.CSP, its unit
// (line 6) and lines 1 to 5 go through the target as the user would set them (preserve
// aspect cleared first when line 4 is there, and set again afterwards); then, with preserve
// aspect on, the height follows the width and the SOURCE picture's proportions. `state` is
// what the target writes, read back for that last step. A line that is not a number stops
// with a Failure; what was applied before it stays.
void restoreOutputSettingsOnIntake(const FileSystem& files, const OutputSettings& state,
                                   OutputSettingsTarget& target, std::int32_t sourceWidth,
                                   std::int32_t sourceHeight);

enum class OpenProjectOutcome { Cancelled, NotAProject, Opened, ResultMissing };

struct OpenedProject {
    OpenProjectOutcome outcome = OpenProjectOutcome::Cancelled;
    RgbImage result;  // RESULT.bmp: the new BEFORE and SOURCE picture, when opened
};

// The open-project reader behind "NEXT : OPEN PROJECT >>" (the caller has checked the task):
// the "OPEN PROJECT|*.CSP" dialog; nothing happens for a cancelled dialog, a missing file or
// a path without "PROJECT.CSP". Otherwise the folder's descriptor is applied: the unit, the
// SOURCE picture's stored pixel size (`source` gets that size), the two size texts, then
// lines 1 to 5 through the target with preserve aspect cleared and set again, and RESULT.bmp
// is read. Without RESULT.bmp, "Fife/s/ missing!" is shown. A malformed line stops with a
// Failure after what came before it was applied.
OpenedProject openProject(Dialogs& dialogs, const FileSystem& files, OutputSettings& state,
                          OutputSettingsTarget& target, RgbImage& source);

}  // namespace dg
