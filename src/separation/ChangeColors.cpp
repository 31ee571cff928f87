#include "separation/ChangeColors.h"

#include <algorithm>
#include <atomic>

#include "imaging/Parallel.h"

namespace dg {

ChangeColorsSwatches changeColorsSwatches(const RgbImage& source, const RgbImage& working, int x, int y) {
    ChangeColorsSwatches s;
    if (source.contains(x, y)) s.original = source.pixel(x, y);
    if (working.contains(x, y)) s.result = working.pixel(x, y);
    return s;
}

std::int64_t changeColors(RgbImage& working, const RgbImage& source, int x, int y) {
    if (!working.contains(x, y) || !source.contains(x, y)) return 0;
    const ColorValue src = source.pixel(x, y);
    const ColorValue current = working.pixel(x, y);
    if (src == current) return 0;
    const std::uint8_t from[3] = {static_cast<std::uint8_t>(blueOf(current)),
                                  static_cast<std::uint8_t>(greenOf(current)),
                                  static_cast<std::uint8_t>(redOf(current))};
    const std::uint8_t to[3] = {static_cast<std::uint8_t>(blueOf(src)),
                                static_cast<std::uint8_t>(greenOf(src)),
                                static_cast<std::uint8_t>(redOf(src))};
    // Within the SOURCE size, which is the working picture's size in practice; where the two
    // differ, only the part both cover is visited.
    const std::int32_t width = std::min(working.width(), source.width());
    const std::int32_t height = std::min(working.height(), source.height());
    std::atomic<std::int64_t> changed{0};
    forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
        std::int64_t local = 0;
        for (std::int32_t row = begin; row < end; ++row) {
            std::uint8_t* p = working.row(row);
            for (std::int32_t i = 0; i < width; ++i, p += 3) {
                if (p[0] == from[0] && p[1] == from[1] && p[2] == from[2]) {
                    p[0] = to[0];
                    p[1] = to[1];
                    p[2] = to[2];
                    ++local;
                }
            }
        }
        changed += local;
    });
    return changed;
}

}  // namespace dg
