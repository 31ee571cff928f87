#include "imaging/Parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

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

void forEachRowBlock(std::int32_t rows, const std::function<void(std::int32_t, std::int32_t)>& fn) {
    if (rows <= 0) return;
    // Small passes are not worth a thread start.
    const int workers = std::min<std::int64_t>(workerCount(), std::max<std::int32_t>(1, rows / 16));
    if (workers <= 1) {
        fn(0, rows);
        return;
    }
    std::vector<std::thread> threads;
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(workers));
    threads.reserve(static_cast<std::size_t>(workers - 1));
    auto block = [&](int w) {
        const auto begin = static_cast<std::int32_t>(static_cast<std::int64_t>(rows) * w / workers);
        const auto end = static_cast<std::int32_t>(static_cast<std::int64_t>(rows) * (w + 1) / workers);
        try {
            fn(begin, end);
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
