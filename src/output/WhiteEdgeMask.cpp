#include "output/WhiteEdgeMask.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "imaging/Parallel.h"

namespace dg {

namespace {

constexpr std::uint8_t kKeyB = blueOf(kClearKey), kKeyG = greenOf(kClearKey), kKeyR = redOf(kClearKey);

void whitenNearWhite(RgbImage& picture, int depth) {
    const int limit = 254 - depth;  // a component above this counts as white
    const std::int32_t width = picture.width();
    forEachRowBlock(picture.height(), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            std::uint8_t* p = picture.row(y);
            for (std::int32_t x = 0; x < width; ++x, p += 3) {
                if (p[0] == kKeyB && p[1] == kKeyG && p[2] == kKeyR) {
                    p[0] = blueOf(kClearKeyStandIn);
                    p[1] = greenOf(kClearKeyStandIn);
                    p[2] = redOf(kClearKeyStandIn);
                }
                if (p[0] > limit && p[1] > limit && p[2] > limit) p[0] = p[1] = p[2] = 255;
            }
        }
    });
}

inline bool isWhite(const std::uint8_t* p) { return p[0] == 255 && p[1] == 255 && p[2] == 255; }

inline void paintKey(std::uint8_t* p) {
    p[0] = kKeyB;
    p[1] = kKeyG;
    p[2] = kKeyR;
}

struct Seed {
    std::int32_t x, y;
};

// Span fill: a painted pixel is no longer white, so the picture itself records what has been
// visited and the stack of seeds lives on the heap.
void fillFrom(RgbImage& picture, std::vector<Seed>& stack) {
    const std::int32_t width = picture.width();
    const std::int32_t height = picture.height();
    while (!stack.empty()) {
        const Seed seed = stack.back();
        stack.pop_back();
        std::uint8_t* row = picture.row(seed.y);
        if (!isWhite(row + 3 * seed.x)) continue;
        std::int32_t left = seed.x;
        while (left > 0 && isWhite(row + 3 * (left - 1))) --left;
        std::int32_t right = seed.x;
        while (right + 1 < width && isWhite(row + 3 * (right + 1))) ++right;
        for (std::int32_t x = left; x <= right; ++x) paintKey(row + 3 * x);
        for (const std::int32_t ny : {seed.y - 1, seed.y + 1}) {
            if (ny < 0 || ny >= height) continue;
            const std::uint8_t* other = picture.row(ny);
            bool inRun = false;
            for (std::int32_t x = left; x <= right; ++x) {
                const bool white = isWhite(other + 3 * x);
                if (white && !inRun) stack.push_back(Seed{x, ny});
                inRun = white;
            }
        }
    }
}

}  // namespace

void whiteEdgeMask(RgbImage& picture, int depth) {
    if (picture.empty()) return;
    whitenNearWhite(picture, std::clamp(depth, kMinDepth, kMaxDepth));

    // Filling from (5, 5) of a picture inside a 10-pixel white frame reaches exactly the white
    // pixels connected to the picture's border, since the frame joins every white border
    // pixel. Seeding from the border gives the same pixels without a framed copy, which would
    // cost another 277 MB on the largest output.
    const std::int32_t width = picture.width();
    const std::int32_t height = picture.height();
    std::vector<Seed> stack;
    auto seedIfWhite = [&](std::int32_t x, std::int32_t y) {
        if (isWhite(picture.row(y) + 3 * x)) {
            stack.push_back(Seed{x, y});
            fillFrom(picture, stack);
        }
    };
    for (std::int32_t x = 0; x < width; ++x) {
        seedIfWhite(x, 0);
        seedIfWhite(x, height - 1);
    }
    for (std::int32_t y = 0; y < height; ++y) {
        seedIfWhite(0, y);
        seedIfWhite(width - 1, y);
    }
}

}  // namespace dg
