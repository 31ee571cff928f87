// Word screen captures: the PCX variant with 0xCD as its first byte.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "formats/ScrReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dg::fuzz::useSmallLimits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dg::fuzz::decodeOrFail(data, size, dg::decodeScr);
}
