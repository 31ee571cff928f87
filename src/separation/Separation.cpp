#include "separation/Separation.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

#include "imaging/Numbers.h"
#include "imaging/Parallel.h"

namespace dg {

namespace {

// The thresholds of the separation test, in the order the rules name them.
struct RuleThresholds {
    int white, lightGrey, midGrey, black;
    int high[6], mid[6];  // red, green, blue, yellow, cyan, magenta
};

enum Family { kRed, kGreen, kBlue, kYellow, kCyan, kMagenta };

RuleThresholds ruleThresholds(const SeparationThresholds& t) {
    return {t.white,
            t.lightGrey,
            t.midGrey,
            t.black,
            {t.redHigh, t.greenHigh, t.blueHigh, t.yellowHigh, t.cyanHigh, t.magentaHigh},
            {t.redMid, t.greenMid, t.blueMid, t.yellowMid, t.cyanMid, t.magentaMid}};
}

constexpr bool in(int x, int low, int high) { return low <= x && x < high; }

// Comparisons between two components: 0 less, 1 equal, 2 greater.
constexpr bool atLeast(int comparison) { return comparison >= 1; }
constexpr int compare(int a, int b) { return (a > b) + (a >= b); }

// One hue block: the block's own component c, the two others o1 (which pairs with it in the
// first mixed family) and o2 (the second mixed family). 0 when no level matches.
int hueBlock(int c, int o1, int o2, int own, int mixed1, int mixed2, int channelHigh1, int channelHigh2,
             int channelOwnHigh, const RuleThresholds& t) {
    const int K = t.black;
    if (c >= t.high[own]) {
        if (o1 >= t.high[mixed1] && o2 < t.high[mixed1]) return channelHigh1;
        if (o2 >= t.high[mixed2] && o1 < t.high[mixed2]) return channelHigh2;
        return channelOwnHigh;
    }
    if (in(c, t.mid[own], t.high[own])) {
        if (in(o1, t.mid[mixed1], t.high[mixed1]) && o2 < t.mid[mixed1]) return channelHigh1 + 1;
        if (in(o2, t.mid[mixed2], t.high[mixed2]) && o1 < t.mid[mixed2]) return channelHigh2 + 1;
        return channelOwnHigh + 1;
    }
    if (in(c, K, t.mid[own])) {
        if (in(o1, K, t.mid[mixed1]) && o2 < K) return channelHigh1 + 2;
        if (in(o2, K, t.mid[mixed2]) && o1 < K) return channelHigh2 + 2;
        return channelOwnHigh + 2;
    }
    return 0;
}

// The rules in their written order. The components and thresholds may be replaced by their
// ranks among the thresholds (every test of a component against a threshold keeps its
// answer); the comparisons between components are passed on their own for that reason.
int separationRules(int r, int g, int b, int rg, int rb, int gb, const RuleThresholds& t) {
    const int W = t.white, L = t.lightGrey, M = t.midGrey, K = t.black;
    if (r >= W && g >= W && b >= W) return 1;
    if (r < K && g < K && b < K) return 3;
    if (in(r, L, W) && in(g, L, W) && in(b, L, W)) return 2;
    if (in(r, M, L) && in(g, M, L) && in(b, M, L)) return 22;
    if (in(r, K, M) && in(g, K, M) && in(b, K, M)) return 23;
    if (atLeast(rg) && atLeast(rb)) {
        // Red with green gives yellow, red with blue magenta.
        if (const int ch = hueBlock(r, g, b, kRed, kYellow, kMagenta, 13, 19, 4, t)) return ch;
    }
    if (atLeast(2 - rg) && atLeast(gb)) {
        if (const int ch = hueBlock(g, r, b, kGreen, kYellow, kCyan, 13, 16, 7, t)) return ch;
    }
    if (atLeast(2 - rb) && atLeast(2 - gb)) {
        if (const int ch = hueBlock(b, g, r, kBlue, kCyan, kMagenta, 16, 19, 10, t)) return ch;
    }
    return 0;
}

}  // namespace

int separationChannel(int red, int green, int blue, const SeparationThresholds& t) {
    return separationRules(red, green, blue, compare(red, green), compare(red, blue), compare(green, blue),
                           ruleThresholds(t));
}

SeparationClassifier::SeparationClassifier(const SeparationThresholds& t) : thresholds_(t) {
    const RuleThresholds real = ruleThresholds(t);
    // The boundaries between which no test changes its answer. 1 and 255 are added so that
    // pure black and pure white keep ranks of their own: they are the pixels that may be
    // assigned but not counted.
    std::vector<int> bounds = {real.white, real.lightGrey, real.midGrey, real.black, 1, 255};
    for (int f = 0; f < 6; ++f) {
        bounds.push_back(real.high[f]);
        bounds.push_back(real.mid[f]);
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    // rank(x) = the number of boundaries <= x, so x >= T exactly when rank(x) >= rank(T).
    auto rank = [&bounds](int x) {
        return static_cast<int>(std::upper_bound(bounds.begin(), bounds.end(), x) - bounds.begin());
    };
    const auto levels = static_cast<unsigned>(bounds.size() + 1);
    orderStride_ = levels * levels * levels;
    std::array<unsigned, 256> level{};
    for (int v = 0; v < 256; ++v) level[static_cast<std::size_t>(v)] = static_cast<unsigned>(rank(v));
    // Index = (rg * 9 + rb * 3 + gb) * stride + (rank(r) * levels + rank(g)) * levels + rank(b).
    redGreen_.resize(65536);
    greenBlue_.resize(65536);
    for (unsigned a = 0; a < 256; ++a) {
        for (unsigned c = 0; c < 256; ++c) {
            const unsigned comparison = static_cast<unsigned>(a > c) + static_cast<unsigned>(a >= c);
            redGreen_[(a << 8) | c] = comparison * 9 * orderStride_ + (level[a] * levels + level[c]) * levels;
            greenBlue_[(a << 8) | c] = comparison * orderStride_ + level[c];
        }
    }
    RuleThresholds ranked{};
    ranked.white = rank(real.white);
    ranked.lightGrey = rank(real.lightGrey);
    ranked.midGrey = rank(real.midGrey);
    ranked.black = rank(real.black);
    for (int f = 0; f < 6; ++f) {
        ranked.high[f] = rank(real.high[f]);
        ranked.mid[f] = rank(real.mid[f]);
    }
    const int black = rank(0);
    const int white = rank(255);
    table_.assign(27u * orderStride_, 0);
    const int n = static_cast<int>(levels);
    // Ranks keep the order of the components (a larger component never has a lower rank),
    // so entries whose ranks contradict their comparisons are never looked up; skipping
    // them keeps the rebuild of the table cheap on every slider step.
    auto fits = [](int comparison, int x, int y) {
        return comparison == 0 ? x <= y : comparison == 1 ? x == y : x >= y;
    };
    for (int rg = 0; rg < 3; ++rg) {
        for (int rb = 0; rb < 3; ++rb) {
            for (int gb = 0; gb < 3; ++gb) {
                const unsigned order = static_cast<unsigned>(rg * 9 + rb * 3 + gb);
                for (int r = 0; r < n; ++r) {
                    for (int g = 0; g < n; ++g) {
                        if (!fits(rg, r, g)) continue;
                        for (int b = 0; b < n; ++b) {
                            if (!fits(rb, r, b) || !fits(gb, g, b)) continue;
                            int ch = separationRules(r, g, b, rg, rb, gb, ranked);
                            const bool pureBlack = r == black && g == black && b == black;
                            const bool pureWhite = r == white && g == white && b == white;
                            if ((ch == 1 && pureBlack) || (ch > 1 && pureWhite)) ch = 0;
                            table_[order * orderStride_ + static_cast<unsigned>((r * n + g) * n + b)] =
                                static_cast<std::uint8_t>(ch);
                        }
                    }
                }
            }
        }
    }
}

std::int64_t roundedMean(std::int64_t sum, std::int64_t count) {
    const std::int64_t q = sum / count;
    const std::int64_t twice = 2 * (sum % count);
    if (twice > count || (twice == count && (q & 1) != 0)) return q + 1;
    return q;
}

namespace {

struct Totals {
    std::array<std::int64_t, kChannelCount + 1> counts{};
    std::array<std::array<std::int64_t, 3>, kChannelCount + 1> sums{};
};

// Classifies the rows [begin, end) into map and adds them up. Red and green share one
// 64-bit word and blue and the count another, each in 32-bit halves that a stretch of at
// most 2^16 pixels cannot overflow; eight banks take turns pixel by pixel so that runs of one
// channel do not wait on the same memory word.
void classifyRows(const RgbImage& source, const SeparationClassifier& classifier, std::uint8_t* map,
                  std::int32_t begin, std::int32_t end, Totals& totals) {
    const std::int32_t width = source.width();
    const SeparationClassifier::Lookup lookup = classifier.lookup();
    constexpr std::int32_t kStretch = 1 << 16;
    constexpr int kBanks = 8;
    for (std::int32_t y = begin; y < end; ++y) {
        const std::uint8_t* p = source.row(y);
        std::uint8_t* m = map + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (std::int32_t x0 = 0; x0 < width; x0 += kStretch) {
            const std::int32_t x1 = std::min(width, x0 + kStretch);
            std::uint64_t rg[kBanks][kChannelCount + 1] = {};
            std::uint64_t bc[kBanks][kChannelCount + 1] = {};
            for (std::int32_t x = x0; x < x1; ++x) {
                const std::uint8_t* q = p + 3 * static_cast<std::size_t>(x);
                const int ch = lookup.channel(q[0], q[1], q[2]);
                m[x] = static_cast<std::uint8_t>(ch);
                const int bank = x & (kBanks - 1);
                rg[bank][ch] += q[2] | (static_cast<std::uint64_t>(q[1]) << 32);
                bc[bank][ch] += q[0] | (std::uint64_t{1} << 32);
            }
            for (int ch = 1; ch <= kChannelCount; ++ch) {
                std::uint64_t sumRg = 0, sumBc = 0;
                for (int bank = 0; bank < kBanks; ++bank) {
                    sumRg += rg[bank][ch];
                    sumBc += bc[bank][ch];
                }
                totals.counts[static_cast<std::size_t>(ch)] += static_cast<std::int64_t>(sumBc >> 32);
                auto& s = totals.sums[static_cast<std::size_t>(ch)];
                s[0] += static_cast<std::int64_t>(sumRg & 0xFFFFFFFFu);
                s[1] += static_cast<std::int64_t>(sumRg >> 32);
                s[2] += static_cast<std::int64_t>(sumBc & 0xFFFFFFFFu);
            }
        }
    }
}

}  // namespace

const SeparationResult& Separator::separate(const RgbImage& source, const SeparationThresholds& t) {
    if (!classifier_ || classifier_->thresholds() != t) {
        classifier_ = std::make_unique<SeparationClassifier>(t);
    }
    const SeparationClassifier& classifier = *classifier_;
    SeparationResult& out = result_;
    const std::int32_t width = source.width();
    const std::int32_t height = source.height();
    out.total = static_cast<std::int64_t>(width) * height;
    out.counts.fill(0);
    for (auto& s : out.sums) s.fill(0);
    out.colors.fill(kNoColor);
    // The result's memory is kept from run to run: a fresh picture per slider step would
    // cost page faults worth more than the whole separation.
    if (out.result.width() != width || out.result.height() != height) out.result.reset(width, height);

    if (!source.empty()) {
        channelMap_.resize(static_cast<std::size_t>(out.total));
        std::uint8_t* map = channelMap_.data();
        std::mutex merging;
        forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
            Totals part;
            classifyRows(source, classifier, map, begin, end, part);
            // Integer sums: the order in which the blocks arrive does not matter.
            const std::lock_guard<std::mutex> lock(merging);
            for (std::size_t k = 0; k < kChannelCount; ++k) {
                out.counts[k] += part.counts[k + 1];
                for (std::size_t c = 0; c < 3; ++c) out.sums[k][c] += part.sums[k + 1][c];
            }
        });
        // Bytes blue, green, red (and one spare) of every channel's colour; 0 stays white.
        std::array<std::uint32_t, kChannelCount + 1> paint{};
        paint[0] = 0xFFFFFFu;
        for (std::size_t k = 0; k < kChannelCount; ++k) {
            if (out.counts[k] == 0) {
                paint[k + 1] = 0xFFFFFFu;  // never used: nothing was counted there
                continue;
            }
            const auto r = static_cast<int>(roundedMean(out.sums[k][0], out.counts[k]));
            const auto g = static_cast<int>(roundedMean(out.sums[k][1], out.counts[k]));
            const auto b = static_cast<int>(roundedMean(out.sums[k][2], out.counts[k]));
            out.colors[k] = makeColor(r, g, b);
            paint[k + 1] = static_cast<std::uint32_t>(b | (g << 8) | (r << 16));
        }
        RgbImage& result = out.result;
        forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
            for (std::int32_t y = begin; y < end; ++y) {
                std::uint8_t* d = result.row(y);
                const std::uint8_t* m = map + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
                // Four-byte stores, each overwriting the next pixel's first byte; the last
                // pixel of the row gets exactly three.
                for (std::int32_t x = 0; x + 1 < width; ++x) std::memcpy(d + 3 * x, &paint[m[x]], 4);
                std::memcpy(d + 3 * (width - 1), &paint[m[width - 1]], 3);
            }
        });
    }
    for (std::size_t k = 0; k < kChannelCount; ++k) {
        out.percentages[k] = channelPercentage(out.counts[k], out.total);
        out.percentageTexts[k] = shortestText(out.percentages[k]);
    }
    return out;
}

