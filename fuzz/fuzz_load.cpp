// The whole load path from bytes: the content probes in their order, then the reader chosen by
// an extension, then its decoder. The first byte of an input picks the extension among the
// registered ones, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "formats/PictureLimits.h"
#include "formats/PictureReaders.h"
#include "formats/ReaderRegistry.h"
#include "imaging/Failure.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Small limits keep every input fast; the size checks themselves are what is exercised.
    dg::setPictureLimits({2048, 2'000'000});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const auto& registrations = dg::readerRegistrations();
    const std::string extension = registrations[data[0] % registrations.size()].extension;
    dg::PictureReadOptions options;
    options.allowExternalPrograms = false;  // no Ghostscript run per input
    try {
        const dg::RgbImage picture = dg::readPictureBytes(data + 1, size - 1, extension, options);
        // Touch every row, so a picture with too little memory behind it shows up.
        volatile std::uint8_t sink = 0;
        for (std::int32_t y = 0; y < picture.height(); ++y) sink = sink ^ picture.row(y)[picture.width() * 3 - 1];
    } catch (const dg::Failure&) {
    }
    return 0;
}
