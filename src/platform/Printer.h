#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/RgbImage.h"

namespace dg {

enum class Orientation { Portrait, Landscape };

// The current printer. Sizes are those of the printable page in the current orientation;
// turning the page swaps them.
class Printer {
public:
    virtual ~Printer() = default;

    virtual std::string name() const = 0;
    // Printable page in printer pixels.
    virtual std::int32_t pageWidthPx() const = 0;
    virtual std::int32_t pageHeightPx() const = 0;
    // Resolution in dots per inch, horizontal and vertical.
    virtual std::int32_t dpiX() const = 0;
    virtual std::int32_t dpiY() const = 0;
    // Printable width and height in whole millimetres.
    virtual std::int32_t widthMm() const = 0;
    virtual std::int32_t heightMm() const = 0;

    virtual Orientation orientation() const = 0;
    virtual void setOrientation(Orientation orientation) = 0;

    // Names of the installed printers; empty when there are none.
    virtual std::vector<std::string> installedPrinters() const = 0;

    // The printer setup dialog and the print dialog: true when the user confirmed.
    virtual bool setupDialog() = 0;
    virtual bool printDialog() = 0;

    // One print job of one page: the page picture (the size of the printable page) drawn
    // at (0, 0). Throws Failure with the system's text when the job fails.
    virtual void printPage(const RgbImage& page, const std::string& jobName) = 0;
};

}  // namespace dg
