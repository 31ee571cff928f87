#pragma once

#include <array>
#include <cstdint>

#include "imaging/Color.h"
#include "imaging/RgbImage.h"

namespace dg {

// The enhance screen's pixel operations. Each reads `from` and writes `to`, which gets
// from's size (its memory is reused when it already has that size); `to` may be `from`
// itself. Arithmetic is on integers, division truncates toward zero and every result byte is
// clamped to 0..255. Rows are split across the workers of forEachRowBlock; the bytes do not
// depend on the number of workers. There is no limit on the number of rows.

// `to` becomes a copy of `from`, its memory reused when the size already fits; rows are copied
// by the workers in parallel.
void copyPixels(const RgbImage& from, RgbImage& to);

// Every byte x becomes x + amount.
void addBrightness(const RgbImage& from, RgbImage& to, std::int32_t amount);

// Every byte x becomes table[x].
void mapBytes(const RgbImage& from, RgbImage& to, const std::array<std::uint8_t, 256>& table);

// One contrast step on one byte, x + (20 * (x - 128)) div 256, and its opposite,
// x - (20 * (x - 128)) div 256, both clamped.
std::uint8_t contrastStep(std::uint8_t x);
std::uint8_t contrastStepOpposite(std::uint8_t x);
// `passes` contrast steps (or opposite steps) on every byte, each step reading the last.
void contrastSteps(const RgbImage& from, RgbImage& to, std::int32_t passes, bool opposite);

// `passes` saturation steps: m := (max(R, G, B) + min(R, G, B)) div 2, then each byte
// x := x + (x - m) div 8.
void saturationSteps(const RgbImage& from, RgbImage& to, std::int32_t passes);

// A 3 x 3 kernel, rows top to bottom, and its divisor (0 counts as 1).
struct Kernel3x3 {
    std::array<std::int32_t, 9> weights;
    std::int32_t divisor;
};
inline constexpr Kernel3x3 kBlurKernel{{1, 2, 1, 2, 20, 2, 1, 2, 1}, 32};
inline constexpr Kernel3x3 kSharpenKernel{{-1, -2, -1, -2, 28, -2, -1, -2, -1}, 16};

// `passes` passes of the 3 x 3 filter, each reading the picture the last one made: every
// byte becomes (sum of weight x neighbour byte) div divisor, clamped; a neighbour outside
// the picture counts as the centre pixel. More than one pass needs a second raster: `scratch`
// when given (its memory is reused from call to call), else one made for the call.
void filter3x3(const RgbImage& from, RgbImage& to, const Kernel3x3& kernel, std::int32_t passes,
               RgbImage* scratch = nullptr);

// The sides of the colour-balance triangle.
enum class BalanceSide { RedGreen, GreenBlue, RedBlue };
// `passes` colour-balance steps of one side, 7 parts of the changed byte and 1 of the other
// divided by 8: RedGreen changes R (toward G) when `positive` is false and G (toward R)
// when it is true; GreenBlue changes G or B; RedBlue changes R or B.
void balanceSteps(const RgbImage& from, RgbImage& to, BalanceSide side, bool positive, std::int32_t passes);

// The grey g of the buttons GREY 1 to GREY 8 (kind 1..8) for one pixel.
std::uint8_t greyOf(int kind, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
// Every pixel becomes (g, g, g) of the given kind.
void toGrey(const RgbImage& from, RgbImage& to, int kind);

// The fixed 16-colour palette, as colour values, in palette order.
const std::array<ColorValue, 16>& sixteenColourPalette();
// The 256-colour halftone palette: first the 6 x 6 x 6 cube of the levels 0, 51, 102, 153,
// 204 and 255, index 36 * r + 6 * g + b for the level numbers r, g and b; then 40 greys,
// eight between each two neighbouring grey levels of the cube, at round(51 * k / 9) for k =
// 1..44 that are not multiples of 9, in ascending order. With the cube's six greys, the greys
// are 46 steps of 51/9.
const std::array<ColorValue, 256>& halftonePalette();

// The palette entry nearest to a colour: the smallest squared distance
// (dr * dr + dg * dg + db * db); among equally near entries the lowest index.
int nearestSixteenIndex(int red, int green, int blue);
int nearestHalftoneIndex(int red, int green, int blue);

// Every pixel becomes its nearest colour in the 16-colour or the halftone palette.
void reduceToSixteenColours(const RgbImage& from, RgbImage& to);
void reduceToHalftone(const RgbImage& from, RgbImage& to);

}  // namespace dg
