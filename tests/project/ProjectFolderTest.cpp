#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "output/NewFolder.h"
#include "output/OutputTestSupport.h"
#include "project/ProjectFolder.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

using test::SameImage;

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string fileText(const std::string& path) {
    const auto bytes = fileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::set<std::string> filesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename());
    return names;
}

OutputSettings settings() {
    OutputSettings state;
    state.unit = MeasuringUnit::Centimeters;
    state.outputDpi = 100;
    state.outputWidthWhole = 8;
    state.outputWidthHundredths = 50;
    state.outputHeightWhole = 6;
    state.outputHeightHundredths = 38;
    state.outputWidthText = "8.5";
    state.outputHeightText = "6.38";
    return state;
}

TEST(ProjectFolderName, HasItsElevenPieces) {
    OutputSettings state = settings();
    EXPECT_EQ(projectFolderPath("/work/dragon", state),
              "/work/dragon -OUTPUT- 8.5-Centimeters W -6.38-Centimeters H-100  DPI");
    state.unit = MeasuringUnit::Inches;
    state.outputDpi = 160;
    state.outputWidthText = "12";
    state.outputHeightText = "0.05";
    EXPECT_EQ(projectFolderPath("x", state), "x -OUTPUT- 12-Inches W -0.05-Inches H-160  DPI");
}

TEST(ProjectDescriptor, ElevenLinesEachEndedByCrLf) {
    EXPECT_EQ(projectDescriptor(settings(), 850, 638),
              "index\r\n100\r\n8\r\n50\r\n6\r\n38\r\n2\r\n850\r\n638\r\n8.5\r\n6.38\r\n");
    OutputSettings inches = settings();
    inches.unit = MeasuringUnit::Inches;
    EXPECT_EQ(projectDescriptor(inches, 1, 2).substr(0, 22), "index\r\n100\r\n8\r\n50\r\n6\r\n");
    EXPECT_NE(projectDescriptor(inches, 1, 2).find("\r\n38\r\n1\r\n1\r\n2\r\n"), std::string::npos);
}

class SaveProject : public ::testing::Test {
protected:
    void SetUp() override {
        const ColorValue colors[] = {kBlack, makeColor(200, 0, 0), makeColor(0, 0, 200)};
        RgbImage picture(5, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 5; ++x) picture.setPixel(x, y, colors[(x + y) % 3]);
        channels = test::channelSetOf(picture);
        channels.after = test::randomImage(5, 4, 1);  // stands for a coloured result
        for (int n : {3, 23}) {
            channels.colorOf(n) = makeColor(n, n, n);
            channels.channel(n).mask = test::randomImage(5, 4, static_cast<std::uint32_t>(n));
        }
        for (int n = 1; n <= kChannelCount; ++n) channels.channel(n).checked = n == 3 || n == 23;
    }

    bool save(const ProjectContent& content, const std::string& name = "dragon") {
        fakes.dialogs.saveAnswers.push_back(temp.file(name));
        return saveProject(content, state, fakes.dialogs, fakes.files);
    }
    std::string folder(const std::string& name = "dragon") const {
        return projectFolderPath(temp.file(name), state);
    }

    test::TempFolder temp;
    test::RecordingPlatform fakes;
    OutputSettings state = settings();
    ChannelSet channels;
    RgbImage source = test::randomImage(5, 4, 9);
    RgbImage intake = test::randomImage(11, 7, 10);
    RgbImage stencil = test::randomImage(5, 4, 11);
};

TEST_F(SaveProject, FromTheChannelsScreen) {
    ASSERT_TRUE(save(channelsScreenProject(source, channels)));
    EXPECT_EQ(test::namesIn(fakes.files.written),
              (std::vector<std::string>{"_Source.bmp", "_Result0.bmp", "RESULT.bmp", "PROJECT.CSP", "3.bmp",
                                        "23.bmp"}));
    EXPECT_EQ(filesIn(folder()).size(), 6u);
    EXPECT_TRUE(SameImage(source, decodeBmp24(fileBytes(folder() + "/_Source.bmp"))));
    EXPECT_TRUE(SameImage(channels.before, decodeBmp24(fileBytes(folder() + "/_Result0.bmp"))));
    EXPECT_TRUE(SameImage(channels.after, decodeBmp24(fileBytes(folder() + "/RESULT.bmp"))));
    EXPECT_TRUE(SameImage(channels.channel(23).mask, decodeBmp24(fileBytes(folder() + "/23.bmp"))));
    EXPECT_EQ(fileText(folder() + "/PROJECT.CSP"), projectDescriptor(state, 5, 4));
    EXPECT_EQ(fakes.dialogs.messages, (std::vector<std::string>{"PROJECT SAVED IN FOLDER: " + folder()}));
}

