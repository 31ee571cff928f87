#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/Color.h"

namespace dg {

// A 24-bit raster: rows of blue, green, red bytes, top row first, each row padded to a
// multiple of 4 bytes (the layout of a BMP file and of a Windows DIB). 0 x 0 is a valid,
// empty picture. New pixels are white.
class RgbImage {
public:
    RgbImage() = default;
    RgbImage(std::int32_t width, std::int32_t height);  // white
    RgbImage(const RgbImage& other);
    RgbImage& operator=(const RgbImage& other);
    RgbImage(RgbImage&& other) noexcept;
    RgbImage& operator=(RgbImage&& other) noexcept;
    ~RgbImage() = default;

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    // Bytes from one row to the next (3 * width rounded up to a multiple of 4).
    std::size_t stride() const { return stride_; }
    std::size_t byteSize() const { return stride_ * static_cast<std::size_t>(height_); }

    std::uint8_t* row(std::int32_t y) { return data_.get() + stride_ * static_cast<std::size_t>(y); }
    const std::uint8_t* row(std::int32_t y) const {
        return data_.get() + stride_ * static_cast<std::size_t>(y);
    }
    std::uint8_t* data() { return data_.get(); }
    const std::uint8_t* data() const { return data_.get(); }

    // Single-pixel access, for the places that read or write one pixel at a time.
    ColorValue pixel(std::int32_t x, std::int32_t y) const {
        const std::uint8_t* p = row(y) + 3 * static_cast<std::size_t>(x);
        return makeColor(p[2], p[1], p[0]);
    }
    void setPixel(std::int32_t x, std::int32_t y, ColorValue c) {
        std::uint8_t* p = row(y) + 3 * static_cast<std::size_t>(x);
        p[0] = static_cast<std::uint8_t>(blueOf(c));
        p[1] = static_cast<std::uint8_t>(greenOf(c));
        p[2] = static_cast<std::uint8_t>(redOf(c));
    }
    bool contains(std::int32_t x, std::int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }

    // Gives the picture a new size; every pixel becomes white. Memory of the same byte size
    // is kept rather than given back and taken anew (so is it by a copy assignment).
    void reset(std::int32_t width, std::int32_t height);
    // Gives the picture a new size with undefined pixels, for a pass that writes every row in
    // full right after: it saves clearing memory that is overwritten anyway.
    void resetForOverwrite(std::int32_t width, std::int32_t height);
    // Empties the picture (0 x 0) and gives its memory back.
    void clear();
    void fill(ColorValue c);

    // Same size and the same pixels (padding bytes are not compared).
    bool operator==(const RgbImage& other) const;

    static std::size_t strideFor(std::int32_t width);

    // Frees pixel memory from the picture allocator.
    struct PixelsDeleter {
        void operator()(std::uint8_t* p) const;
    };
    using Pixels = std::unique_ptr<std::uint8_t[], PixelsDeleter>;

private:
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::size_t stride_ = 0;
    Pixels data_;
};

}  // namespace dg
