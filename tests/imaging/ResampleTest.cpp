#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "imaging/Failure.h"
#include "imaging/Parallel.h"
#include "imaging/Resample.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using namespace test;

// A slow, literal resampler written from the rules alone: kernels straight from their
// formulas, contributor lists of (index, weight) pairs, a line cache of ints per channel,
// one column at a time in the vertical pass, and plain integer division by the total.
namespace reference {

// The kernels take a single and give a single: the formula itself runs in extended precision
// and is rounded to single once.
float f(int filter, float t) {
    using Real = long double;
    const Real x = t < 0.0f ? -static_cast<Real>(t) : static_cast<Real>(t);
    const Real pi = 3.141592653589793238462643383279502884L;
    const auto sinc = [pi](Real u) { return u == 0.0L ? 1.0L : std::sin(pi * u) / (pi * u); };
    Real v = 0.0L;
    switch (filter) {
        case 0:
            v = (-0.5f < t && t <= 0.5f) ? 1.0L : 0.0L;
            break;
        case 1:
            v = x < 1.0L ? 1.0L - x : 0.0L;
            break;
        case 2:
            v = x < 1.0L ? (2.0L * x - 3.0L) * (x * x) + 1.0L : 0.0L;
            break;
        case 3:
            if (x < 0.5L) {
                v = 0.75L - x * x;
            } else if (x < 1.5L) {
                v = 0.5L * ((x - 1.5L) * (x - 1.5L));
            }
            break;
        case 4:
            if (x < 1.0L) {
                v = 0.5L * (x * x * x) - x * x + 2.0L / 3.0L;
            } else if (x < 2.0L) {
                v = (2.0L - x) * (2.0L - x) * (2.0L - x) / 6.0L;
            }
            break;
        case 5:
            v = x < 3.0L ? sinc(x) * sinc(x / 3.0L) : 0.0L;
            break;
        case 6:
            if (x < 1.0L) {
                v = (7.0L * (x * x * x) - 12.0L * (x * x) + 16.0L / 3.0L) / 6.0L;
            } else if (x < 2.0L) {
                v = (-(7.0L / 3.0L) * (x * x * x) + 12.0L * (x * x) - 20.0L * x + 32.0L / 3.0L) / 6.0L;
            }
            break;
    }
    return static_cast<float>(v);
}

const float kRadius[7] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};

struct Contributor {
    int index;
    int weight;
};

int roundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

std::vector<std::vector<Contributor>> contributors(int filter, int sourceLength, int targetLength) {
    const float radius = kRadius[filter];
    float scale;
    if (sourceLength == 1 || targetLength == 1) {
        scale = static_cast<float>(targetLength) / static_cast<float>(sourceLength);
    } else {
        scale = static_cast<float>(targetLength - 1) / static_cast<float>(sourceLength - 1);
    }
    std::vector<std::vector<Contributor>> lists(static_cast<std::size_t>(targetLength));
    for (int i = 0; i < targetLength; ++i) {
        const float c = static_cast<float>(i) / scale;
        const float width = scale >= 1.0f ? radius : radius / scale;
        const int left = static_cast<int>(std::floor(c - width));
        const int right = static_cast<int>(std::ceil(c + width));
        for (int j = left; j <= right; ++j) {
            int weight;
            // The argument is rounded to single once; the weight's product is exact in double.
            if (scale >= 1.0f) {
                const auto argument = static_cast<float>(static_cast<double>(c) - j);
                weight = roundEven(static_cast<double>(f(filter, argument)) * 256.0);
            } else {
                const auto argument = static_cast<float>((static_cast<double>(c) - j) * scale);
                weight = roundEven(static_cast<double>(f(filter, argument)) * scale * 256.0);
            }
            if (weight == 0) continue;
            int n = j;
            if (j < 0) n = -j;
            if (j >= sourceLength) n = 2 * sourceLength - j - 1;
            if (n < 0) n = 0;  // still off a narrow line: clamp into it
            if (n > sourceLength - 1) n = sourceLength - 1;
            lists[static_cast<std::size_t>(i)].push_back({n, weight});
        }
        if (lists[static_cast<std::size_t>(i)].empty()) {
            // Every weight rounded away (a reduction by more than 512): the nearest pixel.
            int n = roundEven(c);
            if (n > sourceLength - 1) n = sourceLength - 1;
            lists[static_cast<std::size_t>(i)].push_back({n, 256});
        }
    }
    return lists;
}

