#pragma once

#include <cstdint>
#include <string>

#include "imaging/OutputSettings.h"
#include "imaging/RgbImage.h"
#include "platform/Printer.h"

namespace dg {

enum class HorizontalAlign { Left, Centre, Right };
enum class VerticalAlign { Top, Middle, Bottom };

// The printing screen's page settings, with their defaults.
// The ranges of the printing screen's fields.
inline constexpr FieldRange kLabelPointsField{8, 72};
inline constexpr FieldRange kPageCornerWidthField{1, 50};  // mm
inline constexpr FieldRange kPageCornerSizeField{1, 500};  // mm

struct PageSettings {
    HorizontalAlign horizontal = HorizontalAlign::Centre;
    VerticalAlign vertical = VerticalAlign::Middle;
    bool labelOnTop = false;
    int labelPoints = 8;  // kLabelPointsField
    bool pageCorners = false;
    int cornerWidthMm = 2;  // kPageCornerWidthField
    int cornerSizeMm = 50;  // kPageCornerSizeField
};

struct PageRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// An output size text (`outputWidthText`, `outputHeightText`) in centimetres: read as a
// number and multiplied by 2.54 for inches. Throws Failure when the text is not a number.
double outputCentimetres(const std::string& text, MeasuringUnit unit);

// The output's size on paper in printer pixels at `dpi`: round(cm * dpi / 2.54) each way.
PixelSize outputSizeInPrinterPixels(const OutputSettings& state, std::int32_t dpi);

// round(mm * dpi / 25.4): the page corners' length and pen width.
std::int32_t millimetresToPrinterPixels(std::int32_t millimetres, std::int32_t dpi);

// Where a picture of `size` goes on a page: aligned, moved back onto the page when it would
// start left of or above it, and squeezed (in that direction only) into what is left of the
// page when it is too large.
PageRect placeOnPage(std::int32_t pageWidth, std::int32_t pageHeight, PixelSize size,
                     HorizontalAlign horizontal, VerticalAlign vertical);

// Page corners and label of the placed pages, in printer pixels.
struct PageDecoration {
    bool corners = false;
    std::int32_t cornerLength = 0;  // Q
    std::int32_t penWidth = 0;
    bool label = false;
    int labelPoints = 8;
    // The resolution that turns the label's points into pixels: the printer's when printing,
    // the screen's when exporting.
    int labelDpi = 96;
};

// The corner length Q and pen width from the page settings at the printer's resolution.
PageDecoration pageDecoration(const PageSettings& settings, std::int32_t printerDpi, int labelDpi);

// Everything a placed page needs besides the picture: the page size and the picture's
// rectangle, from the printer as it is set now and the output size.
struct PagePlacement {
    std::int32_t pageWidth = 0;
    std::int32_t pageHeight = 0;
    PageRect picture;
};
PagePlacement placementFor(const Printer& printer, const OutputSettings& state, const PageSettings& settings);

// The one page composer for printing and export: a white page with the picture stretched
// into its rectangle, then the page corners and the caption at (0, 0) as decorated.
RgbImage composePlacedPage(const RgbImage& picture, const PagePlacement& placement,
                           const PageDecoration& decoration, const std::string& caption);

// The same, into `page`, whose memory is reused when it already has the page's size.
void composePlacedPageInto(RgbImage& page, const RgbImage& picture, const PagePlacement& placement,
                           const PageDecoration& decoration, const std::string& caption);

// A white page with the picture stretched over all of it, proportions not kept (the
// colour-matching page).
RgbImage composeStretchedPage(const RgbImage& picture, std::int32_t pageWidth, std::int32_t pageHeight);
void composeStretchedPageInto(RgbImage& page, const RgbImage& picture, std::int32_t pageWidth,
                              std::int32_t pageHeight);

// Nearest-neighbour stretch of `source` into the rectangle of `target` (clipped to it).
void stretchInto(const RgbImage& source, RgbImage& target, const PageRect& rect);

// The colour-matching page's placement: the printable page in portrait. A landscape
// printer is turned for the reading and turned back.
PixelSize portraitPageSize(Printer& printer);

}  // namespace dg
