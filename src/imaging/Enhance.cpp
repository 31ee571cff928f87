#include "imaging/Enhance.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "imaging/Parallel.h"

namespace dg {

namespace {

using Table = std::array<std::uint8_t, 256>;

std::uint8_t clampByte(std::int32_t v) { return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

// Gives `to` the size of `from`, keeping its memory when the size is already right.
void prepare(const RgbImage& from, RgbImage& to) {
    if (&from == &to) return;
    if (to.width() != from.width() || to.height() != from.height() || to.data() == nullptr)
        to.resetForOverwrite(from.width(), from.height());
}

// Runs pixel(r, g, b) -> writes over every pixel of `from` into `to`, rows split across the
// workers. The function gets the three bytes by reference (blue, green, red in memory).
template <class PixelFn>
void eachPixel(const RgbImage& from, RgbImage& to, PixelFn pixel) {
    prepare(from, to);
    if (from.empty()) return;
    const std::int32_t width = from.width();
    forEachRowBlock(from.height(), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            const std::uint8_t* in = from.row(y);
            std::uint8_t* out = to.row(y);
            for (std::int32_t x = 0; x < width; ++x) {
                std::uint8_t b = in[3 * x], g = in[3 * x + 1], r = in[3 * x + 2];
                pixel(r, g, b);
                out[3 * x] = b;
                out[3 * x + 1] = g;
                out[3 * x + 2] = r;
            }
        }
    });
}

// The same byte table on every byte of every row.
void eachByte(const RgbImage& from, RgbImage& to, const Table& table) {
    prepare(from, to);
    if (from.empty()) return;
    const std::size_t used = static_cast<std::size_t>(from.width()) * 3;
    forEachRowBlock(from.height(), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            const std::uint8_t* in = from.row(y);
            std::uint8_t* out = to.row(y);
            for (std::size_t i = 0; i < used; ++i) out[i] = table[in[i]];
        }
    });
}

// Truncating division, by a shift where the divisor is a power of two (so the loop below
// vectorises) and by a plain division otherwise.
struct ShiftDivide {
    int shift;
    std::int32_t mask;
    std::int32_t operator()(std::int32_t s) const { return (s + ((s >> 31) & mask)) >> shift; }
};
struct PlainDivide {
    std::int32_t divisor;
    std::int32_t operator()(std::int32_t s) const { return s / divisor; }
};

// One byte of the filter at pixel x of row y, with neighbours outside the picture taken
// from the centre pixel.
std::uint8_t filterByteAtEdge(const RgbImage& src, const Kernel3x3& k, std::int32_t divisor, std::int32_t x,
                              std::int32_t y, int channel) {
    const std::int32_t centre = src.row(y)[3 * x + channel];
    std::int32_t sum = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const std::int32_t nx = x + dx, ny = y + dy;
            const std::int32_t v = src.contains(nx, ny) ? src.row(ny)[3 * nx + channel] : centre;
            sum += k.weights[static_cast<std::size_t>(3 * (dy + 1) + dx + 1)] * v;
        }
    }
    return clampByte(sum / divisor);
}

// The inner bytes of one row that has a row above and below: every neighbour is inside.
template <class Divide>
void filterInnerBytes(const std::uint8_t* above, const std::uint8_t* mid, const std::uint8_t* below,
                      std::uint8_t* out, std::int32_t begin, std::int32_t end, const Kernel3x3& k,
                      Divide divide) {
    const std::int32_t w0 = k.weights[0], w1 = k.weights[1], w2 = k.weights[2], w3 = k.weights[3],
                       w4 = k.weights[4], w5 = k.weights[5], w6 = k.weights[6], w7 = k.weights[7],
                       w8 = k.weights[8];
    for (std::int32_t i = begin; i < end; ++i) {
        const std::int32_t s = w0 * above[i - 3] + w1 * above[i] + w2 * above[i + 3] + w3 * mid[i - 3] +
                               w4 * mid[i] + w5 * mid[i + 3] + w6 * below[i - 3] + w7 * below[i] +
                               w8 * below[i + 3];
        const std::int32_t q = divide(s);
        out[i] = static_cast<std::uint8_t>(q < 0 ? 0 : (q > 255 ? 255 : q));
    }
}

