#pragma once

#include <cstdint>

namespace dg {

// A colour held as one integer: red + 256 * green + 65536 * blue (0x00BBGGRR).
// Sorting colour values ascending orders by blue, then green, then red.
using ColorValue = std::int32_t;

inline constexpr ColorValue kNoColor = -1;
inline constexpr ColorValue kWhite = 0xFFFFFF;
inline constexpr ColorValue kBlack = 0;

constexpr ColorValue makeColor(int red, int green, int blue) {
    return static_cast<ColorValue>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int redOf(ColorValue c) { return c & 0xFF; }
constexpr int greenOf(ColorValue c) { return (c >> 8) & 0xFF; }
constexpr int blueOf(ColorValue c) { return (c >> 16) & 0xFF; }

}  // namespace dg
