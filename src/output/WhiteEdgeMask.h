#pragma once

#include "imaging/Color.h"
#include "imaging/RgbImage.h"

namespace dg {

// Marks removed background after masking.
inline constexpr ColorValue kClearKey = makeColor(172, 243, 75);
// A picture pixel that already has the clear-key colour is moved here first, so that it is
// never taken for removed background.
inline constexpr ColorValue kClearKeyStandIn = makeColor(173, 244, 76);

inline constexpr int kMinDepth = 0;
inline constexpr int kMaxDepth = 55;
inline constexpr int kDefaultDepth = 20;

// White-edge masking in place: pixels with every component above 254 - depth become pure
// white, and every pure-white pixel 4-connected to the picture's border (through a white frame
// around it) becomes kClearKey. Enclosed white areas stay white. The depth is clamped to
// 0..55. Runs without recursion, so a 9600 x 9600 picture is fine.
void whiteEdgeMask(RgbImage& picture, int depth);

inline bool isClearKey(const std::uint8_t* bgr) {
    return bgr[0] == blueOf(kClearKey) && bgr[1] == greenOf(kClearKey) && bgr[2] == redOf(kClearKey);
}

}  // namespace dg
