#pragma once

#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// The positions of the three sliders of TRIBAL CREATION, each 0..256.
struct TribalSliders {
    std::int32_t t1 = 100;
    std::int32_t t2 = 100;
    std::int32_t t3 = 100;
};

// How many sliders a method uses: Method 1 all three, Methods 2 to 4 sliders 1 and 2,
// Methods 5 to 8 slider 1 only. 0 for no method.
int tribalSliderCount(int method);

// The tribal design of `source` by one of the eight per-pixel tests (method 1..8): `result`
// gets the source's size and is pure black wherever the method's test holds and pure white
// everywhere else. Method 0 (none chosen) gives an all-white picture. The averages of the
// tests truncate and every comparison is strict.
void makeTribal(const RgbImage& source, int method, const TribalSliders& sliders, RgbImage& result);

}  // namespace dg
