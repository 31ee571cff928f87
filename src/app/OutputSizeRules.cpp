#include "app/OutputSizeRules.h"

#include <cmath>

#include "imaging/Numbers.h"

namespace dg {

namespace {

// Wide enough for any product of the inputs' 32-bit fields (DPI x size in hundredths).
__extension__ typedef __int128 Wide;

Wide hundredthsOf(std::int32_t whole, std::int32_t hundredths) { return Wide{whole} * 100 + hundredths; }

// numerator / denominator (denominator > 0) to the nearest integer, halves to the even one.
std::int64_t ratioRoundedHalfEven(Wide numerator, Wide denominator) {
    Wide quotient = numerator / denominator;
    Wide remainder = numerator % denominator;
    if (remainder < 0) {  // floor division
        remainder += denominator;
        quotient -= 1;
    }
    if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0)) quotient += 1;
    return static_cast<std::int64_t>(quotient);
}

}  // namespace

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

    // The pixel range from the exact ratios. The fields hold whole hundredths, so the pixels a
    // size needs are DPI x size-in-hundredths / 100 in inches and / 254 in centimetres (a
    // quarter of that at the low end): small and large are decided in integers, and the range
    // numbers round half to even from the exact ratio. In binary floating point 18.04 is a
    // hair above 18.04, which made a picture exactly at the low end "small".
    const Wide perInch = in.unit == MeasuringUnit::Centimeters ? 254 : 100;
    const Wide widthNeed = Wide{in.dpi} * hundredthsOf(in.widthWhole, in.widthHundredths);
    const Wide heightNeed = Wide{in.dpi} * hundredthsOf(in.heightWhole, in.heightHundredths);
    const Wide wsrc = in.sourceWidth;
    const Wide hsrc = in.sourceHeight;
    // wsrc < widthNeed / (4 perInch) and wsrc > widthNeed / perInch, multiplied out.
    const bool small = wsrc * 4 * perInch < widthNeed || hsrc * 4 * perInch < heightNeed;
    const bool large = wsrc * perInch > widthNeed || hsrc * perInch > heightNeed;
    if (small) {
        out.message = RangeMessage::TooSmall;
        out.additionally = large;
    } else if (large) {
        out.message = RangeMessage::TooLarge;
    }

    out.minWidth = ratioRoundedHalfEven(widthNeed, 4 * perInch);
    out.maxWidth = ratioRoundedHalfEven(widthNeed, perInch);
    out.minHeight = ratioRoundedHalfEven(heightNeed, 4 * perInch);
    out.maxHeight = ratioRoundedHalfEven(heightNeed, perInch);
    return out;
}

HeightFields splitUnits(double size) {
    double whole = 0;
    const double fraction = std::modf(size, &whole);
    return HeightFields{roundHalfEven(whole), roundHalfEven(fraction * 100.0)};
}

}  // namespace dg
