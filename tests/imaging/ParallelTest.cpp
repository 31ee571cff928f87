#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "imaging/Parallel.h"
#include "imaging/Progress.h"

namespace dg {
namespace {

// Within a step that can be cancelled the rows are done in bands; still each exactly once.
TEST(Parallel, EveryRowOnceWhateverTheWorkerCount) {
    StepProgress progress;
    for (StepProgress* step : {static_cast<StepProgress*>(nullptr), &progress}) {
        const ProgressScope scope(step);
        for (int workers : {1, 2, 3, 7}) {
            setWorkerCount(workers);
            std::vector<std::atomic<int>> visits(1001);
            forEachRowBlock(1001, [&](std::int32_t begin, std::int32_t end) {
                for (std::int32_t y = begin; y < end; ++y) ++visits[static_cast<std::size_t>(y)];
            });
            for (auto& v : visits) ASSERT_EQ(v.load(), 1) << workers;
        }
    }
    setWorkerCount(0);
}

// A cancelled step's row pass stops at its next band, on every worker, and says so.
TEST(Parallel, ACancelledStepStopsThePassWithinABand) {
    for (int workers : {1, 2}) {
        setWorkerCount(workers);
        StepProgress progress;
        progress.cancelAtCheckpoint(2);
        const ProgressScope scope(&progress);
        std::atomic<int> rows{0};
        EXPECT_THROW(
            forEachRowBlock(4000, [&](std::int32_t begin, std::int32_t end) { rows += end - begin; }),
            Cancelled);
        // Alone, one band (a small share of the block) ran before the cancel; with two workers
        // the other stops at its own next band.
        EXPECT_GT(rows.load(), 0);
        if (workers == 1)
            EXPECT_LE(rows.load(), 4000 / 8);
        else
            EXPECT_LT(rows.load(), 4000);
    }
    setWorkerCount(0);
}

TEST(Parallel, ErrorsReachTheCaller) {
    setWorkerCount(2);
    EXPECT_THROW(forEachRowBlock(100,
                                 [](std::int32_t begin, std::int32_t) {
                                     if (begin > 0) throw std::runtime_error("block failed");
                                 }),
                 std::runtime_error);
    setWorkerCount(0);
    forEachRowBlock(0, [](std::int32_t, std::int32_t) { FAIL(); });
}

}  // namespace
}  // namespace dg
