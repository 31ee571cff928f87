#include "separation/ChannelSetBuild.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>

#include "imaging/Numbers.h"
#include "imaging/Parallel.h"

namespace dg {

namespace {

constexpr std::size_t kColorWords = (std::size_t{1} << 24) / 64;

inline ColorValue colorAt(const std::uint8_t* p) {
    return static_cast<ColorValue>(p[2] | (p[1] << 8) | (p[0] << 16));
}

// One bit per colour value: which colours the picture holds. 2 MiB instead of 64 MiB of
// counters, and the walk in ascending colour value is a walk over its words.
std::vector<std::uint64_t> presentColors(const RgbImage& picture) {
    std::vector<std::uint64_t> bits(kColorWords, 0);
    std::mutex merging;
    forEachRowBlock(picture.height(), [&](std::int32_t begin, std::int32_t end) {
        std::vector<std::uint64_t> local;
        std::vector<std::uint64_t>* target = &bits;
        if (begin != 0) {
            local.assign(kColorWords, 0);
            target = &local;
        }
        std::uint64_t* words = target->data();
        ColorValue last = kNoColor;
        for (std::int32_t y = begin; y < end; ++y) {
            const std::uint8_t* p = picture.row(y);
            for (std::int32_t x = 0; x < picture.width(); ++x, p += 3) {
                const ColorValue c = colorAt(p);
                if (c == last) continue;  // flat pictures come in runs
                last = c;
                words[static_cast<std::uint32_t>(c) >> 6] |= std::uint64_t{1} << (c & 63);
            }
        }
        if (begin != 0) {
            const std::lock_guard<std::mutex> lock(merging);
            for (std::size_t i = 0; i < kColorWords; ++i) bits[i] |= local[i];
        }
    });
    return bits;
}

}  // namespace

std::vector<std::pair<ColorValue, std::int64_t>> colorCensus(const RgbImage& picture) {
    const std::vector<std::uint64_t> bits = presentColors(picture);
    std::vector<ColorValue> colors;
    for (std::size_t i = 0; i < kColorWords; ++i) {
        for (std::uint64_t w = bits[i]; w != 0; w &= w - 1) {
            colors.push_back(static_cast<ColorValue>(i * 64 + static_cast<std::size_t>(std::countr_zero(w))));
        }
    }
    std::vector<std::pair<ColorValue, std::int64_t>> census;
    census.reserve(colors.size());
    for (ColorValue c : colors) census.emplace_back(c, 0);
    // Binary search in the sorted colours, after a check of the previous pixel's colour.
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        const std::uint8_t* p = picture.row(y);
        std::size_t last = 0;
        for (std::int32_t x = 0; x < picture.width(); ++x, p += 3) {
            const ColorValue c = colorAt(p);
            if (census[last].first != c) {
                last = static_cast<std::size_t>(std::lower_bound(colors.begin(), colors.end(), c) -
                                                colors.begin());
            }
            ++census[last].second;
        }
    }
    return census;
}

