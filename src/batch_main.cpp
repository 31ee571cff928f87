#include <unistd.h>

#include <QApplication>
#include <iostream>
#include <memory>

#include "batch/BatchOptions.h"
#include "batch/BatchWalk.h"
#include "imaging/Failure.h"
#include "platform/AcceptingPrinter.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtPrinter.h"

int main(int argc, char** argv) {
    dg::BatchOptions options;
    try {
        options = dg::parseBatchOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const dg::UsageError& error) {
        std::cerr << "dermagraph-batch: " << error.what() << " (see --help)\n";
        return 2;
    }
    if (options.help) {
        std::cout << dg::batchUsage();
        return 0;
    }

    // Pages carry text drawn with the program's font; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::unique_ptr<dg::QtPrinter> printer;
    try {
        printer =
            options.printer ? dg::QtPrinter::forPrinter(*options.printer) : std::make_unique<dg::QtPrinter>();
    } catch (const dg::Failure& failure) {
        std::cerr << "dermagraph-batch: " << failure.what() << '\n';
        return 2;
    }
    dg::AcceptingPrinter accepting(*printer);
    dg::LocalFileSystem files;
    const bool terminal = isatty(STDERR_FILENO) != 0;
    return dg::runBatch(options, accepting, files, std::cerr, [terminal](const std::string& step) {
        if (terminal) std::cerr << "dermagraph-batch: " << step << "...\n";
    });
}
