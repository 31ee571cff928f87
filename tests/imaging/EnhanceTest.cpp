#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "imaging/Enhance.h"
#include "imaging/Parallel.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using namespace test;

// ---- Slow references: one pixel at a time, one pass at a time, straight from the rules ----

int clampInt(int v) { return std::clamp(v, 0, 255); }

struct Pixel {
    int r, g, b;
};
Pixel at(const RgbImage& p, int x, int y) {
    const ColorValue c = p.pixel(x, y);
    return {redOf(c), greenOf(c), blueOf(c)};
}
void put(RgbImage& p, int x, int y, Pixel v) { p.setPixel(x, y, makeColor(v.r, v.g, v.b)); }

RgbImage eachPixelSlow(const RgbImage& from, const std::function<Pixel(Pixel)>& fn) {
    RgbImage out = from;
    for (int y = 0; y < from.height(); ++y)
        for (int x = 0; x < from.width(); ++x) put(out, x, y, fn(at(from, x, y)));
    return out;
}

RgbImage filterSlow(const RgbImage& from, const std::array<int, 9>& w, int divisor, int passes) {
    RgbImage src = from;
    const int d = divisor == 0 ? 1 : divisor;
    for (int p = 0; p < passes; ++p) {
        RgbImage out = src;
        for (int y = 0; y < src.height(); ++y) {
            for (int x = 0; x < src.width(); ++x) {
                int sum[3] = {0, 0, 0};
                const Pixel c = at(src, x, y);
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const bool inside = src.contains(x + dx, y + dy);
                        const Pixel n = inside ? at(src, x + dx, y + dy) : c;
                        const int weight = w[static_cast<std::size_t>((dy + 1) * 3 + dx + 1)];
                        sum[0] += weight * n.r;
                        sum[1] += weight * n.g;
                        sum[2] += weight * n.b;
                    }
                }
                put(out, x, y, {clampInt(sum[0] / d), clampInt(sum[1] / d), clampInt(sum[2] / d)});
            }
        }
        src = out;
    }
    return src;
}

