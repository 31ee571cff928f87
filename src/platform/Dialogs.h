#pragma once

#include <optional>
#include <string>

namespace dg {

// Modal dialogs and message boxes. Choosing a file in a file dialog makes its folder the
// current folder (the implementation tells the FileSystem service).
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // The open-picture dialog with a preview pane. The filter is the readers' list in the
    // form "Description|*.a;*.b|Description|*.c". Empty when the user cancels.
    virtual std::optional<std::string> openPicture(const std::string& filter) = 0;
    // The "OPEN PROJECT|*.CSP" dialog.
    virtual std::optional<std::string> openProject() = 0;
    // The save dialog without filter or default extension: the full path as typed.
    virtual std::optional<std::string> saveAs() = 0;

    // A message box with OK.
    virtual void message(const std::string& text) = 0;
    // A message box with Yes and No: true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;

    // The busy pointer, shown while a long action runs.
    virtual void setBusy(bool busy) = 0;
};

// Shows the busy pointer for the life of the object.
class BusyPointer {
public:
    explicit BusyPointer(Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.setBusy(true); }
    ~BusyPointer() { dialogs_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Dialogs& dialogs_;
};

}  // namespace dg
