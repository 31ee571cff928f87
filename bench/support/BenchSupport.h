#pragma once

#include <string>

#include "imaging/RgbImage.h"

namespace dg::bench {

// The folder with the benchmark pictures that bench/run.sh prepares (DG_BENCH_DATA).
std::string dataFolder();
// A prepared picture of the data folder, read from its 24-bit BMP file.
RgbImage loadPicture(const std::string& name);

}  // namespace dg::bench
