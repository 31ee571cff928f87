#include "batch/BatchOptions.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "app/OutputSizeRules.h"
#include "separation/Thresholds.h"

namespace dg {

namespace {

const std::array<const char*, kThresholdCount> kThresholdNames = {
    "white",      "light-grey", "mid-grey",     "black",      "red-high",    "red-mid",
    "green-high", "green-mid",  "blue-high",    "blue-mid",   "yellow-high", "yellow-mid",
    "cyan-high",  "cyan-mid",   "magenta-high", "magenta-mid"};

bool readInt(const std::string& text, std::int64_t& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end;
}

int intIn(const std::string& option, const std::string& text, int low, int high) {
    std::int64_t value = 0;
    if (!readInt(text, value) || value < low || value > high)
        throw UsageError(option + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not \"" + text + "\"");
    return static_cast<int>(value);
}

int intIn(const std::string& option, const std::string& text, FieldRange range) {
    return intIn(option, text, range.minimum, range.maximum);
}

// W, W.H or W.HH: whole units and hundredths, as the output-size fields hold them.
std::pair<std::int32_t, std::int32_t> unitsIn(const std::string& option, const std::string& text,
                                              int lowWhole) {
    const std::size_t dot = text.find('.');
    const std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
    std::int64_t w = 0, h = 0;
    const bool fractionOk = fraction.size() <= 2 && (fraction.empty() || readInt(fraction, h)) &&
                            fraction.find_first_not_of("0123456789") == std::string::npos;
    if (!readInt(whole, w) || whole.find_first_not_of("0123456789") != std::string::npos || !fractionOk ||
        (dot != std::string::npos && fraction.empty()))
        throw UsageError(option + " takes a size like 8.50, not \"" + text + "\"");
    if (fraction.size() == 1) h *= 10;
    if (w < lowWhole || w > 60)
        throw UsageError(option + " must be from " + std::to_string(lowWhole) + " to 60.99, not \"" + text +
                         "\"");
    return {static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)};
}

std::pair<std::string, std::string> splitAt(const std::string& text, char separator,
                                            const std::string& option) {
    const std::size_t at = text.find(separator);
    if (at == std::string::npos) throw UsageError(option + " takes two values joined by '" + separator + "'");
    return {text.substr(0, at), text.substr(at + 1)};
}

}  // namespace

const std::array<const char*, kThresholdCount>& thresholdNames() { return kThresholdNames; }

