#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/WorkflowState.h"

namespace dg {

// The arithmetic of the output-size screen, apart from its controls: the screen feeds its
// field values in and shows what comes out.

// A height in whole units and hundredths as derived from the width; not yet clamped into the
// fields' ranges (the fields clamp: 75.3 becomes 60, 100 hundredths become 99).
struct HeightFields {
    std::int64_t whole = 0;
    std::int64_t hundredths = 0;
};

// The height that keeps the SOURCE picture's proportions at the given width:
// v = (whole + hundredths / 100) * (sourceHeight / sourceWidth), then its integer part and
// its fractional part in hundredths. Nothing when the picture has no width (there is no
// proportion to keep, so the height stays as it is).
std::optional<HeightFields> deriveHeight(std::int32_t widthWhole, std::int32_t widthHundredths,
                                         std::int32_t sourceWidth, std::int32_t sourceHeight);

// whole + hundredths / 100 as the screen writes it: 8.5, 8, 12.07.
std::string sizeText(std::int32_t whole, std::int32_t hundredths);

// What the Message Board says about the picture's pixel count.
enum class RangeMessage { None, TooSmall, TooLarge };

struct OutputSizeInputs {
    MeasuringUnit unit = MeasuringUnit::Centimeters;
    std::int32_t dpi = 100;
    std::int32_t widthWhole = 8;
    std::int32_t widthHundredths = 50;
    std::int32_t heightWhole = 8;
    std::int32_t heightHundredths = 50;
    std::int32_t sourceWidth = 0;
    std::int32_t sourceHeight = 0;
    // The printer's media size in `unit`, read back from the texts SELECT TASK shows.
    double mediaWidth = 0;
    double mediaHeight = 0;
};

struct OutputSizeVerdict {
    bool exceedsPrinterArea = false;
    RangeMessage message = RangeMessage::None;
    // Shown with the too-small message when the picture is too large in the other direction.
    bool additionally = false;
    // The recommended pixel range, rounded for the range lines.
    std::int64_t minWidth = 0, maxWidth = 0, minHeight = 0, maxHeight = 0;
};

// The printer-area warning and the Message Board's verdict. The pixel range is DPI x size
// (size / 2.54 in centimetres), a quarter of that at the low end; small and large, and the
// range numbers (rounded half to even), come from these exact ratios of the fields' whole
// hundredths, so a picture exactly at either end is inside the range.
OutputSizeVerdict evaluateOutputSize(const OutputSizeInputs& in);

// "Fit to Page Width": a media size (in the current unit) as whole units and hundredths.
HeightFields splitUnits(double size);

// The fixed texts of the Message Board.
inline constexpr const char* kExceedsPrinterAreaText =
    " EXCEEDS YOUR CURRENT PRINTER AREA !!!   Please use another printer, another printer "
    "settings / Portrait or Landscape/  or will be stretched to fit the page";
inline constexpr const char* kTooSmallText =
    "Width and/or height of your image is very little and will be resized by using our "
    "internal resizer. For your specified OUTPUT SIZE AND RESOLUTION Please use  image with "
    "sizes between:";
inline constexpr const char* kTooLargeText =
    "Width and/or height of your image is very big and will be resized by using our internal "
    "resizer. Loss of small details. For your specified OUTPUT SIZE AND RESOLUTION Please use  "
    "image with sizes between:";
inline constexpr const char* kAdditionallyText =
    "Additionally width or height is very big in size and will be resized with losing of "
    "information";

}  // namespace dg
