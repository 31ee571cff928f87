#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/qt/GuiThread.h"

namespace dg {

// A desktop without a file manager or browser simply shows nothing, as the desktop itself
// would; there is nothing the user could do about a message.
void QtShell::openFolder(const std::string& path) {
    onGuiThread([&] { QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))); });
}

void QtShell::openLink(const std::string& url) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

}  // namespace dg
