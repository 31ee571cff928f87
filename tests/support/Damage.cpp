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

::testing::AssertionResult FailsWith(const std::function<void()>& decode, const std::string& message) {
    try {
        decode();
    } catch (const Failure& failure) {
        if (std::string(failure.what()).find(message) != std::string::npos) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure()
               << "failed with \"" << failure.what() << "\", not \"" << message << "\"";
    }
    return ::testing::AssertionFailure() << "no failure";
}

std::vector<std::uint8_t> colorPlane(const RgbImage& picture, int channel) {
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const ColorValue c = picture.pixel(x, y);
            out.push_back(static_cast<std::uint8_t>(channel == 0   ? redOf(c)
                                                    : channel == 1 ? greenOf(c)
                                                                   : blueOf(c)));
        }
    }
    return out;
}

}  // namespace dg::test
