// Windows icons: the directory and each picture inside.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "formats/IcoReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    dg::fuzz::useSmallLimits();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return dg::fuzz::decodeOrFail(data, size, dg::decodeIco);
}
