#include <unistd.h>

#include <QApplication>
#include <iostream>
#include <memory>

#include "batch/BatchOptions.h"
#include "batch/BatchWalk.h"
#include "imaging/Failure.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtPrinter.h"

namespace {

// The printer without its dialogs: the batch prints on the printer as it is set up.
class AcceptingPrinter : public dg::Printer {
public:
    explicit AcceptingPrinter(dg::Printer& printer) : printer_(printer) {}
    std::string name() const override { return printer_.name(); }
    std::int32_t pageWidthPx() const override { return printer_.pageWidthPx(); }
    std::int32_t pageHeightPx() const override { return printer_.pageHeightPx(); }
    std::int32_t dpiX() const override { return printer_.dpiX(); }
    std::int32_t dpiY() const override { return printer_.dpiY(); }
    std::int32_t widthMm() const override { return printer_.widthMm(); }
    std::int32_t heightMm() const override { return printer_.heightMm(); }
    dg::Orientation orientation() const override { return printer_.orientation(); }
    void setOrientation(dg::Orientation o) override { printer_.setOrientation(o); }
    std::vector<std::string> installedPrinters() const override { return printer_.installedPrinters(); }
    bool setupDialog() override { return true; }
    bool printDialog() override { return true; }
    void printPage(const dg::RgbImage& page, const std::string& jobName) override {
        printer_.printPage(page, jobName);
    }

private:
    dg::Printer& printer_;
};

}  // namespace

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
    AcceptingPrinter accepting(*printer);
    dg::LocalFileSystem files;
    const bool terminal = isatty(STDERR_FILENO) != 0;
    return dg::runBatch(options, accepting, files, std::cerr, [terminal](const std::string& step) {
        if (terminal) std::cerr << "dermagraph-batch: " << step << "...\n";
    });
}
