#include "imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "imaging/Failure.h"
#include "imaging/Numbers.h"
#include "imaging/Parallel.h"

namespace dg {

namespace {

// The kernels take and give a single, and the weights, so the bytes, depend on that. In
// between each formula runs in extended precision and is rounded to single once: worked in
// single, the second branch of Mitchell cancels badly enough to move a weight.
using Extended = long double;

Extended sinc(Extended u) {
    if (u == 0.0L) return 1.0L;
    const Extended pu = 3.141592653589793238462643383279502884L * u;
    return std::sin(pu) / pu;
}

float kernel(ResampleFilter filter, float t) {
    const Extended x = std::fabs(static_cast<Extended>(t));
    Extended value = 0.0L;
    switch (filter) {
        case ResampleFilter::Box:
            // Open below, closed above, so a sample half-way between two pixels goes to one.
            return (t > -0.5f && t <= 0.5f) ? 1.0f : 0.0f;
        case ResampleFilter::Triangle:
            if (x < 1.0L) value = 1.0L - x;
            break;
        case ResampleFilter::Hermite:
            if (x < 1.0L) value = (2.0L * x - 3.0L) * (x * x) + 1.0L;
            break;
        case ResampleFilter::Bell:
            if (x < 0.5L) {
                value = 0.75L - x * x;
            } else if (x < 1.5L) {
                const Extended d = x - 1.5L;
                value = 0.5L * (d * d);
            }
            break;
        case ResampleFilter::Spline:
            if (x < 1.0L) {
                const Extended x2 = x * x;
                value = 0.5L * (x2 * x) - x2 + 2.0L / 3.0L;
            } else if (x < 2.0L) {
                const Extended d = 2.0L - x;
                value = (d * d * d) / 6.0L;
            }
            break;
        case ResampleFilter::Lanczos3:
            if (x < 3.0L) value = sinc(x) * sinc(x / 3.0L);
            break;
        case ResampleFilter::Mitchell: {
            const Extended x2 = x * x;
            const Extended x3 = x2 * x;
            if (x < 1.0L) {
                value = (7.0L * x3 - 12.0L * x2 + 16.0L / 3.0L) / 6.0L;
            } else if (x < 2.0L) {
                value = (-(7.0L / 3.0L) * x3 + 12.0L * x2 - 20.0L * x + 32.0L / 3.0L) / 6.0L;
            }
            break;
        }
    }
    return static_cast<float>(value);
}

ResampleFilter filterAt(std::int32_t filterIndex) {
    if (filterIndex < 0 || filterIndex >= kResampleFilterCount) {
        throw Failure("Unknown resampling filter " + std::to_string(filterIndex) + ".");
    }
    return static_cast<ResampleFilter>(filterIndex);
}

// The contributor lists of every target coordinate of one axis, flattened. Each list's
// divisor is made positive (a negative total flips the signs of its weights, which leaves
// every truncated quotient as it was), so the passes only ever divide by a positive number.
struct Contributors {
    std::vector<std::int32_t> first;  // list i is [first[i], first[i + 1])
    std::vector<std::int32_t> index;  // source coordinate, already mirrored into the line
    std::vector<std::int32_t> weight;
    std::vector<float> inverse;  // 1 / divisor rounded up, for the quotient
    std::int32_t span = 1;       // the most source coordinates, first to last, one list reaches
};

// Bounds the passes rely on. With inverse >= 1 / d rounded up to single precision,
// trunc(float(sum) * inverse) equals trunc(sum / d) whenever sum < 2^24 (exact in a float)
// and d <= 2^14: the product overshoots sum / d by less than 2^-15, and the next integer
// is at least 1 / d away. Quotients of 256 and more only need to stay >= 255 for the clamp.
constexpr std::int64_t kFastMaxDivisor = std::int64_t{1} << 14;
// Sum of |weight| of one list: keeps every weight within 16 bits and every sum (at most
// that times 255) below 2^24, far from the 32-bit limit. No filter comes near either bound
// whatever the radius: the kernels are bounded by 1 and vanish beyond 3, so enlarging sums
// at most 8 weights of 256, and shrinking weights f * scale * 256 sum to about 256 times
// the kernel's area (a non-zero weight is at most twice its unrounded value).
constexpr std::int64_t kFastMaxWeightSum = 32767;

std::int32_t mirrorIndex(std::int64_t j, std::int32_t length) {
    std::int64_t index = j;
    if (index < 0) {
        index = -index;
    } else if (index >= length) {
        index = 2 * static_cast<std::int64_t>(length) - index - 1;
    }
    // A line narrower than the filter's reach can mirror outside itself; stay on the line.
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(index, 0, length - 1));
}

// The lists of one axis as the filter gives them, flattened: list i is
// [first[i], first[i + 1]) of index and weight.
struct RawLists {
    std::vector<std::int32_t> first;
    std::vector<std::int32_t> index;
    std::vector<std::int32_t> weight;
};

RawLists weighContributors(ResampleFilter filter, float radius, std::int32_t sourceLength,
                           std::int32_t targetLength) {
    RawLists lists;
    lists.first.reserve(static_cast<std::size_t>(targetLength) + 1);
    // Maps the first and last pixels of the lines onto each other, except for one-pixel lines.
    const float scale = (sourceLength == 1 || targetLength == 1)
                            ? static_cast<float>(targetLength) / static_cast<float>(sourceLength)
                            : static_cast<float>(targetLength - 1) / static_cast<float>(sourceLength - 1);
    const bool shrinking = scale < 1.0f;
    const float reach = shrinking ? radius / scale : radius;

    for (std::int32_t i = 0; i < targetLength; ++i) {
        lists.first.push_back(static_cast<std::int32_t>(lists.index.size()));
        const std::size_t begin = lists.index.size();
        const float center = static_cast<float>(i) / scale;
        const auto low = static_cast<std::int64_t>(std::floor(center - reach));
        const auto high = static_cast<std::int64_t>(std::ceil(center + reach));
        for (std::int64_t j = low; j <= high; ++j) {
            // The kernel's argument is rounded to single once, from the exact distance (times
            // the scale when shrinking). A single times a single times 256 is exact in double,
            // so the weight is rounded from the exact product: in single the product itself
            // would round first, and a weight just above a half would fall to the even side.
            const Extended distance = static_cast<Extended>(center) - static_cast<Extended>(j);
            std::int64_t w;
            if (shrinking) {
                const auto argument = static_cast<float>(distance * static_cast<Extended>(scale));
                w = roundHalfEven(static_cast<double>(kernel(filter, argument)) * static_cast<double>(scale) *
                                  256.0);
            } else {
                const auto argument = static_cast<float>(distance);
                w = roundHalfEven(static_cast<double>(kernel(filter, argument)) * 256.0);
            }
            if (w == 0) continue;
            lists.index.push_back(mirrorIndex(j, sourceLength));
            lists.weight.push_back(static_cast<std::int32_t>(w));
        }
        if (lists.index.size() == begin) {
            // Shrinking by more than 512 rounds every weight to 0, which would make the pixel
            // black; take the nearest source pixel instead.
            lists.index.push_back(static_cast<std::int32_t>(
                std::clamp<std::int64_t>(roundHalfEven(center), 0, sourceLength - 1)));
            lists.weight.push_back(256);
        }
    }
    lists.first.push_back(static_cast<std::int32_t>(lists.index.size()));
    return lists;
}

Contributors buildContributors(ResampleFilter filter, float radius, std::int32_t sourceLength,
                               std::int32_t targetLength) {
    RawLists raw = weighContributors(filter, radius, sourceLength, targetLength);
    Contributors lists;
    lists.first = std::move(raw.first);
    lists.index = std::move(raw.index);
    lists.weight = std::move(raw.weight);
    lists.inverse.reserve(static_cast<std::size_t>(targetLength));
    for (std::int32_t i = 0; i < targetLength; ++i) {
        const auto begin = static_cast<std::size_t>(lists.first[static_cast<std::size_t>(i)]);
        const auto end = static_cast<std::size_t>(lists.first[static_cast<std::size_t>(i) + 1]);
        std::int64_t total = 0;
        std::int64_t absSum = 0;
        for (std::size_t k = begin; k < end; ++k) {
            total += lists.weight[k];
            absSum += std::abs(lists.weight[k]);
        }
        std::int64_t divisor = total != 0 ? total : 256;
        if (divisor < 0) {
            for (std::size_t k = begin; k < end; ++k) lists.weight[k] = -lists.weight[k];
            divisor = -divisor;
        }
        const auto [lowest, highest] =
            std::minmax_element(lists.index.begin() + static_cast<std::ptrdiff_t>(begin),
                                lists.index.begin() + static_cast<std::ptrdiff_t>(end));
        lists.span = std::max(lists.span, *highest - *lowest + 1);
        if (divisor > kFastMaxDivisor || absSum > kFastMaxWeightSum) {
            throw std::logic_error("resampling weights beyond the bounds of the integer passes");
        }
        lists.inverse.push_back(resample_detail::quotientInverse(static_cast<std::int32_t>(divisor)));
    }
    return lists;
}

using resample_detail::quotientByte;

// The horizontal contributors laid out for the row kernel: each list padded to an even
// length (a pad has weight 0 and repeats a real offset), weights packed two to a 32-bit
// word so that one multiply-add takes two source pixels.
struct RowKernel {
    std::vector<std::int32_t> firstPair;  // list i is pairs [firstPair[i], firstPair[i + 1])
    std::vector<std::int32_t> offset;     // byte offsets of the source pixels, two per pair
    std::vector<std::uint32_t> weights;   // low 16 bits: first pixel's weight, high: second's
    std::vector<float> inverse;
};

RowKernel makeRowKernel(const Contributors& lists) {
    RowKernel kernel;
    const std::size_t count = lists.inverse.size();
    kernel.firstPair.reserve(count + 1);
    for (std::size_t i = 0; i < count; ++i) {
        kernel.firstPair.push_back(static_cast<std::int32_t>(kernel.weights.size()));
        const auto begin = static_cast<std::size_t>(lists.first[i]);
        const auto end = static_cast<std::size_t>(lists.first[i + 1]);
        for (std::size_t k = begin; k < end; k += 2) {
            const bool pad = k + 1 >= end;
            const std::int32_t w0 = lists.weight[k];
            const std::int32_t w1 = pad ? 0 : lists.weight[k + 1];
            kernel.offset.push_back(3 * lists.index[k]);
            kernel.offset.push_back(3 * lists.index[pad ? k : k + 1]);
            kernel.weights.push_back((static_cast<std::uint32_t>(w0) & 0xFFFFu) |
                                     (static_cast<std::uint32_t>(w1) << 16));
        }
    }
    kernel.firstPair.push_back(static_cast<std::int32_t>(kernel.weights.size()));
    kernel.inverse = lists.inverse;
    return kernel;
}

// One row to the target width. line holds the source row followed by at least 4 spare bytes
// (pixels are read 4 bytes at a time); out has 4 spare bytes after the row (each pixel is
// written 4 bytes at a time, the fourth overwritten by the next pixel).
void resampleRow(const RowKernel& kernel, const std::uint8_t* line, std::uint8_t* out,
                 std::int32_t targetWidth) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (std::int32_t i = 0; i < targetWidth; ++i, out += 3) {
        __m128i sum = zero;
        const std::int32_t stop = kernel.firstPair[static_cast<std::size_t>(i) + 1];
        for (std::int32_t k = kernel.firstPair[static_cast<std::size_t>(i)]; k < stop; ++k) {
            std::int32_t p0, p1;
            std::memcpy(&p0, line + kernel.offset[2 * static_cast<std::size_t>(k)], 4);
            std::memcpy(&p1, line + kernel.offset[2 * static_cast<std::size_t>(k) + 1], 4);
            const __m128i a = _mm_unpacklo_epi8(_mm_cvtsi32_si128(p0), zero);
            const __m128i b = _mm_unpacklo_epi8(_mm_cvtsi32_si128(p1), zero);
            // b0 b1 g0 g1 r0 r1 x0 x1 against w0 w1 w0 w1 ...: one sum per channel.
            const __m128i w =
                _mm_set1_epi32(static_cast<std::int32_t>(kernel.weights[static_cast<std::size_t>(k)]));
            sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), w));
        }
        const __m128 scaled =
            _mm_mul_ps(_mm_cvtepi32_ps(sum), _mm_set1_ps(kernel.inverse[static_cast<std::size_t>(i)]));
        const __m128i q = _mm_cvttps_epi32(scaled);
        // Saturating packs clamp to 0..255 exactly as quotientByte does.
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(q, q), zero);
        const auto word = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
        std::memcpy(out, &word, 4);
    }
