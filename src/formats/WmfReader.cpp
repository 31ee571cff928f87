#include "formats/WmfReader.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

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

void put16(std::vector<std::uint8_t>& out, std::int32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void record(std::vector<std::uint8_t>& out, std::uint32_t function,
            std::initializer_list<std::int32_t> params) {
    const auto words = static_cast<std::int32_t>(3 + params.size());
    put16(out, words);
    put16(out, words >> 16);
    put16(out, static_cast<std::int32_t>(function));
    for (std::int32_t p : params) put16(out, p);
}

// The drawing library sizes the picture from the placeable frame but stretches what the
// records draw over all of it: a drawing that covers part of its frame would fill the whole
// picture. So the records are preceded by an invisible rectangle over the frame (null pen, null
// brush, in a saved and restored device context, its two objects deleted again so that the
// file's own objects keep their slots); the drawn area is then the frame.
std::vector<std::uint8_t> withFrameMarked(const std::uint8_t* data, std::size_t length) {
    const std::int32_t left = signed16(data + 6);
    const std::int32_t top = signed16(data + 8);
    const std::int32_t right = signed16(data + 10);
    const std::int32_t bottom = signed16(data + 12);
    std::vector<std::uint8_t> marks;
    record(marks, 0x001E, {});                            // SaveDC
    record(marks, 0x020B, {top, left});                   // SetWindowOrg(y, x)
    record(marks, 0x020C, {bottom - top, right - left});  // SetWindowExt(y, x)
    record(marks, 0x02FA, {5, 0, 0, 0, 0});               // CreatePenIndirect(null pen): slot 0
    record(marks, 0x012D, {0});                           // SelectObject
    record(marks, 0x02FC, {1, 0, 0, 0});                  // CreateBrushIndirect(null brush): slot 1
    record(marks, 0x012D, {1});                           // SelectObject
    record(marks, 0x041B, {bottom, right, top, left});    // Rectangle(bottom, right, top, left)
    record(marks, 0x0127, {-1});                          // RestoreDC(-1)
    record(marks, 0x01F0, {0});                           // DeleteObject
    record(marks, 0x01F0, {1});                           // DeleteObject
    std::vector<std::uint8_t> out(data, data + kPlaceableSize + kHeaderSize);
    out.insert(out.end(), marks.begin(), marks.end());
    out.insert(out.end(), data + kPlaceableSize + kHeaderSize, data + length);
    // The header's size in words and its object count (the marks need two slots).
    std::uint8_t* header = out.data() + kPlaceableSize;
    const std::uint32_t words = static_cast<std::uint32_t>((out.size() - kPlaceableSize) / 2);
    for (int i = 0; i < 4; ++i) header[6 + i] = static_cast<std::uint8_t>(words >> (8 * i));
    if (bytes::le16(header + 10) < 2) header[10] = 2, header[11] = 0;
    if (bytes::le32(header + 12) < 8) header[12] = 8, header[13] = header[14] = header[15] = 0;
    return out;
}

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
    if (at >= kPlaceableSize + kHeaderSize && bytes::le32(data) == kPlaceableKey) {
        const std::vector<std::uint8_t> marked = withFrameMarked(data, at);
        return decodeWithMagick(marked.data(), marked.size(), request);
    }
    return decodeWithMagick(data, at, request);
}

}  // namespace dg
