#include "formats/PictureLimits.h"

#include <atomic>
#include <string>

#include "formats/MagickReader.h"
#include "imaging/Failure.h"

namespace dg {

namespace {

std::atomic<std::int64_t> gMaxSide{PictureLimits{}.maxSide};
std::atomic<std::int64_t> gMaxPixels{PictureLimits{}.maxPixels};
std::atomic<double> gDrawingSeconds{PictureLimits{}.drawingSeconds};
std::atomic<std::int64_t> gDrawingMemory{PictureLimits{}.drawingMemory};

}  // namespace

PictureLimits pictureLimits() {
    return {gMaxSide.load(), gMaxPixels.load(), gDrawingSeconds.load(), gDrawingMemory.load()};
}

void setPictureLimits(const PictureLimits& limits) {
    gMaxSide = limits.maxSide;
    gMaxPixels = limits.maxPixels;
    gDrawingSeconds = limits.drawingSeconds;
    gDrawingMemory = limits.drawingMemory;
    applyMagickLimits(limits);
}

void checkPictureSize(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0) throw Failure("The picture has no pixels.");
    const PictureLimits limits = pictureLimits();
    if (width > limits.maxSide || height > limits.maxSide || width * height > limits.maxPixels) {
        throw Failure("The picture is too large to open (" + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels).");
    }
}

}  // namespace dg