SeparationResult separate(const RgbImage& source, const SeparationThresholds& t) {
    Separator separator;
    separator.separate(source, t);
    // The separator ends here: its result is moved out rather than copied (a copy of a
    // full-size picture). The result is the separator's own, non-const member.
    return std::move(const_cast<SeparationResult&>(separator.lastResult()));
}

namespace {

// Writes every pixel whose counted channel has a mask into that mask; counts per channel.
void writeMasks(const RgbImage& source, const SeparationClassifier& classifier,
                std::array<RgbImage*, kChannelCount + 1>& masks, std::int32_t begin, std::int32_t end) {
    const std::int32_t width = source.width();
    const SeparationClassifier::Lookup lookup = classifier.lookup();
    for (std::int32_t y = begin; y < end; ++y) {
        const std::uint8_t* p = source.row(y);
        std::array<std::uint8_t*, kChannelCount + 1> rows{};
        for (std::size_t k = 1; k <= kChannelCount; ++k) rows[k] = masks[k] ? masks[k]->row(y) : nullptr;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint8_t* q = p + 3 * static_cast<std::size_t>(x);
            const int ch = lookup.channel(q[0], q[1], q[2]);
            std::uint8_t* d = rows[static_cast<std::size_t>(ch)];
            if (d != nullptr) std::memcpy(d + 3 * static_cast<std::size_t>(x), q, 3);
        }
    }
}