BatchOptions parseBatchOptions(const std::vector<std::string>& arguments) {
    BatchOptions o;
    bool taskGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) throw UsageError(a + " needs a value");
            return arguments[++i];
        };
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--task") {
            const std::string& t = value();
            if (t == "colors")
                o.task = TaskMode::TattooIn23Colors;
            else if (t == "tribal")
                o.task = TaskMode::CreateTribalTattoo;
            else if (t == "single")
                o.task = TaskMode::PrintSingleFile;
            else if (t == "old")
                o.task = TaskMode::PrintOldProject;
            else
                throw UsageError("--task is colors, tribal, single or old, not \"" + t + "\"");
            taskGiven = true;
        } else if (a == "--width") {
            o.width = unitsIn(a, value(), kWidthWholeField.minimum);
        } else if (a == "--height") {
            o.height = unitsIn(a, value(), kHeightWholeField.minimum);
        } else if (a == "--no-aspect") {
            o.keepAspect = false;
        } else if (a == "--unit") {
            const std::string& u = value();
            if (u == "cm")
                o.unit = MeasuringUnit::Centimeters;
            else if (u == "in")
                o.unit = MeasuringUnit::Inches;
            else
                throw UsageError("--unit is cm or in, not \"" + u + "\"");
        } else if (a == "--dpi") {
            o.dpi = intIn(a, value(), kDpiField);
        } else if (a == "--threshold") {
            const auto [name, number] = splitAt(value(), '=', a);
            int slider = -1;
            for (int k = 0; k < kThresholdCount; ++k)
                if (name == kThresholdNames[static_cast<std::size_t>(k)]) slider = k;
            if (slider < 0) throw UsageError("--threshold: there is no threshold \"" + name + "\"");
            o.thresholdMoves.emplace_back(slider, intIn("--threshold " + name, number, 0, 255));
        } else if (a == "--untick") {
            o.untick.push_back(intIn(a, value(), 1, kChannelCount));
        } else if (a == "--method") {
            o.method = intIn(a, value(), 1, 8);
        } else if (a == "--slider1" || a == "--slider2" || a == "--slider3") {
            o.sliders[static_cast<std::size_t>(a.back() - '1')] =
                intIn(a, value(), FieldRange{kTribalSliderMinimum, kTribalSliderMaximum});
        } else if (a == "--no-stencil") {
            o.output.createStencil = false;
        } else if (a == "--mirror") {
            o.output.mirrorStencil = true;
        } else if (a == "--stencil-black") {
            o.output.stencilInBlack = true;
        } else if (a == "--masked") {
            o.output.masked = true;
        } else if (a == "--depth") {
            o.output.depth = intIn(a, value(), kDepthField);
        } else if (a == "--corners") {
            const auto [width, size] = splitAt(value(), ',', a);
            o.output.adjustmentCorners = true;
            o.output.cornerWidth = intIn("--corners width", width, kCornerWidthField);
            o.output.cornerSize = intIn("--corners size", size, kCornerSizeField);
        } else if (a == "--no-color-matching") {
            o.output.printColorMatching = false;
        } else if (a == "--no-result") {
            o.output.printResult = false;
        } else if (a == "--align") {
            const auto [h, v] = splitAt(value(), ',', a);
            if (h == "left")
                o.page.horizontal = HorizontalAlign::Left;
            else if (h == "center")
                o.page.horizontal = HorizontalAlign::Centre;
            else if (h == "right")
                o.page.horizontal = HorizontalAlign::Right;
            else
                throw UsageError("--align: left, center or right, not \"" + h + "\"");
            if (v == "top")
                o.page.vertical = VerticalAlign::Top;
            else if (v == "middle")
                o.page.vertical = VerticalAlign::Middle;
            else if (v == "bottom")
                o.page.vertical = VerticalAlign::Bottom;
            else
                throw UsageError("--align: top, middle or bottom, not \"" + v + "\"");
        } else if (a == "--label") {
            o.page.labelOnTop = true;
            o.page.labelPoints = intIn(a, value(), kLabelPointsField);
        } else if (a == "--page-corners") {
            const auto [width, size] = splitAt(value(), ',', a);
            o.page.pageCorners = true;
            o.page.cornerWidthMm = intIn("--page-corners width", width, kPageCornerWidthField);
            o.page.cornerSizeMm = intIn("--page-corners size", size, kPageCornerSizeField);
        } else if (a == "--save-channels") {
            o.saveChannels = value();
        } else if (a == "--save") {
            o.save = value();
        } else if (a == "--export") {
            o.exportName = value();
        } else if (a == "--as") {
            const std::string& t = value();
            if (t == "jpeg")
                o.exportType = PageFileType::Jpeg;
            else if (t == "bmp")
                o.exportType = PageFileType::Bmp;
            else
                throw UsageError("--as is jpeg or bmp, not \"" + t + "\"");
        } else if (a == "--screen-dpi") {
            o.screenDpi = intIn(a, value(), 1, 10000);
        } else if (a == "--print") {
            o.print = true;
        } else if (a == "--progress") {
            o.progress = true;
        } else if (a == "--quiet") {
            o.quiet = true;
        } else if (a == "--printer") {
            o.printer = value();
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError("unknown option " + a);
        } else if (o.picture.empty()) {
            o.picture = a;
        } else {
            throw UsageError("one picture at a time: \"" + a + "\" is one too many");
        }
    }
    if (o.help) return o;
    if (o.picture.empty()) throw UsageError("no picture given");
    if (!taskGiven) throw UsageError("--task colors|tribal|single|old is needed");
    if (o.height && o.keepAspect) throw UsageError("--height needs --no-aspect");
    if (o.task == TaskMode::PrintOldProject && (o.unit || o.dpi || o.width || o.height || !o.keepAspect))
        throw UsageError("an old project keeps its own output size");
    if (o.printer && !o.print) throw UsageError("--printer needs --print");
    if (o.progress && o.quiet) throw UsageError("--progress and --quiet exclude each other");
    if (o.task != TaskMode::CreateTribalTattoo && (o.method || o.sliders[0] || o.sliders[1] || o.sliders[2]))
        throw UsageError("--method and --slider belong to --task tribal");
    if (o.task != TaskMode::TattooIn23Colors && !o.thresholdMoves.empty())
        throw UsageError("--threshold belongs to --task colors");
    if (o.task == TaskMode::PrintSingleFile && o.saveChannels)
        throw UsageError("--save-channels belongs to the colour and tribal tasks");
    if (o.task == TaskMode::PrintSingleFile && !o.untick.empty())
        throw UsageError("--untick belongs to the colour and tribal tasks");
    if (o.task == TaskMode::PrintSingleFile && o.save)
        throw UsageError("--save is not offered for a single file");
    return o;
}

