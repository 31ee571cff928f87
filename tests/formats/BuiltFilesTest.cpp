// Formats that no Debian tool writes (RLA, Dr. Halo, WMF, RLE bitmaps, bit-field and
// clipboard DIBs, CMYK JPEG, Photo-CD) are built byte by byte here, from pictures whose
// pixels the test knows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <magick/api.h>

#include "FormatTestSupport.h"
#include "formats/MagickReader.h"
#include "formats/PictureReaders.h"
#include "imaging/Failure.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using Bytes = std::vector<std::uint8_t>;

void le16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void le32(Bytes& b, std::uint32_t v) {
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}
void be16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v >> 8));
    b.push_back(static_cast<std::uint8_t>(v));
}
void put32At(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

RgbImage source(const std::string& name) {
    return test::readPpmReference(test::fixturePath("formats/src-" + name + ".ppm"));
}

// The distinct colours of a picture, in order of first appearance, and each pixel's index.
struct Indexed {
    std::vector<ColorValue> palette;
    std::vector<std::vector<unsigned>> rows;
};
Indexed indexed(const RgbImage& picture) {
    Indexed result;
    for (int y = 0; y < picture.height(); ++y) {
        result.rows.emplace_back();
        for (int x = 0; x < picture.width(); ++x) {
            const ColorValue c = picture.pixel(x, y);
            auto it = std::find(result.palette.begin(), result.palette.end(), c);
            if (it == result.palette.end()) it = result.palette.insert(result.palette.end(), c);
            result.rows.back().push_back(static_cast<unsigned>(it - result.palette.begin()));
        }
    }
    return result;
}

// ---- Windows DIBs and BMP files -------------------------------------------------------

enum class Layout { Rgb, Bitfields565, Bitfields32, V5Alpha };

struct DibCase {
    const char* name;
    int bits;
    Layout layout;
    bool topDown;
};

void PrintTo(const DibCase& c, std::ostream* out) { *out << c.name; }

// Five-bit and six-bit channels widen to eight bits by repeating their top bits.
int widen5(int v) { return (v << 3) | (v >> 2); }
int widen6(int v) { return (v << 2) | (v >> 4); }

// A picture whose colours a 16-bit pixel holds exactly.
RgbImage sixteenBitPicture(bool green6) {
    RgbImage picture(7, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            const int r = (x * 5 + y) % 32, g = (y * 7 + x * 3) % (green6 ? 64 : 32), b = (x * y + 3) % 32;
            picture.setPixel(x, y, makeColor(widen5(r), green6 ? widen6(g) : widen5(g), widen5(b)));
        }
    }
    return picture;
}

