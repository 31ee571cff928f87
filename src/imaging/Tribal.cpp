#include "imaging/Tribal.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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
void scalarPixels(const std::uint8_t* s, std::uint8_t* d, std::int32_t count, int t1, int t2, int t3) {
    for (std::int32_t x = 0; x < count; ++x, s += 3, d += 3) {
        // Bytes in memory: blue, green, red.
        const std::uint8_t v = isBlack<Method>(s[2], s[1], s[0], t1, t2, t3) ? 0 : 255;
        d[0] = v;
        d[1] = v;
        d[2] = v;
    }
}

#if defined(__x86_64__) || defined(__i386__)
#define DG_TRIBAL_SSSE3 1

// Sixteen pixels at a time: the 48 bytes are split into a blue, a green and a red vector
// with byte shuffles, the method's test gives one mask byte per pixel, and the mask is
// spread back over the three bytes of each pixel. Sums are taken in 16-bit lanes.
struct Lanes {
    __m128i lessThan1, lessThan2, lessThan3;  // T - 1 per slider (a byte below T is at most T - 1)
    __m128i valid1, valid2, valid3;           // all ones unless the slider is at 0
    __m128i twice1, twice2, thrice1;          // 2 T1, 2 T2, 3 T1 in 16-bit lanes
};

__attribute__((target("ssse3"))) inline __m128i below(__m128i x, __m128i lessThan, __m128i valid) {
    return _mm_and_si128(_mm_cmpeq_epi8(_mm_subs_epu8(x, lessThan), _mm_setzero_si128()), valid);
}

__attribute__((target("ssse3"))) inline __m128i sumBelow(__m128i x, __m128i y, __m128i z, __m128i bound) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(x, zero), _mm_unpacklo_epi8(y, zero)),
                                      _mm_unpacklo_epi8(z, zero));
    const __m128i high = _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(x, zero), _mm_unpackhi_epi8(y, zero)),
                                       _mm_unpackhi_epi8(z, zero));
    return _mm_packs_epi16(_mm_cmplt_epi16(low, bound), _mm_cmplt_epi16(high, bound));
}

template <int Method>
__attribute__((target("ssse3"))) inline __m128i blackMask(__m128i r, __m128i g, __m128i b, const Lanes& l) {
    const __m128i zero = _mm_setzero_si128();
    if constexpr (Method == 1)
        return _mm_and_si128(_mm_and_si128(below(r, l.lessThan1, l.valid1), below(g, l.lessThan2, l.valid2)),
                             below(b, l.lessThan3, l.valid3));
    if constexpr (Method == 2)
        return _mm_and_si128(sumBelow(r, g, zero, l.twice1), below(b, l.lessThan2, l.valid2));
    if constexpr (Method == 3)
        return _mm_and_si128(sumBelow(r, b, zero, l.twice1), below(g, l.lessThan2, l.valid2));
    if constexpr (Method == 4)
        return _mm_and_si128(sumBelow(g, b, zero, l.twice2), below(r, l.lessThan1, l.valid1));
    if constexpr (Method == 5)
        return _mm_and_si128(sumBelow(r, b, zero, l.twice1), below(g, l.lessThan1, l.valid1));
    if constexpr (Method == 6)
        return _mm_and_si128(sumBelow(r, g, zero, l.twice1), below(b, l.lessThan1, l.valid1));
    if constexpr (Method == 7)
        return _mm_and_si128(sumBelow(g, b, zero, l.twice1), below(r, l.lessThan1, l.valid1));
    if constexpr (Method == 8) return sumBelow(r, g, b, l.thrice1);
    return zero;
}

// Byte k of the 48 goes to byte i of channel vector c when k = 3 i + c (blue 0, green 1,
// red 2); -1 (bit 7 set) clears a byte. Row p of the table picks from the p-th 16 bytes.
struct GatherTable {
    alignas(16) std::int8_t picks[3][3][16];
};

constexpr GatherTable makeGatherTable() {
    GatherTable table{};
    for (int c = 0; c < 3; ++c)
        for (int p = 0; p < 3; ++p)
            for (int i = 0; i < 16; ++i) {
                const int k = 3 * i + c - 16 * p;
                table.picks[c][p][i] = static_cast<std::int8_t>(k >= 0 && k < 16 ? k : -1);
            }
    return table;
}

