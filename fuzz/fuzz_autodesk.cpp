// Autodesk CEL and PIC pictures, the old kind and the chunked kind.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "formats/AutodeskReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dg::fuzz::useSmallLimits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dg::fuzz::decodeOrFail(data, size, dg::decodeAutodesk);
}
