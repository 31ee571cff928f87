#include "imaging/Tribal.h"

#include <cstring>

#include "imaging/Failure.h"
#include "imaging/Parallel.h"

namespace dg {

namespace {

// The tests compare truncated averages with a slider: avg(x, y) < T holds exactly when
// x + y < 2T, and avg(x, y, z) < T when x + y + z < 3T (the bytes are never negative), so
// no pixel needs a division. Each method is its own instantiation of the row loop, so the
// test is decided once per picture, not once per pixel.
template <int Method>
inline bool isBlack(int r, int g, int b, int t1, int t2, int t3) {
    if constexpr (Method == 1) return (r < t1) & (g < t2) & (b < t3);
    if constexpr (Method == 2) return (r + g < 2 * t1) & (b < t2);
    if constexpr (Method == 3) return (r + b < 2 * t1) & (g < t2);
    if constexpr (Method == 4) return (g + b < 2 * t2) & (r < t1);
    if constexpr (Method == 5) return (r + b < 2 * t1) & (g < t1);
    if constexpr (Method == 6) return (r + g < 2 * t1) & (b < t1);
    if constexpr (Method == 7) return (g + b < 2 * t1) & (r < t1);
    if constexpr (Method == 8) return r + g + b < 3 * t1;
    return false;
}

template <int Method>
void tribalRows(const RgbImage& source, RgbImage& result, const TribalSliders& t, std::int32_t begin,
                std::int32_t end) {
    const std::int32_t width = source.width();
    const std::size_t used = static_cast<std::size_t>(width) * 3;
    const std::size_t padding = result.stride() - used;
    const int t1 = t.t1, t2 = t.t2, t3 = t.t3;
    for (std::int32_t y = begin; y < end; ++y) {
        const std::uint8_t* s = source.row(y);
        std::uint8_t* d = result.row(y);
        for (std::int32_t x = 0; x < width; ++x, s += 3, d += 3) {
            // Bytes in memory: blue, green, red.
            const std::uint8_t v = isBlack<Method>(s[2], s[1], s[0], t1, t2, t3) ? 0 : 255;
            d[0] = v;
            d[1] = v;
            d[2] = v;
        }
        // The padding as a fresh white picture has it, so that the rows written to a file
        // never carry stale bytes.
        if (padding != 0) std::memset(d, 0xFF, padding);
    }
}

using RowPass = void (*)(const RgbImage&, RgbImage&, const TribalSliders&, std::int32_t, std::int32_t);

RowPass rowPassFor(int method) {
    switch (method) {
        case 1:
            return &tribalRows<1>;
        case 2:
            return &tribalRows<2>;
        case 3:
            return &tribalRows<3>;
        case 4:
            return &tribalRows<4>;
        case 5:
            return &tribalRows<5>;
        case 6:
            return &tribalRows<6>;
        case 7:
            return &tribalRows<7>;
        case 8:
            return &tribalRows<8>;
        default:
            return &tribalRows<0>;
    }
}

}  // namespace

int tribalSliderCount(int method) {
    if (method == 1) return 3;
    if (method >= 2 && method <= 4) return 2;
    if (method >= 5 && method <= 8) return 1;
    return 0;
}

void makeTribal(const RgbImage& source, int method, const TribalSliders& sliders, RgbImage& result) {
    if (&source == &result) throw Failure("The tribal design needs a picture of its own.");
    // A picture of the same size is written over in full; its memory is kept rather than
    // handed back and asked for again on every slider step.
    if (result.width() != source.width() || result.height() != source.height() || result.data() == nullptr)
        result.resetForOverwrite(source.width(), source.height());
    if (source.empty()) return;
    const RowPass pass = rowPassFor(method);
    forEachRowBlock(source.height(),
                    [&](std::int32_t begin, std::int32_t end) { pass(source, result, sliders, begin, end); });
}

}  // namespace dg