// The same in 16-bit arithmetic, twice the bytes per vector instruction, for kernels whose sums
// always fit (the sum of the weights' magnitudes times 255 is below 32768) and whose divisor
// is a power of two: blur and sharpen.
void filterInnerBytes16(const std::uint8_t* above, const std::uint8_t* mid, const std::uint8_t* below,
                        std::uint8_t* out, std::int32_t begin, std::int32_t end, const Kernel3x3& k,
                        ShiftDivide divide) {
    const auto w0 = static_cast<std::int16_t>(k.weights[0]), w1 = static_cast<std::int16_t>(k.weights[1]),
               w2 = static_cast<std::int16_t>(k.weights[2]), w3 = static_cast<std::int16_t>(k.weights[3]),
               w4 = static_cast<std::int16_t>(k.weights[4]), w5 = static_cast<std::int16_t>(k.weights[5]),
               w6 = static_cast<std::int16_t>(k.weights[6]), w7 = static_cast<std::int16_t>(k.weights[7]),
               w8 = static_cast<std::int16_t>(k.weights[8]);
    const auto mask = static_cast<std::int16_t>(divide.mask);
    const int shift = divide.shift;
    for (std::int32_t i = begin; i < end; ++i) {
        const auto s = static_cast<std::int16_t>(w0 * above[i - 3] + w1 * above[i] + w2 * above[i + 3] +
                                                 w3 * mid[i - 3] + w4 * mid[i] + w5 * mid[i + 3] +
                                                 w6 * below[i - 3] + w7 * below[i] + w8 * below[i + 3]);
        const auto q = static_cast<std::int16_t>((s + ((s >> 15) & mask)) >> shift);
        out[i] = static_cast<std::uint8_t>(q < 0 ? 0 : (q > 255 ? 255 : q));
    }
}

bool fitsSixteenBits(const Kernel3x3& k) {
    std::int64_t magnitude = 0;
    for (std::int32_t w : k.weights) magnitude += std::abs(static_cast<std::int64_t>(w));
    return magnitude * 255 < 32768;
}

// One pass from src into dst (different pictures of the same size).
void filterPass(const RgbImage& src, RgbImage& dst, const Kernel3x3& k) {
    const std::int32_t width = src.width(), height = src.height();
    const std::int32_t divisor = k.divisor == 0 ? 1 : k.divisor;
    const bool powerOfTwo = divisor > 0 && std::has_single_bit(static_cast<std::uint32_t>(divisor));
    const ShiftDivide shift{std::countr_zero(static_cast<std::uint32_t>(divisor)), divisor - 1};
    const PlainDivide plain{divisor};
    const bool sixteen = powerOfTwo && fitsSixteenBits(k);
    forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            std::uint8_t* out = dst.row(y);
            const bool inner = y > 0 && y + 1 < height && width >= 3;
            if (inner) {
                const std::int32_t first = 3, last = 3 * (width - 1);
                if (sixteen)
                    filterInnerBytes16(src.row(y - 1), src.row(y), src.row(y + 1), out, first, last, k,
                                       shift);
                else if (powerOfTwo)
                    filterInnerBytes(src.row(y - 1), src.row(y), src.row(y + 1), out, first, last, k, shift);
                else
                    filterInnerBytes(src.row(y - 1), src.row(y), src.row(y + 1), out, first, last, k, plain);
                for (int c = 0; c < 3; ++c) {
                    out[c] = filterByteAtEdge(src, k, divisor, 0, y, c);
                    out[3 * (width - 1) + c] = filterByteAtEdge(src, k, divisor, width - 1, y, c);
                }
            } else {
                for (std::int32_t x = 0; x < width; ++x)
                    for (int c = 0; c < 3; ++c) out[3 * x + c] = filterByteAtEdge(src, k, divisor, x, y, c);
            }
        }
    });
}

std::int32_t squaredDistance(ColorValue c, int red, int green, int blue) {
    const std::int32_t dr = redOf(c) - red, dg = greenOf(c) - green, db = blueOf(c) - blue;
    return dr * dr + dg * dg + db * db;
}

// The grey k (1..44, not a multiple of 9) of the halftone palette's extra greys.
int extraGreyLevel(int k) { return static_cast<int>(std::lround(51.0 * k / 9.0)); }
int extraGreyIndex(int k) { return 216 + k - k / 9 - 1; }

}  // namespace

void copyPixels(const RgbImage& from, RgbImage& to) {
    if (&from == &to) return;
    if (from.empty()) {
        to = from;
        return;
    }
    prepare(from, to);
    const std::size_t stride = from.stride();
    forEachRowBlock(from.height(), [&](std::int32_t begin, std::int32_t end) {
        std::memcpy(to.row(begin), from.row(begin), stride * static_cast<std::size_t>(end - begin));
    });
}

