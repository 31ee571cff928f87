#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "imaging/RgbImage.h"

namespace dg::test {

// Succeeds when decode throws dg::Failure whose message contains `message`.
::testing::AssertionResult FailsWith(const std::function<void()>& decode, const std::string& message);

// One colour plane of a picture, row by row: 0 red, 1 green, 2 blue.
std::vector<std::uint8_t> colorPlane(const RgbImage& picture, int channel);

// Feeds a decoder copies of each good file with 1 to 4 random bytes changed. Every copy
// must decode to a picture or fail with dg::Failure; anything else (another exception, or
// under the sanitizers a crash or an overread) ends the test.
void decodeRandomlyDamaged(std::initializer_list<std::vector<std::uint8_t>> goodFiles, int rounds,
                           std::uint32_t seed,
                           const std::function<void(const std::vector<std::uint8_t>&)>& decode);

}  // namespace dg::test
