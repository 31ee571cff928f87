#pragma once

#include <cstdint>

namespace dg {

// The largest picture intake takes in. A header may claim any size; the readers check the
// claim here before they allocate anything for the pixels, so a damaged or hostile file
// cannot make the program reserve more than it can use. The default takes pictures of a few
// hundred megapixels (big scans, stitched photos: 400 million pixels are 1.2 GB as 24-bit),
// well past the largest output the program makes (9600 x 9600).
//
// Pictures drawn by a helper program (PostScript through Ghostscript) are bounded in time and
// memory as well: a PostScript file is a program and may loop for ever or allocate without end.
struct PictureLimits {
    std::int64_t maxSide = 65535;
    std::int64_t maxPixels = 400'000'000;
    double drawingSeconds = 8;
    std::int64_t drawingMemory = std::int64_t{1} << 30;
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
