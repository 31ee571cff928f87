#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

namespace dg::test {

// Feeds a decoder copies of each good file with 1 to 4 random bytes changed. Every copy
// must decode to a picture or fail with dg::Failure; anything else (another exception, or
// under the sanitizers a crash or an overread) ends the test.
void decodeRandomlyDamaged(std::initializer_list<std::vector<std::uint8_t>> goodFiles, int rounds,
                           std::uint32_t seed,
                           const std::function<void(const std::vector<std::uint8_t>&)>& decode);

}  // namespace dg::test
