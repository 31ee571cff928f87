#pragma once

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Printer.h"
#include "platform/Shell.h"

namespace dg {

// The desktop services the program uses, handed to every screen and core operation that
// needs one. The program passes the Qt implementations; tests pass the fakes.
struct Platform {
    Printer& printer;
    Clipboard& clipboard;
    Dialogs& dialogs;
    FileSystem& files;
    Shell& shell;
};

}  // namespace dg
