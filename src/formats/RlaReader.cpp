#include "formats/RlaReader.h"

#include <string>
#include <vector>

#include "formats/AlphaOverWhite.h"
#include "formats/ByteOrder.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

namespace dg {

namespace {

constexpr std::size_t kHeaderSize = 740;

[[noreturn]] void damaged(const char* what) { throw Failure(std::string("Damaged RLA file: ") + what + "."); }

// One channel of one scan line: a signed count byte, negative for that many literal bytes,
// otherwise a run of count + 1 copies of the next byte.
void decodeChannel(const std::uint8_t* p, std::size_t length, std::uint8_t* out, std::size_t width) {
    std::size_t at = 0;
    std::size_t x = 0;
    while (x < width) {
        if (at >= length) damaged("a scan line is cut short");
        const auto count = static_cast<std::int8_t>(p[at++]);
        if (count < 0) {
            const std::size_t n = static_cast<std::size_t>(-count);
            if (n > length - at || n > width - x) damaged("a scan line is too long");
            for (std::size_t i = 0; i < n; ++i) out[x++] = p[at++];
        } else {
            const std::size_t n = static_cast<std::size_t>(count) + 1;
            if (at >= length || n > width - x) damaged("a scan line is too long");
            const std::uint8_t value = p[at++];
            for (std::size_t i = 0; i < n; ++i) out[x++] = value;
        }
    }
}

}  // namespace

RgbImage decodeRla(const std::uint8_t* data, std::size_t size) {
    using bytes::be16;
    using bytes::be32;
    if (size == 0) throw Failure("The RLA file is empty.");
    if (size < kHeaderSize) damaged("the header is cut short");
    const auto s16 = [&](std::size_t at) { return std::int64_t{static_cast<std::int16_t>(be16(data + at))}; };
    const std::int64_t width = s16(10) - s16(8) + 1;
    const std::int64_t height = s16(14) - s16(12) + 1;
    checkPictureSize(width, height);
    if (be16(data + 18) != 0) throw Failure("Only RLA files of 8-bit channels are supported.");
    std::size_t channels = be16(data + 20);
    if (channels == 0) channels = 3;
    const std::size_t mattes = be16(data + 22);
    if (channels > 3 || mattes > 1) damaged("unsupported channels");
    const auto w = static_cast<std::int32_t>(width);
    const auto h = static_cast<std::int32_t>(height);
    if ((size - kHeaderSize) / 4 < static_cast<std::size_t>(h)) damaged("the scan line table is cut short");
    RgbImage picture(w, h);
    std::vector<std::uint8_t> planes(4 * static_cast<std::size_t>(w), 255);
    for (std::int32_t line = 0; line < h; ++line) {
        std::size_t at = be32(data + kHeaderSize + 4 * static_cast<std::size_t>(line));
        for (std::size_t c = 0; c < channels + mattes; ++c) {
            if (at > size || size - at < 2) damaged("a scan line lies outside the file");
            const std::size_t length = be16(data + at);
            at += 2;
            if (length > size - at) damaged("a scan line is cut short");
            const std::size_t plane = c < channels ? c : 3;
            decodeChannel(data + at, length, planes.data() + plane * static_cast<std::size_t>(w),
                          static_cast<std::size_t>(w));
            at += length;
        }
        // Scan lines are stored bottom first; channels are red, green, blue (or one grey).
        std::uint8_t* out = picture.row(h - 1 - line);
        const std::uint8_t* red = planes.data();
        const std::uint8_t* green = channels == 3 ? red + w : red;
        const std::uint8_t* blue = channels == 3 ? red + 2 * static_cast<std::size_t>(w) : red;
        const std::uint8_t* matte = planes.data() + 3 * static_cast<std::size_t>(w);
        for (std::int32_t x = 0; x < w; ++x, out += 3) {
            const unsigned a = mattes != 0 ? matte[x] : 255;
            out[0] = overWhite(blue[x], a);
            out[1] = overWhite(green[x], a);
            out[2] = overWhite(red[x], a);
        }
    }
    return picture;
}

}  // namespace dg