#else
    for (std::int32_t i = 0; i < targetWidth; ++i, out += 3) {
        std::int32_t s0 = 0, s1 = 0, s2 = 0;
        const std::int32_t stop = kernel.firstPair[static_cast<std::size_t>(i) + 1];
        for (std::int32_t k = kernel.firstPair[static_cast<std::size_t>(i)]; k < stop; ++k) {
            const std::uint32_t packed = kernel.weights[static_cast<std::size_t>(k)];
            const auto w0 = static_cast<std::int16_t>(packed & 0xFFFFu);
            const auto w1 = static_cast<std::int16_t>(packed >> 16);
            const std::uint8_t* a = line + kernel.offset[2 * static_cast<std::size_t>(k)];
            const std::uint8_t* b = line + kernel.offset[2 * static_cast<std::size_t>(k) + 1];
            s0 += w0 * a[0] + w1 * b[0];
            s1 += w0 * a[1] + w1 * b[1];
            s2 += w0 * a[2] + w1 * b[2];
        }
        const float inverse = kernel.inverse[static_cast<std::size_t>(i)];
        out[0] = quotientByte(s0, inverse);
        out[1] = quotientByte(s1, inverse);
        out[2] = quotientByte(s2, inverse);
    }
#endif
}

// The vertical pass works a whole target row at a time: within one target row every byte
// (whatever its column or channel) has the same contributor rows and weights, so the sums
// run down contiguous bytes. Sums are kept for a chunk of the row that stays in the L1 cache.
constexpr std::size_t kChunk = 2048;

