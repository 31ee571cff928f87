#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "FormatTestSupport.h"
#include "formats/PictureReaders.h"
#include "formats/ReaderRegistry.h"
#include "imaging/Failure.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

std::string fixture(const std::string& name) { return test::fixturePath("formats/" + name); }

RgbImage source(const std::string& name) { return test::readPpmReference(fixture("src-" + name + ".ppm")); }

// The colour picture where the two-colour picture is black, white paper elsewhere.
RgbImage maskedColourPicture() {
    RgbImage picture = source("rgb");
    const RgbImage mask = source("2");
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (mask.pixel(x, y) != kBlack) picture.setPixel(x, y, kWhite);
        }
    }
    return picture;
}

// The 16-colour picture with four more rows below it that the icon's mask makes transparent.
RgbImage iconPicture() {
    const RgbImage colours = source("16");
    RgbImage picture(16, 16);
    for (int y = 0; y < colours.height(); ++y) std::memcpy(picture.row(y), colours.row(y), 16 * 3);
    return picture;
}

RgbImage expectedPicture(const std::string& name) {
    if (name == "masked") return maskedColourPicture();
    if (name == "icon") return iconPicture();
    return source(name);
}

struct FixtureCase {
    const char* file;
    const char* source;  // src-<name>.ppm, or "masked" for maskedColourPicture()
    int tolerance;       // largest channel difference allowed (lossy formats)
};

void PrintTo(const FixtureCase& c, std::ostream* out) { *out << c.file; }

class FixtureDecodes : public ::testing::TestWithParam<FixtureCase> {};

TEST_P(FixtureDecodes, LikeThePictureItWasMadeFrom) {
    const FixtureCase& c = GetParam();
    const RgbImage expected = expectedPicture(c.source);
    EXPECT_TRUE(test::CloseImage(expected, readPicture(fixture(c.file)), c.tolerance));
}

// JPEG at quality 100 without colour subsampling stays within 3 levels of its source.
INSTANTIATE_TEST_SUITE_P(Files, FixtureDecodes,
                         ::testing::Values(
                             // JPEG, one for each extension.
                             FixtureCase{"rgb.jpg", "rgb", 3}, FixtureCase{"progressive.jpeg", "rgb", 3},
                             FixtureCase{"grey.jfif", "grey", 3}, FixtureCase{"rgb.jpe", "rgb", 3},
                             // PNG.
                             FixtureCase{"palette.png", "16", 0}, FixtureCase{"grey.png", "grey", 0},
                             FixtureCase{"rgb16.png", "rgb", 0}, FixtureCase{"interlaced.png", "rgb", 0},
                             FixtureCase{"alpha.png", "masked", 0},
                             // TIFF.
                             FixtureCase{"lzw.tiff", "rgb", 0}, FixtureCase{"packbits.tif", "16", 0},
                             FixtureCase{"tiled.tif", "rgb", 0}, FixtureCase{"rgb16.tif", "rgb", 0},
                             FixtureCase{"jpeg.tif", "rgb", 3}, FixtureCase{"g4.fax", "2", 0},
                             FixtureCase{"g3.tif", "2", 0},
                             // Targa, one for each extension.
                             FixtureCase{"rgb.tga", "rgb", 0}, FixtureCase{"rle.win", "rgb", 0},
                             FixtureCase{"cmap.vst", "16", 0}, FixtureCase{"grey.vda", "grey", 0},
                             FixtureCase{"rle-gm.icb", "rgb", 0},
                             // Encapsulated PostScript.
                             FixtureCase{"rgb.eps", "rgb", 0},
                             // PCX.
                             FixtureCase{"rgb.pcx", "rgb", 0}, FixtureCase{"palette8.pcc", "16", 0},
                             FixtureCase{"planar4.pcx", "16", 0}, FixtureCase{"mono.pcx", "2", 0},
                             // SGI.
                             FixtureCase{"rgb.sgi", "rgb", 0}, FixtureCase{"rle.rgb", "rgb", 0},
                             FixtureCase{"alpha.rgba", "masked", 0}, FixtureCase{"grey.bw", "grey", 0},
                             // Portable maps.
                             FixtureCase{"rgb.ppm", "rgb", 0}, FixtureCase{"plain.ppm", "rgb", 0},
                             FixtureCase{"grey.pgm", "grey", 0}, FixtureCase{"plain.pgm", "grey", 0},
                             FixtureCase{"mono.pbm", "2", 0}, FixtureCase{"plain.pbm", "2", 0},
                             // Windows bitmaps and icons.
                             FixtureCase{"rgb-v4.bmp", "rgb", 0}, FixtureCase{"rgb-v3.bmp", "rgb", 0},
                             FixtureCase{"rgb-os2.bmp", "rgb", 0}, FixtureCase{"palette8.dib", "16", 0},
                             FixtureCase{"palette4.bmp", "16", 0}, FixtureCase{"mono.bmp", "2", 0},
                             FixtureCase{"os2-palette4.bmp", "16", 0}, FixtureCase{"two.ico", "icon", 0}));

}  // namespace
}  // namespace dg
