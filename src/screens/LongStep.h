#pragma once

#include <QString>
#include <functional>

namespace dg {

class StepProgress;
class Workflow;

// How long a step runs before its progress dialog appears.
inline constexpr int kProgressDelayMs = 500;

// Runs `step` off the window's thread. Meanwhile the windows show what they showed, input to
// them waits, and the workflow's changes are held; after kProgressDelayMs a progress dialog
// shows `name`, a bar and, when the step can be cancelled, "Cancel". Returns false when the
// user cancelled (the step has put back what it changed); a failure of the step is thrown
// again here, on the window's thread.
bool runLongStep(Workflow& workflow, const QString& name, bool cancellable,
                 const std::function<void(StepProgress&)>& step);

}  // namespace dg