TEST_F(SaveProject, FromThePrintingScreen) {
    ASSERT_TRUE(save(printingScreenProject(intake, source, channels, &stencil)));
    EXPECT_EQ(test::namesIn(fakes.files.written).back(), "Stencil.bmp");
    EXPECT_TRUE(SameImage(stencil, decodeBmp24(fileBytes(folder() + "/Stencil.bmp"))));
    // _Source.bmp is the picture as taken in; the descriptor keeps the SOURCE picture's size.
    EXPECT_TRUE(SameImage(intake, decodeBmp24(fileBytes(folder() + "/_Source.bmp"))));
    EXPECT_EQ(fileText(folder() + "/PROJECT.CSP"), projectDescriptor(state, 5, 4));

    // Without a stencil there is no Stencil.bmp; without an intake picture (a reopened
    // project) _Source.bmp is the SOURCE picture.
    state.outputDpi = 101;
    ASSERT_TRUE(save(printingScreenProject(RgbImage(), source, channels, nullptr)));
    EXPECT_EQ(filesIn(folder()).count("Stencil.bmp"), 0u);
    EXPECT_TRUE(SameImage(source, decodeBmp24(fileBytes(folder() + "/_Source.bmp"))));
}

// The pictures of the output size claim the output resolution, so they print at their true
// size in other programs; the picture as taken in has another size and claims none.
TEST_F(SaveProject, PicturesOfTheOutputSizeClaimTheOutputResolution) {
    state.outputDpi = 160;
    ASSERT_TRUE(save(printingScreenProject(intake, source, channels, &stencil)));
    auto ppm = [&](const std::string& name) {
        const std::vector<std::uint8_t> bmp = fileBytes(folder() + "/" + name);
        return bmp.size() < 46 ? 0u : bmp[38] | bmp[39] << 8 | bmp[40] << 16 | std::uint32_t{bmp[41]} << 24;
    };
    for (const char* name : {"_Result0.bmp", "RESULT.bmp", "3.bmp", "23.bmp", "Stencil.bmp"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ppm(name), 6299u);  // 160 DPI
    }
    EXPECT_EQ(ppm("_Source.bmp"), 0u);
}

// Pictures go to disk from their own rows: every file is the encoded picture byte for byte,
// at every row padding.
TEST_F(SaveProject, PicturesAreTheEncodedFilesByteForByte) {
    fake::FakeFileSystem disk;
    for (const std::int32_t width : {1, 2, 3, 4}) {
        SCOPED_TRACE(width);
        ChannelSet set = test::channelSetOf(test::randomImage(width, 3, static_cast<std::uint32_t>(width)));
        for (int n = 1; n <= kChannelCount; ++n) set.channel(n).checked = !set.channel(n).mask.empty();
        const RgbImage outline = test::randomImage(width, 3, 40);
        const RgbImage taken = test::randomImage(width + 5, 2, 41);
        const std::string name = "w" + std::to_string(width);
        fakes.dialogs.saveAnswers.push_back(temp.file(name));
        ASSERT_TRUE(
            saveProject(printingScreenProject(taken, set.before, set, &outline), state, fakes.dialogs, disk));
        const std::string saved = folder(name) + "/";
        EXPECT_EQ(fileBytes(saved + "_Source.bmp"), encodeBmp(taken));
        EXPECT_EQ(fileBytes(saved + "_Result0.bmp"), encodeBmp(set.before, state.outputDpi));
        EXPECT_EQ(fileBytes(saved + "RESULT.bmp"), encodeBmp(set.after, state.outputDpi));
        EXPECT_EQ(fileBytes(saved + "Stencil.bmp"), encodeBmp(outline, state.outputDpi));
        int channels = 0;
        for (int n = 1; n <= kChannelCount; ++n) {
            if (!set.channel(n).checked) continue;
            ++channels;
            EXPECT_EQ(fileBytes(saved + channelFileName(n)), encodeBmp(set.channel(n).mask, state.outputDpi))
                << n;
        }
        EXPECT_GE(channels, 2);
    }
}

