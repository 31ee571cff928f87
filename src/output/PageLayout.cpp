#include "output/PageLayout.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "imaging/Canvas.h"
#include "imaging/Failure.h"
#include "imaging/Numbers.h"
#include "imaging/Parallel.h"
#include "output/Stencil.h"

namespace dg {

namespace {

std::int32_t roundToPixels(double value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(roundHalfEven(value), -2147483647, 2147483647));
}

}  // namespace

double outputCentimetres(const std::string& text, MeasuringUnit unit) {
    double value = 0;
    if (!parseNumber(text, value) || !std::isfinite(value))
        throw Failure("The output size \"" + text + "\" is not a number.");
    return unit == MeasuringUnit::Inches ? value * 2.54 : value;
}

PixelSize outputSizeInPrinterPixels(const OutputSettings& state, std::int32_t dpi) {
    const double widthCm = outputCentimetres(state.outputWidthText, state.unit);
    const double heightCm = outputCentimetres(state.outputHeightText, state.unit);
    return PixelSize{roundToPixels(widthCm * dpi / 2.54), roundToPixels(heightCm * dpi / 2.54)};
}

std::int32_t millimetresToPrinterPixels(std::int32_t millimetres, std::int32_t dpi) {
    return roundToPixels(static_cast<double>(millimetres) * dpi / 25.4);
}

PageRect placeOnPage(std::int32_t pageWidth, std::int32_t pageHeight, PixelSize size,
                     HorizontalAlign horizontal, VerticalAlign vertical) {
    PageRect r{0, 0, size.width, size.height};
    switch (horizontal) {
        case HorizontalAlign::Left:
            r.x = 0;
            break;
        case HorizontalAlign::Centre:
            r.x = pageWidth / 2 - size.width / 2;
            break;
        case HorizontalAlign::Right:
            r.x = pageWidth - size.width;
            break;
    }
    switch (vertical) {
        case VerticalAlign::Top:
            r.y = 0;
            break;
        case VerticalAlign::Middle:
            r.y = pageHeight / 2 - size.height / 2;
            break;
        case VerticalAlign::Bottom:
            r.y = pageHeight - size.height;
            break;
    }
    r.x = std::max(r.x, 0);
    r.y = std::max(r.y, 0);
    if (r.x + static_cast<std::int64_t>(r.width) > pageWidth) r.width = pageWidth - r.x;
    if (r.y + static_cast<std::int64_t>(r.height) > pageHeight) r.height = pageHeight - r.y;
    return r;
}

PageDecoration pageDecoration(const PageSettings& settings, std::int32_t printerDpi, int labelDpi) {
    PageDecoration d;
    d.corners = settings.pageCorners;
    d.cornerLength = millimetresToPrinterPixels(settings.cornerSizeMm, printerDpi);
    d.penWidth = millimetresToPrinterPixels(settings.cornerWidthMm, printerDpi);
    d.label = settings.labelOnTop;
    d.labelPoints = settings.labelPoints;
    d.labelDpi = labelDpi;
    return d;
}

PagePlacement placementFor(const Printer& printer, const OutputSettings& state,
                           const PageSettings& settings) {
    PagePlacement p;
    p.pageWidth = printer.pageWidthPx();
    p.pageHeight = printer.pageHeightPx();
    const PixelSize size = outputSizeInPrinterPixels(state, printer.dpiY());
    p.picture = placeOnPage(p.pageWidth, p.pageHeight, size, settings.horizontal, settings.vertical);
    return p;
}

