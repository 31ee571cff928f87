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

RgbImage whitePage(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) throw Failure("The printer reports no printable page.");
    return RgbImage(width, height);
}

}  // namespace

double outputCentimetres(const std::string& text, MeasuringUnit unit) {
    double value = 0;
    if (!parseNumber(text, value) || !std::isfinite(value)) throw Failure("The output size \"" + text + "\" is not a number.");
    return unit == MeasuringUnit::Inches ? value * 2.54 : value;
}

PixelSize outputSizeInPrinterPixels(const WorkflowState& state, std::int32_t dpi) {
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
        case HorizontalAlign::Left: r.x = 0; break;
        case HorizontalAlign::Centre: r.x = pageWidth / 2 - size.width / 2; break;
        case HorizontalAlign::Right: r.x = pageWidth - size.width; break;
    }
    switch (vertical) {
        case VerticalAlign::Top: r.y = 0; break;
        case VerticalAlign::Middle: r.y = pageHeight / 2 - size.height / 2; break;
        case VerticalAlign::Bottom: r.y = pageHeight - size.height; break;
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

PagePlacement placementFor(const Printer& printer, const WorkflowState& state, const PageSettings& settings) {
    PagePlacement p;
    p.pageWidth = printer.pageWidthPx();
    p.pageHeight = printer.pageHeightPx();
    const PixelSize size = outputSizeInPrinterPixels(state, printer.dpiY());
    p.picture = placeOnPage(p.pageWidth, p.pageHeight, size, settings.horizontal, settings.vertical);
    return p;
}

void stretchInto(const RgbImage& source, RgbImage& target, const PageRect& rect) {
    if (source.empty() || rect.width <= 0 || rect.height <= 0) return;
    const std::int32_t x0 = std::max(rect.x, 0);
    const std::int32_t y0 = std::max(rect.y, 0);
    const std::int32_t x1 = static_cast<std::int32_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(rect.x) + rect.width, target.width()));
    const std::int32_t y1 = static_cast<std::int32_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(rect.y) + rect.height, target.height()));
    if (x0 >= x1 || y0 >= y1) return;

    // Each target pixel takes the source pixel under its centre.
    auto sourceIndex = [](std::int64_t offset, std::int64_t sourceLength, std::int64_t targetLength) {
        return static_cast<std::int32_t>((2 * offset + 1) * sourceLength / (2 * targetLength));
    };
    std::vector<std::int32_t> columns(static_cast<std::size_t>(x1 - x0));
    for (std::int32_t x = x0; x < x1; ++x) {
        columns[static_cast<std::size_t>(x - x0)] = 3 * sourceIndex(x - rect.x, source.width(), rect.width);
    }
    forEachRowBlock(y1 - y0, [&](std::int32_t begin, std::int32_t end) {
        std::int32_t previous = -1;
        const std::uint8_t* previousRow = nullptr;
        for (std::int32_t i = begin; i < end; ++i) {
            const std::int32_t y = y0 + i;
            const std::int32_t sy = sourceIndex(y - rect.y, source.height(), rect.height);
            std::uint8_t* out = target.row(y) + 3 * static_cast<std::size_t>(x0);
            // An enlarged picture repeats rows: copy the row already made.
            if (sy == previous && previousRow != nullptr) {
                std::copy(previousRow, previousRow + 3 * static_cast<std::size_t>(x1 - x0), out);
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

RgbImage composePlacedPage(const RgbImage& picture, const PagePlacement& placement,
                           const PageDecoration& decoration, const std::string& caption) {
    RgbImage page = whitePage(placement.pageWidth, placement.pageHeight);
    stretchInto(picture, page, placement.picture);
    if (decoration.corners) drawCornerMarks(page, decoration.cornerLength, decoration.penWidth);
    if (decoration.label) {
        Canvas canvas(page);
        canvas.text(0, 0, caption, decoration.labelPoints, decoration.labelDpi, kBlack);
    }
    return page;
}

RgbImage composeStretchedPage(const RgbImage& picture, std::int32_t pageWidth, std::int32_t pageHeight) {
    RgbImage page = whitePage(pageWidth, pageHeight);
    stretchInto(picture, page, PageRect{0, 0, pageWidth, pageHeight});
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
