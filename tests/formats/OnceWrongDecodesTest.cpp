// Files that once decoded to a wrong picture without a word: a 1-bit PCX with a coloured
// palette, a placeable metafile at 1440 units an inch, enhanced metafiles in the anisotropic
// mode without extents and with a frame that disagrees with the drawing. The fixtures are
// written by tests/fixtures/formats/hostile/make-fixtures.py.
#include <gtest/gtest.h>

#include <string>

#include "FormatTestSupport.h"
#include "formats/PictureReaders.h"
#include "imaging/Failure.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

RgbImage readHostile(const std::string& name) {
    return readPicture(test::fixturePath("formats/hostile/" + name));
}

const ColorValue kRed = makeColor(255, 0, 0);
const ColorValue kBlue = makeColor(0, 0, 255);

TEST(PcxFiles, OneBitPictureTakesTheTwoColoursOfItsPalette) {
    const RgbImage picture = readHostile("pcx-1bit-colours.pcx");
    ASSERT_EQ(picture.width(), 16);
    ASSERT_EQ(picture.height(), 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 16; ++x) {
            const ColorValue expected = (x / 4 + y) % 2 ? makeColor(250, 250, 0) : makeColor(200, 30, 90);
            ASSERT_EQ(picture.pixel(x, y), expected) << x << ", " << y;
        }
    }
}

// A picture of 64 x 48 pixels whose left half is red and right half blue; the edge between them
// and the picture's border may be blended.
void expectTwoHalves(const RgbImage& picture) {
    ASSERT_EQ(picture.width(), 64);
    ASSERT_EQ(picture.height(), 48);
    for (int y = 1; y < 47; ++y) {
        for (int x = 1; x < 63; ++x) {
            if (x == 31 || x == 32) continue;
            ASSERT_EQ(picture.pixel(x, y), x < 32 ? kRed : kBlue) << x << ", " << y;
        }
    }
}

TEST(WmfFiles, PlaceableFrameAt1440UnitsAnInchKeepsItsSizeAt96PixelsAnInch) {
    expectTwoHalves(readHostile("picture.wmf"));
}

TEST(WmfFiles, FrameIsKeptWhereTheDrawingCoversOnlyPartOfIt) {
    const RgbImage picture = readHostile("wmf-half-drawn.wmf");
    ASSERT_EQ(picture.width(), 64);
    ASSERT_EQ(picture.height(), 48);
    for (int y = 1; y < 47; ++y) {
        for (int x = 1; x < 63; ++x) {
            if (x == 31 || x == 32) continue;
            ASSERT_EQ(picture.pixel(x, y), x < 32 ? kRed : kWhite) << x << ", " << y;
        }
    }
}

TEST(EmfFiles, PlainMetafileFillsItsFrame) { expectTwoHalves(readHostile("picture.emf")); }

TEST(EmfFiles, AnisotropicModeWithoutExtentsDrawsOneToOne) {
    expectTwoHalves(readHostile("emf-anisotropic-no-extents.emf"));
}

TEST(EmfFiles, FrameThatDisagreesWithTheDrawingGivesTheDrawing) {
    expectTwoHalves(readHostile("emf-frame-disagrees.emf"));
}

}  // namespace
}  // namespace dg
