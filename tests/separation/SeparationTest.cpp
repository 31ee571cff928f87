#include <gtest/gtest.h>

#include <random>

#include "imaging/Numbers.h"
#include "imaging/Parallel.h"
#include "separation/Separation.h"
#include "separation/Thresholds.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::imageFromRows;
using test::SameImage;

// The separation test transcribed rule by rule, slow and obvious, as the reference.
int literalChannel(int r, int g, int b, const SeparationThresholds& t) {
    const int W = t.white, L = t.lightGrey, M = t.midGrey, K = t.black;
    auto in = [](int x, int a, int c) { return a <= x && x < c; };
    int ch = 0;
    auto assign = [&ch](int k) {
        if (ch == 0) ch = k;
    };
    if (r >= W && g >= W && b >= W) assign(1);
    if (r < K && g < K && b < K) assign(3);
    if (in(r, L, W) && in(g, L, W) && in(b, L, W)) assign(2);
    if (in(r, M, L) && in(g, M, L) && in(b, M, L)) assign(22);
    if (in(r, K, M) && in(g, K, M) && in(b, K, M)) assign(23);
    if (r >= g && r >= b) {
        if (r >= t.redHigh) {
            if (g >= t.yellowHigh && b < t.yellowHigh)
                assign(13);
            else if (b >= t.magentaHigh && g < t.magentaHigh)
                assign(19);
            else
                assign(4);
        } else if (in(r, t.redMid, t.redHigh)) {
            if (in(g, t.yellowMid, t.yellowHigh) && b < t.yellowMid)
                assign(14);
            else if (in(b, t.magentaMid, t.magentaHigh) && g < t.magentaMid)
                assign(20);
            else
                assign(5);
        } else if (in(r, K, t.redMid)) {
            if (in(g, K, t.yellowMid) && b < K)
                assign(15);
            else if (in(b, K, t.magentaMid) && g < K)
                assign(21);
            else
                assign(6);
        }
    }
    if (g >= r && g >= b) {
        if (g >= t.greenHigh) {
            if (r >= t.yellowHigh && b < t.yellowHigh)
                assign(13);
            else if (b >= t.cyanHigh && r < t.cyanHigh)
                assign(16);
            else
                assign(7);
        } else if (in(g, t.greenMid, t.greenHigh)) {
            if (in(r, t.yellowMid, t.yellowHigh) && b < t.yellowMid)
                assign(14);
            else if (in(b, t.cyanMid, t.cyanHigh) && r < t.cyanMid)
                assign(17);
            else
                assign(8);
        } else if (in(g, K, t.greenMid)) {
            if (in(r, K, t.yellowMid) && b < K)
                assign(15);
            else if (in(b, K, t.cyanMid) && r < K)
                assign(18);
            else
                assign(9);
        }
    }
    if (b >= r && b >= g) {
        if (b >= t.blueHigh) {
            if (g >= t.cyanHigh && r < t.cyanHigh)
                assign(16);
            else if (r >= t.magentaHigh && g < t.magentaHigh)
                assign(19);
            else
                assign(10);
        } else if (in(b, t.blueMid, t.blueHigh)) {
            if (in(g, t.cyanMid, t.cyanHigh) && r < t.cyanMid)
                assign(17);
            else if (in(r, t.magentaMid, t.magentaHigh) && g < t.magentaMid)
                assign(20);
            else
                assign(11);
        } else if (in(b, K, t.blueMid)) {
            if (in(g, K, t.cyanMid) && r < K)
                assign(18);
            else if (in(r, K, t.magentaMid) && g < K)
                assign(21);
            else
                assign(12);
        }
    }
    return ch;
}

// Separate as written: full masks first, then the result from the masks.
struct LiteralSeparation {
    std::array<RgbImage, kChannelCount> masks;
    RgbImage result;
    std::array<std::int64_t, kChannelCount> counts{};
    std::array<ColorValue, kChannelCount> colors{};
};