constexpr GatherTable kGather = makeGatherTable();

template <int C>
__attribute__((target("ssse3"))) inline __m128i gatherChannel(__m128i v0, __m128i v1, __m128i v2) {
    const auto pick = [](int p) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(kGather.picks[C][p]));
    };
    return _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(v0, pick(0)), _mm_shuffle_epi8(v1, pick(1))),
                        _mm_shuffle_epi8(v2, pick(2)));
}

template <int Method>
__attribute__((target("ssse3"))) void ssse3Pixels(const std::uint8_t* s, std::uint8_t* d, std::int32_t count,
                                                  const TribalSliders& t) {
    Lanes l{};
    const auto lessThan = [](int v) { return _mm_set1_epi8(static_cast<char>(v > 0 ? v - 1 : 0)); };
    const auto valid = [](int v) { return v > 0 ? _mm_set1_epi8(-1) : _mm_setzero_si128(); };
    l.lessThan1 = lessThan(t.t1), l.lessThan2 = lessThan(t.t2), l.lessThan3 = lessThan(t.t3);
    l.valid1 = valid(t.t1), l.valid2 = valid(t.t2), l.valid3 = valid(t.t3);
    l.twice1 = _mm_set1_epi16(static_cast<short>(2 * t.t1));
    l.twice2 = _mm_set1_epi16(static_cast<short>(2 * t.t2));
    l.thrice1 = _mm_set1_epi16(static_cast<short>(3 * t.t1));
    // The mask byte of pixel i goes to bytes 3 i, 3 i + 1 and 3 i + 2 of the 48.
    const __m128i spread0 = _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
    const __m128i spread1 = _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
    const __m128i spread2 = _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
    const __m128i ones = _mm_set1_epi8(-1);
    const std::int32_t blocks = count / 16;
    for (std::int32_t i = 0; i < blocks; ++i, s += 48, d += 48) {
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 16));
        const __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 32));
        const __m128i b = gatherChannel<0>(v0, v1, v2);
        const __m128i g = gatherChannel<1>(v0, v1, v2);
        const __m128i r = gatherChannel<2>(v0, v1, v2);
        const __m128i white = _mm_xor_si128(blackMask<Method>(r, g, b, l), ones);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_shuffle_epi8(white, spread0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16), _mm_shuffle_epi8(white, spread1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 32), _mm_shuffle_epi8(white, spread2));
    }
    scalarPixels<Method>(s, d, count - blocks * 16, t.t1, t.t2, t.t3);
}

bool haveSsse3() {
    static const bool have = __builtin_cpu_supports("ssse3");
    return have;
}
#endif

template <int Method>
void tribalRows(const RgbImage& source, RgbImage& result, const TribalSliders& t, std::int32_t begin,
                std::int32_t end) {
    const std::int32_t width = source.width();
    const std::size_t used = static_cast<std::size_t>(width) * 3;
    const std::size_t padding = result.stride() - used;
    for (std::int32_t y = begin; y < end; ++y) {
        const std::uint8_t* s = source.row(y);
        std::uint8_t* d = result.row(y);
#ifdef DG_TRIBAL_SSSE3
        if (haveSsse3())
            ssse3Pixels<Method>(s, d, width, t);
        else
#endif
            scalarPixels<Method>(s, d, width, t.t1, t.t2, t.t3);
        // The padding as a fresh white picture has it, so that the rows written to a file
        // never carry stale bytes.
        if (padding != 0) std::memset(d + used, 0xFF, padding);
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
    // Every byte is below 256 and none below 0, so positions past either end act as the end;
    // clamped, they also fit the byte and 16-bit lanes of the fast path.
    const auto clampPosition = [](std::int32_t t) { return std::clamp<std::int32_t>(t, 0, 256); };
    const TribalSliders t{clampPosition(sliders.t1), clampPosition(sliders.t2), clampPosition(sliders.t3)};
    const RowPass pass = rowPassFor(method);
    forEachRowBlock(source.height(),
                    [&](std::int32_t begin, std::int32_t end) { pass(source, result, t, begin, end); });
}

}  // namespace dg
