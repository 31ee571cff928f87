#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "imaging/RgbImage.h"

namespace dg {

// A raster of 4 bytes per pixel (blue, green, red, fourth byte), rows without padding, top
// row first: the layout the effects engine scans. New pixels are 0 in all four bytes.
class Bitmap32 {
public:
    Bitmap32() = default;
    Bitmap32(std::int32_t width, std::int32_t height);
    Bitmap32(const Bitmap32& other);
    Bitmap32& operator=(const Bitmap32& other);
    Bitmap32(Bitmap32&&) noexcept = default;
    Bitmap32& operator=(Bitmap32&&) noexcept = default;
    ~Bitmap32() = default;

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    // Bytes of one row: width * 4.
    std::int32_t rowBytes() const { return width_ * 4; }

    std::uint8_t* row(std::int32_t y) { return data_.get() + static_cast<std::size_t>(rowBytes()) * y; }
    const std::uint8_t* row(std::int32_t y) const {
        return data_.get() + static_cast<std::size_t>(rowBytes()) * y;
    }

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::unique_ptr<std::uint8_t[]> data_;
};

// A 24-bit picture at 32 bits per pixel: the fourth byte of every pixel is 0.
Bitmap32 toBitmap32(const RgbImage& picture);
// Back to 24 bits: blue, green and red are kept, the fourth byte is dropped.
RgbImage toRgbImage(const Bitmap32& bitmap);

// The four bytes of the pixel under the scan, blue, green, red, fourth.
struct TPixelRef {
    std::array<std::uint8_t*, 4> bytes;
    std::uint8_t& blue() const { return *bytes[0]; }
    std::uint8_t& green() const { return *bytes[1]; }
    std::uint8_t& red() const { return *bytes[2]; }
    std::uint8_t& fourth() const { return *bytes[3]; }
};

// The per-pixel routine of a scan. HorzIndex counts bytes within the row (4 per pixel),
// VertIndex rows; the routine may change either to move the scan, and may clear Continue to
// stop it.
using TScanEvent = std::function<void(const TPixelRef& PixelRef, std::int32_t& HorzIndex,
                                      std::int32_t& VertIndex, void* Data, bool& Continue)>;

// The scan engine: walks a bitmap pixel by pixel and hands every pixel to OnScan, only where
// the mask allows when Masked is set.
class TCustomEffects {
public:
    static constexpr std::int32_t kBytesPerPixel = 4;
    // A pixel is processed in a masked scan only where the mask's four bytes are all this.
    static constexpr std::uint8_t kMaskKey = 255;

    bool Masked = false;
    // The component's own mask, used when a scan is given none.
    Bitmap32 MaskBitmap;
    TScanEvent OnScan;

    // False for an empty bitmap, else True (also when the routine stopped the scan early).
    // Without a routine only the first pixel is visited. A mask (the given one, or else
    // MaskBitmap) takes effect only when Masked is set; the component's own mask is ignored
    // when it is smaller than the bitmap, and a given mask that is too small is replaced by
    // the component's mask stretched to the bitmap's size (none when that is empty too).
    bool Scan(Bitmap32& bitmap, void* Data, const Bitmap32* mask = nullptr);
};

// What Posterize makes of each byte value at a level: v becomes clamp(round(v / L) * L, 0, 255),
// rounded half to even, with L the level or 1 for level 0. Posterize changes every byte on its
// own, so looking a picture's bytes up in this table gives its result without a scan.
std::array<std::uint8_t, 256> posterizeTable(std::int32_t level);

class TEffects : public TCustomEffects {
public:
    // Every byte v of every pixel (all four) becomes clamp(round(v / L) * L, 0, 255), rounded
    // half to even, with L the level or 1 for level 0. The handler in OnScan is put back
    // afterwards, also when the scan fails. The result is the scan's.
    bool Posterize(Bitmap32& bitmap, std::int32_t level);
};

}  // namespace dg
