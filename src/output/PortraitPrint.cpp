#include "output/PortraitPrint.h"

#include <exception>

#include "output/PageLayout.h"
#include "output/Printing.h"

namespace dg {

namespace {

class PortraitDuringJob {
public:
    explicit PortraitDuringJob(Printer& printer) : printer_(printer), original_(printer.orientation()) {
        if (original_ == Orientation::Landscape) printer_.setOrientation(Orientation::Portrait);
    }
    ~PortraitDuringJob() {
        if (original_ == Orientation::Landscape) printer_.setOrientation(original_);
    }
    PortraitDuringJob(const PortraitDuringJob&) = delete;
    PortraitDuringJob& operator=(const PortraitDuringJob&) = delete;

private:
    Printer& printer_;
    Orientation original_;
};

}  // namespace

void printStretchedPortrait(const RgbImage& picture, Printer& printer, Dialogs& dialogs,
                            const std::string& jobName) {
    if (!printer.printDialog()) return;
    try {
        PortraitDuringJob portrait(printer);
        printer.printPage(composeStretchedPage(picture, printer.pageWidthPx(), printer.pageHeightPx()),
                          jobName);
    } catch (const std::exception& error) {
        dialogs.message(std::string(kErrorPrefix) + error.what());
    }
}

}  // namespace dg