Bytes makeDib(const RgbImage& picture, const DibCase& c, const Bytes& alpha = {}) {
    const int w = picture.width(), h = picture.height();
    const bool v5 = c.layout == Layout::V5Alpha;
    const Indexed idx = indexed(picture);
    Bytes b;
    le32(b, v5 ? 124 : 40);
    le32(b, static_cast<std::uint32_t>(w));
    le32(b, static_cast<std::uint32_t>(c.topDown ? -h : h));
    le16(b, 1);
    le16(b, static_cast<unsigned>(c.bits));
    le32(b, c.layout == Layout::Rgb ? 0 : 3);
    le32(b, 0);
    le32(b, 2835);
    le32(b, 2835);
    le32(b, c.bits <= 8 ? static_cast<std::uint32_t>(idx.palette.size()) : 0);
    le32(b, 0);
    std::uint32_t masks[4] = {0, 0, 0, 0};
    if (c.layout == Layout::Bitfields565) masks[0] = 0xF800, masks[1] = 0x07E0, masks[2] = 0x001F;
    if (c.layout == Layout::Bitfields32 || v5) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (v5) {
        masks[3] = 0xFF000000u;
        for (std::uint32_t m : masks) le32(b, m);
        b.resize(124, 0);
    } else if (c.layout != Layout::Rgb) {
        for (int i = 0; i < 3; ++i) le32(b, masks[i]);
    }
    if (c.bits <= 8) {
        for (ColorValue colour : idx.palette) {
            b.push_back(static_cast<std::uint8_t>(blueOf(colour)));
            b.push_back(static_cast<std::uint8_t>(greenOf(colour)));
            b.push_back(static_cast<std::uint8_t>(redOf(colour)));
            b.push_back(0);
        }
    }
    const std::size_t stride = ((static_cast<std::size_t>(w) * c.bits + 31) / 32) * 4;
    for (int i = 0; i < h; ++i) {
        const int y = c.topDown ? i : h - 1 - i;
        Bytes row(stride, 0);
        for (int x = 0; x < w; ++x) {
            const ColorValue colour = picture.pixel(x, y);
            const unsigned r = static_cast<unsigned>(redOf(colour)), g = static_cast<unsigned>(greenOf(colour)),
                           bl = static_cast<unsigned>(blueOf(colour));
            if (c.bits <= 8) {
                const unsigned index = idx.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
                const int perByte = 8 / c.bits;
                row[static_cast<std::size_t>(x / perByte)] |=
                    static_cast<std::uint8_t>(index << (8 - c.bits * (1 + x % perByte)));
            } else if (c.bits == 16) {
                const unsigned v = c.layout == Layout::Rgb ? ((r >> 3) << 10) | ((g >> 3) << 5) | (bl >> 3)
                                                           : ((r >> 3) << 11) | ((g >> 2) << 5) | (bl >> 3);
                row[2 * x] = static_cast<std::uint8_t>(v);
                row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
            } else {
                const std::size_t at = static_cast<std::size_t>(x) * (c.bits / 8);
                row[at] = static_cast<std::uint8_t>(bl);
                row[at + 1] = static_cast<std::uint8_t>(g);
                row[at + 2] = static_cast<std::uint8_t>(r);
                if (c.bits == 32) row[at + 3] = alpha.empty() ? 0 : alpha[static_cast<std::size_t>(y * w + x)];
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

Bytes withFileHeader(const Bytes& dib, std::uint32_t pixelOffset) {
    Bytes b = {'B', 'M'};
    le32(b, static_cast<std::uint32_t>(14 + dib.size()));
    le32(b, 0);
    le32(b, pixelOffset);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

class ClipboardDib : public ::testing::TestWithParam<DibCase> {};

TEST_P(ClipboardDib, ArrivesWithTheSameColours) {
    const DibCase& c = GetParam();
    RgbImage picture = c.bits == 1 ? source("2") : c.bits <= 8 ? source("16") : c.bits == 16 ? sixteenBitPicture(c.layout != Layout::Rgb) : source("rgb");
    const Bytes dib = makeDib(picture, c);
    EXPECT_TRUE(test::SameImage(picture, clipboardDibToRgb(dib.data(), dib.size())));
    // The same bitmap as a file, read through the registry.
    const std::size_t pixelsAt = dib.size() - ((static_cast<std::size_t>(picture.width()) * c.bits + 31) / 32) * 4 *
                                                  static_cast<std::size_t>(picture.height());
    const Bytes file = withFileHeader(dib, static_cast<std::uint32_t>(14 + pixelsAt));
    EXPECT_TRUE(test::SameImage(picture, readPictureBytes(file.data(), file.size(), "dib")));
}

INSTANTIATE_TEST_SUITE_P(Depths, ClipboardDib,
                         ::testing::Values(DibCase{"mono", 1, Layout::Rgb, false}, DibCase{"four", 4, Layout::Rgb, false},
                                           DibCase{"eight", 8, Layout::Rgb, false},
                                           DibCase{"eightTopDown", 8, Layout::Rgb, true},
                                           DibCase{"sixteen555", 16, Layout::Rgb, false},
                                           DibCase{"sixteen565", 16, Layout::Bitfields565, false},
                                           DibCase{"bgr", 24, Layout::Rgb, false},
                                           DibCase{"bgrTopDown", 24, Layout::Rgb, true},
                                           DibCase{"thirtyTwoUnusedByte", 32, Layout::Rgb, false},
                                           DibCase{"thirtyTwoBitfields", 32, Layout::Bitfields32, true},
                                           DibCase{"thirtyTwoV5", 32, Layout::V5Alpha, false}));

TEST(ClipboardDib, RealAlphaIsLaidOverWhite) {
    const RgbImage picture = source("rgb");
    Bytes alpha(static_cast<std::size_t>(picture.width() * picture.height()), 255);
    alpha[0] = 0;    // top-left pixel fully transparent
    alpha[1] = 128;  // its neighbour half
    const Bytes dib = makeDib(picture, DibCase{"v5", 32, Layout::V5Alpha, true}, alpha);
    RgbImage expected = picture;
    expected.setPixel(0, 0, kWhite);
    const ColorValue c = picture.pixel(1, 0);
    auto half = [](int v) { return (v * 128 + 255 * 127 + 127) / 255; };
    expected.setPixel(1, 0, makeColor(half(redOf(c)), half(greenOf(c)), half(blueOf(c))));
    EXPECT_TRUE(test::SameImage(expected, clipboardDibToRgb(dib.data(), dib.size())));
}

TEST(ClipboardDib, DamagedBitmapsFail) {
    const Bytes dib = makeDib(source("16"), DibCase{"eight", 8, Layout::Rgb, false});
    for (std::size_t cut : {std::size_t{0}, std::size_t{11}, std::size_t{39}, dib.size() - 5}) {
        EXPECT_THROW(clipboardDibToRgb(dib.data(), cut), Failure) << cut;
    }
    Bytes huge = dib;
    put32At(huge, 4, 100000);
    put32At(huge, 8, 100000);
    try {
        clipboardDibToRgb(huge.data(), huge.size());
        ADD_FAILURE() << "a 100000 x 100000 bitmap was accepted";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "The picture is too large to open (100000 x 100000 pixels).");
    }
}

// Run-length bitmaps: every row starts with literal pixels, goes on in runs, and one row is
// partly skipped by a move, which leaves paper white.
Bytes rleBitmap(const RgbImage& picture, bool four, RgbImage& expected) {
    const Indexed idx = indexed(picture);
    const int w = picture.width(), h = picture.height();
    expected = picture;
    Bytes pixels;
    for (int i = 0; i < h; ++i) {
        const int y = h - 1 - i;
        const auto& row = idx.rows[static_cast<std::size_t>(y)];
        if (i == 2) {  // four literal pixels, then move 5 right and 1 down
            pixels.insert(pixels.end(), {0, 4});
            if (four) {
                pixels.push_back(static_cast<std::uint8_t>(row[0] << 4 | row[1]));
                pixels.push_back(static_cast<std::uint8_t>(row[2] << 4 | row[3]));
            } else {
                pixels.insert(pixels.end(), {static_cast<std::uint8_t>(row[0]), static_cast<std::uint8_t>(row[1]),
                                             static_cast<std::uint8_t>(row[2]), static_cast<std::uint8_t>(row[3])});
            }
            pixels.insert(pixels.end(), {0, 2, 5, 1});
            for (int x = 4; x < w; ++x) expected.setPixel(x, y, kWhite);
            for (int x = 0; x < 9; ++x) expected.setPixel(x, y - 1, kWhite);
            // Carry on in the next row at column 9.
            const auto& next = idx.rows[static_cast<std::size_t>(y - 1)];
            for (int x = 9; x < w; ++x) {
                const unsigned index = next[static_cast<std::size_t>(x)];
                pixels.insert(pixels.end(), {1, static_cast<std::uint8_t>(four ? index * 17 : index)});
            }
            pixels.insert(pixels.end(), {0, 0});
            ++i;
            continue;
        }
        pixels.insert(pixels.end(), {0, 3});
        if (four) {
            pixels.push_back(static_cast<std::uint8_t>(row[0] << 4 | row[1]));
            pixels.push_back(static_cast<std::uint8_t>(row[2] << 4));
        } else {
            pixels.insert(pixels.end(), {static_cast<std::uint8_t>(row[0]), static_cast<std::uint8_t>(row[1]),
                                         static_cast<std::uint8_t>(row[2]), 0});
        }
        int x = 3;
        while (x < w) {
            int n = 1;
            while (x + n < w && row[static_cast<std::size_t>(x + n)] == row[static_cast<std::size_t>(x)]) ++n;
            pixels.insert(pixels.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(four ? row[static_cast<std::size_t>(x)] * 17 : row[static_cast<std::size_t>(x)])});
            x += n;
        }
        pixels.insert(pixels.end(), {0, 0});
    }
    pixels.insert(pixels.end(), {0, 1});
    Bytes dib;
    le32(dib, 40);
    le32(dib, static_cast<std::uint32_t>(w));
    le32(dib, static_cast<std::uint32_t>(h));
    le16(dib, 1);
    le16(dib, four ? 4 : 8);
    le32(dib, four ? 2 : 1);
    le32(dib, static_cast<std::uint32_t>(pixels.size()));
    le32(dib, 0);
    le32(dib, 0);
    le32(dib, static_cast<std::uint32_t>(idx.palette.size()));
    le32(dib, 0);
    for (ColorValue colour : idx.palette) {
        dib.insert(dib.end(), {static_cast<std::uint8_t>(blueOf(colour)), static_cast<std::uint8_t>(greenOf(colour)),
                               static_cast<std::uint8_t>(redOf(colour)), 0});
    }
    const auto offset = static_cast<std::uint32_t>(14 + dib.size());
    dib.insert(dib.end(), pixels.begin(), pixels.end());
    return withFileHeader(dib, offset);
}

TEST(BmpFiles, RunLengthEncodedEightAndFourBits) {
    for (bool four : {false, true}) {
        RgbImage expected;
        const Bytes file = rleBitmap(source("16"), four, expected);
        EXPECT_TRUE(test::SameImage(expected, readPictureBytes(file.data(), file.size(), "rle"))) << four;
        // Cut short inside the runs: the reader says so.
        EXPECT_THROW(readPictureBytes(file.data(), file.size() - 40, "rle"), Failure) << four;
    }
}

// ---- CMYK JPEG ------------------------------------------------------------------------

Bytes cmykJpeg(const RgbImage& picture, bool adobe) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width());
    cinfo.image_height = static_cast<JDIMENSION>(picture.height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 100, TRUE);
    cinfo.write_Adobe_marker = adobe ? TRUE : FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width()) * 4);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const ColorValue c = picture.pixel(x, y);
            // Ink as 255 - colour with no black; Adobe's files store the inverted ink.
            const int ink[4] = {255 - redOf(c), 255 - greenOf(c), 255 - blueOf(c), 0};
            for (int i = 0; i < 4; ++i) row[4 * x + i] = static_cast<std::uint8_t>(adobe ? 255 - ink[i] : ink[i]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes file(out, out + size);
    std::free(out);
    return file;
}

