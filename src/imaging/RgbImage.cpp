#include "imaging/RgbImage.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "imaging/Failure.h"

namespace dg {

namespace {

// Above this the picture cannot be held on any machine the program runs on; refusing early
// keeps a bogus size (from a damaged file, say) from reaching the allocator at all.
constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{1} << 40;

// Large pictures are laid on 2 MiB boundaries and marked for huge pages: touching a fresh
// picture then costs one page fault per 2 MiB instead of one per 4 KiB, which is most of the
// cost of making a new full-size picture (23 channel masks of a design, say). That pays while
// the kernel has free huge pages to hand out, as it has for pictures of some tens of
// megabytes that come and go. The gigabytes of the largest designs (23 masks of 9600 x 9600
// pixels take 6 GiB) make it compact memory for nearly every huge page, which costs about
// four times the plain faults, so pictures above kHugePageLimit get plain pages.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kHugePageLimit = std::size_t{64} << 20;

RgbImage::Pixels allocatePixels(std::int32_t width, std::int32_t height, std::size_t bytes) {
    if (bytes == 0) return nullptr;
    void* p = nullptr;
    if (bytes >= 2 * kHugePage) {
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        if (::posix_memalign(&p, kHugePage, rounded) != 0) p = nullptr;
#ifdef MADV_HUGEPAGE
        if (p != nullptr && bytes <= kHugePageLimit) ::madvise(p, rounded, MADV_HUGEPAGE);
#endif
    } else {
        p = std::malloc(bytes);
    }
    if (p == nullptr) {
        throw Failure("Not enough memory for a picture of " + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels.");
    }
    return RgbImage::Pixels(static_cast<std::uint8_t*>(p));
}

}  // namespace

void RgbImage::PixelsDeleter::operator()(std::uint8_t* p) const { std::free(p); }

std::size_t RgbImage::strideFor(std::int32_t width) {
    return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
}

RgbImage::RgbImage(std::int32_t width, std::int32_t height) { reset(width, height); }

RgbImage::RgbImage(const RgbImage& other) { *this = other; }

RgbImage& RgbImage::operator=(const RgbImage& other) {
    if (this == &other) return *this;
    // A picture of the same byte size takes the copy in its own memory: fresh memory costs a
    // page fault per page, which for a full-size design is more than the copy itself.
    if (data_ && byteSize() == other.byteSize()) {
        std::memcpy(data_.get(), other.data_.get(), other.byteSize());
    } else {
        auto copy = allocatePixels(other.width_, other.height_, other.byteSize());
        if (copy) std::memcpy(copy.get(), other.data_.get(), other.byteSize());
        data_ = std::move(copy);
    }
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    return *this;
}

RgbImage::RgbImage(RgbImage&& other) noexcept { *this = std::move(other); }

RgbImage& RgbImage::operator=(RgbImage&& other) noexcept {
    if (this == &other) return *this;
    data_ = std::move(other.data_);
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    other.width_ = other.height_ = 0;
    other.stride_ = 0;
    return *this;
}

void RgbImage::resetForOverwrite(std::int32_t width, std::int32_t height) {
    if (width < 0 || height < 0) {
        throw Failure("Invalid picture size " + std::to_string(width) + " x " + std::to_string(height) + ".");
    }
    if (width == 0 || height == 0) {
        // Keep the other dimension: a 0 x H picture is still empty, but a caller asked for it.
        clear();
        width_ = width;
        height_ = height;
        stride_ = strideFor(width);
        return;
    }
    const std::uint64_t bytes =
        static_cast<std::uint64_t>(strideFor(width)) * static_cast<std::uint64_t>(height);
    if (bytes > kMaxPictureBytes) {
        throw Failure("The picture of " + std::to_string(width) + " x " + std::to_string(height) +
                      " pixels is too large to hold in memory.");
    }
    // The memory of a picture of the same byte size is kept (see the copy above).
    if (!data_ || byteSize() != bytes) {
        data_.reset();
        data_ = allocatePixels(width, height, static_cast<std::size_t>(bytes));
    }
    width_ = width;
    height_ = height;
    stride_ = strideFor(width);
}

void RgbImage::reset(std::int32_t width, std::int32_t height) {
    resetForOverwrite(width, height);
    if (data_) std::memset(data_.get(), 0xFF, byteSize());
}

void RgbImage::clear() {
    data_.reset();
    width_ = height_ = 0;
    stride_ = 0;
}

void RgbImage::fill(ColorValue c) {
    if (empty()) return;
    const auto b = static_cast<std::uint8_t>(blueOf(c));
    const auto g = static_cast<std::uint8_t>(greenOf(c));
    const auto r = static_cast<std::uint8_t>(redOf(c));
    if (b == g && g == r) {
        std::memset(data_.get(), b, byteSize());
        return;
    }
    std::uint8_t* first = row(0);
    for (std::int32_t x = 0; x < width_; ++x) {
        first[3 * x] = b;
        first[3 * x + 1] = g;
        first[3 * x + 2] = r;
    }
    for (std::int32_t y = 1; y < height_; ++y) std::memcpy(row(y), first, stride_);
}

bool RgbImage::operator==(const RgbImage& other) const {
    if (width_ != other.width_ || height_ != other.height_) return false;
    if (empty()) return true;
    const std::size_t used = static_cast<std::size_t>(width_) * 3;
    for (std::int32_t y = 0; y < height_; ++y) {
        if (std::memcmp(row(y), other.row(y), used) != 0) return false;
    }
    return true;
}

}  // namespace dg
