#include "imaging/Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

#include "imaging/Progress.h"

namespace dg {

namespace {
std::atomic<int> configuredWorkers{0};
}

void setWorkerCount(int workers) { configuredWorkers = std::max(0, workers); }

int workerCount() {
    const int configured = configuredWorkers.load();
    if (configured > 0) return configured;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

namespace {

// Within a step that can be cancelled, a block is done in bands with a checkpoint before each,
// so that Cancel takes effect within a band's time. Rows do not depend on each other, so the
// bytes are the same.
constexpr std::int32_t kBandsPerBlock = 32;

void runBlock(std::int32_t begin, std::int32_t end, const StepProgress* progress,
              const std::function<void(std::int32_t, std::int32_t)>& fn) {
    if (progress == nullptr) {
        fn(begin, end);
        return;
    }
    const std::int32_t band = std::max<std::int32_t>(16, (end - begin + kBandsPerBlock - 1) / kBandsPerBlock);
    for (std::int32_t y = begin; y < end; y += band) {
        progress->checkpoint();
        fn(y, std::min(end, y + band));
    }
}

}  // namespace

void forEachRowBlock(std::int32_t rows, const std::function<void(std::int32_t, std::int32_t)>& fn) {
    if (rows <= 0) return;
    const StepProgress* progress = currentProgress();
    // Small passes are not worth a thread start.
    const int workers = std::min<std::int64_t>(workerCount(), std::max<std::int32_t>(1, rows / 16));
    if (workers <= 1) {
        runBlock(0, rows, progress, fn);
        return;
    }
    std::vector<std::thread> threads;
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(workers));
    threads.reserve(static_cast<std::size_t>(workers - 1));
    auto block = [&](int w) {
        const auto begin = static_cast<std::int32_t>(static_cast<std::int64_t>(rows) * w / workers);
        const auto end = static_cast<std::int32_t>(static_cast<std::int64_t>(rows) * (w + 1) / workers);
        try {
            runBlock(begin, end, progress, fn);
        } catch (...) {
            errors[static_cast<std::size_t>(w)] = std::current_exception();
        }
    };
    for (int w = 1; w < workers; ++w) threads.emplace_back(block, w);
    block(0);
    for (auto& t : threads) t.join();
    for (auto& e : errors) {
        if (e) std::rethrow_exception(e);
    }
}

}  // namespace dg
