#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FormatTestSupport.h"
#include "formats/MagickReader.h"
#include "formats/PictureLimits.h"
#include "formats/PictureReaders.h"
#include "imaging/Failure.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

std::string fixture(const std::string& name) { return test::fixturePath("formats/" + name); }

TEST(RealPictures, APhotoDecodesLikeTheLibrarysOwnReader) {
    const std::vector<std::uint8_t> bytes = test::fileBytes(fixture("real/photo.jpg"));
    const RgbImage ours = readPicture(fixture("real/photo.jpg"));
    MagickRequest request;
    request.magick = "JPEG";
    EXPECT_TRUE(test::CloseImage(decodeWithMagick(bytes.data(), bytes.size(), request), ours, 1));
    EXPECT_EQ(ours.width(), 1600);
    EXPECT_EQ(ours.height(), 1203);
}

TEST(RealPictures, APalettePngWithTransparencyLiesOnWhite) {
    EXPECT_TRUE(test::CloseImage(test::readPpmReference(fixture("real/palette-transparent-on-white.ppm")),
                                 readPicture(fixture("real/palette-transparent.png")), 1));
}

TEST(RealPictures, LineArtDrawnOnlyInAlphaComesOutBlackOnWhite) {
    const RgbImage picture = readPicture(fixture("real/alpha-line-art.png"));
    EXPECT_TRUE(test::CloseImage(test::readPpmReference(fixture("real/alpha-line-art-on-white.ppm")), picture, 1));
    // Every pixel is grey; there is paper and there is ink.
    int white = 0, black = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const ColorValue c = picture.pixel(x, y);
            ASSERT_TRUE(redOf(c) == greenOf(c) && greenOf(c) == blueOf(c));
            white += c == kWhite;
            black += c == kBlack;
        }
    EXPECT_GT(white, picture.width() * picture.height() / 5);
    EXPECT_GT(black, picture.width() * picture.height() / 5);
}

// Every fixture emptied or cut short gives its reader's message, never a crash. Where the
// pixels fill the end of the file, half a file must fail; TIFF and PNG files may lose their
// last bytes to no harm (tag data, the end chunk), and then give the whole picture.
TEST(DamagedFiles, CutShortOrEmptyFilesFailWithAMessage) {
    for (const auto& entry : std::filesystem::directory_iterator(test::fixturePath("formats"))) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || extension.size() < 2 || name.rfind("src-", 0) == 0 || extension == ".sh" ||
            extension == ".txt" || extension == ".eps") {
            continue;
        }
        const std::vector<std::uint8_t> bytes = test::fileBytes(entry.path().string());
        const std::string ext = extension.substr(1);
        EXPECT_THROW(readPictureBytes(bytes.data(), 0, ext), Failure) << name << " empty";
        const bool endMayGo = ext == "png" || ext == "tif" || ext == "tiff" || ext == "fax";
        const RgbImage whole = readPictureBytes(bytes.data(), bytes.size(), ext);
        for (std::size_t cut : {std::size_t{8}, bytes.size() / 2, bytes.size() - 9}) {
            try {
                const RgbImage picture = readPictureBytes(bytes.data(), cut, ext);
                if (!endMayGo || cut == 8) ADD_FAILURE() << name << " cut to " << cut << " bytes gave a picture";
                EXPECT_TRUE(test::SameImage(whole, picture)) << name << " cut to " << cut;
            } catch (const Failure& failure) {
                EXPECT_GT(std::string(failure.what()).size(), 5u) << name;
            }
        }
    }
}

// Headers that claim 100000 x 100000 pixels (or the most the format can say) are refused with
// the size in the message, before anything that big is allocated.
TEST(DamagedFiles, HugeClaimedSizesAreRefused) {
    struct Case {
        std::string extension;
        std::vector<std::uint8_t> bytes;
    };
    auto file = [](const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    std::vector<Case> cases = {
        {"ppm", file("P6\n100000 100000\n255\n")},
        {"pbm", file("P4 100000 100000 ")},
    };
    // PNG: a valid IHDR of 100000 x 100000.
    {
        std::vector<std::uint8_t> png = test::fileBytes(fixture("grey.png"));
        const std::uint8_t size[8] = {0, 1, 0x86, 0xA0, 0, 1, 0x86, 0xA0};
        std::copy(size, size + 8, png.begin() + 16);
        const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, png.data() + 12, 17));
        for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
        cases.push_back({"png", png});
    }
    // TGA and SGI at their largest 16-bit sizes; BMP and TIFF at 100000.
    {
        std::vector<std::uint8_t> tga = test::fileBytes(fixture("rgb.tga"));
        tga[12] = tga[13] = tga[14] = tga[15] = 0xFF;
        cases.push_back({"tga", tga});
        std::vector<std::uint8_t> sgi = test::fileBytes(fixture("rgb.sgi"));
        sgi[6] = sgi[7] = sgi[8] = sgi[9] = 0xFF;
        cases.push_back({"sgi", sgi});
        std::vector<std::uint8_t> bmp = test::fileBytes(fixture("rgb-v3.bmp"));
        for (std::size_t at : {std::size_t{18}, std::size_t{22}}) {
            bmp[at] = 0xA0, bmp[at + 1] = 0x86, bmp[at + 2] = 0x01, bmp[at + 3] = 0;
        }
        cases.push_back({"bmp", bmp});
        std::vector<std::uint8_t> pcx = test::fileBytes(fixture("rgb.pcx"));
        pcx[8] = pcx[9] = pcx[10] = pcx[11] = 0xFF;
        cases.push_back({"pcx", pcx});
    }
    for (const Case& c : cases) {
        try {
            readPictureBytes(c.bytes.data(), c.bytes.size(), c.extension);
            ADD_FAILURE() << c.extension << ": accepted";
        } catch (const Failure& failure) {
            EXPECT_EQ(std::string(failure.what()).rfind("The picture is too large to open (", 0), 0u)
                << c.extension << ": " << failure.what();
        }
    }
}

}  // namespace
}  // namespace dg
