#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "imaging/Parallel.h"
#include "output/NewFolder.h"
#include "output/OutputTestSupport.h"
#include "output/PageExport.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::SameImage;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename());
    return names;
}

class Export : public ::testing::Test {
protected:
    void SetUp() override {
        fakes.printer.portraitWidthPx = 200;
        fakes.printer.portraitHeightPx = 300;
        fakes.printer.resolutionX = fakes.printer.resolutionY = 100;
        state.outputWidthText = "2.54";
        state.outputHeightText = "1.27";
        for (int n = 1; n <= kChannelCount; ++n) {
            channels.colorOf(n) = makeColor(n, 0, 0);
            channels.channel(n).mask = test::randomImage(6, 4, static_cast<std::uint32_t>(n));
            entries.channel(n).shown = true;
            entries.channel(n).caption = "Channel # " + std::to_string(n);
        }
        for (PageEntry* e : {&entries.stencil, &entries.result, &entries.colorMatching}) e->shown = true;
    }

    void tickAll() { entries.checkAll(); }

    bool exportAs(PageFileType type, const std::string& name = "design") {
        fakes.dialogs.saveAnswers.push_back(temp.file(name));
        ExportSettings exportSettings;
        exportSettings.fileType = type;
        exportSettings.openTarget = openTarget;
        return exportCheckedPages(entries, pictures, state, settings, exportSettings, 96, fakes.platform);
    }

    std::string pagesFolder(const std::string& name = "design") const { return temp.file(name + " Pages"); }

    test::TempFolder temp;
    test::RecordingPlatform fakes;
    OutputSettings state;
    PageSettings settings;
    ChannelSet channels;
    RgbImage stencil = test::randomImage(5, 5, 70);
    RgbImage result = test::randomImage(6, 4, 71);
    RgbImage colorMatching = test::randomImage(505, 481, 72);
    PagePictures pictures{stencil, result, colorMatching, &channels};
    PageEntries entries;
    bool openTarget = false;
};

TEST_F(Export, OnlyTheTickedChannelsAreWritten) {
    entries.channel(3).ticked = entries.channel(12).ticked = true;
    ASSERT_TRUE(exportAs(PageFileType::Jpeg));
    EXPECT_EQ(filesIn(pagesFolder()), (std::set<std::string>{"3page.jpeg", "12page.jpeg"}));
    EXPECT_EQ(fakes.dialogs.messages,
              (std::vector<std::string>{"CHECKED PAGES SAVED IN FOLDER: " + pagesFolder() + "/"}));
    EXPECT_TRUE(fakes.shell.openedFolders.empty());
    EXPECT_TRUE(entries.channel(3).ticked);  // export does not untick
}

TEST_F(Export, BmpPagesAreThePrintedPagesInTheirOrder) {
    tickAll();
    fakes.printer.currentOrientation = Orientation::Landscape;
    settings.labelOnTop = true;
    settings.pageCorners = true;
    settings.horizontal = HorizontalAlign::Right;
    settings.vertical = VerticalAlign::Bottom;
    ASSERT_TRUE(exportAs(PageFileType::Bmp));

    std::vector<std::string> expected{"STENCILpage.bmp", "ColorMatchingPage.bmp", "RESULTpage.bmp"};
    for (int n = 1; n <= kChannelCount; ++n) expected.push_back(std::to_string(n) + "page.bmp");
    EXPECT_EQ(test::namesIn(fakes.files.written), expected);
    EXPECT_EQ(fakes.printer.orientation(), Orientation::Landscape);

    // The layout of printing, on a landscape page; the label sized at the screen's 96 DPI.
    const PageDecoration decoration = pageDecoration(settings, 100, 96);
    const PagePlacement placement{300, 200, {200, 150, 100, 50}};
    const RgbImage resultPage = decodeBmp24(fileBytes(pagesFolder() + "/RESULTpage.bmp"));
    EXPECT_TRUE(SameImage(composePlacedPage(result, placement, decoration, "RESULT"), resultPage));
    const RgbImage channelPage = decodeBmp24(fileBytes(pagesFolder() + "/23page.bmp"));
    EXPECT_TRUE(SameImage(composePlacedPage(channels.channel(23).mask, placement, decoration, "Channel # 23"),
                          channelPage));
    const RgbImage stencilPage = decodeBmp24(fileBytes(pagesFolder() + "/STENCILpage.bmp"));
    EXPECT_TRUE(SameImage(composePlacedPage(stencil, placement, decoration, "STENCIL"), stencilPage));
    // The colour-matching page is a portrait page, stretched, without corners or label.
    const RgbImage matching = decodeBmp24(fileBytes(pagesFolder() + "/ColorMatchingPage.bmp"));
    EXPECT_TRUE(SameImage(composeStretchedPage(colorMatching, 200, 300), matching));
}

// Another program prints an exported page at its true size: each page claims the printer's
// resolution, as pixels per metre in a BMP file and as the JFIF density in a JPEG file.
TEST_F(Export, PagesClaimThePrintersResolution) {
    entries.result.ticked = true;
    fakes.printer.resolutionX = 90;  // the vertical resolution serves both directions
    ASSERT_TRUE(exportAs(PageFileType::Bmp, "bmp"));
    const std::vector<std::uint8_t> bmp = fileBytes(pagesFolder("bmp") + "/RESULTpage.bmp");
    ASSERT_GE(bmp.size(), 54u);
    for (std::size_t at : {38u, 42u}) {
        const std::uint32_t ppm =
            bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | std::uint32_t{bmp[at + 3]} << 24;
        EXPECT_EQ(ppm, 3937u);  // 100 DPI
    }

    ASSERT_TRUE(exportAs(PageFileType::Jpeg, "jpeg"));
    const std::vector<std::uint8_t> jpeg = fileBytes(pagesFolder("jpeg") + "/RESULTpage.jpeg");
    // SOI, then APP0: length, "JFIF\0", version, units, X density, Y density.
    ASSERT_GE(jpeg.size(), 18u);
    ASSERT_EQ(std::string(jpeg.begin() + 6, jpeg.begin() + 11), std::string("JFIF\0", 5));
    EXPECT_EQ(jpeg[13], 1);  // dots per inch
    EXPECT_EQ(jpeg[14] << 8 | jpeg[15], 100);
    EXPECT_EQ(jpeg[16] << 8 | jpeg[17], 100);
}

