#include "imaging/CountColors.h"

#include <bit>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "imaging/Failure.h"
#include "imaging/Parallel.h"

namespace dg {

namespace {

// One bit per 24-bit colour: 2 MiB, small enough to stay mostly in the caches, where a
// counter per colour would take 64 MiB. Each worker marks its own table; the tables are
// merged by OR, so the count does not depend on how the rows were split.
constexpr std::size_t kTableWords = (std::size_t{1} << 24) / 64;

using ColorTable = std::unique_ptr<std::uint64_t[]>;

ColorTable newTable() {
    auto* words = new (std::nothrow) std::uint64_t[kTableWords]();
    if (words == nullptr) throw Failure("Not enough memory to count the colours of the picture.");
    return ColorTable(words);
}

inline void mark(std::uint64_t* table, std::uint32_t color) {
    table[color >> 6] |= std::uint64_t{1} << (color & 63);
}

void markRows(const RgbImage& picture, std::int32_t begin, std::int32_t end, std::uint64_t* table) {
    const std::int32_t width = picture.width();
    for (std::int32_t y = begin; y < end; ++y) {
        const std::uint8_t* p = picture.row(y);
        // Four bytes at a time, the fourth masked off; the last pixel of a row may end at the
        // end of the picture's memory, so it is read byte by byte.
        std::int32_t x = 0;
        for (; x + 1 < width; ++x, p += 3) {
            std::uint32_t word;
            std::memcpy(&word, p, sizeof word);
            mark(table, word & 0xFFFFFFu);
        }
        mark(table, static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                        (static_cast<std::uint32_t>(p[2]) << 16));
    }
}

__attribute__((target_clones("popcnt", "default"))) std::int64_t countBits(
    const std::vector<ColorTable>& tables) {
    std::int64_t count = 0;
    for (std::size_t i = 0; i < kTableWords; ++i) {
        std::uint64_t word = 0;
        for (const auto& table : tables) word |= table[i];
        count += std::popcount(word);
    }
    return count;
}

}  // namespace

std::int64_t CountColors(const RgbImage& picture) {
    if (picture.empty()) return 0;
    std::mutex lock;
    std::vector<ColorTable> tables;
    forEachRowBlock(picture.height(), [&](std::int32_t begin, std::int32_t end) {
        ColorTable table = newTable();
        markRows(picture, begin, end, table.get());
        const std::lock_guard<std::mutex> guard(lock);
        tables.push_back(std::move(table));
    });
    return countBits(tables);
}

}  // namespace dg
