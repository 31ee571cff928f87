#include "output/Stencil.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/Canvas.h"
#include "imaging/Parallel.h"

namespace dg {

namespace {

inline bool differ(const std::uint8_t* a, const std::uint8_t* b, int t) {
    // Without branches: the three tests are cheap next to a mispredicted jump.
    return (std::abs(a[0] - b[0]) > t) | (std::abs(a[1] - b[1]) > t) | (std::abs(a[2] - b[2]) > t);
}

const std::uint8_t kWhitePixel[3] = {255, 255, 255};

}  // namespace

RgbImage stencilOutline(const RgbImage& picture, int threshold) {
    const std::int32_t width = picture.width();
    const std::int32_t height = picture.height();
    RgbImage out(width, height);
    if (picture.empty()) return out;

    // Whether a pixel differs from one of its four neighbours depends on nothing else, so it
    // is worked out row by row on every core first. Only the last-edge colour makes the
    // column-by-column walk sequential.
    const auto w = static_cast<std::size_t>(width);
    std::vector<std::uint8_t> edge(w * static_cast<std::size_t>(height));
    // The difference test is symmetric, so each pair of neighbours is compared once: a
    // pixel's left test is its left neighbour's right test, and a row's up tests are the row
    // above's down tests.
    forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
        std::vector<std::uint8_t> upTest(w), downTest(w);
        {
            const std::uint8_t* row = picture.row(begin);
            const std::uint8_t* above = begin > 0 ? picture.row(begin - 1) : nullptr;
            for (std::int32_t x = 0; x < width; ++x) {
                upTest[x] = differ(row + 3 * x, above != nullptr ? above + 3 * x : kWhitePixel, threshold);
            }
        }
        for (std::int32_t y = begin; y < end; ++y) {
            const std::uint8_t* row = picture.row(y);
            const std::uint8_t* below = y + 1 < height ? picture.row(y + 1) : nullptr;
            for (std::int32_t x = 0; x < width; ++x) {
                downTest[x] = differ(row + 3 * x, below != nullptr ? below + 3 * x : kWhitePixel, threshold);
            }
            std::uint8_t* flags = edge.data() + w * static_cast<std::size_t>(y);
            bool leftTest = differ(row, kWhitePixel, threshold);
            for (std::int32_t x = 0; x < width; ++x) {
                const std::uint8_t* c = row + 3 * x;
                const bool rightTest = differ(c, x + 1 < width ? c + 3 : kWhitePixel, threshold);
                flags[x] = (leftTest | rightTest | upTest[x] | downTest[x]) ? 1 : 0;
                leftTest = rightTest;
            }
            std::swap(upTest, downTest);
        }
    });

    // An up-edge at (x, y + 1) also colours (x, y) with its own colour; that is the same pixel
    // as the down-edge of (x, y), so a pixel is coloured exactly when it is an edge.
    //
    // The walk goes column by column from the left, each column from the top, and colours a
    // pixel that differs from the last edge met. From a column's first edge on, the last edge
    // comes from that column alone, so that part of every column is walked at once, in strips
    // of columns row by row (the rows of a large picture lie far apart in memory). Only the
    // pixels above each column's first edge wait for the columns on their left.
    constexpr std::int32_t kStrip = 64;
    const std::int32_t strips = (width + kStrip - 1) / kStrip;
    std::vector<std::int32_t> firstEdge(w, height);
    std::vector<const std::uint8_t*> lastEdge(w, nullptr);
    forEachRowBlock(strips, [&](std::int32_t beginStrip, std::int32_t endStrip) {
        for (std::int32_t strip = beginStrip; strip < endStrip; ++strip) {
            const std::int32_t x0 = strip * kStrip;
            const std::int32_t x1 = std::min(width, x0 + kStrip);
            const std::uint8_t* last[kStrip] = {};
            for (std::int32_t y = 0; y < height; ++y) {
                const std::uint8_t* row = picture.row(y);
                std::uint8_t* flags = edge.data() + w * static_cast<std::size_t>(y);
                for (std::int32_t x = x0; x < x1; ++x) {
                    const std::uint8_t*& l = last[x - x0];
                    const std::uint8_t* c = row + 3 * x;
                    if (l == nullptr) {
                        if (flags[x] == 0) continue;
                        firstEdge[static_cast<std::size_t>(x)] = y;
                    } else if (flags[x] == 0 && differ(c, l, threshold)) {
                        flags[x] = 1;
                    }
                    if (flags[x] != 0) l = c;
                }
            }
            for (std::int32_t x = x0; x < x1; ++x) lastEdge[static_cast<std::size_t>(x)] = last[x - x0];
        }
    });
    const std::uint8_t* last = nullptr;
    for (std::int32_t x = 0; x < width; ++x) {
        const std::int32_t first = firstEdge[static_cast<std::size_t>(x)];
        for (std::int32_t y = 0; last != nullptr && y < first; ++y) {
            const std::uint8_t* c = picture.row(y) + 3 * x;
            if (differ(c, last, threshold)) {
                edge[w * static_cast<std::size_t>(y) + static_cast<std::size_t>(x)] = 1;
                last = c;
            }
        }
        if (first < height) last = lastEdge[static_cast<std::size_t>(x)];
    }

    forEachRowBlock(height, [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            const std::uint8_t* in = picture.row(y);
            std::uint8_t* o = out.row(y);
            const std::uint8_t* flags = edge.data() + w * static_cast<std::size_t>(y);
            for (std::int32_t x = 0; x < width; ++x) {
                if (flags[x] != 0) {
                    o[3 * x] = in[3 * x];
                    o[3 * x + 1] = in[3 * x + 1];
                    o[3 * x + 2] = in[3 * x + 2];
                }
            }
        }
    });
    return out;
}

