#include "formats/IcoReader.h"

#include <cstring>

#include "formats/Bmp.h"
#include "formats/ByteOrder.h"
#include "formats/PngReader.h"
#include "imaging/Failure.h"

namespace dg {

RgbImage decodeIco(const std::uint8_t* data, std::size_t size) {
    using bytes::le16;
    using bytes::le32;
    if (size < 6 || le16(data) != 0 || le16(data + 2) != 1) throw Failure("Not a Windows icon file.");
    const std::size_t count = le16(data + 4);
    if (count == 0) throw Failure("The icon file holds no pictures.");
    if (size < 6 + 16 * count) throw Failure("Damaged icon file: the directory is cut short.");
    std::size_t best = count;
    std::uint64_t bestArea = 0;
    unsigned bestBits = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = data + 6 + 16 * i;
        const std::uint64_t offset = le32(entry + 12);
        const std::uint64_t length = le32(entry + 8);
        if (length == 0 || offset + length > size) throw Failure("Damaged icon file: a picture lies outside the file.");
        const std::uint64_t width = entry[0] == 0 ? 256 : entry[0];
        const std::uint64_t height = entry[1] == 0 ? 256 : entry[1];
        const unsigned bits = le16(entry + 6);
        if (width * height > bestArea || (width * height == bestArea && bits > bestBits)) {
            best = i;
            bestArea = width * height;
            bestBits = bits;
        }
    }
    const std::uint8_t* entry = data + 6 + 16 * best;
    const std::uint8_t* picture = data + le32(entry + 12);
    const std::size_t length = le32(entry + 8);
    static const std::uint8_t kPng[4] = {0x89, 'P', 'N', 'G'};
    if (length >= 4 && std::memcmp(picture, kPng, 4) == 0) return decodePng(picture, length);
    return decodeIconDib(picture, length);
}

}  // namespace dg