TEST(JpegFiles, CmykPlainAndAdobeInverted) {
    const RgbImage picture = source("rgb");
    for (bool adobe : {true, false}) {
        const Bytes file = cmykJpeg(picture, adobe);
        EXPECT_TRUE(test::CloseImage(picture, readPictureBytes(file.data(), file.size(), "jpg"), 3)) << adobe;
    }
}

// ---- Alias/Wavefront RLA --------------------------------------------------------------

Bytes rlaFile(const RgbImage& picture) {
    const int w = picture.width(), h = picture.height();
    Bytes b;
    for (int i = 0; i < 2; ++i) {  // window, then active window: left, right, bottom, top
        be16(b, 0);
        be16(b, static_cast<unsigned>(w - 1));
        be16(b, 0);
        be16(b, static_cast<unsigned>(h - 1));
    }
    be16(b, 1);       // frame
    be16(b, 0);       // 8-bit storage
    be16(b, 3);       // colour channels
    be16(b, 0);       // matte channels
    be16(b, 0);       // auxiliary channels
    be16(b, 0xFFFE);  // revision
    b.resize(580, 0);
    for (char ch : std::string("rgb")) b.push_back(static_cast<std::uint8_t>(ch));
    b.resize(740, 0);
    const std::size_t table = b.size();
    b.resize(table + 4 * static_cast<std::size_t>(h), 0);
    for (int line = 0; line < h; ++line) {  // bottom row first
        const int y = h - 1 - line;
        const std::uint32_t offset = static_cast<std::uint32_t>(b.size());
        for (int k = 0; k < 4; ++k) b[table + 4 * line + k] = static_cast<std::uint8_t>(offset >> (24 - 8 * k));
        for (int channel = 0; channel < 3; ++channel) {
            Bytes run;
            // The first half of the row as literals, the rest one pixel a run.
            const int half = w / 2;
            run.push_back(static_cast<std::uint8_t>(256 - half));
            for (int x = 0; x < w; ++x) {
                const ColorValue c = picture.pixel(x, y);
                const int v = channel == 0 ? redOf(c) : channel == 1 ? greenOf(c) : blueOf(c);
                if (x >= half) run.push_back(0);  // a run of one
                run.push_back(static_cast<std::uint8_t>(v));
            }
            be16(b, static_cast<unsigned>(run.size()));
            b.insert(b.end(), run.begin(), run.end());
        }
    }
    return b;
}

