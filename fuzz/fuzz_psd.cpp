// Photoshop files (.psd, .pdd): the header, the sections and the merged picture.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "formats/PsdReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dg::fuzz::useSmallLimits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dg::fuzz::decodeOrFail(data, size, dg::decodePsd);
}
