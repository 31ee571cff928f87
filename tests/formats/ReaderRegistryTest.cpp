#include <gtest/gtest.h>

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

std::string failureOf(const std::string& path) {
    try {
        readPicture(path);
    } catch (const Failure& failure) {
        return failure.what();
    }
    return "(no failure)";
}

TEST(ReaderRegistry, HasTheFortyFiveRegistrationsInOrder) {
    std::string order;
    for (const ReaderRegistration& r : readerRegistrations()) order += std::string(r.extension) + " ";
    EXPECT_EQ(order,
              "wmf emf ico bmp jpeg jpg bmp ico wmf emf jfif jpg jpe jpeg rle dib win vst vda tga icb tiff tif fax eps "
              "pcx pcc scr rpf rla sgi rgba rgb bw psd pdd ppm pgm pbm cel pic pcd cut psp png ");
    EXPECT_EQ(readerRegistrations().size(), 45u);
    std::vector<std::string> probeOrder;
    for (const PictureReader* reader : contentReaders()) probeOrder.push_back(reader->name);
    EXPECT_EQ(probeOrder, (std::vector<std::string>{"Truevision (Targa)", "TIFF", "Encapsulated PostScript",
                                                    "ZSoft PCX", "Alias/Wavefront RLA", "SGI", "Photoshop",
                                                    "Portable maps", "Autodesk", "Kodak Photo-CD", "Dr. Halo",
                                                    "Paintshop Pro", "PNG"}));
}

TEST(ReaderRegistry, MatchesExtensionsWithoutRegardToCase) {
    for (const char* extension : {"JPG", "jpg", "Jpg", "JFIF", "Png", "TIF", "RLE"}) {
        EXPECT_NE(readerForExtension(extension), nullptr) << extension;
    }
    EXPECT_EQ(readerForExtension("JPG"), readerForExtension("jpeg"));
    EXPECT_EQ(readerForExtension("rle"), readerForExtension("bmp"));
    EXPECT_EQ(readerForExtension("xyz"), nullptr);
    EXPECT_EQ(readerForExtension(""), nullptr);
    // Every registration answers its own extension with its own reader or a later one of the
    // same extension.
    const auto& registrations = readerRegistrations();
    for (std::size_t i = 0; i < registrations.size(); ++i) {
        const PictureReader* expected = registrations[i].reader;
        for (std::size_t j = i + 1; j < registrations.size(); ++j) {
            if (std::string(registrations[j].extension) == registrations[i].extension) expected = registrations[j].reader;
        }
        EXPECT_EQ(readerForExtension(registrations[i].extension), expected) << registrations[i].extension;
    }
}

TEST(ReaderRegistry, DialogFilterListsAllThenNewestRegistrationFirst) {
    const std::string filter = pictureDialogFilter();
    const std::string all =
        "*.png;*.psp;*.cut;*.pcd;*.pic;*.cel;*.pbm;*.pgm;*.ppm;*.pdd;*.psd;*.bw;*.rgb;*.rgba;*.sgi;*.rla;*.rpf;"
        "*.scr;*.pcc;*.pcx;*.eps;*.fax;*.tif;*.tiff;*.icb;*.tga;*.vda;*.vst;*.win;*.dib;*.rle;*.jpeg;*.jpe;*.jpg;"
        "*.jfif;*.emf;*.wmf;*.ico;*.bmp;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf";
    const std::string begin = "All (" + all + ")|" + all +
                              "|Portable network graphic images (*.png)|*.png|Paintshop Pro images (*.psp)|*.psp|"
                              "Dr. Halo images (*.cut)|*.cut|";
    const std::string end =
        "|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
        "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
    EXPECT_EQ(filter.substr(0, begin.size()), begin);
    ASSERT_GE(filter.size(), end.size());
    EXPECT_EQ(filter.substr(filter.size() - end.size()), end);
    // 46 entries of two fields each, so 91 separators; both jpg registrations are listed.
    EXPECT_EQ(std::count(filter.begin(), filter.end(), '|'), 91);
    EXPECT_NE(filter.find("|JPG images (*.jpg)|*.jpg|"), std::string::npos);
    EXPECT_NE(filter.find("|JPEG Image File (*.jpg)|*.jpg|"), std::string::npos);
    EXPECT_NE(filter.find("|Device independant Windows bitmaps (*.dib)|*.dib|"), std::string::npos);
}

class ProbeOrder : public ::testing::Test {
protected:
    std::string copyAs(const std::string& fixtureName, const std::string& newName) {
        const std::string path = folder_.file(newName);
        std::filesystem::copy_file(fixture(fixtureName), path);
        return path;
    }
    test::TempFolder folder_;
};

TEST_F(ProbeOrder, AContentReaderWinsWhateverTheExtension) {
    const RgbImage expected = test::readPpmReference(fixture("src-rgb.ppm"));
    // A TIFF named .tga passes the Targa probe by and is read as TIFF.
    EXPECT_TRUE(test::SameImage(expected, readPicture(copyAs("lzw.tiff", "picture.tga"))));
    EXPECT_TRUE(test::SameImage(expected, readPicture(copyAs("rgb.sgi", "picture.png"))));
    EXPECT_TRUE(test::SameImage(expected, readPicture(copyAs("rgb.ppm", "picture.jpg"))));
    EXPECT_TRUE(test::SameImage(expected, readPicture(copyAs("rgb.pcx", "picture"))));  // no extension
}

TEST_F(ProbeOrder, OtherFilesGoByTheirExtension) {
    const RgbImage expected = test::readPpmReference(fixture("src-rgb.ppm"));
    // No content reader takes a bitmap, so .png picks the PNG reader, which reports the failure.
    EXPECT_EQ(failureOf(copyAs("rgb-v3.bmp", "picture.png")).rfind("The PNG file cannot be read", 0), 0u);
    EXPECT_TRUE(test::CloseImage(expected, readPicture(copyAs("rgb.jpg", "PICTURE.JPG")), 3));
    EXPECT_TRUE(test::SameImage(expected, readPicture(copyAs("rgb-v3.bmp", "Picture.Rle"))));
    EXPECT_EQ(failureOf(copyAs("rgb-v3.bmp", "picture.xyz")), "Unknown picture file extension (.xyz)");
    EXPECT_EQ(failureOf(copyAs("rgb-v3.bmp", "picture.XYZ")), "Unknown picture file extension (.XYZ)");
    EXPECT_EQ(failureOf(copyAs("rgb-v3.bmp", "picture")), "Unknown picture file extension (.)");
    EXPECT_EQ(failureOf(folder_.file("missing.png")).rfind("Cannot open file", 0), 0u);
    EXPECT_EQ(failureOf(folder_.path()).rfind("Cannot open file", 0), 0u);
}

}  // namespace
}  // namespace dg