TEST(RlaFiles, WideAndTallPictures) {
    RgbImage tall(5, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 5; ++x) tall.setPixel(x, y, makeColor(x * 50, y * 28, (x + y) * 17));
    for (const RgbImage& picture : {source("rgb"), tall}) {
        const Bytes file = rlaFile(picture);
        for (const char* extension : {"rla", "rpf"}) {
            EXPECT_TRUE(test::SameImage(picture, readPictureBytes(file.data(), file.size(), extension)))
                << picture.width() << " x " << picture.height() << " ." << extension;
        }
    }
}

// ---- Dr. Halo CUT, with and without its palette file ----------------------------------

Bytes cutFile(const std::vector<std::vector<unsigned>>& rows, int width) {
    Bytes b;
    le16(b, static_cast<unsigned>(width));
    le16(b, static_cast<unsigned>(rows.size()));
    le16(b, 0);
    for (const auto& row : rows) {
        Bytes line;
        // Literal bytes for the first three pixels, runs for the rest.
        line.push_back(3);
        for (int x = 0; x < 3; ++x) line.push_back(static_cast<std::uint8_t>(row[static_cast<std::size_t>(x)]));
        for (int x = 3; x < width; ++x) line.insert(line.end(), {0x81, static_cast<std::uint8_t>(row[static_cast<std::size_t>(x)])});
        line.push_back(0);
        le16(b, static_cast<unsigned>(line.size()));
        b.insert(b.end(), line.begin(), line.end());
    }
    return b;
}