void addBrightness(const RgbImage& from, RgbImage& to, std::int32_t amount) {
    prepare(from, to);
    if (from.empty()) return;
    // Clamped addition rather than a table, so that the loop vectorises.
    const auto add = static_cast<std::int16_t>(std::clamp(amount, -255, 255));
    const std::size_t used = static_cast<std::size_t>(from.width()) * 3;
    forEachRowBlock(from.height(), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            const std::uint8_t* in = from.row(y);
            std::uint8_t* out = to.row(y);
            for (std::size_t i = 0; i < used; ++i) {
                const auto v = static_cast<std::int16_t>(in[i] + add);
                out[i] = static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
            }
        }
    });
}

void mapBytes(const RgbImage& from, RgbImage& to, const Table& table) { eachByte(from, to, table); }

std::uint8_t contrastStep(std::uint8_t x) { return clampByte(x + (20 * (x - 128)) / 256); }
std::uint8_t contrastStepOpposite(std::uint8_t x) { return clampByte(x - (20 * (x - 128)) / 256); }

void contrastSteps(const RgbImage& from, RgbImage& to, std::int32_t passes, bool opposite) {
    // Every step maps each byte on its own, so the steps fold into one table.
    Table table{};
    for (int x = 0; x < 256; ++x) {
        auto v = static_cast<std::uint8_t>(x);
        for (std::int32_t p = 0; p < passes; ++p) v = opposite ? contrastStepOpposite(v) : contrastStep(v);
        table[static_cast<std::size_t>(x)] = v;
    }
    eachByte(from, to, table);
}

void saturationSteps(const RgbImage& from, RgbImage& to, std::int32_t passes) {
    passes = std::max(passes, 0);
    // A pass reads only the pixel itself, so all passes run on one pixel before the next.
    eachPixel(from, to, [passes](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        for (std::int32_t p = 0; p < passes; ++p) {
            const std::int32_t m = (std::max({r, g, b}) + std::min({r, g, b})) / 2;
            r = clampByte(r + (r - m) / 8);
            g = clampByte(g + (g - m) / 8);
            b = clampByte(b + (b - m) / 8);
        }
    });
}

void filter3x3(const RgbImage& from, RgbImage& to, const Kernel3x3& kernel, std::int32_t passes,
               RgbImage* scratch) {
    if (passes <= 0 || from.empty()) {
        if (&from != &to) to = from;
        return;
    }
    if (&from == &to) {
        const RgbImage copy = from;
        filter3x3(copy, to, kernel, passes, scratch);
        return;
    }
    // The passes alternate between `to` and one scratch picture so that the last lands in `to`.
    prepare(from, to);
    RgbImage ownScratch;
    RgbImage& other = scratch != nullptr ? *scratch : ownScratch;
    if (passes > 1) prepare(from, other);
    const RgbImage* src = &from;
    for (std::int32_t p = 0; p < passes; ++p) {
        RgbImage& dst = ((passes - 1 - p) % 2 == 0) ? to : other;
        filterPass(*src, dst, kernel);
        src = &dst;
    }
}

void balanceSteps(const RgbImage& from, RgbImage& to, BalanceSide side, bool positive, std::int32_t passes) {
    passes = std::max(passes, 0);
    eachPixel(from, to, [=](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        std::uint8_t* changed = nullptr;
        const std::uint8_t* other = nullptr;
        switch (side) {
            case BalanceSide::RedGreen:
                changed = positive ? &g : &r;
                other = positive ? &r : &g;
                break;
            case BalanceSide::GreenBlue:
                changed = positive ? &b : &g;
                other = positive ? &g : &b;
                break;
            case BalanceSide::RedBlue:
                changed = positive ? &b : &r;
                other = positive ? &r : &b;
                break;
        }
        for (std::int32_t p = 0; p < passes; ++p) *changed = clampByte((7 * *changed + *other) / 8);
    });
}

std::uint8_t greyOf(int kind, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    switch (kind) {
        case 1: {
            const double lifted = 255.0 - 1.6 * std::max({red, green, blue});
            const auto rounded = static_cast<std::int32_t>(std::nearbyint(lifted));
            return static_cast<std::uint8_t>(255 - clampByte(rounded));
        }
        case 2:
            return red;
        case 3:
            return green;
        case 4:
            return blue;
        case 5:
            return static_cast<std::uint8_t>((green + blue) / 2);
        case 6:
            return static_cast<std::uint8_t>((red + blue) / 2);
        case 7:
            return static_cast<std::uint8_t>((red + green) / 2);
        default:
            return static_cast<std::uint8_t>((red + green + blue) / 3);
    }
}