void accumulateFirst(std::int32_t* acc, const std::uint8_t* row, std::int16_t w, std::size_t n) {
    for (std::size_t x = 0; x < n; ++x)
        acc[x] = static_cast<std::int32_t>(w) * static_cast<std::int16_t>(row[x]);
}

void accumulatePair(std::int32_t* acc, const std::uint8_t* row0, std::int16_t w0, const std::uint8_t* row1,
                    std::int16_t w1, std::size_t n) {
    for (std::size_t x = 0; x < n; ++x) {
        acc[x] += static_cast<std::int32_t>(w0) * static_cast<std::int16_t>(row0[x]) +
                  static_cast<std::int32_t>(w1) * static_cast<std::int16_t>(row1[x]);
    }
}

void accumulate(std::int32_t* acc, const std::uint8_t* row, std::int16_t w, std::size_t n) {
    for (std::size_t x = 0; x < n; ++x)
        acc[x] += static_cast<std::int32_t>(w) * static_cast<std::int16_t>(row[x]);
}

void finishChunk(std::uint8_t* out, const std::int32_t* acc, float inverse, std::size_t n) {
    for (std::size_t x = 0; x < n; ++x) out[x] = quotientByte(acc[x], inverse);
}

// Both passes in one sweep over the target rows. The horizontal pass's rows are made as the
// vertical pass first needs them and kept in a small ring (one slot per source row modulo
// the ring size, which is at least the widest span of source rows one target row reads), so
// the intermediate picture never exists in full: every row of it is still computed from its
// source row alone, and so has the same bytes however often it is made.
void resampleRows(const Contributors& horizontal, const Contributors& vertical, const RgbImage& source,
                  RgbImage& target) {
    const RowKernel rowKernel = makeRowKernel(horizontal);
    const std::int32_t targetWidth = target.width();
    const std::size_t rowBytes = static_cast<std::size_t>(targetWidth) * 3;
    const std::size_t pitch = (rowBytes + 4 + 63) & ~std::size_t{63};
    const std::size_t lineBytes = static_cast<std::size_t>(source.width()) * 3;
    const auto ringSize = static_cast<std::size_t>(vertical.span);

    forEachRowBlock(target.height(), [&](std::int32_t begin, std::int32_t end) {
        std::vector<std::uint8_t> ring(ringSize * pitch);
        std::vector<std::int32_t> held(ringSize, -1);
        std::vector<std::uint8_t> line(lineBytes + 4);
        std::vector<std::int32_t> acc(kChunk);
        std::vector<const std::uint8_t*> rows;
        for (std::int32_t y = begin; y < end; ++y) {
            const auto first = static_cast<std::size_t>(vertical.first[static_cast<std::size_t>(y)]);
            const auto stop = static_cast<std::size_t>(vertical.first[static_cast<std::size_t>(y) + 1]);
            rows.clear();
            for (std::size_t k = first; k < stop; ++k) {
                const std::int32_t sourceRow = vertical.index[k];
                const std::size_t slot = static_cast<std::size_t>(sourceRow) % ringSize;
                std::uint8_t* made = ring.data() + slot * pitch;
                if (held[slot] != sourceRow) {
                    std::memcpy(line.data(), source.row(sourceRow), lineBytes);
                    resampleRow(rowKernel, line.data(), made, targetWidth);
                    held[slot] = sourceRow;
                }
                rows.push_back(made);
            }
            std::uint8_t* out = target.row(y);
            const float inverse = vertical.inverse[static_cast<std::size_t>(y)];
            const std::size_t n = rows.size();
            for (std::size_t x0 = 0; x0 < rowBytes; x0 += kChunk) {
                const std::size_t len = std::min(kChunk, rowBytes - x0);
                std::size_t k = 0;
                accumulateFirst(acc.data(), rows[k] + x0,
                                static_cast<std::int16_t>(vertical.weight[first + k]), len);
                for (++k; k + 1 < n; k += 2) {
                    accumulatePair(acc.data(), rows[k] + x0,
                                   static_cast<std::int16_t>(vertical.weight[first + k]), rows[k + 1] + x0,
                                   static_cast<std::int16_t>(vertical.weight[first + k + 1]), len);
                }
                if (k < n) {
                    accumulate(acc.data(), rows[k] + x0,
                               static_cast<std::int16_t>(vertical.weight[first + k]), len);
                }
                finishChunk(out + x0, acc.data(), inverse, len);
            }
        }
    });
}

}  // namespace

