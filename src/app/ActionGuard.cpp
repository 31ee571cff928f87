#include "app/ActionGuard.h"

#include <exception>
#include <new>

#include "imaging/Failure.h"

namespace dg {

bool runGuarded(Dialogs& dialogs, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::bad_alloc&) {
        dialogs.message("Out of memory.");
    } catch (const std::exception& e) {
        dialogs.message(e.what());
    }
    return false;
}

}  // namespace dg
