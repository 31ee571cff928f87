// Clipboard bitmaps: a DIB with its header, palette or bit masks and rows, as pasted.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "formats/PictureReaders.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dg::fuzz::useSmallLimits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dg::fuzz::decodeOrFail(data, size, dg::clipboardDibToRgb);
}
