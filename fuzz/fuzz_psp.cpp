// Paintshop Pro files: the block tree, the channels and their compression.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "formats/PspReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dg::fuzz::useSmallLimits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dg::fuzz::decodeOrFail(data, size, dg::decodePsp);
}