namespace resample_detail {

float quotientInverse(std::int32_t divisor) {
    return std::nextafter(1.0f / static_cast<float>(divisor), std::numeric_limits<float>::infinity());
}

std::vector<std::vector<Contributor>> contributorLists(std::int32_t filterIndex, float radius,
                                                       std::int32_t sourceLength, std::int32_t targetLength) {
    const ResampleFilter filter = filterAt(filterIndex);
    if (!(radius > 0.0f)) radius = defaultResampleRadius(filterIndex);
    std::vector<std::vector<Contributor>> lists;
    if (sourceLength <= 0 || targetLength <= 0) return lists;
    const RawLists raw = weighContributors(filter, radius, sourceLength, targetLength);
    lists.resize(static_cast<std::size_t>(targetLength));
    for (std::size_t i = 0; i < lists.size(); ++i) {
        for (auto k = static_cast<std::size_t>(raw.first[i]); k < static_cast<std::size_t>(raw.first[i + 1]);
             ++k) {
            lists[i].push_back({raw.index[k], raw.weight[k]});
        }
    }
    return lists;
}

}  // namespace resample_detail

const std::array<std::string_view, kResampleFilterCount>& resampleFilterNames() {
    static constexpr std::array<std::string_view, kResampleFilterCount> names = {
        "Box", "Triangle", "Hermite", "Bell", "Spline", "Lanczos3", "Mitchell"};
    return names;
}