TEST_F(Export, SameFilesWhateverTheNumberOfWorkers) {
    tickAll();
    settings.labelOnTop = true;
    std::vector<std::vector<std::vector<std::uint8_t>>> runs;
    for (int workers : {1, 2, 3}) {
        setWorkerCount(workers);
        const std::string name = "run" + std::to_string(workers);
        ASSERT_TRUE(exportAs(PageFileType::Jpeg, name));
        std::vector<std::vector<std::uint8_t>> files;
        for (const std::string& file :
             {std::string("STENCILpage.jpeg"), std::string("ColorMatchingPage.jpeg"),
              std::string("RESULTpage.jpeg"), std::string("1page.jpeg"), std::string("22page.jpeg"),
              std::string("23page.jpeg")}) {
            files.push_back(fileBytes(pagesFolder(name) + "/" + file));
            EXPECT_FALSE(files.back().empty()) << file;
        }
        runs.push_back(files);
    }
    setWorkerCount(0);
    EXPECT_EQ(runs[0], runs[1]);
    EXPECT_EQ(runs[0], runs[2]);
}

TEST_F(Export, ASecondExportWithTheSameNameIsRefused) {
    entries.result.ticked = true;
    ASSERT_TRUE(exportAs(PageFileType::Bmp));
    const auto before = fileBytes(pagesFolder() + "/RESULTpage.bmp");
    fakes.files.written.clear();
    fakes.dialogs.messages.clear();
    result.fill(kBlack);
    EXPECT_FALSE(exportAs(PageFileType::Bmp));
    EXPECT_EQ(fakes.dialogs.messages, (std::vector<std::string>{kFolderExistsWarning}));
    EXPECT_TRUE(fakes.files.written.empty());
    EXPECT_EQ(fileBytes(pagesFolder() + "/RESULTpage.bmp"), before);
}

TEST_F(Export, ANameTakenByAFileIsRefusedAndTheFileKept) {
    entries.result.ticked = true;
    { std::ofstream(pagesFolder()) << "keep"; }
    EXPECT_FALSE(exportAs(PageFileType::Jpeg));
    EXPECT_EQ(fakes.dialogs.messages, (std::vector<std::string>{kFolderExistsWarning}));
    EXPECT_EQ(fileBytes(pagesFolder()), (std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}));
}

TEST_F(Export, AFolderThatCannotBeCreatedShowsTheSystemsError) {
    entries.result.ticked = true;
    EXPECT_FALSE(exportAs(PageFileType::Jpeg, "no such folder/design"));
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    const std::string& message = fakes.dialogs.messages[0];
    EXPECT_EQ(message.rfind("ERROR", 0), 0u);
    EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
    EXPECT_TRUE(fakes.files.written.empty());
}

TEST_F(Export, ADiskThatFillsUpStopsTheExportAndKeepsTheEarlierPages) {
    tickAll();
    fakes.files.fullOn = "/RESULTpage.bmp";
    openTarget = true;
    EXPECT_FALSE(exportAs(PageFileType::Bmp));
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes.dialogs.messages[0].rfind("ERROR", 0), 0u);
    EXPECT_NE(fakes.dialogs.messages[0].find("No space left on device"), std::string::npos);
    EXPECT_EQ(filesIn(pagesFolder()), (std::set<std::string>{"STENCILpage.bmp", "ColorMatchingPage.bmp"}));
    EXPECT_TRUE(fakes.shell.openedFolders.empty());
}

TEST_F(Export, OpenTargetOpensTheFolderBeforeTheMessage) {
    entries.colorMatching.ticked = true;
    openTarget = true;
    ASSERT_TRUE(exportAs(PageFileType::Jpeg));
    EXPECT_EQ(fakes.shell.openedFolders, (std::vector<std::string>{pagesFolder()}));
    EXPECT_EQ(fakes.dialogs.messages.size(), 1u);
}

TEST_F(Export, CancellingTheDialogDoesNothing) {
    tickAll();
    fakes.dialogs.saveAnswers.push_back(std::nullopt);
    EXPECT_FALSE(
        exportCheckedPages(entries, pictures, state, settings, ExportSettings{}, 96, fakes.platform));
    EXPECT_TRUE(fakes.dialogs.messages.empty());
    EXPECT_TRUE(filesIn(temp.path()).empty());
}

// Shown but unticked entries are nothing to save: no name is asked and no folder made.
TEST_F(Export, NoTickedEntrySavesNothingAndSaysSo) {
    EXPECT_FALSE(exportAs(PageFileType::Jpeg));
    EXPECT_EQ(fakes.dialogs.messages, (std::vector<std::string>{kNoPageCheckedMessage}));
    EXPECT_EQ(fakes.dialogs.saveAnswers.size(), 1u);  // the save dialog never opened
    EXPECT_TRUE(filesIn(temp.path()).empty());
}

}  // namespace
}  // namespace dg
