#include <QApplication>
#include <QFileInfo>
#include <QStyleFactory>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtShell.h"
#include "screens/ScreenSet.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dermagraph Software");
    // The run ends only through EndApplication, never because a last window went away.
    QApplication::setQuitOnLastWindowClosed(false);
    if (QStyle* style = QStyleFactory::create("Fusion")) QApplication::setStyle(style);

    dg::QtPrinter printer;
    dg::QtClipboard clipboard;
    dg::LocalFileSystem files;
    dg::QtDialogs dialogs(files);
    dg::QtShell shell;
    dg::Platform platform{printer, clipboard, dialogs, files, shell};

    dg::ScreenSet screens(platform, [] { QCoreApplication::exit(0); });
    // `dermagraph PICTURE` (as the desktop opens a picture with the program): held until the
    // user has chosen a task and presses OPEN IMAGE. Made absolute now: the file dialogs change
    // the current folder before then.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        screens.workflow.holdPicture(QFileInfo(arguments.at(1)).absoluteFilePath().toStdString());
    screens.start();
    return QApplication::exec();
}
