#include "support/BenchSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "formats/Bmp.h"

namespace dg::bench {

std::string dataFolder() {
    const char* folder = std::getenv("DG_BENCH_DATA");
    if (folder == nullptr) throw std::runtime_error("DG_BENCH_DATA is not set; run the benchmarks through bench/run.sh");
    return folder;
}

RgbImage loadPicture(const std::string& name) {
    std::ifstream in(dataFolder() + "/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("missing benchmark picture " + name);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decodeBmp24(bytes);
}

}  // namespace dg::bench
