#pragma once

#include "imaging/OutputSettings.h"
#include "output/PageEntries.h"
#include "output/PageLayout.h"
#include "output/PagePictures.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

namespace dg {

inline constexpr const char* kStencilMediaMessage =
    "STENCIL PRINTING! Please add the appropriate media or use another printer! ";
inline constexpr const char* kRegularPaperMessage =
    "Please continue with REGULAR PAPER or use another printer! ";
inline constexpr const char* kFinishedMessage = " FINISHED ";
inline constexpr const char* kErrorPrefix = "ERROR";

// "Print checked": the stencil first (its own print dialog and media messages), then, after
// the second print dialog, COLOR MATCHING in portrait, RESULT and channels 1..23, one job per
// page. A printed entry is unticked, so the ticks are what is left to print. Any failure
// stops the run with "ERROR" and the failure's text; the entries not printed stay ticked.
void printChecked(PageEntries& entries, const PagePictures& pictures, const OutputSettings& state,
                  const PageSettings& settings, Printer& printer, Dialogs& dialogs);

}  // namespace dg