Bytes cutPalette(const std::vector<ColorValue>& palette) {
    Bytes b = {'A', 'H'};
    le16(b, 0);  // version
    le16(b, 0);  // size
    b.push_back(0x0A);
    b.push_back(0);
    le16(b, 0);
    le16(b, 0);
    le16(b, static_cast<unsigned>(palette.size() - 1));
    for (int i = 0; i < 3; ++i) le16(b, 255);
    b.resize(40, 0);
    for (ColorValue c : palette) {
        // Entries do not cross a 512-byte sector.
        if (b.size() % 512 > 512 - 6) b.resize((b.size() / 512 + 1) * 512, 0);
        le16(b, static_cast<unsigned>(redOf(c)));
        le16(b, static_cast<unsigned>(greenOf(c)));
        le16(b, static_cast<unsigned>(blueOf(c)));
    }
    return b;
}

TEST(CutFiles, ColoursFromThePaletteBesideItGreyWithout) {
    const RgbImage picture = source("rgb");  // 192 colours
    const Indexed idx = indexed(picture);
    test::TempFolder folder;
    const std::string path = folder.file("design.cut");
    test::writeFileBytes(path, cutFile(idx.rows, picture.width()));
    // Without a palette the indices are grey levels.
    RgbImage grey(picture.width(), picture.height());
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            const int v = static_cast<int>(idx.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
            grey.setPixel(x, y, makeColor(v, v, v));
        }
    EXPECT_TRUE(test::SameImage(grey, readPicture(path)));
    test::writeFileBytes(folder.file("design.PAL"), cutPalette(idx.palette));
        EXPECT_TRUE(test::SameImage(picture, readPicture(path)));
}

// ---- Windows metafile -----------------------------------------------------------------