// The palettes are rebuilt here from their documented rules and searched in full.
std::vector<Pixel> halftoneReference() {
    std::vector<Pixel> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) palette.push_back({51 * r, 51 * g, 51 * b});
    for (int k = 1; k <= 44; ++k) {
        if (k % 9 == 0) continue;
        const int level = static_cast<int>(std::lround(51.0 * k / 9.0));
        palette.push_back({level, level, level});
    }
    return palette;
}
const std::vector<Pixel> kSixteen = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                     {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                     {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                     {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

std::size_t nearestSlow(const std::vector<Pixel>& palette, Pixel c) {
    std::size_t best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].r - c.r, dg = palette[i].g - c.g, db = palette[i].b - c.b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int greySlow(int kind, Pixel p) {
    switch (kind) {
        case 1:
            return 255 - clampInt(static_cast<int>(std::nearbyint(255 - 1.6 * std::max({p.r, p.g, p.b}))));
        case 2:
            return p.r;
        case 3:
            return p.g;
        case 4:
            return p.b;
        case 5:
            return (p.g + p.b) / 2;
        case 6:
            return (p.r + p.b) / 2;
        case 7:
            return (p.r + p.g) / 2;
        default:
            return (p.r + p.g + p.b) / 3;
    }
}

// ---- Every operation against its reference -------------------------------------------------

struct Operation {
    std::string name;
    std::function<void(const RgbImage&, RgbImage&)> fast;
    std::function<RgbImage(const RgbImage&)> slow;
};

std::vector<Operation> operations() {
    std::vector<Operation> ops;
    for (int amount : {-300, -100, -1, 37, 100, 255}) {
        ops.push_back(
            {"brightness " + std::to_string(amount),
             [=](const RgbImage& f, RgbImage& t) { addBrightness(f, t, amount); },
             [=](const RgbImage& f) {
                 return eachPixelSlow(f, [=](Pixel p) {
                     return Pixel{clampInt(p.r + amount), clampInt(p.g + amount), clampInt(p.b + amount)};
                 });
             }});
    }
    ops.push_back({"copy", [](const RgbImage& f, RgbImage& t) { copyPixels(f, t); },
                   [](const RgbImage& f) { return f; }});
    {
        std::array<std::uint8_t, 256> table{};
        for (int x = 0; x < 256; ++x)
            table[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>((x * 37 + 11) % 256);
        ops.push_back({"byte table", [=](const RgbImage& f, RgbImage& t) { mapBytes(f, t, table); },
                       [=](const RgbImage& f) {
                           return eachPixelSlow(f, [&](Pixel p) {
                               return Pixel{table[static_cast<std::size_t>(p.r)],
                                            table[static_cast<std::size_t>(p.g)],
                                            table[static_cast<std::size_t>(p.b)]};
                           });
                       }});
    }
    for (int passes : {1, 2, 7, 31}) {
        for (bool opposite : {false, true}) {
            ops.push_back({"contrast " + std::to_string(passes) + (opposite ? " opposite" : ""),
                           [=](const RgbImage& f, RgbImage& t) { contrastSteps(f, t, passes, opposite); },
                           [=](const RgbImage& f) {
                               RgbImage out = f;
                               for (int p = 0; p < passes; ++p) {
                                   out = eachPixelSlow(out, [=](Pixel px) {
                                       auto step = [=](int x) {
                                           const int d = (20 * (x - 128)) / 256;
                                           return clampInt(opposite ? x - d : x + d);
                                       };
                                       return Pixel{step(px.r), step(px.g), step(px.b)};
                                   });
                               }
                               return out;
                           }});
        }
    }
    for (int passes : {1, 3, 51}) {
        ops.push_back(
            {"saturation " + std::to_string(passes),
             [=](const RgbImage& f, RgbImage& t) { saturationSteps(f, t, passes); },
             [=](const RgbImage& f) {
                 RgbImage out = f;
                 for (int p = 0; p < passes; ++p) {
                     out = eachPixelSlow(out, [](Pixel px) {
                         const int m = (std::max({px.r, px.g, px.b}) + std::min({px.r, px.g, px.b})) / 2;
                         return Pixel{clampInt(px.r + (px.r - m) / 8), clampInt(px.g + (px.g - m) / 8),
                                      clampInt(px.b + (px.b - m) / 8)};
                     });
                 }
                 return out;
             }});
    }
    const std::vector<std::pair<std::string, Kernel3x3>> kernels = {
        {"blur", kBlurKernel},
        {"sharpen", kSharpenKernel},
        {"odd kernel, divisor 0", Kernel3x3{{3, -1, 0, 5, 1, -2, 0, 4, -7}, 0}},
        {"odd kernel, divisor -3", Kernel3x3{{1, 1, 1, 1, 9, 1, 1, 1, 1}, -3}},
        {"odd kernel, divisor 5", Kernel3x3{{1, 0, 2, 0, -4, 0, 3, 0, 1}, 5}},
    };
    for (const auto& [kernelName, kernel] : kernels) {
        for (int passes : {1, 2, 3}) {
            ops.push_back({kernelName + " x" + std::to_string(passes),
                           [=](const RgbImage& f, RgbImage& t) { filter3x3(f, t, kernel, passes); },
                           [=](const RgbImage& f) {
                               std::array<int, 9> w{};
                               std::copy(kernel.weights.begin(), kernel.weights.end(), w.begin());
                               return filterSlow(f, w, kernel.divisor, passes);
                           }});
        }
    }
    const BalanceSide sides[] = {BalanceSide::RedGreen, BalanceSide::GreenBlue, BalanceSide::RedBlue};
    for (int s = 0; s < 3; ++s) {
        for (bool positive : {false, true}) {
            for (int passes : {1, 16}) {
                ops.push_back(
                    {"balance side " + std::to_string(s) + (positive ? " +" : " -") + " x" +
                         std::to_string(passes),
                     [=](const RgbImage& f, RgbImage& t) { balanceSteps(f, t, sides[s], positive, passes); },
                     [=](const RgbImage& f) {
                         RgbImage out = f;
                         for (int p = 0; p < passes; ++p) {
                             out = eachPixelSlow(out, [=](Pixel px) {
                                 // Rows of the colour-balance table: (changed, other) per sign.
                                 int* pick[3][2][2] = {{{&px.r, &px.g}, {&px.g, &px.r}},
                                                       {{&px.g, &px.b}, {&px.b, &px.g}},
                                                       {{&px.r, &px.b}, {&px.b, &px.r}}};
                                 int* changed = pick[s][positive][0];
                                 const int other = *pick[s][positive][1];
                                 *changed = clampInt((7 * *changed + other) / 8);
                                 return px;
                             });
                         }
                         return out;
                     }});
            }
        }
    }
    for (int kind = 1; kind <= 8; ++kind) {
        ops.push_back({"grey " + std::to_string(kind),
                       [=](const RgbImage& f, RgbImage& t) { toGrey(f, t, kind); },
                       [=](const RgbImage& f) {
                           return eachPixelSlow(f, [=](Pixel p) {
                               const int g = greySlow(kind, p);
                               return Pixel{g, g, g};
                           });
                       }});
    }
    ops.push_back({"16 colours", [](const RgbImage& f, RgbImage& t) { reduceToSixteenColours(f, t); },
                   [](const RgbImage& f) {
                       return eachPixelSlow(f, [](Pixel p) { return kSixteen[nearestSlow(kSixteen, p)]; });
                   }});
    ops.push_back({"halftone", [](const RgbImage& f, RgbImage& t) { reduceToHalftone(f, t); },
                   [](const RgbImage& f) {
                       static const std::vector<Pixel> palette = halftoneReference();
                       return eachPixelSlow(f, [](Pixel p) { return palette[nearestSlow(palette, p)]; });
                   }});
    return ops;
}

TEST(Enhance, EveryOperationMatchesItsReferenceAtAnySizeAndWorkerCount) {
    struct Size {
        int width, height;
    };
    // 1 x 1 and the thin shapes have no inner pixels for the filter; 37 x 41 has both kinds,
    // and enough rows for two workers.
    const Size sizes[] = {{1, 1}, {2, 2}, {1, 5}, {6, 1}, {3, 3}, {37, 41}};
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        std::uint32_t seed = 1;
        for (const Size& size : sizes) {
            SCOPED_TRACE(std::to_string(size.width) + " x " + std::to_string(size.height));
            const RgbImage picture = randomImage(size.width, size.height, seed++);
            const RgbImage expected = op.slow(picture);
            for (int workers : {1, 2}) {
                setWorkerCount(workers);
                RgbImage out;
                op.fast(picture, out);
                EXPECT_TRUE(SameImage(expected, out)) << workers << " workers";
                RgbImage inPlace = picture;  // the same picture as source and target
                op.fast(inPlace, inPlace);
                EXPECT_TRUE(SameImage(expected, inPlace)) << "in place, " << workers << " workers";
            }
            setWorkerCount(0);
        }
    }
}

TEST(Enhance, PicturesTallerThanTenThousandRows) {
    const RgbImage picture = randomImage(3, 10050, 99);
    for (const Operation& op : operations()) {
        if (op.name != "blur x2" && op.name != "sharpen x1" && op.name != "halftone" &&
            op.name != "saturation 3")
            continue;
        SCOPED_TRACE(op.name);
        setWorkerCount(2);
        RgbImage out;
        op.fast(picture, out);
        EXPECT_TRUE(SameImage(op.slow(picture), out));
    }
    setWorkerCount(0);
}

TEST(Enhance, ContrastAndSaturationSteps) {
    const std::pair<int, int> step[] = {{128, 128}, {200, 205}, {100, 98}, {0, 0}, {255, 255}};
    for (auto [before, after] : step)
        EXPECT_EQ(contrastStep(static_cast<std::uint8_t>(before)), after) << before;
    EXPECT_EQ(contrastStepOpposite(200), 195);
    EXPECT_EQ(contrastStepOpposite(100), 102);
    EXPECT_EQ(contrastStepOpposite(128), 128);

    RgbImage pixel = imageFromRows({{makeColor(200, 100, 50)}});
    saturationSteps(pixel, pixel, 1);
    EXPECT_EQ(pixel.pixel(0, 0), makeColor(209, 97, 41));
}

TEST(Enhance, FilterOnOnePixelUsesTheCentreNineTimes) {
    const RgbImage one = imageFromRows({{makeColor(13, 200, 97)}});
    for (const Kernel3x3& kernel : {kBlurKernel, kSharpenKernel}) {
        RgbImage out;
        filter3x3(one, out, kernel, 5);
        EXPECT_TRUE(SameImage(one, out));
    }
    // A scratch raster handed in, of any size, gives the same passes.
    const RgbImage picture = randomImage(9, 7, 5);
    RgbImage scratch(2, 3);
    RgbImage withScratch;
    RgbImage without;
    filter3x3(picture, withScratch, kSharpenKernel, 4, &scratch);
    filter3x3(picture, without, kSharpenKernel, 4);
    EXPECT_TRUE(SameImage(without, withScratch));
    // Weights that do not sum to the divisor scale the pixel; divisor 0 divides by 1.
    RgbImage out;
    filter3x3(imageFromRows({{makeColor(10, 20, 30)}}), out, Kernel3x3{{0, 0, 0, 0, 2, 0, 0, 0, 0}, 0}, 1);
    EXPECT_EQ(out.pixel(0, 0), makeColor(20, 40, 60));
}

TEST(Enhance, GreyOneLiftsAndWhitens) {
    EXPECT_EQ(greyOf(1, 100, 20, 0), 160);
    EXPECT_EQ(greyOf(1, 0, 0, 160), 255);
    EXPECT_EQ(greyOf(1, 255, 255, 255), 255);
    EXPECT_EQ(greyOf(1, 0, 0, 0), 0);
    EXPECT_EQ(greyOf(1, 0, 3, 0), 5);  // 1.6 x 3 = 4.8 rounds to 5
}

TEST(Enhance, Palettes) {
    const auto& halftone = halftonePalette();
    const std::vector<Pixel> reference = halftoneReference();
    ASSERT_EQ(reference.size(), 256u);
    std::vector<ColorValue> distinct(halftone.begin(), halftone.end());
    std::sort(distinct.begin(), distinct.end());
    EXPECT_EQ(std::unique(distinct.begin(), distinct.end()), distinct.end()) << "every entry differs";
    for (std::size_t i = 0; i < 256; ++i)
        EXPECT_EQ(halftone[i], makeColor(reference[i].r, reference[i].g, reference[i].b)) << i;

    // Ties go to the lower index.
    EXPECT_EQ(nearestSixteenIndex(64, 0, 0), 0);       // black and dark red both 64 away
    EXPECT_EQ(nearestSixteenIndex(160, 160, 160), 7);  // the 128 and 192 greys equally near
    EXPECT_EQ(nearestSixteenIndex(255, 255, 255), 15);
    EXPECT_EQ(nearestHalftoneIndex(14, 14, 14), 217);         // the greys 11 and 17 equally near
    EXPECT_EQ(nearestHalftoneIndex(48, 48, 48), 36 + 6 + 1);  // the cube's 51 before the grey 45
    // A lattice of colours through the whole cube against a search of the whole palette: the
    // shortcut over the cube and the extra greys must agree with it everywhere.
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5)
                ASSERT_EQ(static_cast<std::size_t>(nearestHalftoneIndex(r, g, b)),
                          nearestSlow(reference, {r, g, b}))
                    << r << " " << g << " " << b;
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(static_cast<std::size_t>(nearestHalftoneIndex(v, v, v)), nearestSlow(reference, {v, v, v}))
            << v;
}

}  // namespace
}  // namespace dg
