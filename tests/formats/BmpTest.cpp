#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "formats/Bmp.h"
#include "imaging/Failure.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

TEST(Bmp, WritesAStandard24BitFile) {
    RgbImage picture = test::imageFromRows(
        {{makeColor(255, 0, 0), makeColor(0, 255, 0)}, {makeColor(0, 0, 255), makeColor(1, 2, 3)}});
    const auto file = encodeBmp(picture);
    ASSERT_EQ(file.size(), 14u + 40u + 2u * 8u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[10], 54);  // pixel data right after the headers
    EXPECT_EQ(file[28], 24);  // bits per pixel
    EXPECT_EQ(file[30], 0);   // no compression
    // Bottom row first, blue green red, rows padded with zeros.
    const std::uint8_t firstRow[8] = {255, 0, 0, 3, 2, 1, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(file[54 + i], firstRow[i]) << i;
}

TEST(Bmp, ResolutionIsWrittenAsPixelsPerMetre) {
    const std::pair<std::int32_t, std::uint32_t> cases[] = {
        {0, 0}, {-5, 0}, {70, 2756}, {96, 3780}, {100, 3937}, {160, 6299}, {300, 11811}, {600, 23622}};
    for (const auto& [dpi, ppm] : cases) {
        SCOPED_TRACE(dpi);
        const auto file = encodeBmp(RgbImage(1, 1), dpi);
        for (std::size_t at : {38u, 42u})
            EXPECT_EQ(file[at] | file[at + 1] << 8 | file[at + 2] << 16 | std::uint32_t{file[at + 3]} << 24,
                      ppm);
    }
}

TEST(Bmp, RoundTripsEveryWidthModFour) {
    for (int width : {1, 2, 3, 4, 5, 17}) {
        RgbImage picture = test::randomImage(width, 3, static_cast<std::uint32_t>(width));
        EXPECT_TRUE(test::SameImage(picture, decodeBmp24(encodeBmp(picture)))) << width;
    }
    RgbImage empty;
    EXPECT_TRUE(decodeBmp24(encodeBmp(empty)).empty());
}

// The pieces a large file is written from are the encoded file, byte for byte, padding
// included, even where the picture's own padding bytes are not zero.
TEST(Bmp, PiecesJoinToTheEncodedFile) {
    for (const auto& [width, height] : {std::pair{1, 3}, {2, 2}, {3, 1}, {4, 2}, {5, 4}, {0, 2}, {2, 0}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        RgbImage picture = test::randomImage(width, height, static_cast<std::uint32_t>(width + 7 * height));
        for (std::int32_t y = 0; y < height; ++y)
            for (std::size_t i = 3 * static_cast<std::size_t>(width); i < picture.stride(); ++i)
                picture.row(y)[i] = 0xAB;
        BmpHeader header;
        std::vector<std::uint8_t> joined;
        for (const auto piece : bmpPieces(picture, 160, header))
            joined.insert(joined.end(), piece.begin(), piece.end());
        EXPECT_EQ(joined, encodeBmp(picture, 160));
    }
}

// A header may say 0 pixels wide with rows; such a file reads as a picture with no pixels.
TEST(Bmp, ZeroWideBitmapReadsWithoutTouchingMemory) {
    std::vector<std::uint8_t> file = encodeBmp(RgbImage(1, 1));
    file[18] = 0;    // width 0
    file[22] = 249;  // height 249
    const RgbImage picture = decodeBmp24(file);
    EXPECT_EQ(picture.width(), 0);
}

TEST(Bmp, DamagedFilesFailCleanly) {
    auto file = encodeBmp(test::randomImage(4, 4, 1));
    for (std::size_t cut : {std::size_t{0}, std::size_t{10}, std::size_t{53}, file.size() - 20}) {
        std::vector<std::uint8_t> shorter(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(decodeBmp24(shorter), Failure) << cut;
    }
    file[22] = 0xFF;  // a height near 2^31
    file[23] = 0x7F;
    file[24] = 0;
    file[25] = 0;
    EXPECT_THROW(decodeBmp24(file), Failure);
}

}  // namespace
}  // namespace dg
