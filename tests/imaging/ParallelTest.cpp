#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "imaging/Parallel.h"

namespace dg {
namespace {

TEST(Parallel, EveryRowOnceWhateverTheWorkerCount) {
    for (int workers : {1, 2, 3, 7}) {
        setWorkerCount(workers);
        std::vector<std::atomic<int>> visits(1001);
        forEachRowBlock(1001, [&](std::int32_t begin, std::int32_t end) {
            for (std::int32_t y = begin; y < end; ++y) ++visits[static_cast<std::size_t>(y)];
        });
        for (auto& v : visits) ASSERT_EQ(v.load(), 1) << workers;
    }
    setWorkerCount(0);
}

TEST(Parallel, ErrorsReachTheCaller) {
    setWorkerCount(2);
    EXPECT_THROW(forEachRowBlock(100, [](std::int32_t begin, std::int32_t) {
                     if (begin > 0) throw std::runtime_error("block failed");
                 }),
                 std::runtime_error);
    setWorkerCount(0);
    forEachRowBlock(0, [](std::int32_t, std::int32_t) { FAIL(); });
}

}  // namespace
}  // namespace dg
