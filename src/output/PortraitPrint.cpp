#include "output/PortraitPrint.h"

#include "output/PageLayout.h"

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

void printStretchedPortrait(const RgbImage& picture, Printer& printer, const std::string& jobName) {
    PortraitDuringJob portrait(printer);
    printer.printPage(composeStretchedPage(picture, printer.pageWidthPx(), printer.pageHeightPx()), jobName);
}

}  // namespace dg
