#pragma once

#include "imaging/RgbImage.h"

namespace dg {

// The two swatches of the change-colours screen at a pointer position: the SOURCE picture's
// colour and the working picture's colour there (kNoColor outside a picture).
struct ChangeColorsSwatches {
    ColorValue original = kNoColor;
    ColorValue result = kNoColor;
};
ChangeColorsSwatches changeColorsSwatches(const RgbImage& source, const RgbImage& working, int x, int y);

// A double click at (x, y): every pixel of the working picture, within the SOURCE picture's
// size, that has the working colour at (x, y) takes the SOURCE colour at (x, y). Returns the
// number of pixels changed; a position outside either picture changes nothing.
std::int64_t changeColors(RgbImage& working, const RgbImage& source, int x, int y);

}  // namespace dg
