#pragma once

#include <cstdint>

namespace dg {

// The largest picture intake takes in. A header may claim any size; the readers check the
// claim here before they allocate anything for the pixels, so a damaged or hostile file
// cannot make the program reserve gigabytes. The default leaves room for the largest
// output the program makes (9600 x 9600) and for big scans and photos.
struct PictureLimits {
    std::int64_t maxSide = 65535;
    std::int64_t maxPixels = 120'000'000;
};

PictureLimits pictureLimits();
// Lowers or raises the limits for the whole process (the fuzzer uses small ones). Also passes
// them on to the picture library the readers use.
void setPictureLimits(const PictureLimits& limits);

// Throws Failure ("The picture is too large to open (W x H pixels).") when a picture of this
// size is more than the limits allow, or "The picture has no pixels." for a zero or negative
// side.
void checkPictureSize(std::int64_t width, std::int64_t height);

}  // namespace dg
