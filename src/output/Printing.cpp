#include "output/Printing.h"

#include <exception>

namespace dg {

namespace {

// The printer goes back to landscape even when the portrait job fails.
class PortraitForJob {
public:
    explicit PortraitForJob(Printer& printer) : printer_(printer), original_(printer.orientation()) {
        if (original_ == Orientation::Landscape) printer_.setOrientation(Orientation::Portrait);
    }
    ~PortraitForJob() {
        if (original_ == Orientation::Landscape) printer_.setOrientation(original_);
    }
    PortraitForJob(const PortraitForJob&) = delete;
    PortraitForJob& operator=(const PortraitForJob&) = delete;

private:
    Printer& printer_;
    Orientation original_;
};

void printPlaced(const RgbImage& picture, PageEntry& entry, const PagePlacement& placement,
                 const PageDecoration& decoration, Printer& printer) {
    printer.printPage(composePlacedPage(picture, placement, decoration, entry.caption), entry.caption);
    entry.ticked = false;
}

void runPrinting(PageEntries& entries, const PagePictures& pictures, const OutputSettings& state,
                 const PageSettings& settings, Printer& printer, Dialogs& dialogs) {
    // Corner length and pen width use the resolution as it is before the print dialogs; the
    // label's points become pixels at the printer's resolution, as on paper.
    const std::int32_t dpiBefore = printer.dpiY();
    const PageDecoration decoration = pageDecoration(settings, dpiBefore, dpiBefore);

    if (entries.stencil.ticked) {
        dialogs.message(kStencilMediaMessage);
        if (printer.printDialog()) {
            printPlaced(pictures.stencil, entries.stencil, placementFor(printer, state, settings), decoration,
                        printer);
            dialogs.message(kRegularPaperMessage);
        }
        entries.stencil.ticked = false;
    }

    if (!printer.printDialog()) return;

    if (entries.colorMatching.ticked) {
        {
            PortraitForJob portrait(printer);
            printer.printPage(
                composeStretchedPage(pictures.colorMatching, printer.pageWidthPx(), printer.pageHeightPx()),
                entries.colorMatching.caption);
        }
        entries.colorMatching.ticked = false;
    }

    const PagePlacement placement = placementFor(printer, state, settings);
    if (entries.result.ticked) printPlaced(pictures.result, entries.result, placement, decoration, printer);
    for (int n = 1; n <= kChannelCount; ++n) {
        PageEntry& entry = entries.channel(n);
        if (entry.ticked) printPlaced(pictures.channelMask(n), entry, placement, decoration, printer);
    }
    dialogs.message(kFinishedMessage);
}

}  // namespace

void printChecked(PageEntries& entries, const PagePictures& pictures, const OutputSettings& state,
                  const PageSettings& settings, Printer& printer, Dialogs& dialogs) {
    try {
        runPrinting(entries, pictures, state, settings, printer, dialogs);
    } catch (const std::exception& error) {
        dialogs.message(std::string(kErrorPrefix) + error.what());
    }
}

}  // namespace dg