TEST(WmfFiles, DrawsItsRecords) {
    // A placeable metafile of 16 x 12 units at 96 units an inch (metafiles are drawn at 96
    // pixels an inch): a red rectangle over the left half, a blue one over the right, no
    // outlines.
    Bytes records;
    auto record = [&](unsigned function, std::initializer_list<unsigned> params) {
        le32(records, static_cast<std::uint32_t>(3 + params.size()));
        le16(records, function);
        for (unsigned p : params) le16(records, p);
    };
    record(0x020B, {0, 0});                 // SetWindowOrg(y, x)
    record(0x020C, {12, 16});               // SetWindowExt(y, x)
    record(0x02FC, {0, 0x00FF, 0x0000, 0}); // CreateBrushIndirect(solid, red)
    record(0x012D, {0});                    // SelectObject(brush)
    record(0x02FA, {5, 0, 0, 0, 0});        // CreatePenIndirect(null pen)
    record(0x012D, {1});                    // SelectObject(pen)
    record(0x041B, {12, 8, 0, 0});          // Rectangle(bottom, right, top, left)
    record(0x01F0, {0});                    // DeleteObject(red brush)
    record(0x02FC, {0, 0x0000, 0x00FF, 0}); // CreateBrushIndirect(solid, blue)
    record(0x012D, {0});                    // SelectObject(brush)
    record(0x041B, {12, 16, 0, 8});         // Rectangle(bottom, right, top, left)
    record(0x0000, {});                     // end
    Bytes b;
    le32(b, 0x9AC6CDD7u);
    le16(b, 0);
    for (unsigned v : {0u, 0u, 16u, 12u}) le16(b, v);
    le16(b, 96);
    le32(b, 0);
    unsigned checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) checksum ^= b[i] | (b[i + 1] << 8);
    le16(b, checksum);
    le16(b, 1);  // in memory
    le16(b, 9);
    le16(b, 0x0300);
    le32(b, static_cast<std::uint32_t>((18 + records.size()) / 2));
    le16(b, 2);
    le32(b, 8);
    le16(b, 0);
    b.insert(b.end(), records.begin(), records.end());
    const RgbImage picture = readPictureBytes(b.data(), b.size(), "wmf");
    ASSERT_EQ(picture.width(), 16);
    ASSERT_EQ(picture.height(), 12);
    for (int y = 1; y < 11; ++y) {
        EXPECT_EQ(picture.pixel(3, y), makeColor(255, 0, 0)) << y;
        EXPECT_EQ(picture.pixel(12, y), makeColor(0, 0, 255)) << y;
    }
}

// ---- Kodak Photo-CD -------------------------------------------------------------------

TEST(PcdFiles, TheBaseImageAtSevenSixtyEightByFiveTwelve) {
    // Photo-CD always holds a 768 x 512 base picture. The library writes one from a smooth
    // gradient; its PhotoYCC encoding is not the exact inverse of the decoding (its own round
    // trip is some 17 levels out on average), so the check is the size, a mean difference of
    // at most 24 levels, and the gradient's direction in every channel.
    RgbImage picture(768, 512);
    std::vector<std::uint8_t> rgb(768 * 512 * 3);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 768; ++x) {
            const ColorValue c = makeColor(40 + x / 5, 40 + y / 3, 40 + (x + y) / 8);
            picture.setPixel(x, y, c);
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * 768 + x) * 3];
            p[0] = static_cast<std::uint8_t>(redOf(c));
            p[1] = static_cast<std::uint8_t>(greenOf(c));
            p[2] = static_cast<std::uint8_t>(blueOf(c));
        }
    ensureMagick();
    ExceptionInfo exception;
    GetExceptionInfo(&exception);
    Image* image = ConstituteImage(768, 512, "RGB", CharPixel, rgb.data(), &exception);
    ASSERT_NE(image, nullptr);
    ImageInfo* info = CloneImageInfo(nullptr);
    std::strcpy(info->magick, "PCD");
    std::strcpy(image->magick, "PCD");
    std::size_t length = 0;
    void* blob = ImageToBlob(info, image, &length, &exception);
    DestroyImage(image);
    DestroyImageInfo(info);
    DestroyExceptionInfo(&exception);
    ASSERT_NE(blob, nullptr);
    const Bytes file(static_cast<std::uint8_t*>(blob), static_cast<std::uint8_t*>(blob) + length);
    MagickFree(blob);
    const RgbImage decoded = readPictureBytes(file.data(), file.size(), "pcd");
    ASSERT_EQ(decoded.width(), 768);
    ASSERT_EQ(decoded.height(), 512);
    double total = 0;
    for (int y = 0; y < 512; ++y)
        for (int i = 0; i < 768 * 3; ++i) total += std::abs(int{picture.row(y)[i]} - int{decoded.row(y)[i]});
    EXPECT_LE(total / (768.0 * 512 * 3), 24.0);
    EXPECT_GT(redOf(decoded.pixel(700, 256)), redOf(decoded.pixel(60, 256)) + 60);
    EXPECT_GT(greenOf(decoded.pixel(384, 480)), greenOf(decoded.pixel(384, 30)) + 60);
    EXPECT_GT(blueOf(decoded.pixel(700, 480)), blueOf(decoded.pixel(60, 30)) + 60);
}

}  // namespace
}  // namespace dg
