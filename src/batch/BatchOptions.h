#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/WorkflowState.h"
#include "output/OptionsComposition.h"
#include "output/PageExport.h"
#include "output/PageLayout.h"

namespace dg {

// A command line the batch command cannot run: one line for the user, exit code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Everything the batch command was asked to do, with the wizard's defaults for what it was not.
struct BatchOptions {
    bool help = false;
    std::string picture;
    TaskMode task = TaskMode::TattooIn23Colors;

    MeasuringUnit unit = MeasuringUnit::Centimeters;
    std::int32_t dpi = 100;
    std::int32_t widthWhole = 8, widthHundredths = 50;
    bool keepAspect = true;
    std::int32_t heightWhole = 8, heightHundredths = 50;

    // Colour task: slider moves after the separation screen's entry, in the order given
    // (slider index in the order of the screen's sliders, value).
    std::vector<std::pair<int, int>> thresholdMoves;

    // Channels screen: channels unticked before NEXT (and before --save-channels).
    std::vector<int> untick;

    // Tribal task.
    int method = 8;
    std::array<int, 3> sliders{102, 100, 100};

    OutputOptions output;
    PageSettings page;

    std::optional<std::string> saveChannels;
    std::optional<std::string> save;
    std::optional<std::string> exportName;
    PageFileType exportType = PageFileType::Jpeg;
    bool print = false;
    std::optional<std::string> printer;
};

// Reads the arguments after the program's name. Throws UsageError.
BatchOptions parseBatchOptions(const std::vector<std::string>& arguments);

// The threshold names of --threshold, in the order of the separation screen's sliders.
const std::array<const char*, 16>& thresholdNames();

// --help.
const char* batchUsage();

}  // namespace dg