LiteralSeparation literalSeparate(const RgbImage& source, const SeparationThresholds& t) {
    LiteralSeparation s;
    s.colors.fill(kNoColor);
    std::array<std::array<std::int64_t, 3>, kChannelCount> sums{};
    const int w = source.width(), h = source.height();
    for (auto& m : s.masks) m = RgbImage(w, h);
    s.masks[0].fill(kBlack);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const ColorValue c = source.pixel(x, y);
            const int ch = literalChannel(redOf(c), greenOf(c), blueOf(c), t);
            if (ch == 0) continue;
            s.masks[static_cast<std::size_t>(ch - 1)].setPixel(x, y, c);
            if ((ch == 1 && c != kBlack) || (ch != 1 && c != kWhite)) {
                auto k = static_cast<std::size_t>(ch - 1);
                ++s.counts[k];
                sums[k][0] += redOf(c);
                sums[k][1] += greenOf(c);
                sums[k][2] += blueOf(c);
            }
        }
    }
    s.result = RgbImage(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (std::size_t k = 0; k < kChannelCount; ++k) {
                const ColorValue background = k == 0 ? kBlack : kWhite;
                if (s.masks[k].pixel(x, y) == background) continue;
                auto mean = [&](int c) {
                    return static_cast<int>(
                        roundHalfEven(static_cast<double>(sums[k][static_cast<std::size_t>(c)]) /
                                      static_cast<double>(s.counts[k])));
                };
                s.colors[k] = makeColor(mean(0), mean(1), mean(2));
                s.result.setPixel(x, y, s.colors[k]);
            }
        }
    }
    for (std::size_t k = 0; k < kChannelCount; ++k) {
        if (s.counts[k] == 0) s.masks[k].clear();
    }
    return s;
}

TEST(SeparationTest, PixelsTable) {
    struct Case {
        int r, g, b, channel;
    };
    const SeparationThresholds defaults;
    for (const Case& c : {
             Case{200, 200, 200, 1},
             Case{199, 199, 199, 2},
             Case{80, 80, 80, 23},
             Case{79, 79, 79, 3},
             Case{120, 120, 120, 22},
             Case{255, 255, 255, 1},
             Case{0, 0, 0, 3},
             Case{250, 40, 30, 4},
             Case{250, 220, 30, 13},
             Case{150, 140, 20, 14},
             Case{100, 90, 30, 15},
             Case{100, 30, 90, 21},
             Case{30, 200, 200, 16},
             Case{100, 100, 100, 23},
             Case{100, 100, 70, 15},
             // Ties: r = g goes to the red block, r = b too, g = b to the green block.
             Case{200, 200, 10, 13},
             Case{200, 10, 200, 19},
             Case{10, 150, 150, 17},
             Case{250, 10, 200, 19},
             Case{10, 250, 10, 7},
             Case{10, 10, 250, 10},
             Case{60, 90, 60, 9},
             Case{150, 20, 20, 5},
             Case{90, 20, 20, 6},
             Case{20, 150, 20, 8},
             Case{20, 20, 150, 11},
             Case{20, 20, 90, 12},
             Case{150, 200, 255, 16},
             Case{200, 210, 255, 1},
             Case{60, 85, 85, 18},
             Case{150, 10, 140, 20},
             Case{201, 200, 199, 4},
             Case{201, 199, 200, 4},
         }) {
        EXPECT_EQ(separationChannel(c.r, c.g, c.b, defaults), c.channel) << c.r << "," << c.g << "," << c.b;
        const SeparationClassifier table(defaults);
        EXPECT_EQ(table.countedChannel(static_cast<std::uint8_t>(c.b), static_cast<std::uint8_t>(c.g),
                                       static_cast<std::uint8_t>(c.r)),
                  c.channel)
            << c.r << "," << c.g << "," << c.b;
    }
}