std::array<std::int64_t, kChannelCount + 1> countChannels(const RgbImage& source,
                                                          const SeparationClassifier& classifier) {
    std::array<std::int64_t, kChannelCount + 1> counts{};
    std::mutex merging;
    forEachRowBlock(source.height(), [&](std::int32_t begin, std::int32_t end) {
        std::array<std::int64_t, kChannelCount + 1> part{};
        const SeparationClassifier::Lookup lookup = classifier.lookup();
        for (std::int32_t y = begin; y < end; ++y) {
            const std::uint8_t* p = source.row(y);
            for (std::int32_t x = 0; x < source.width(); ++x) {
                const std::uint8_t* q = p + 3 * static_cast<std::size_t>(x);
                ++part[static_cast<std::size_t>(lookup.channel(q[0], q[1], q[2]))];
            }
        }
        const std::lock_guard<std::mutex> lock(merging);
        for (std::size_t k = 0; k <= kChannelCount; ++k) counts[k] += part[k];
    });
    return counts;
}

}  // namespace

std::array<RgbImage, kChannelCount> separationMasks(const RgbImage& source,
                                                    const SeparationClassifier& classifier) {
    std::array<RgbImage, kChannelCount> masks;
    if (source.empty()) return masks;
    const auto counts = countChannels(source, classifier);
    std::array<RgbImage*, kChannelCount + 1> targets{};
    for (std::size_t k = 1; k <= kChannelCount; ++k) {
        if (counts[k] == 0) continue;
        RgbImage& mask = masks[k - 1];
        mask.reset(source.width(), source.height());
        if (k == 1) mask.fill(kBlack);
        targets[k] = &mask;
    }
    forEachRowBlock(source.height(), [&](std::int32_t begin, std::int32_t end) {
        writeMasks(source, classifier, targets, begin, end);
    });
    return masks;
}

RgbImage separationMask(const RgbImage& source, const SeparationClassifier& classifier, int k) {
    RgbImage mask;
    if (source.empty() || k < 1 || k > kChannelCount) return mask;
    if (countChannels(source, classifier)[static_cast<std::size_t>(k)] == 0) return mask;
    mask.reset(source.width(), source.height());
    if (k == 1) mask.fill(kBlack);
    std::array<RgbImage*, kChannelCount + 1> targets{};
    targets[static_cast<std::size_t>(k)] = &mask;
    forEachRowBlock(source.height(), [&](std::int32_t begin, std::int32_t end) {
        writeMasks(source, classifier, targets, begin, end);
    });
    return mask;
}

}  // namespace dg