RebuildSummary rebuildChannelSet(ChannelSet& set) {
    const RgbImage& before = set.before;
    const std::int32_t width = before.width();
    const std::int32_t height = before.height();
    set.total = static_cast<std::int32_t>(static_cast<std::int64_t>(width) * height);
    set.colors.fill(kNoColor);
    set.counts.fill(0);
    for (Channel& ch : set.channels) {
        ch.color = kNoColor;
        ch.count = 0;
        ch.checked = false;
        ch.shown = false;
    }

    const std::vector<std::uint64_t> bits =
        before.empty() ? std::vector<std::uint64_t>() : presentColors(before);
    std::int64_t distinct = 0;
    std::array<ColorValue, kChannelCount> firstColors{};
    int channels = 0;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        distinct += std::popcount(bits[i]);
        for (std::uint64_t w = bits[i]; w != 0 && channels < kChannelCount; w &= w - 1) {
            firstColors[static_cast<std::size_t>(channels++)] =
                static_cast<ColorValue>(i * 64 + static_cast<std::size_t>(std::countr_zero(w)));
        }
    }

    // Every mask is written in full, row by row, by the pass below: a mask of the right size
    // is reused, any other gets memory that is not cleared first, so the pass is the only
    // time the masks' memory is touched.
    for (int n = 1; n <= kChannelCount; ++n) {
        Channel& ch = set.channel(n);
        if (n > channels) {
            ch.mask.clear();
            continue;
        }
        ch.color = firstColors[static_cast<std::size_t>(n - 1)];
        set.colorOf(n) = ch.color;
        if (ch.mask.width() != width || ch.mask.height() != height || ch.mask.empty()) {
            ch.mask.clear();
            ch.mask.resetForOverwrite(width, height);
        }
    }
    set.after.reset(width, height);

    // One pass writes every mask and the AFTER picture: right after a rebuild every channel
    // is ticked and the masks do not overlap, so AFTER is each pixel's own colour where that
    // colour has a channel and is not pure white, which is what Redraw would paint.
    std::array<std::int64_t, kChannelCount> counts{};
    std::mutex merging;
    const ColorValue lastChannelColor =
        channels > 0 ? firstColors[static_cast<std::size_t>(channels - 1)] : kNoColor;
    const ColorValue* sorted = firstColors.data();
    forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
        std::array<std::int64_t, kChannelCount> local{};
        std::array<std::uint8_t*, kChannelCount> rows{};
        // A small direct-mapped cache of colour -> channel in front of the binary search.
        constexpr std::size_t kCache = 1024;
        std::vector<ColorValue> cacheColor(kCache, kNoColor);
        std::vector<int> cacheIndex(kCache, -1);
        for (std::int32_t y = begin; y < end; ++y) {
            for (int n = 0; n < channels; ++n) {
                const auto i = static_cast<std::size_t>(n);
                rows[i] = set.channels[i].mask.row(y);
                std::memset(rows[i], set.channels[i].color == kWhite ? 0x00 : 0xFF,
                            3 * static_cast<std::size_t>(width));
            }
            const std::uint8_t* p = before.row(y);
            std::uint8_t* a = set.after.row(y);
            for (std::int32_t x = 0; x < width; ++x, p += 3, a += 3) {
                const ColorValue c = colorAt(p);
                const std::size_t slot = (static_cast<std::uint32_t>(c) * 2654435761u) >> 22;
                int index = -1;
                if (cacheColor[slot] == c) {
                    index = cacheIndex[slot];
                } else {
                    if (c <= lastChannelColor) {
                        index = static_cast<int>(std::lower_bound(sorted, sorted + channels, c) - sorted);
                    }
                    cacheColor[slot] = c;
                    cacheIndex[slot] = index;
                }
                if (index < 0) continue;
                ++local[static_cast<std::size_t>(index)];
                std::memcpy(rows[static_cast<std::size_t>(index)] + 3 * static_cast<std::size_t>(x), p, 3);
                if (c != kWhite) std::memcpy(a, p, 3);
            }
        }
        const std::lock_guard<std::mutex> lock(merging);
        for (std::size_t n = 0; n < kChannelCount; ++n) counts[n] += local[n];
    });

    for (int n = 1; n <= kChannelCount; ++n) {
        Channel& ch = set.channel(n);
        const auto count = static_cast<std::int32_t>(counts[static_cast<std::size_t>(n - 1)]);
        ch.count = count;
        set.counts[static_cast<std::size_t>(n - 1)] = count;
        ch.percentageText = channelPercentageText(count, set.total);
        if (count > 0) {
            ch.checked = true;
            ch.shown = true;
        } else {
            ch.mask.clear();
        }
    }
    const ChannelCount c = recountChannelSet(set);
    return {distinct, c.afterCount, c.nextEnabled};
}

ChannelCount recountChannelSet(const ChannelSet& set) {
    ChannelCount c;
    for (const Channel& ch : set.channels) {
        if (ch.shown && ch.checked) ++c.afterCount;
    }
    c.nextEnabled = c.afterCount >= 1;
    return c;
}

void redrawChannelSet(ChannelSet& set) {
    const std::int32_t width = set.before.width();
    const std::int32_t height = set.before.height();
    set.after.reset(width, height);
    struct Paint {
        const RgbImage* mask;
        std::uint8_t bytes[3];
    };
    std::vector<Paint> paints;
    for (int n = 1; n <= kChannelCount; ++n) {
        const Channel& ch = set.channel(n);
        const ColorValue c = set.colorOf(n);
        if (!ch.checked || c == kWhite || c == kNoColor) continue;
        // A mask of another size than BEFORE (none is made so) is left out rather than read
        // past its end.
        if (ch.mask.width() != width || ch.mask.height() != height) continue;
        paints.push_back({&ch.mask,
                          {static_cast<std::uint8_t>(blueOf(c)), static_cast<std::uint8_t>(greenOf(c)),
                           static_cast<std::uint8_t>(redOf(c))}});
    }
    if (paints.empty()) return;
    forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            std::uint8_t* a = set.after.row(y);
            // Channel by channel in order, so that a later one overwrites an earlier one.
            for (const Paint& paint : paints) {
                const std::uint8_t* m = paint.mask->row(y);
                for (std::int32_t x = 0; x < width; ++x) {
                    const std::uint8_t* q = m + 3 * static_cast<std::size_t>(x);
                    if ((q[0] & q[1] & q[2]) != 0xFF)
                        std::memcpy(a + 3 * static_cast<std::size_t>(x), paint.bytes, 3);
                }
            }
        }
    });
}

ChannelCount setChannelChecked(ChannelSet& set, int n, bool checked) {
    if (n >= 1 && n <= kChannelCount) set.channel(n).checked = checked;
    redrawChannelSet(set);
    return recountChannelSet(set);
}

ChannelCount recheckChannelSet(ChannelSet& set) {
    for (Channel& ch : set.channels) ch.checked = ch.shown;
    redrawChannelSet(set);
    return recountChannelSet(set);
}

RebuildSummary channelSetNext(ChannelSet& set) {
    set.before = set.after;
    return rebuildChannelSet(set);
}

}  // namespace dg
