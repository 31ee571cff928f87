#pragma once

#include <QString>
#include <QStringList>

#include "platform/Dialogs.h"
#include "platform/FileSystem.h"

namespace dg {

// File dialogs and message boxes of Qt Widgets. A file chosen in any of the file dialogs
// makes its folder the current folder.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(FileSystem& files) : files_(files) {}

    std::optional<std::string> openPicture(const std::string& filter) override;
    std::optional<std::string> openProject() override;
    std::optional<std::string> saveAs() override;
    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    void setBusy(bool busy) override;

private:
    std::optional<std::string> chosen(const QString& path);

    FileSystem& files_;
};

// The readers' filter list ("Description (*.a)|*.a|All (*.a;*.b)|*.a;*.b") as the name
// filters of a Qt file dialog, in the same order, each keeping its own text.
QStringList qtNameFilters(const std::string& filter);

}  // namespace dg
