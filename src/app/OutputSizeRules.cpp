#include "app/OutputSizeRules.h"

#include <cmath>

#include "imaging/Numbers.h"

namespace dg {

std::optional<HeightFields> deriveHeight(std::int32_t widthWhole, std::int32_t widthHundredths,
                                         std::int32_t sourceWidth, std::int32_t sourceHeight) {
    if (sourceWidth <= 0) return std::nullopt;
    const long double wout = widthWhole + widthHundredths / 100.0L;
    const double v = static_cast<double>(
        wout * (static_cast<long double>(sourceHeight) / static_cast<long double>(sourceWidth)));
    double whole = 0;
    const double fraction = std::modf(v, &whole);
    return HeightFields{roundHalfEven(whole), roundHalfEven(static_cast<long double>(fraction) * 100.0L)};
}

std::string sizeText(std::int32_t whole, std::int32_t hundredths) {
    return shortestText(whole + hundredths / 100.0);
}

OutputSizeVerdict evaluateOutputSize(const OutputSizeInputs& in) {
    OutputSizeVerdict out;

    // Compared as the numbers the texts show, so that a width typed equal to the media width
    // (29.7 against "29.7") is equal, not a rounding error apart.
    double woutShown = 0, houtShown = 0;
    parseNumber(sizeText(in.widthWhole, in.widthHundredths), woutShown);
    parseNumber(sizeText(in.heightWhole, in.heightHundredths), houtShown);
    out.exceedsPrinterArea = in.mediaWidth < woutShown || in.mediaHeight < houtShown;

    const long double wout = in.widthWhole + in.widthHundredths / 100.0L;
    const long double hout = in.heightWhole + in.heightHundredths / 100.0L;
    const bool cm = in.unit == MeasuringUnit::Centimeters;
    const long double dpi = in.dpi;
    const long double maxW = cm ? dpi * (wout / 2.54L) : dpi * wout;
    const long double maxH = cm ? dpi * (hout / 2.54L) : dpi * hout;
    const long double minW = maxW / 4;
    const long double minH = maxH / 4;

    const long double wsrc = in.sourceWidth;
    const long double hsrc = in.sourceHeight;
    const bool small = wsrc < minW || hsrc < minH;
    const bool large = wsrc > maxW || hsrc > maxH;
    if (small) {
        out.message = RangeMessage::TooSmall;
        out.additionally = large;
    } else if (large) {
        out.message = RangeMessage::TooLarge;
    }

    if (cm) {
        out.minWidth = roundHalfEven(dpi * wout / 4 / 2.54L);
        out.maxWidth = roundHalfEven(dpi * wout / 2.54L);
        out.minHeight = roundHalfEven(dpi * hout / 4 / 2.54L);
        out.maxHeight = roundHalfEven(dpi * hout / 2.54L);
    } else {
        out.minWidth = roundHalfEven(minW);
        out.maxWidth = roundHalfEven(maxW);
        out.minHeight = roundHalfEven(minH);
        out.maxHeight = roundHalfEven(maxH);
    }
    return out;
}

HeightFields splitUnits(double size) {
    double whole = 0;
    const double fraction = std::modf(size, &whole);
    return HeightFields{roundHalfEven(whole), roundHalfEven(fraction * 100.0)};
}

}  // namespace dg
