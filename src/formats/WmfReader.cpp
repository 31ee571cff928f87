#include "formats/WmfReader.h"

#include <cmath>
#include <string>

#include "formats/ByteOrder.h"
#include "formats/MagickReader.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

// A metafile is an optional placeable header (22 bytes: key 0x9AC6CDD7, handle, the frame as
// four signed 16-bit values, units per inch, reserved, checksum), then the metafile header
// (18 bytes: type 1 or 2, header size 9 words, version, size in words, object count, largest
// record, 0), then records of a 32-bit size in 16-bit words and a 16-bit function, ending
// with function 0.

namespace dg {

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kHeaderSize = 18;
constexpr int kPixelsPerInch = 96;

[[noreturn]] void damaged(const std::string& what) { throw Failure("Damaged metafile: " + what + "."); }

std::int32_t signed16(const std::uint8_t* p) { return static_cast<std::int16_t>(bytes::le16(p)); }

}  // namespace

RgbImage decodeWmf(const std::uint8_t* data, std::size_t size) {
    if (size == 0) throw Failure("The WMF file is empty.");
    std::size_t at = 0;
    if (size >= 4 && bytes::le32(data) == kPlaceableKey) {
        if (size < kPlaceableSize) damaged("the header is cut short");
        const std::int64_t width = signed16(data + 10) - signed16(data + 6);
        const std::int64_t height = signed16(data + 12) - signed16(data + 8);
        const std::int64_t unitsPerInch = bytes::le16(data + 14);
        if (width <= 0 || height <= 0) damaged("the picture frame is empty");
        if (unitsPerInch == 0) damaged("the picture frame has no scale");
        // Refuse an absurd frame with our own message before the library sizes anything by it.
        checkPictureSize(static_cast<std::int64_t>(std::ceil(static_cast<double>(width) * kPixelsPerInch /
                                                             static_cast<double>(unitsPerInch))),
                         static_cast<std::int64_t>(std::ceil(static_cast<double>(height) * kPixelsPerInch /
                                                             static_cast<double>(unitsPerInch))));
        at = kPlaceableSize;
    }
    if (size - at < kHeaderSize) damaged("the header is cut short");
    const std::uint32_t type = bytes::le16(data + at);
    if ((type != 1 && type != 2) || bytes::le16(data + at + 2) != 9) throw Failure("Not a Windows metafile.");
    at += kHeaderSize;
    while (true) {
        if (size - at < 6) damaged("the records are cut short");
        const std::uint64_t length = std::uint64_t{bytes::le32(data + at)} * 2;
        const std::uint32_t function = bytes::le16(data + at + 4);
        if (length < 6) damaged("a record has a bad size");
        if (length > size - at) damaged("the records are cut short");
        at += static_cast<std::size_t>(length);
        if (function == 0) break;
    }

    MagickRequest request;
    request.magick = "WMF";
    request.density = kPixelsPerInch;
    return decodeWithMagick(data, at, request);
}

}  // namespace dg