namespace {

// Paints the rows of `target` that the rectangle covers with the stretched source and, when
// `whiteAround` is set, every other pixel white, in one pass over the page's memory.
void paintStretched(const RgbImage& source, RgbImage& target, const PageRect& rect, bool whiteAround) {
    const std::int32_t width = target.width();
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    const bool drawn = !source.empty() && rect.width > 0 && rect.height > 0;
    const std::int32_t x0 = drawn ? std::clamp(rect.x, 0, width) : 0;
    const std::int32_t y0 = drawn ? std::clamp(rect.y, 0, target.height()) : 0;
    const std::int32_t x1 = drawn ? static_cast<std::int32_t>(std::clamp<std::int64_t>(
                                        static_cast<std::int64_t>(rect.x) + rect.width, x0, width))
                                  : 0;
    const std::int32_t y1 = drawn ? static_cast<std::int32_t>(std::clamp<std::int64_t>(
                                        static_cast<std::int64_t>(rect.y) + rect.height, y0, target.height()))
                                  : 0;
    if (!whiteAround && (x0 >= x1 || y0 >= y1)) return;

    // Each target pixel takes the source pixel under its centre.
    auto sourceIndex = [](std::int64_t offset, std::int64_t sourceLength, std::int64_t targetLength) {
        return static_cast<std::int32_t>((2 * offset + 1) * sourceLength / (2 * targetLength));
    };
    std::vector<std::int32_t> columns(static_cast<std::size_t>(x1 - x0));
    for (std::int32_t x = x0; x < x1; ++x) {
        columns[static_cast<std::size_t>(x - x0)] = 3 * sourceIndex(x - rect.x, source.width(), rect.width);
    }
    const std::int32_t firstRow = whiteAround ? 0 : y0;
    const std::int32_t lastRow = whiteAround ? target.height() : y1;
    forEachRowBlock(lastRow - firstRow, [&](std::int32_t begin, std::int32_t end) {
        std::int32_t previous = -1;
        const std::uint8_t* previousRow = nullptr;
        for (std::int32_t i = begin; i < end; ++i) {
            const std::int32_t y = firstRow + i;
            std::uint8_t* row = target.row(y);
            if (y < y0 || y >= y1 || x0 >= x1) {
                std::fill_n(row, rowBytes, std::uint8_t{255});
                continue;
            }
            if (whiteAround) {
                std::fill_n(row, 3 * static_cast<std::size_t>(x0), std::uint8_t{255});
                std::fill(row + 3 * static_cast<std::size_t>(x1), row + rowBytes, std::uint8_t{255});
            }
            const std::int32_t sy = sourceIndex(y - rect.y, source.height(), rect.height);
            std::uint8_t* out = row + 3 * static_cast<std::size_t>(x0);
            // An enlarged picture repeats rows: copy the row already made.
            if (sy == previous && previousRow != nullptr) {
                std::copy(previousRow, previousRow + 3 * columns.size(), out);
                continue;
            }
            const std::uint8_t* in = source.row(sy);
            for (std::size_t k = 0; k < columns.size(); ++k) {
                const std::uint8_t* p = in + columns[k];
                out[3 * k] = p[0];
                out[3 * k + 1] = p[1];
                out[3 * k + 2] = p[2];
            }
            previous = sy;
            previousRow = out;
        }
    });
}

// A page picture of the given size: the caller's own when it already has that size, so
// that a run of pages reuses its memory.
void preparePage(RgbImage& page, std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) throw Failure("The printer reports no printable page.");
    if (page.width() != width || page.height() != height) page = RgbImage(width, height);
}

}  // namespace

void stretchInto(const RgbImage& source, RgbImage& target, const PageRect& rect) {
    paintStretched(source, target, rect, false);
}

void composePlacedPageInto(RgbImage& page, const RgbImage& picture, const PagePlacement& placement,
                           const PageDecoration& decoration, const std::string& caption) {
    preparePage(page, placement.pageWidth, placement.pageHeight);
    paintStretched(picture, page, placement.picture, true);
    if (decoration.corners) drawCornerMarks(page, decoration.cornerLength, decoration.penWidth);
    if (decoration.label) {
        Canvas canvas(page);
        canvas.text(0, 0, caption, decoration.labelPoints, decoration.labelDpi, kBlack);
    }
}

RgbImage composePlacedPage(const RgbImage& picture, const PagePlacement& placement,
                           const PageDecoration& decoration, const std::string& caption) {
    RgbImage page;
    composePlacedPageInto(page, picture, placement, decoration, caption);
    return page;
}

void composeStretchedPageInto(RgbImage& page, const RgbImage& picture, std::int32_t pageWidth,
                              std::int32_t pageHeight) {
    preparePage(page, pageWidth, pageHeight);
    paintStretched(picture, page, PageRect{0, 0, pageWidth, pageHeight}, true);
}

RgbImage composeStretchedPage(const RgbImage& picture, std::int32_t pageWidth, std::int32_t pageHeight) {
    RgbImage page;
    composeStretchedPageInto(page, picture, pageWidth, pageHeight);
    return page;
}

PixelSize portraitPageSize(Printer& printer) {
    const Orientation original = printer.orientation();
    if (original == Orientation::Landscape) printer.setOrientation(Orientation::Portrait);
    const PixelSize size{printer.pageWidthPx(), printer.pageHeightPx()};
    if (original == Orientation::Landscape) printer.setOrientation(original);
    return size;
}

}  // namespace dg