TEST_F(SaveProject, TheSameNameTwiceIsRefusedAndADifferentDpiIsANewFolder) {
    ASSERT_TRUE(save(channelsScreenProject(source, channels)));
    const auto first = fileBytes(folder() + "/RESULT.bmp");
    fakes.files.written.clear();
    fakes.dialogs.messages.clear();
    channels.after.fill(kWhite);
    EXPECT_FALSE(save(channelsScreenProject(source, channels)));
    EXPECT_EQ(fakes.dialogs.messages, (std::vector<std::string>{kFolderExistsWarning}));
    EXPECT_TRUE(fakes.files.written.empty());
    EXPECT_EQ(fileBytes(folder() + "/RESULT.bmp"), first);

    state.outputDpi = 120;
    EXPECT_TRUE(save(channelsScreenProject(source, channels)));
    EXPECT_EQ(filesIn(temp.path()).size(), 2u);
}

TEST_F(SaveProject, ANameTakenByAFileIsRefused) {
    { std::ofstream(folder()) << "mine"; }
    EXPECT_FALSE(save(channelsScreenProject(source, channels)));
    EXPECT_EQ(fakes.dialogs.messages, (std::vector<std::string>{kFolderExistsWarning}));
    EXPECT_EQ(fileText(folder()), "mine");
}

TEST_F(SaveProject, AFolderThatCannotBeCreatedShowsTheSystemsError) {
    struct Case {
        const char* name;
        const char* error;
    };
    const std::string tooLong(300, 'n');
    for (const Case c :
         {Case{"missing/dragon", "No such file or directory"}, Case{tooLong.c_str(), "File name too long"}}) {
        SCOPED_TRACE(c.error);
        fakes.dialogs.messages.clear();
        EXPECT_FALSE(save(channelsScreenProject(source, channels), c.name));
        ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
        EXPECT_NE(fakes.dialogs.messages[0].find(c.error), std::string::npos) << fakes.dialogs.messages[0];
        EXPECT_TRUE(fakes.files.written.empty());
    }
}

TEST_F(SaveProject, ANameWithANulCharacterIsRefusedWithAMessage) {
    const std::string name("drag\0on", 7);
    EXPECT_FALSE(save(channelsScreenProject(source, channels), name));
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_NE(fakes.dialogs.messages[0].find("cannot hold"), std::string::npos);
    EXPECT_TRUE(filesIn(temp.path()).empty());
}

TEST_F(SaveProject, AFailedWriteShowsTheSystemsErrorAndKeepsWhatWasWritten) {
    for (const char* failing : {"/RESULT.bmp", "/PROJECT.CSP", "/23.bmp"}) {
        SCOPED_TRACE(failing);
        fakes.files.written.clear();
        fakes.dialogs.messages.clear();
        fakes.files.fullOn = failing;
        const std::string name = std::string("full") + (failing + 1);
        EXPECT_FALSE(save(channelsScreenProject(source, channels), name));
        ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
        EXPECT_NE(fakes.dialogs.messages[0].find("No space left on device"), std::string::npos);
        EXPECT_EQ(fakes.dialogs.messages[0].find("PROJECT SAVED"), std::string::npos);
        // Everything before the failing file is on disk, nothing after it.
        std::set<std::string> written;
        for (const auto& n : test::namesIn(fakes.files.written)) written.insert(n);
        EXPECT_EQ(filesIn(folder(name)), written);
        EXPECT_EQ(written.count(failing + 1), 0u);
    }
}

TEST_F(SaveProject, CancellingTheDialogDoesNothing) {
    fakes.dialogs.saveAnswers.push_back(std::nullopt);
    EXPECT_FALSE(saveProject(channelsScreenProject(source, channels), state, fakes.dialogs, fakes.files));
    EXPECT_TRUE(fakes.dialogs.messages.empty());
    EXPECT_TRUE(filesIn(temp.path()).empty());
}

}  // namespace
}  // namespace dg
