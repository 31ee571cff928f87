#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <condition_variable>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

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
    const bool shown = !options.quiet && (options.progress || isatty(STDERR_FILENO) != 0);
    if (!shown) return dg::runBatch(options, accepting, files, std::cerr, [](const std::string&) {});

    // Each step's name when it starts, then how far it is every second while it runs.
    dg::StepProgress progress;
    std::mutex lock;
    std::condition_variable wake;
    std::string step;
    int reportedPercent = 0;
    bool finished = false;
    std::thread reporter([&] {
        std::unique_lock<std::mutex> held(lock);
        while (!wake.wait_for(held, std::chrono::seconds(1), [&] { return finished; })) {
            const int percent = static_cast<int>(progress.fraction() * 100);
            if (percent == reportedPercent) continue;
            reportedPercent = percent;
            std::cerr << "dermagraph-batch: " << step << " " << percent << "%\n";
        }
    });
    const int code = dg::runBatch(
        options, accepting, files, std::cerr,
        [&](const std::string& name) {
            const std::lock_guard<std::mutex> held(lock);
            step = name;
            reportedPercent = 0;
            std::cerr << "dermagraph-batch: " << name << " 0%\n";
        },
        &progress);
    {
        const std::lock_guard<std::mutex> held(lock);
        finished = true;
    }
    wake.notify_one();
    reporter.join();
    return code;
}