void toGrey(const RgbImage& from, RgbImage& to, int kind) {
    eachPixel(from, to, [kind](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        const std::uint8_t grey = greyOf(kind, r, g, b);
        r = g = b = grey;
    });
}

const std::array<ColorValue, 16>& sixteenColourPalette() {
    static const std::array<ColorValue, 16> palette{
        makeColor(0, 0, 0),       makeColor(128, 0, 0),   makeColor(0, 128, 0),   makeColor(128, 128, 0),
        makeColor(0, 0, 128),     makeColor(128, 0, 128), makeColor(0, 128, 128), makeColor(128, 128, 128),
        makeColor(192, 192, 192), makeColor(255, 0, 0),   makeColor(0, 255, 0),   makeColor(255, 255, 0),
        makeColor(0, 0, 255),     makeColor(255, 0, 255), makeColor(0, 255, 255), makeColor(255, 255, 255)};
    return palette;
}

const std::array<ColorValue, 256>& halftonePalette() {
    static const std::array<ColorValue, 256> palette = [] {
        std::array<ColorValue, 256> p{};
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p[static_cast<std::size_t>(36 * r + 6 * g + b)] = makeColor(51 * r, 51 * g, 51 * b);
        for (int k = 1; k <= 44; ++k) {
            if (k % 9 == 0) continue;
            const int level = extraGreyLevel(k);
            p[static_cast<std::size_t>(extraGreyIndex(k))] = makeColor(level, level, level);
        }
        return p;
    }();
    return palette;
}

int nearestSixteenIndex(int red, int green, int blue) {
    const auto& palette = sixteenColourPalette();
    int best = 0;
    std::int32_t bestDistance = squaredDistance(palette[0], red, green, blue);
    for (int i = 1; i < 16; ++i) {
        const std::int32_t d = squaredDistance(palette[static_cast<std::size_t>(i)], red, green, blue);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

int nearestHalftoneIndex(int red, int green, int blue) {
    // The squared distance splits into one term per channel, so the nearest cube colour takes
    // the nearest level in each channel (levels are 51 apart: never a tie).
    const int r = (red + 25) / 51, g = (green + 25) / 51, b = (blue + 25) / 51;
    const int cube = 36 * r + 6 * g + b;
    const auto& palette = halftonePalette();
    const std::int32_t cubeDistance =
        squaredDistance(palette[static_cast<std::size_t>(cube)], red, green, blue);
    // Over the greys the distance is convex in the level, least at the mean (sum / 3), and
    // grey k lies at 51k / 9 = 17k / 3: the nearest extra grey is among the two on each side
    // of k = sum / 17, skipping the cube's own greys at multiples of 9.
    const int around = (red + green + blue) / 17;
    int bestGrey = -1;
    std::int32_t greyDistance = 0;
    for (int k = std::max(1, around - 1); k <= std::min(44, around + 2); ++k) {
        if (k % 9 == 0) continue;
        const int index = extraGreyIndex(k);
        const std::int32_t d = squaredDistance(palette[static_cast<std::size_t>(index)], red, green, blue);
        if (bestGrey < 0 || d < greyDistance) {
            bestGrey = index;
            greyDistance = d;
        }
    }
    // The cube comes first in the palette, so it wins a tie.
    return greyDistance < cubeDistance ? bestGrey : cube;
}

void reduceToSixteenColours(const RgbImage& from, RgbImage& to) {
    const auto& palette = sixteenColourPalette();
    eachPixel(from, to, [&palette](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        const ColorValue c = palette[static_cast<std::size_t>(nearestSixteenIndex(r, g, b))];
        r = static_cast<std::uint8_t>(redOf(c));
        g = static_cast<std::uint8_t>(greenOf(c));
        b = static_cast<std::uint8_t>(blueOf(c));
    });
}

void reduceToHalftone(const RgbImage& from, RgbImage& to) {
    const auto& palette = halftonePalette();
    eachPixel(from, to, [&palette](std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
        const ColorValue c = palette[static_cast<std::size_t>(nearestHalftoneIndex(r, g, b))];
        r = static_cast<std::uint8_t>(redOf(c));
        g = static_cast<std::uint8_t>(greenOf(c));
        b = static_cast<std::uint8_t>(blueOf(c));
    });
}

}  // namespace dg
