#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/RgbImage.h"

namespace dg::test {

std::vector<std::uint8_t> fileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A binary PPM (P6, maxval 255) read by hand, as an independent reference for the readers.
RgbImage readPpmReference(const std::string& path);

// Same size, and no channel of any pixel further than tolerance from the expected one; on a
// failure, names the first pixel that is too far and both colours.
::testing::AssertionResult CloseImage(const RgbImage& expected, const RgbImage& actual, int tolerance);

}  // namespace dg::test