void mirrorLeftRight(RgbImage& picture) {
    const std::int32_t width = picture.width();
    forEachRowBlock(picture.height(), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            std::uint8_t* row = picture.row(y);
            for (std::int32_t a = 0, b = width - 1; a < b; ++a, --b) {
                std::swap_ranges(row + 3 * a, row + 3 * a + 3, row + 3 * b);
            }
        }
    });
}

void blackenStencil(RgbImage& picture) {
    const std::int32_t width = picture.width();
    forEachRowBlock(picture.height(), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            std::uint8_t* p = picture.row(y);
            for (std::int32_t x = 0; x < width; ++x, p += 3) {
                if (p[0] != 255 || p[1] != 255 || p[2] != 255) p[0] = p[1] = p[2] = 0;
            }
        }
    });
}

void invertWhiteChannelMask(RgbImage& mask) {
    const std::int32_t width = mask.width();
    forEachRowBlock(mask.height(), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            std::uint8_t* p = mask.row(y);
            for (std::int32_t x = 0; x < width; ++x, p += 3) {
                if (p[0] != 255 && p[1] != 255 && p[2] != 255) {
                    p[0] = p[1] = p[2] = 255;
                } else if (p[0] == 255 && p[1] == 255 && p[2] == 255) {
                    p[0] = p[1] = p[2] = 0;
                }
            }
        }
    });
}

void drawCornerMarks(RgbImage& picture, int size, int penWidth) {
    if (picture.empty()) return;
    const int w = picture.width();
    const int h = picture.height();
    const int s = size;
    Canvas canvas(picture);
    auto polyline = [&](int x0, int y0, int x1, int y1, int x2, int y2) {
        canvas.line(x0, y0, x1, y1, kBlack, penWidth);
        canvas.line(x1, y1, x2, y2, kBlack, penWidth);
    };
    polyline(0, s, 0, 0, s, 0);
    polyline(0, h - s, 0, h - 1, s, h - 1);
    polyline(w - s, 0, w - 1, 0, w - 1, s);
    polyline(w - s, h - 1, w - 1, h - 1, w - 1, h - s);
}

}  // namespace dg
