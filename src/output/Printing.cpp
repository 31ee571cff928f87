#include "output/Printing.h"

#include <exception>

#include "imaging/Progress.h"

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

// The share of the ticked pages printed so far, for the progress of a cancellable print: a
// cancel takes effect before the next page, and the pages printed stay printed.
class PageCount {
public:
    explicit PageCount(const PageEntries& entries) {
        for (const PageEntry* e : {&entries.stencil, &entries.colorMatching, &entries.result})
            total_ += e->ticked;
        for (const PageEntry& e : entries.channels) total_ += e.ticked;
    }
    void next() {
        stepCheckpoint(total_ == 0 ? 1.0 : static_cast<double>(done_) / total_);
        ++done_;
    }

private:
    int total_ = 0;
    int done_ = 0;
};

void printPlaced(const RgbImage& picture, PageEntry& entry, const PagePlacement& placement,
                 const PageDecoration& decoration, Printer& printer, PageCount& count) {
    count.next();
    printer.printPage(composePlacedPage(picture, placement, decoration, entry.caption), entry.caption);
    entry.ticked = false;
}

void runPrinting(PageEntries& entries, const PagePictures& pictures, const OutputSettings& state,
                 const PageSettings& settings, Printer& printer, Dialogs& dialogs) {
    // Corner length and pen width use the resolution as it is before the print dialogs; the
    // label's points become pixels at the printer's resolution, as on paper.
    const std::int32_t dpiBefore = printer.dpiY();
    const PageDecoration decoration = pageDecoration(settings, dpiBefore, dpiBefore);
    PageCount count(entries);

    if (entries.stencil.ticked) {
        dialogs.message(kStencilMediaMessage);
        if (printer.printDialog()) {
            printPlaced(pictures.stencil, entries.stencil, placementFor(printer, state, settings), decoration,
                        printer, count);
            dialogs.message(kRegularPaperMessage);
        }
        entries.stencil.ticked = false;
    }

    if (!printer.printDialog()) return;

    if (entries.colorMatching.ticked) {
        count.next();
        {
            PortraitForJob portrait(printer);
            printer.printPage(
                composeStretchedPage(pictures.colorMatching, printer.pageWidthPx(), printer.pageHeightPx()),
                entries.colorMatching.caption);
        }
        entries.colorMatching.ticked = false;
    }

    const PagePlacement placement = placementFor(printer, state, settings);
    if (entries.result.ticked)
        printPlaced(pictures.result, entries.result, placement, decoration, printer, count);
    for (int n = 1; n <= kChannelCount; ++n) {
        PageEntry& entry = entries.channel(n);
        if (entry.ticked) printPlaced(pictures.channelMask(n), entry, placement, decoration, printer, count);
    }
    dialogs.message(kFinishedMessage);
}

}  // namespace

void printChecked(PageEntries& entries, const PagePictures& pictures, const OutputSettings& state,
                  const PageSettings& settings, Printer& printer, Dialogs& dialogs) {
    try {
        runPrinting(entries, pictures, state, settings, printer, dialogs);
    } catch (const Cancelled&) {
        throw;
    } catch (const std::exception& error) {
        dialogs.message(std::string(kErrorPrefix) + error.what());
    }
}

}  // namespace dg