int applyList(const std::vector<Contributor>& list, const std::vector<int>& cache) {
    std::int32_t sum = 0, total = 0;
    for (const auto& c : list) {
        sum += c.weight * cache[static_cast<std::size_t>(c.index)];
        total += c.weight;
    }
    const std::int32_t v = total != 0 ? sum / total : sum / 256;
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

RgbImage resample(int filter, const RgbImage& source, int targetWidth, int targetHeight) {
    RgbImage target(targetWidth, targetHeight);
    const int sw = source.width(), sh = source.height();
    RgbImage mid(targetWidth, sh);
    const auto horizontal = contributors(filter, sw, targetWidth);
    std::vector<int> r(static_cast<std::size_t>(std::max(sw, sh))), g(r.size()), b(r.size());
    for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < sw; ++x) {
            const ColorValue c = source.pixel(x, y);
            r[static_cast<std::size_t>(x)] = redOf(c);
            g[static_cast<std::size_t>(x)] = greenOf(c);
            b[static_cast<std::size_t>(x)] = blueOf(c);
        }
        for (int i = 0; i < targetWidth; ++i) {
            const auto& list = horizontal[static_cast<std::size_t>(i)];
            mid.setPixel(i, y, makeColor(applyList(list, r), applyList(list, g), applyList(list, b)));
        }
    }
    const auto vertical = contributors(filter, sh, targetHeight);
    for (int x = 0; x < targetWidth; ++x) {
        for (int y = 0; y < sh; ++y) {
            const ColorValue c = mid.pixel(x, y);
            r[static_cast<std::size_t>(y)] = redOf(c);
            g[static_cast<std::size_t>(y)] = greenOf(c);
            b[static_cast<std::size_t>(y)] = blueOf(c);
        }
        for (int i = 0; i < targetHeight; ++i) {
            const auto& list = vertical[static_cast<std::size_t>(i)];
            target.setPixel(x, i, makeColor(applyList(list, r), applyList(list, g), applyList(list, b)));
        }
    }
    return target;
}

}  // namespace reference

RgbImage resampled(int filter, const RgbImage& source, int width, int height) {
    RgbImage picture = source;
    ResampleInPlace(width, height, filter, 0.0f, picture);
    return picture;
}

// Black and white halves: the hard edge where the filters with negative lobes overshoot.
RgbImage hardEdge(int width, int height) {
    RgbImage picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width / 2; ++x) picture.setPixel(x, y, kBlack);
    }
    return picture;
}

