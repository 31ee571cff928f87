#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/PictureLimits.h"
#include "imaging/RgbImage.h"

namespace dg {

// What GraphicsMagick is asked to do for one file.
struct MagickRequest {
    // The decoder to use (for example "TGA"). It is always given: the registry has chosen the
    // format, and the library must not guess another one from the bytes.
    const char* magick = "";
    // The file's path, for decoders that read a file lying beside it (the palette of a Dr. Halo
    // picture). Empty when the bytes come from elsewhere.
    std::string path;
    // Read the file through its path rather than from the bytes: the library finds files
    // beside the picture only then.
    bool readFromPath = false;
    // Rendering density in dots per inch for vector formats; 0 leaves the decoder's own.
    int density = 0;
    // Take the largest of several pictures in the file (icons) rather than the first.
    bool largestFrame = false;
};

// Decodes a file held in memory with GraphicsMagick into a 24-bit picture; transparent parts
// become white. Throws Failure with the library's reason when the file cannot be decoded.
RgbImage decodeWithMagick(const std::uint8_t* data, std::size_t size, const MagickRequest& request);

// Starts the library once for the whole process (thread-safe); every call above does it
// first, so only code that calls the library itself needs this.
void ensureMagick();

// Passes the picture limits on to the library's resource limits (done on first use too).
void applyMagickLimits(const PictureLimits& limits);

}  // namespace dg
