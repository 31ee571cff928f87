#pragma once

#include <functional>

#include "platform/Dialogs.h"

namespace dg {

// Runs one user action. A failure anywhere inside it ends the action and shows the
// failure's own message in a message box; returns false when the action failed.
bool runGuarded(Dialogs& dialogs, const std::function<void()>& action);

}  // namespace dg
