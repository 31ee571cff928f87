#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "imaging/RgbImage.h"

namespace dg {

// The resampler's filters, in the order of the filter list (the run's resampleFilter
// indexes it).
enum class ResampleFilter : std::int32_t { Box, Triangle, Hermite, Bell, Spline, Lanczos3, Mitchell };

inline constexpr std::int32_t kResampleFilterCount = 7;

// The filter list's texts: "Box", "Triangle", "Hermite", "Bell", "Spline", "Lanczos3", "Mitchell".
const std::array<std::string_view, kResampleFilterCount>& resampleFilterNames();

// The radius a filter reaches when the caller asks for radius 0.
float defaultResampleRadius(std::int32_t filterIndex);

// Resamples the picture in place to newWidth x newHeight with the filter of the list;
// radius 0 (or less) takes the filter's default radius. The result has exactly the new size;
// a zero dimension anywhere gives a blank (white) picture of the new size. An unknown filter
// index or a size that cannot be held fails with a message.
void ResampleInPlace(std::int32_t newWidth, std::int32_t newHeight, std::int32_t filterIndex, float radius,
                     RgbImage& picture);

// Resamples source into target, whose size is already set: first every row to the target
// width, then every column to the target height, with integer weights (kernel x 256, rounded
// half to even), truncating division and mirroring at the edges; radius 0 (or less) takes the
// filter's default. Leaves target untouched when either picture has a zero dimension. Rows are split across
// the workers of forEachRowBlock; the bytes do not depend on their number.
void ResampleInto(std::int32_t filterIndex, float radius, const RgbImage& source, RgbImage& target);

namespace resample_detail {

// The passes divide a sum by a list's positive divisor d (its total weight, or 256 when that
// is 0) as a multiplication by 1 / d rounded up to single precision: for |sum| < 2^24 and
// d <= 2^14 the product truncates to trunc(sum / d) wherever that lies in 0..255, beyond
// which only the clamp matters.
float quotientInverse(std::int32_t divisor);
inline std::uint8_t quotientByte(std::int32_t sum, float inverse) {
    const auto q = static_cast<std::int32_t>(static_cast<float>(sum) * inverse);
    return static_cast<std::uint8_t>(q < 0 ? 0 : (q > 255 ? 255 : q));
}

}  // namespace resample_detail

}  // namespace dg