TEST(SeparationTest, EveryColourHasExactlyOneChannelOfItsBand) {
    // With the defaults every colour must be assigned, and its channel's family and level must
    // agree with the band the channel table states.
    const SeparationThresholds t;
    const SeparationClassifier table(t);
    std::array<std::int64_t, kChannelCount + 1> seen{};
    for (int b = 0; b < 256; ++b) {
        for (int g = 0; g < 256; ++g) {
            for (int r = 0; r < 256; ++r) {
                const int ch = table.countedChannel(
                    static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r));
                ++seen[static_cast<std::size_t>(ch)];
                const ChannelTableEntry& e = ChannelTable[static_cast<std::size_t>(ch - 1)];
                const int mx = std::max({r, g, b});
                bool ok = false;
                auto all = [&](int lo, int hi) {
                    return r >= lo && g >= lo && b >= lo && r < hi && g < hi && b < hi;
                };
                auto levelOf = [&](int v, int high, int mid) {
                    return v >= high ? ChannelLevel::High : v >= mid ? ChannelLevel::Mid : ChannelLevel::Low;
                };
                // A mixed family: the largest component at the level, the second one within the
                // family's band of that level, the third below the band.
                auto mixedOk = [&](ChannelLevel own, int second, int third, int high, int mid) {
                    if (own != e.level || mx < t.black) return false;
                    switch (e.level) {
                        case ChannelLevel::High:
                            return second >= high && third < high;
                        case ChannelLevel::Mid:
                            return second >= mid && second < high && third < mid;
                        default:
                            return second >= t.black && second < mid && third < t.black;
                    }
                };
                switch (e.family) {
                    case ChannelFamily::Grey:
                        ok = (e.level == ChannelLevel::White && all(t.white, 256)) ||
                             (e.level == ChannelLevel::LightGrey && all(t.lightGrey, t.white)) ||
                             (e.level == ChannelLevel::MidGrey && all(t.midGrey, t.lightGrey)) ||
                             (e.level == ChannelLevel::DarkGrey && all(t.black, t.midGrey)) ||
                             (e.level == ChannelLevel::Black && all(0, t.black));
                        break;
                    case ChannelFamily::Red:
                        ok = r == mx && mx >= t.black && e.level == levelOf(r, t.redHigh, t.redMid);
                        break;
                    case ChannelFamily::Green:
                        ok = g == mx && mx >= t.black && e.level == levelOf(g, t.greenHigh, t.greenMid);
                        break;
                    case ChannelFamily::Blue:
                        ok = b == mx && mx >= t.black && e.level == levelOf(b, t.blueHigh, t.blueMid);
                        break;
                    case ChannelFamily::Yellow:
                        ok = (r == mx || g == mx) && mixedOk(r == mx ? levelOf(r, t.redHigh, t.redMid)
                                                                     : levelOf(g, t.greenHigh, t.greenMid),
                                                             r == mx ? g : r, b, t.yellowHigh, t.yellowMid);
                        break;
                    case ChannelFamily::Cyan:
                        ok = (g == mx || b == mx) && mixedOk(g == mx ? levelOf(g, t.greenHigh, t.greenMid)
                                                                     : levelOf(b, t.blueHigh, t.blueMid),
                                                             g == mx ? b : g, r, t.cyanHigh, t.cyanMid);
                        break;
                    case ChannelFamily::Magenta:
                        ok = (r == mx || b == mx) && mixedOk(r == mx ? levelOf(r, t.redHigh, t.redMid)
                                                                     : levelOf(b, t.blueHigh, t.blueMid),
                                                             r == mx ? b : r, g, t.magentaHigh, t.magentaMid);
                        break;
                }
                if (!ok) {
                    ADD_FAILURE() << r << "," << g << "," << b << " went to channel " << ch;
                    return;
                }
            }
        }
    }
    EXPECT_EQ(seen[0], 0);
    std::int64_t sum = 0;
    for (int k = 1; k <= kChannelCount; ++k) {
        EXPECT_GT(seen[static_cast<std::size_t>(k)], 0) << "channel " << k;
        sum += seen[static_cast<std::size_t>(k)];
    }
    EXPECT_EQ(sum, 16777216);
}

TEST(SeparationTest, TableMatchesTheRulesForRandomThresholds) {
    // Including thresholds that break the invariants: the table must still say what the
    // rules say, also where they assign nothing.
    std::mt19937 random(11);
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<int> colour(0, 0xFFFFFF);
    for (int trial = 0; trial < 300; ++trial) {
        std::array<int, kThresholdCount> values{};
        for (int& v : values) v = any(random);
        SeparationThresholds t = thresholdsFromValues(values);
        if (trial % 2 == 0) t = clampThresholds(t);
        const SeparationClassifier table(t);
        for (int i = 0; i < 3000; ++i) {
            const ColorValue c = colour(random);
            int expected = literalChannel(redOf(c), greenOf(c), blueOf(c), t);
            if ((expected == 1 && c == kBlack) || (expected > 1 && c == kWhite)) expected = 0;
            ASSERT_EQ(table.countedChannel(static_cast<std::uint8_t>(blueOf(c)),
                                           static_cast<std::uint8_t>(greenOf(c)),
                                           static_cast<std::uint8_t>(redOf(c))),
                      expected);
            ASSERT_EQ(separationChannel(redOf(c), greenOf(c), blueOf(c), t),
                      literalChannel(redOf(c), greenOf(c), blueOf(c), t));
        }
    }
}

void expectSameAsLiteral(const RgbImage& source, const SeparationThresholds& t) {
    const LiteralSeparation expected = literalSeparate(source, t);
    const SeparationResult got = separate(source, t);
    EXPECT_TRUE(SameImage(expected.result, got.result));
    EXPECT_EQ(got.total, static_cast<std::int64_t>(source.width()) * source.height());
    const SeparationClassifier classifier(t);
    const auto masks = separationMasks(source, classifier);
    for (int k = 1; k <= kChannelCount; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        SCOPED_TRACE("channel " + std::to_string(k));
        EXPECT_EQ(got.counts[i], expected.counts[i]);
        EXPECT_EQ(got.colors[i], expected.colors[i]);
        EXPECT_EQ(got.percentageTexts[i], channelPercentageText(expected.counts[i], got.total));
        EXPECT_TRUE(SameImage(expected.masks[i], masks[i]));
        EXPECT_TRUE(SameImage(expected.masks[i], separationMask(source, classifier, k)));
    }
}

