#include "imaging/Effects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "imaging/Failure.h"
#include "imaging/Numbers.h"

namespace dg {

namespace {

std::unique_ptr<std::uint8_t[]> allocateBitmap(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0 || width > std::numeric_limits<std::int32_t>::max() / 4) {
        throw Failure("Invalid picture size " + std::to_string(width) + " x " + std::to_string(height) + ".");
    }
    const std::size_t bytes =
        std::size_t{4} * static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (bytes == 0) return nullptr;
    auto* p = new (std::nothrow) std::uint8_t[bytes]();
    if (p == nullptr) {
        throw Failure("Not enough memory for a picture of " + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels.");
    }
    return std::unique_ptr<std::uint8_t[]>(p);
}

// Nearest-neighbour copy of a mask at another size.
Bitmap32 stretchedMask(const Bitmap32& mask, std::int32_t width, std::int32_t height) {
    Bitmap32 out(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* src =
            mask.row(static_cast<std::int32_t>(static_cast<std::int64_t>(y) * mask.height() / height));
        std::uint8_t* dst = out.row(y);
        for (std::int32_t x = 0; x < width; ++x) {
            const auto sx = static_cast<std::int32_t>(static_cast<std::int64_t>(x) * mask.width() / width);
            std::memcpy(dst + 4 * static_cast<std::size_t>(x), src + 4 * static_cast<std::size_t>(sx), 4);
        }
    }
    return out;
}

bool covers(const Bitmap32& mask, const Bitmap32& bitmap) {
    return mask.width() >= bitmap.width() && mask.height() >= bitmap.height();
}

struct PosterizeData {
    std::int32_t level;
    std::array<std::uint8_t, 256> table;
};

void posterizePixel(const TPixelRef& pixel, std::int32_t&, std::int32_t&, void* data, bool&) {
    const auto& table = static_cast<const PosterizeData*>(data)->table;
    for (std::uint8_t* byte : pixel.bytes) *byte = table[*byte];
}

}  // namespace

Bitmap32::Bitmap32(std::int32_t width, std::int32_t height)
    : width_(width), height_(height), data_(allocateBitmap(width, height)) {}

Bitmap32::Bitmap32(const Bitmap32& other) { *this = other; }

Bitmap32& Bitmap32::operator=(const Bitmap32& other) {
    if (this == &other) return *this;
    auto copy = allocateBitmap(other.width_, other.height_);
    if (copy) {
        std::memcpy(copy.get(), other.data_.get(),
                    static_cast<std::size_t>(other.rowBytes()) * static_cast<std::size_t>(other.height_));
    }
    data_ = std::move(copy);
    width_ = other.width_;
    height_ = other.height_;
    return *this;
}

Bitmap32 toBitmap32(const RgbImage& picture) {
    Bitmap32 out(picture.width(), picture.height());
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        const std::uint8_t* src = picture.row(y);
        std::uint8_t* dst = out.row(y);
        for (std::int32_t x = 0; x < picture.width(); ++x, src += 3, dst += 4) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    return out;
}

RgbImage toRgbImage(const Bitmap32& bitmap) {
    RgbImage out(bitmap.width(), bitmap.height());
    for (std::int32_t y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* src = bitmap.row(y);
        std::uint8_t* dst = out.row(y);
        for (std::int32_t x = 0; x < bitmap.width(); ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    return out;
}

bool TCustomEffects::Scan(Bitmap32& bitmap, void* Data, const Bitmap32* mask) {
    if (bitmap.empty()) return false;

    const Bitmap32* useMask = nullptr;
    Bitmap32 rebuilt;
    if (Masked) {
        if (mask != nullptr && !mask->empty()) {
            if (covers(*mask, bitmap)) {
                useMask = mask;
            } else if (!MaskBitmap.empty()) {
                rebuilt = stretchedMask(MaskBitmap, bitmap.width(), bitmap.height());
                useMask = &rebuilt;
            }
        } else if (!MaskBitmap.empty() && covers(MaskBitmap, bitmap)) {
            useMask = &MaskBitmap;
        }
    }

    const std::int32_t height = bitmap.height();
    const std::int32_t rowLength = bitmap.rowBytes();
    std::int32_t VertIndex = 0;
    while (VertIndex < height) {
        std::uint8_t* row = bitmap.row(VertIndex);
        const std::uint8_t* maskRow = useMask ? useMask->row(VertIndex) : nullptr;
        std::int32_t HorzIndex = 0;
        // A routine may move HorzIndex to any byte; a pixel needs its four bytes on the row.
        while (HorzIndex <= rowLength - kBytesPerPixel) {
            bool Continue = true;
            const bool allowed =
                maskRow == nullptr || std::all_of(maskRow + HorzIndex, maskRow + HorzIndex + kBytesPerPixel,
                                                  [](std::uint8_t b) { return b == kMaskKey; });
            if (allowed) {
                std::uint8_t* p = row + HorzIndex;
                const TPixelRef pixel{{p, p + 1, p + 2, p + 3}};
                const std::int32_t horzBefore = HorzIndex;
                const std::int32_t vertBefore = VertIndex;
                if (OnScan) {
                    OnScan(pixel, HorzIndex, VertIndex, Data, Continue);
                } else {
                    Continue = false;
                }
                if (!Continue) return true;
                if (HorzIndex != horzBefore || VertIndex != vertBefore) {
                    if (VertIndex >= height) return true;
                    // Indices before the start would leave the bitmap; they start the row instead.
                    VertIndex = std::max(VertIndex, 0);
                    HorzIndex = std::max(HorzIndex, 0);
                    row = bitmap.row(VertIndex);
                    maskRow = useMask ? useMask->row(VertIndex) : nullptr;
                    continue;
                }
            }
            HorzIndex += kBytesPerPixel;
        }
        ++VertIndex;
    }
    return true;
}

std::array<std::uint8_t, 256> posterizeTable(std::int32_t level) {
    if (level == 0) level = 1;
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) {
        const std::int64_t q = roundHalfEven(static_cast<double>(v) / static_cast<double>(level));
        table[static_cast<std::size_t>(v)] =
            static_cast<std::uint8_t>(std::clamp<std::int64_t>(q * level, 0, 255));
    }
    return table;
}

bool TEffects::Posterize(Bitmap32& bitmap, std::int32_t level) {
    // One division and one rounding per byte value, done once for all pixels.
    PosterizeData data{level == 0 ? 1 : level, posterizeTable(level)};
    struct RestoreHandler {
        TScanEvent& slot;
        TScanEvent kept;
        ~RestoreHandler() { slot = std::move(kept); }
    } restore{OnScan, std::move(OnScan)};
    OnScan = posterizePixel;
    return Scan(bitmap, &data);
}

}  // namespace dg
