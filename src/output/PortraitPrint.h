#pragma once

#include <string>

#include "imaging/RgbImage.h"
#include "platform/Dialogs.h"
#include "platform/Printer.h"

namespace dg {

// The print dialog, then one print job of a picture stretched, proportions not kept, over the
// whole printable page in portrait: a landscape printer is turned for the job and turned back
// afterwards, also when the job fails. A failure shows "ERROR" and its text, as every print
// does. The colour-matching page and the primary ink chart print this way.
void printStretchedPortrait(const RgbImage& picture, Printer& printer, Dialogs& dialogs,
                            const std::string& jobName);

}  // namespace dg
