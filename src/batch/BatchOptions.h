#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/Workflow.h"
#include "output/OptionsComposition.h"
#include "output/PageExport.h"
#include "output/PageLayout.h"
#include "separation/Thresholds.h"

namespace dg {

// A command line the batch command cannot run: one line for the user, exit code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Everything the batch command was asked to do. What was not given stays empty: the walk
// then leaves the run as the wizard's screens leave it.
struct BatchOptions {
    bool help = false;
    // The picture, or the project's PROJECT.CSP in the old-project task.
    std::string picture;
    TaskMode task = TaskMode::TattooIn23Colors;

    std::optional<MeasuringUnit> unit;
    std::optional<std::int32_t> dpi;
    std::optional<std::pair<std::int32_t, std::int32_t>> width;  // whole units, hundredths
    bool keepAspect = true;
    std::optional<std::pair<std::int32_t, std::int32_t>> height;

    // Colour task: slider moves after the separation screen's entry, in the order given
    // (slider index in the order of the screen's sliders, value).
    std::vector<std::pair<int, int>> thresholdMoves;

    // Channels screen: channels unticked before NEXT (and before --save-channels).
    std::vector<int> untick;

    // Tribal task: the method chosen and the sliders moved after the screen's entry.
    std::optional<int> method;
    std::array<std::optional<int>, 3> sliders;

    OutputOptions output;
    PageSettings page;
    // The resolution at which the label's points become pixels in exported pages.
    int screenDpi = kDefaultScreenDpi;

    std::optional<std::string> saveChannels;
    std::optional<std::string> save;
    std::optional<std::string> exportName;
    PageFileType exportType = PageFileType::Jpeg;
    bool print = false;
    std::optional<std::string> printer;
    // Progress lines on standard error: on a terminal unless --quiet, elsewhere with --progress.
    bool progress = false;
    bool quiet = false;
};

// Reads the arguments after the program's name. Throws UsageError.
BatchOptions parseBatchOptions(const std::vector<std::string>& arguments);

// The threshold names of --threshold, in the order of the separation screen's sliders.
const std::array<const char*, kThresholdCount>& thresholdNames();

// --help.
std::string batchUsage();

}  // namespace dg
