#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "batch/BatchOptions.h"
#include "imaging/Progress.h"
#include "platform/Platform.h"

namespace dg {

// Runs the chosen task on one picture (or reopens a project) through the workflow's steps in
// the order the wizard's screens take them, then saves, exports and prints as asked.
// Messages (the wizard's message boxes) go to `messages`; `progress` hears the name of each
// step, and `stepProgress`, when given, how far the step under way is (it starts again at 0
// with each step). Returns the exit code: 0 done, 1 a step failed or was refused.
int runBatch(const BatchOptions& options, Printer& printer, FileSystem& files, std::ostream& messages,
             const std::function<void(const std::string&)>& progress, StepProgress* stepProgress = nullptr);

}  // namespace dg