TEST(SeparationTest, SeparateMatchesTheLiteralRules) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> any(0, 255);
    for (int trial = 0; trial < 12; ++trial) {
        SCOPED_TRACE("trial " + std::to_string(trial));
        std::array<int, kThresholdCount> values{};
        for (int& v : values) v = any(random);
        const SeparationThresholds t =
            trial == 0 ? SeparationThresholds{} : clampThresholds(thresholdsFromValues(values));
        expectSameAsLiteral(test::randomImage(37 + trial, 41, static_cast<std::uint32_t>(trial)), t);
    }
}

TEST(SeparationTest, SameBytesWithOneAndTwoWorkers) {
    const RgbImage source = test::randomImage(301, 257, 3);
    const SeparationThresholds t;
    setWorkerCount(1);
    const SeparationResult one = separate(source, t);
    setWorkerCount(2);
    const SeparationResult two = separate(source, t);
    setWorkerCount(0);
    EXPECT_TRUE(SameImage(one.result, two.result));
    EXPECT_EQ(one.counts, two.counts);
    EXPECT_EQ(one.sums, two.sums);
}

TEST(SeparationTest, MeanColourRoundsHalfToEven) {
    // Two pixels of channel 4 with red 250 and 251 (mean 250.5 -> 250), green 40 and 43
    // (41.5 -> 42), blue 30 and 30.
    const RgbImage source = imageFromRows({{makeColor(250, 40, 30), makeColor(251, 43, 30)}});
    const SeparationResult got = separate(source, SeparationThresholds{});
    EXPECT_EQ(got.colorOf(4), makeColor(250, 42, 30));
    EXPECT_EQ(got.countOf(4), 2);
    EXPECT_EQ(got.percentageTextOf(4), "100");
    EXPECT_EQ(roundedMean(5, 2), 2);
    EXPECT_EQ(roundedMean(7, 2), 4);
    EXPECT_EQ(roundedMean(10, 3), 3);
    EXPECT_EQ(roundedMean(11, 3), 4);
}

TEST(SeparationTest, PureWhitePicture) {
    const RgbImage source(6, 5);
    const SeparationResult got = separate(source, SeparationThresholds{});
    EXPECT_TRUE(SameImage(source, got.result));
    EXPECT_EQ(got.colorOf(1), kWhite);
    EXPECT_EQ(got.percentageTextOf(1), "100");
    const SeparationClassifier classifier{SeparationThresholds{}};
    const RgbImage mask = separationMask(source, classifier, 1);
    EXPECT_TRUE(SameImage(source, mask));  // every pixel in, white on black
    for (int k = 2; k <= kChannelCount; ++k) {
        EXPECT_EQ(got.colorOf(k), kNoColor);
        EXPECT_EQ(got.percentageTextOf(k), "0");
        EXPECT_TRUE(separationMask(source, classifier, k).empty());
    }
}

TEST(SeparationTest, PureBlackInTheWhiteChannelIsNeitherCountedNorPainted) {
    SeparationThresholds t;
    t.white = t.lightGrey = t.midGrey = t.black = 0;
    t = clampThresholds(t);
    const RgbImage source = imageFromRows({{kBlack, kBlack, makeColor(0, 0, 1)}});
    expectSameAsLiteral(source, t);
    const SeparationResult got = separate(source, t);
    EXPECT_EQ(got.countOf(1), 1);
    EXPECT_EQ(got.result.pixel(0, 0), kWhite);
    EXPECT_EQ(got.result.pixel(2, 0), makeColor(0, 0, 1));
}

TEST(SeparationTest, EmptyPicture) {
    const SeparationResult got = separate(RgbImage(), SeparationThresholds{});
    EXPECT_TRUE(got.result.empty());
    EXPECT_EQ(got.total, 0);
    for (int k = 1; k <= kChannelCount; ++k) EXPECT_EQ(got.percentageTextOf(k), "0");
    const SeparationClassifier classifier{SeparationThresholds{}};
    EXPECT_TRUE(separationMask(RgbImage(), classifier, 1).empty());
}

TEST(SeparationTest, SeparatorFollowsThresholdChanges) {
    const RgbImage source = test::randomImage(64, 48, 9);
    Separator separator;
    SeparationThresholds t;
    separator.separate(source, t);
    t.black = 100;
    t = clampThresholds(t);
    const SeparationResult& again = separator.separate(source, t);
    const SeparationResult fresh = separate(source, t);
    EXPECT_TRUE(SameImage(fresh.result, again.result));
    EXPECT_EQ(fresh.counts, again.counts);
}

}  // namespace
}  // namespace dg
