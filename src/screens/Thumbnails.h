#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "imaging/RgbImage.h"
#include "separation/ChannelModel.h"

namespace dg {

class SeparationClassifier;

// The small pictures the working screens show in their frames and tiles. A thumbnail is the
// picture fitted into a frame with its proportions kept, each thumbnail pixel the picture
// pixel under its centre (nothing averaged), so a flat design stays flat and a thumbnail can
// be made without the full picture wherever its pixels can be told one by one.
struct ThumbnailSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const ThumbnailSize&) const = default;
};

// The largest size with the picture's proportions that fits the frame; 0 x 0 for an empty
// picture, at least 1 x 1 otherwise.
ThumbnailSize fitInFrame(std::int32_t width, std::int32_t height, std::int32_t frameWidth,
                         std::int32_t frameHeight);

// For each of `count` thumbnail columns (or rows), the picture column (or row) sampled.
std::vector<std::int32_t> samplePositions(std::int32_t pictureLength, std::int32_t count);

// The picture fitted into the frame; empty for an empty picture.
RgbImage thumbnail(const RgbImage& picture, std::int32_t frameWidth, std::int32_t frameHeight);

// The thumbnails of the 23 separation masks, made from the classification of the sampled
// source pixels alone: each equals thumbnail(separationMask(source, classifier, k), ...),
// and is empty where the channel counted no pixel (counts indexed 0..22).
std::array<RgbImage, kChannelCount> separationMaskThumbnails(
    const RgbImage& source, const SeparationClassifier& classifier,
    const std::array<std::int64_t, kChannelCount>& counts, std::int32_t frameWidth, std::int32_t frameHeight);

}  // namespace dg