std::string batchUsage() {
    const auto n = [](int v) { return std::to_string(v); };
    const auto range = [&n](FieldRange r) { return n(r.minimum) + ".." + n(r.maximum); };
    const WorkflowState defaults;
    return "Usage: dermagraph-batch PICTURE --task colors|tribal|single [options]\n"
           "       dermagraph-batch PROJECT_FOLDER|PROJECT.CSP --task old [options]\n"
           "\n"
           "Runs the default walk of one task of the wizard on one picture (or reopens a saved\n"
           "project), with the same results.\n"
           "\n"
           "Output size (the output-size screen; an old project keeps its own):\n"
           "  --width W.HH             width, " +
           n(kWidthWholeField.minimum) + " to " + n(kWidthWholeField.maximum) + ".99 units (default " +
           n(defaults.outputWidthWhole) + "." + (defaults.outputWidthHundredths < 10 ? "0" : "") +
           n(defaults.outputWidthHundredths) +
           ")\n"
           "  --height H.HH --no-aspect  height instead of keeping the picture's proportions\n"
           "  --unit cm|in             measuring unit (default cm)\n"
           "  --dpi N                  print resolution, " +
           n(kDpiField.minimum) + " to " + n(kDpiField.maximum) + " (default " + n(defaults.outputDpi) +
           ")\n"
           "  A PROJECT.CSP beside the picture gives its output size first, as in the wizard.\n"
           "Colour task:\n"
           "  --threshold NAME=VALUE   move a separation slider (0..255) after the screen's first entry;\n"
           "                           NAME: white, light-grey, mid-grey, black, red-high, red-mid,\n"
           "                           green-high, green-mid, blue-high, blue-mid, yellow-high, yellow-mid,\n"
           "                           cyan-high, cyan-mid, magenta-high, magenta-mid\n"
           "Channels screen (every task but single):\n"
           "  --untick N               untick channel N (1.." +
           n(kChannelCount) +
           ") before NEXT; may be repeated\n"
           "Tribal task:\n"
           "  --method 1..8            choose a method after the screen's entry (which chooses " +
           n(kTribalEntryMethod) +
           ")\n"
           "  --slider1 N --slider2 N --slider3 N   move the sliders (" +
           n(kTribalSliderMinimum) + ".." + n(kTribalSliderMaximum) +
           ") after that;\n"
           "                           unmoved sliders stay where the entry and the method leave them\n"
           "OPTIONS screen:\n"
           "  --no-stencil --mirror --stencil-black --masked --depth N (" +
           range(kDepthField) +
           ")\n"
           "  --corners WIDTH,SIZE     adjustment corners on the picture (" +
           range(kCornerWidthField) + ", " + range(kCornerSizeField) +
           " pixels)\n"
           "  --no-color-matching --no-result\n"
           "PRINTING screen:\n"
           "  --align left|center|right,top|middle|bottom\n"
           "  --label POINTS           label on top, " +
           range(kLabelPointsField) +
           " points\n"
           "  --screen-dpi N           the screen resolution that turns the label's points into pixels\n"
           "                           in exported pages, as the wizard's display does (default " +
           n(kDefaultScreenDpi) +
           ")\n"
           "  --page-corners WIDTH_MM,SIZE_MM   corners on the page (" +
           range(kPageCornerWidthField) + ", " + range(kPageCornerSizeField) +
           " mm)\n"
           "Results (nothing is ever overwritten):\n"
           "  --save-channels NAME     save the project as the channels screen does, before OPTIONS\n"
           "  --save NAME              save the project as the printing screen does\n"
           "  --export NAME --as jpeg|bmp   write the checked pages into \"NAME Pages\"\n"
           "  --print [--printer QUEUE]     print the checked pages, one job each\n"
           "Progress: each step and how far it is, on standard error; shown on a terminal\n"
           "  --progress               also when standard error is not a terminal\n"
           "  --quiet                  never\n"
           "Exit codes: 0 done, 1 a step failed (its message on standard error), 2 bad arguments.\n";
}

}  // namespace dg
