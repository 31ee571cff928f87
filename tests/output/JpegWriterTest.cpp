#include <gtest/gtest.h>
#include <jpeglib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "formats/JpegWriter.h"
#include "imaging/Failure.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

// The marker segments of a JPEG file up to the start of the scan.
std::vector<std::uint8_t> markers(const std::vector<std::uint8_t>& file) {
    std::vector<std::uint8_t> found;
    std::size_t i = 2;
    while (i + 4 <= file.size() && file[i] == 0xFF) {
        const std::uint8_t marker = file[i + 1];
        found.push_back(marker);
        if (marker == 0xDA) break;
        i += 2 + (static_cast<std::size_t>(file[i + 2]) << 8 | file[i + 3]);
    }
    return found;
}

RgbImage decode(const std::vector<std::uint8_t>& file) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, file.data(), file.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    RgbImage picture(static_cast<std::int32_t>(info.output_width),
                     static_cast<std::int32_t>(info.output_height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.row(static_cast<std::int32_t>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return picture;
}

TEST(JpegWriter, BaselineColourQuality90) {
    RgbImage picture(64, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixel(x, y, x < 32 ? makeColor(200, 30, 40) : makeColor(20, 90, 220));
    const std::vector<std::uint8_t> file = encodeJpeg(picture);
    ASSERT_GT(file.size(), 4u);
    EXPECT_EQ(file[0], 0xFF);
    EXPECT_EQ(file[1], 0xD8);
    const std::vector<std::uint8_t> found = markers(file);
    EXPECT_NE(std::find(found.begin(), found.end(), 0xC0), found.end());  // baseline frame
    EXPECT_EQ(std::find(found.begin(), found.end(), 0xC2), found.end());  // not progressive

    // Quality 90 scales the standard luminance table by 20 %: its first entry 16 becomes 3.
    std::size_t dqt = 2;
    while (!(file[dqt] == 0xFF && file[dqt + 1] == 0xDB)) ++dqt;
    EXPECT_EQ(file[dqt + 4], 0);  // table 0, 8-bit
    EXPECT_EQ(file[dqt + 5], 3);

    const RgbImage back = decode(file);
    ASSERT_EQ(back.width(), 64);
    ASSERT_EQ(back.height(), 40);
    for (const auto& [x, y] : {std::pair{5, 5}, {50, 30}}) {
        const ColorValue a = picture.pixel(x, y), b = back.pixel(x, y);
        EXPECT_NEAR(redOf(a), redOf(b), 4);
        EXPECT_NEAR(greenOf(a), greenOf(b), 4);
        EXPECT_NEAR(blueOf(a), blueOf(b), 4);
    }
    EXPECT_EQ(file, encodeJpeg(picture));
}

TEST(JpegWriter, AnEmptyPictureIsRefused) { EXPECT_THROW(encodeJpeg(RgbImage()), Failure); }

}  // namespace
}  // namespace dg
