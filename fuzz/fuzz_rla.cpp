// Alias/Wavefront RLA and RPF pictures: the header, the row table and the run-length rows.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "formats/RlaReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dg::fuzz::useSmallLimits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dg::fuzz::decodeOrFail(data, size, dg::decodeRla);
}
