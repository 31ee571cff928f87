#pragma once

#include <cstdint>
#include <string>

namespace dg {

enum class MeasuringUnit { Inches, Centimeters };

// The tattoo's size on paper and the print resolution, as the output-size screen sets them and
// a project folder stores them. Scaling, printing, export and the project files read these
// fields and nothing else of the run's state.
struct OutputSettings {
    MeasuringUnit unit = MeasuringUnit::Centimeters;
    std::int32_t outputDpi = 100;              // 70..160
    std::int32_t outputWidthWhole = 8;         // 1..60
    std::int32_t outputWidthHundredths = 50;   // 0..99
    std::int32_t outputHeightWhole = 8;        // 0..60
    std::int32_t outputHeightHundredths = 50;  // 0..99
    bool preserveAspect = true;
    // whole + hundredths / 100 as shortest decimal text; empty until the first recompute.
    std::string outputWidthText;
    std::string outputHeightText;
};

// The range of a bounded field: a value set from outside is clamped into it.
struct FieldRange {
    std::int32_t minimum;
    std::int32_t maximum;
};

// The output size's fields.
inline constexpr FieldRange kDpiField{70, 160};
inline constexpr FieldRange kWidthWholeField{1, 60};
inline constexpr FieldRange kHundredthsField{0, 99};
inline constexpr FieldRange kHeightWholeField{0, 60};

// A size in pixels.
struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const PixelSize&) const = default;
};

}  // namespace dg
