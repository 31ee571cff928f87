#include "support/Damage.h"

#include <random>

#include "imaging/Failure.h"

namespace dg::test {

void decodeRandomlyDamaged(std::initializer_list<std::vector<std::uint8_t>> goodFiles, int rounds,
                           std::uint32_t seed,
                           const std::function<void(const std::vector<std::uint8_t>&)>& decode) {
    std::mt19937 random(seed);
    for (const auto& good : goodFiles) {
        if (good.empty()) continue;
        for (int round = 0; round < rounds; ++round) {
            std::vector<std::uint8_t> bad = good;
            const int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes; ++i)
                bad[random() % bad.size()] = static_cast<std::uint8_t>(random());
            try {
                decode(bad);
            } catch (const Failure&) {
            }
        }
    }
}

}  // namespace dg::test
