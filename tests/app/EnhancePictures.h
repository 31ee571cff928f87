#pragma once

#include <cstdlib>

#include "imaging/Effects.h"
#include "imaging/Enhance.h"

namespace dg::test {

// The pictures the enhance rules expect, made by the core operations one at a time, in the
// order the rules give.
inline RgbImage contrast(const RgbImage& p, int passes, bool opposite = false) {
    RgbImage out;
    contrastSteps(p, out, passes, opposite);
    return out;
}
inline RgbImage filtered(const RgbImage& p, const Kernel3x3& kernel, int passes) {
    RgbImage out;
    filter3x3(p, out, kernel, passes);
    return out;
}
inline RgbImage brighter(const RgbImage& p, int amount) {
    RgbImage out;
    addBrightness(p, out, amount);
    return out;
}
inline RgbImage grey(const RgbImage& p, int kind) {
    RgbImage out;
    toGrey(p, out, kind);
    return out;
}
inline RgbImage balanced(const RgbImage& p, BalanceSide side, int value) {
    RgbImage out;
    balanceSteps(p, out, side, value > 0, std::abs(value) + 1);
    return out;
}
inline RgbImage posterized(const RgbImage& p, int level) {
    Bitmap32 bitmap = toBitmap32(p);
    TEffects().Posterize(bitmap, level);
    return toRgbImage(bitmap);
}
inline RgbImage sixteen(const RgbImage& p) {
    RgbImage out;
    reduceToSixteenColours(p, out);
    return out;
}
inline RgbImage halftone(const RgbImage& p) {
    RgbImage out;
    reduceToHalftone(p, out);
    return out;
}

}  // namespace dg::test