float defaultResampleRadius(std::int32_t filterIndex) {
    static constexpr std::array<float, kResampleFilterCount> radii = {0.5f, 1.0f, 1.0f, 1.5f,
                                                                      2.0f, 3.0f, 2.0f};
    return radii[static_cast<std::size_t>(filterAt(filterIndex))];
}

void ResampleInto(std::int32_t filterIndex, float radius, const RgbImage& source, RgbImage& target) {
    const ResampleFilter filter = filterAt(filterIndex);
    if (!(radius > 0.0f)) radius = defaultResampleRadius(filterIndex);
    if (source.empty() || target.empty()) return;
    if (&source == &target) {
        // Target rows are written while source rows are still to be read (by the other worker).
        const RgbImage copy = source;
        ResampleInto(filterIndex, radius, copy, target);
        return;
    }

    resampleRows(buildContributors(filter, radius, source.width(), target.width()),
                 buildContributors(filter, radius, source.height(), target.height()), source, target);
}

void ResampleInPlace(std::int32_t newWidth, std::int32_t newHeight, std::int32_t filterIndex, float radius,
                     RgbImage& picture) {
    filterAt(filterIndex);
    if (!(radius > 0.0f)) radius = defaultResampleRadius(filterIndex);
    RgbImage target(newWidth, newHeight);
    ResampleInto(filterIndex, radius, picture, target);
    picture = std::move(target);
}

}  // namespace dg
