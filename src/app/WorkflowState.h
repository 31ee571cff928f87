#pragma once

#include <cstdint>
#include <string>

#include "imaging/OutputSettings.h"
#include "imaging/RgbImage.h"
#include "platform/Printer.h"

namespace dg {

enum class TaskMode { PrintSingleFile, PrintOldProject, TattooIn23Colors, CreateTribalTattoo };

// The settings of a run, held by the workflow and changed only by its steps. The values here
// are those at the end of start-up (the printer fields are read from the printer when SELECT
// TASK is created). The output settings, which the core reads too, are the part the record
// shares with the lower layers.
struct WorkflowState : OutputSettings {
    TaskMode task = TaskMode::CreateTribalTattoo;
    bool unitLocked = false;
    Orientation orientation = Orientation::Portrait;
    bool autoRotate = false;

    std::int32_t printerPageWidthPx = 0;
    std::int32_t printerPageHeightPx = 0;
    std::int32_t printerDpi = 0;
    // In `unit`, kept as the text shown and read back by parsing it.
    std::string mediaWidth;
    std::string mediaHeight;

    bool exceedsPrinterArea = false;
    std::int32_t resampleFilter = 0;  // index into the resampler's filter list; 0 is "Box"
};

// The four picture buffers of a run.
struct PictureBuffers {
    RgbImage intake;   // written by open and paste
    RgbImage source;   // SOURCE viewer
    RgbImage result;   // RESULT viewer
    RgbImage preview;  // PREVIEW viewer
};

}  // namespace dg