TEST(Resample, FilterListInOrder) {
    const auto& names = resampleFilterNames();
    const std::vector<std::string> expected = {"Box",    "Triangle", "Hermite", "Bell",
                                               "Spline", "Lanczos3", "Mitchell"};
    ASSERT_EQ(names.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(names[i], expected[i]);
    EXPECT_EQ(defaultResampleRadius(0), 0.5f);
    EXPECT_EQ(defaultResampleRadius(5), 3.0f);
    EXPECT_THROW(defaultResampleRadius(7), Failure);
}

TEST(Resample, HermiteTwoToThreeTakesTheRoundedDownMean) {
    const RgbImage source = imageFromRows(
        {{makeColor(10, 20, 31), makeColor(11, 25, 40)}, {makeColor(0, 255, 7), makeColor(255, 0, 8)}});
    const RgbImage expected =
        imageFromRows({{makeColor(10, 20, 31), makeColor(10, 22, 35), makeColor(11, 25, 40)},
                       {makeColor(0, 255, 7), makeColor(127, 127, 7), makeColor(255, 0, 8)}});
    EXPECT_TRUE(SameImage(expected, resampled(2, source, 3, 2)));
}

TEST(Resample, BoxHundredToTenAveragesElevenMirroredColumns) {
    const RgbImage source = randomImage(100, 3, 7);
    const RgbImage out = resampled(0, source, 10, 3);
    for (int y = 0; y < 3; ++y) {
        for (int i = 0; i < 10; ++i) {
            int sum[3] = {0, 0, 0};
            for (int j = 11 * i - 5; j <= 11 * i + 5; ++j) {
                const int n = j < 0 ? -j : (j >= 100 ? 199 - j : j);
                const ColorValue c = source.pixel(n, y);
                sum[0] += redOf(c);
                sum[1] += greenOf(c);
                sum[2] += blueOf(c);
            }
            EXPECT_EQ(colorText(out.pixel(i, y)), colorText(makeColor(sum[0] / 11, sum[1] / 11, sum[2] / 11)))
                << "column " << i << " row " << y;
        }
    }
}

TEST(Resample, HermiteAtTheSameSizeIsTheIdentity) {
    const RgbImage source = randomImage(37, 23, 3);
    EXPECT_TRUE(SameImage(source, resampled(2, source, 37, 23)));
}

TEST(Resample, OnePixelSourceFillsTheWholeLineWithEveryFilter) {
    const RgbImage source = imageFromRows({{makeColor(200, 3, 77)}});
    for (int filter = 0; filter < kResampleFilterCount; ++filter) {
        SCOPED_TRACE(resampleFilterNames()[static_cast<std::size_t>(filter)]);
        RgbImage expected(10, 1);
        expected.fill(makeColor(200, 3, 77));
        EXPECT_TRUE(SameImage(expected, resampled(filter, source, 10, 1)));
        RgbImage tall(10, 4);
        tall.fill(makeColor(200, 3, 77));
        EXPECT_TRUE(SameImage(tall, resampled(filter, source, 10, 4)));
    }
}

TEST(Resample, OvershootNearHardEdgesIsClamped) {
    for (int filter : {5, 6}) {
        const RgbImage out = resampled(filter, hardEdge(8, 2), 29, 2);
        EXPECT_TRUE(SameImage(reference::resample(filter, hardEdge(8, 2), 29, 2), out));
    }
}

TEST(Resample, ReductionBeyondEveryWeightTakesTheNearestPixel) {
    // 1200 -> 2: every Box weight round(256 / 1199) is 0; the two ends are kept, not blackened.
    RgbImage source(1200, 1);
    source.fill(makeColor(90, 90, 90));
    source.setPixel(0, 0, makeColor(1, 2, 3));
    source.setPixel(1199, 0, makeColor(4, 5, 6));
    EXPECT_TRUE(
        SameImage(imageFromRows({{makeColor(1, 2, 3), makeColor(4, 5, 6)}}), resampled(0, source, 2, 1)));
}

template <typename List>
std::string listText(const List& list) {
    std::string text;
    for (const auto& c : list) text += std::to_string(c.index) + ":" + std::to_string(c.weight) + " ";
    return text;
}

// Shrinking weights that sit on a half: the product f x scale x 256 must not be rounded
// before the final rounding, and the kernel must not lose digits on the way to its single.
TEST(Resample, ShrinkWeightsNearAHalfRoundFromTheExactProduct) {
    struct Case {
        int filter, sourceLength, targetLength, target;
        std::string weights;  // index:weight, in order
    };
    const Case cases[] = {
        // Spline, sources 9 either side of 0: argument 1.25, f = 0.0703125, product 2.50000012 -> 3.
        {4, 361, 51, 0,
         "11:1 10:1 9:3 8:4 7:6 6:9 5:13 4:16 3:19 2:21 1:23 0:24 1:23 2:21 3:19 4:16 5:13 6:9 7:6 8:4 9:3 "
         "10:1 11:1 "},
        // Mitchell, source 3 at argument 1.2500002: f = -0.02343754 (not -0.02343718), weight -4.
        {6, 13, 8, 3, "2:-1 3:-4 4:52 5:131 6:80 7:3 8:-3 "},
    };
    for (const Case& c : cases) {
        const auto lists = resample_detail::contributorLists(c.filter, 0.0f, c.sourceLength, c.targetLength);
        ASSERT_EQ(lists.size(), static_cast<std::size_t>(c.targetLength));
        EXPECT_EQ(listText(lists[static_cast<std::size_t>(c.target)]), c.weights)
            << resampleFilterNames()[static_cast<std::size_t>(c.filter)];
    }
}

// Every contributor list of every filter against the slow reference's lists: every source
// length 2..400 shrunk by one pixel and to a random shorter length (to every shorter length
// up to 48), and enlarged to a random length up to three times (up to 100; 32 -> 95 puts a
// Hermite weight at 72.5 before the kernel's rounding to single).
TEST(Resample, ContributorListsMatchTheSlowReference) {
    std::mt19937 random(29);
    for (int source = 2; source <= 400; ++source) {
        std::vector<int> targets;
        if (source <= 48) {
            for (int t = 1; t < source; ++t) targets.push_back(t);
        } else {
            targets = {source - 1, 1 + static_cast<int>(random() % (source - 1))};
        }
        if (source <= 100) targets.push_back(source + 1 + static_cast<int>(random() % (2 * source)));
        if (source == 32) targets.push_back(95);
        for (int target : targets) {
            for (int filter = 0; filter < kResampleFilterCount; ++filter) {
                const auto fast = resample_detail::contributorLists(filter, 0.0f, source, target);
                const auto slow = reference::contributors(filter, source, target);
                ASSERT_EQ(fast.size(), slow.size());
                for (std::size_t i = 0; i < fast.size(); ++i) {
                    const auto same = [](const resample_detail::Contributor& a,
                                         const reference::Contributor& b) {
                        return a.index == b.index && a.weight == b.weight;
                    };
                    if (!std::equal(fast[i].begin(), fast[i].end(), slow[i].begin(), slow[i].end(), same)) {
                        FAIL() << resampleFilterNames()[static_cast<std::size_t>(filter)] << " " << source
                               << " -> " << target << " at " << i << ": " << listText(fast[i])
                               << "instead of " << listText(slow[i]);
                    }
                }
            }
        }
    }
}

TEST(Resample, AllFiltersMatchTheSlowReference) {
    struct Case {
        int sw, sh, tw, th;
    };
    // Up, down, mixed, equal, one- and two-pixel lines, lines narrower than Lanczos3's reach.
    const Case cases[] = {{1, 1, 5, 3},   {2, 2, 7, 1},     {2, 1, 1, 2},    {3, 5, 2, 9},    {5, 4, 17, 13},
                          {17, 13, 5, 4}, {40, 30, 40, 30}, {64, 9, 23, 31}, {9, 64, 31, 23}, {100, 7, 3, 7},
                          {6, 2, 600, 1}, {1, 30, 1, 8},    {33, 1, 1, 1},   {250, 3, 9, 2}};
    std::mt19937 random(11);
    for (const Case& c : cases) {
        const RgbImage source = randomImage(c.sw, c.sh, static_cast<std::uint32_t>(random()));
        for (int filter = 0; filter < kResampleFilterCount; ++filter) {
            SCOPED_TRACE(std::string(resampleFilterNames()[static_cast<std::size_t>(filter)]) + " " +
                         std::to_string(c.sw) + "x" + std::to_string(c.sh) + " -> " + std::to_string(c.tw) +
                         "x" + std::to_string(c.th));
            ASSERT_TRUE(SameImage(reference::resample(filter, source, c.tw, c.th),
                                  resampled(filter, source, c.tw, c.th)));
        }
    }
    // Random sizes on smooth and hard-edged pictures as well as noise.
    for (int round = 0; round < 12; ++round) {
        const int sw = 1 + static_cast<int>(random() % 48), sh = 1 + static_cast<int>(random() % 48);
        const int tw = 1 + static_cast<int>(random() % 96), th = 1 + static_cast<int>(random() % 96);
        const RgbImage source =
            round % 3 == 0 ? hardEdge(sw, sh) : randomImage(sw, sh, static_cast<std::uint32_t>(random()));
        for (int filter = 0; filter < kResampleFilterCount; ++filter) {
            SCOPED_TRACE(std::to_string(filter) + " " + std::to_string(sw) + "x" + std::to_string(sh) +
                         " -> " + std::to_string(tw) + "x" + std::to_string(th));
            ASSERT_TRUE(
                SameImage(reference::resample(filter, source, tw, th), resampled(filter, source, tw, th)));
        }
    }
}

TEST(Resample, OneWorkerAndTwoGiveTheSameBytes) {
    const RgbImage source = randomImage(120, 90, 5);
    for (int filter = 0; filter < kResampleFilterCount; ++filter) {
        for (auto size : {std::pair{301, 217}, std::pair{47, 35}}) {
            setWorkerCount(1);
            const RgbImage one = resampled(filter, source, size.first, size.second);
            setWorkerCount(2);
            const RgbImage two = resampled(filter, source, size.first, size.second);
            EXPECT_TRUE(SameImage(one, two)) << filter;
        }
    }
    setWorkerCount(0);
}

TEST(Resample, ZeroSizesAndBadArguments) {
    RgbImage picture = randomImage(4, 4, 1);
    ResampleInPlace(6, 0, 2, 0.0f, picture);
    EXPECT_EQ(picture.width(), 6);
    EXPECT_TRUE(picture.empty());

    RgbImage none;
    ResampleInPlace(5, 3, 2, 0.0f, none);
    EXPECT_TRUE(SameImage(RgbImage(5, 3), none));  // blank white at the asked size

    RgbImage target(3, 3);
    ResampleInto(2, 1.0f, RgbImage(), target);
    EXPECT_TRUE(SameImage(RgbImage(3, 3), target));

    EXPECT_THROW(ResampleInPlace(5, 5, 7, 0.0f, picture), Failure);
    EXPECT_THROW(ResampleInPlace(5, 5, -1, 0.0f, picture), Failure);
    EXPECT_THROW(ResampleInPlace(-5, 5, 2, 0.0f, picture), Failure);
}

// The division by a multiplication must agree with integer division at and around every
// multiple of every divisor the passes allow, and clamp beyond 255.
TEST(Resample, QuotientByInverseIsTheTruncatedQuotient) {
    for (std::int32_t d = 1; d <= (1 << 14); ++d) {
        const float inverse = resample_detail::quotientInverse(d);
        for (std::int32_t q = 0; q <= 256; ++q) {
            for (std::int32_t sum : {q * d - 1, q * d, q * d + d - 1, -(q * d) - 1}) {
                if (sum >= (1 << 24)) continue;
                const std::int32_t exact = sum / d;
                const int expected = exact < 0 ? 0 : (exact > 255 ? 255 : exact);
                if (resample_detail::quotientByte(sum, inverse) != expected) {
                    FAIL() << sum << " / " << d << " gave "
                           << int(resample_detail::quotientByte(sum, inverse));
                }
            }
        }
    }
}

}  // namespace
}  // namespace dg
