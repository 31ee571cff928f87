#include "screens/Thumbnails.h"

#include <algorithm>
#include <cstring>

#include "separation/Separation.h"

namespace dg {

ThumbnailSize fitInFrame(std::int32_t width, std::int32_t height, std::int32_t frameWidth,
                         std::int32_t frameHeight) {
    if (width <= 0 || height <= 0 || frameWidth <= 0 || frameHeight <= 0) return {};
    const std::int64_t w = width, h = height, fw = frameWidth, fh = frameHeight;
    ThumbnailSize size;
    if (w * fh >= h * fw) {  // wider than the frame: the width fills it
        size.width = frameWidth;
        size.height = static_cast<std::int32_t>(std::clamp<std::int64_t>((h * fw + w / 2) / w, 1, fh));
    } else {
        size.height = frameHeight;
        size.width = static_cast<std::int32_t>(std::clamp<std::int64_t>((w * fh + h / 2) / h, 1, fw));
    }
    return size;
}

std::vector<std::int32_t> samplePositions(std::int32_t pictureLength, std::int32_t count) {
    std::vector<std::int32_t> positions(static_cast<std::size_t>(std::max(count, 0)));
    for (std::int32_t i = 0; i < count; ++i) {
        // The centre of thumbnail pixel i, (i + 1/2) * length / count, in integers.
        positions[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(
            (2 * static_cast<std::int64_t>(i) + 1) * pictureLength / (2 * static_cast<std::int64_t>(count)));
    }
    return positions;
}

RgbImage thumbnail(const RgbImage& picture, std::int32_t frameWidth, std::int32_t frameHeight) {
    const ThumbnailSize size = fitInFrame(picture.width(), picture.height(), frameWidth, frameHeight);
    RgbImage thumb;
    if (size.width == 0) return thumb;
    thumb.resetForOverwrite(size.width, size.height);
    const auto xs = samplePositions(picture.width(), size.width);
    const auto ys = samplePositions(picture.height(), size.height);
    for (std::int32_t y = 0; y < size.height; ++y) {
        const std::uint8_t* s = picture.row(ys[static_cast<std::size_t>(y)]);
        std::uint8_t* d = thumb.row(y);
        for (std::int32_t x = 0; x < size.width; ++x)
            std::memcpy(d + 3 * static_cast<std::size_t>(x),
                        s + 3 * static_cast<std::size_t>(xs[static_cast<std::size_t>(x)]), 3);
    }
    return thumb;
}

std::array<RgbImage, kChannelCount> separationMaskThumbnails(
    const RgbImage& source, const SeparationClassifier& classifier,
    const std::array<std::int64_t, kChannelCount>& counts, std::int32_t frameWidth,
    std::int32_t frameHeight) {
    std::array<RgbImage, kChannelCount> thumbs;
    const ThumbnailSize size = fitInFrame(source.width(), source.height(), frameWidth, frameHeight);
    if (size.width == 0) return thumbs;
    for (std::size_t k = 0; k < kChannelCount; ++k) {
        if (counts[k] == 0) continue;
        thumbs[k].reset(size.width, size.height);
        if (k == 0) thumbs[k].fill(kBlack);  // the white channel's mask is on black
    }
    const auto xs = samplePositions(source.width(), size.width);
    const auto ys = samplePositions(source.height(), size.height);
    const SeparationClassifier::Lookup lookup = classifier.lookup();
    for (std::int32_t y = 0; y < size.height; ++y) {
        const std::uint8_t* s = source.row(ys[static_cast<std::size_t>(y)]);
        for (std::int32_t x = 0; x < size.width; ++x) {
            const std::uint8_t* p = s + 3 * static_cast<std::size_t>(xs[static_cast<std::size_t>(x)]);
            // 0: a pixel the masks leave at their background.
            const int ch = lookup.channel(p[0], p[1], p[2]);
            if (ch == 0) continue;
            RgbImage& thumb = thumbs[static_cast<std::size_t>(ch - 1)];
            if (thumb.empty()) continue;
            std::memcpy(thumb.row(y) + 3 * static_cast<std::size_t>(x), p, 3);
        }
    }
    return thumbs;
}

}  // namespace dg
