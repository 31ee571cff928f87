#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/BatchWalk.h"
#include "formats/Bmp.h"
#include "formats/JpegWriter.h"
#include "imaging/Scaling.h"
#include "platform/FileSystem.h"
#include "platform/fake/FakePlatform.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BatchWalk : public ::testing::Test {
protected:
    int run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), picture);
        for (std::string& a : arguments)
            if (a.rfind("@", 0) == 0) a = folder.file(a.substr(1));
        messages.str("");
        return runBatch(parseBatchOptions(arguments), printer, files, messages, [](const std::string&) {});
    }

    void SetUp() override {
        // Small pages keep the sanitizer build quick.
        printer.portraitWidthPx = 600;
        printer.portraitHeightPx = 850;
        printer.resolutionX = printer.resolutionY = 72;
        // A small picture of many colours, so the colour task separates it.
        const RgbImage colours = test::randomImage(40, 30, 5);
        std::ofstream(picture, std::ios::binary)
            .write(reinterpret_cast<const char*>(encodeBmp(colours).data()),
                   static_cast<std::streamsize>(encodeBmp(colours).size()));
    }

    test::TempFolder folder;
    std::string picture = folder.file("design.bmp");
    fake::FakePrinter printer;
    LocalFileSystem files;
    std::ostringstream messages;
};

TEST_F(BatchWalk, ColourTaskSavesExportsAndPrintsEveryTickedPage) {
    ASSERT_EQ(run({"--task", "colors", "--save", "@tiger", "--export", "@tiger", "--as", "bmp", "--print"}),
              0)
        << messages.str();
    const fs::path project = folder.file("tiger -OUTPUT- 8.5-Centimeters W -6.38-Centimeters H-100  DPI");
    ASSERT_TRUE(fs::is_directory(project)) << messages.str();
    for (const char* name : {"_Source.bmp", "_Result0.bmp", "RESULT.bmp", "PROJECT.CSP", "Stencil.bmp"})
        EXPECT_TRUE(fs::exists(project / name)) << name;
    // 8.50 cm at 100 DPI is 335 pixels wide; the proportions give 6.38 cm, 251 pixels.
    const RgbImage result = decodeBmp24(bytesOf(project / "RESULT.bmp"));
    EXPECT_EQ(result.width(), 335);
    EXPECT_EQ(result.height(), 251);

    const fs::path pages = folder.file("tiger Pages");
    std::size_t pageFiles = 0;
    for (const auto& entry : fs::directory_iterator(pages)) {
        ++pageFiles;
        const RgbImage page = decodeBmp24(bytesOf(entry.path()));
        EXPECT_EQ(page.width(), printer.pageWidthPx());
    }
    // Stencil, colour matching, result and the channels: one job for each page written.
    EXPECT_GE(pageFiles, 4u);
    EXPECT_EQ(printer.jobs.size(), pageFiles);
    EXPECT_EQ(printer.jobs.front().name, "STENCIL");
}

TEST_F(BatchWalk, ANameThatExistsIsRefusedAndNothingIsOverwritten) {
    ASSERT_EQ(run({"--task", "colors", "--export", "@tiger"}), 0);
    const fs::path pages = folder.file("tiger Pages");
    const auto before = fs::last_write_time(pages / "RESULTpage.jpeg");
    EXPECT_EQ(run({"--task", "colors", "--export", "@tiger"}), 1);
    EXPECT_NE(messages.str().find("WARNING: NOT SAVED. DIRECTORY EXSIST."), std::string::npos)
        << messages.str();
    EXPECT_EQ(fs::last_write_time(pages / "RESULTpage.jpeg"), before);
}

TEST_F(BatchWalk, SingleFileIsOneResultPageAtTheOutputSize) {
    ASSERT_EQ(run({"--task", "single", "--width", "2.54", "--print"}), 0) << messages.str();
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].name, "RESULT");
}

TEST_F(BatchWalk, AFileThatIsNoPictureFailsWithTheReadersMessage) {
    std::ofstream(picture, std::ios::binary) << "not a picture at all";
    EXPECT_EQ(run({"--task", "colors"}), 1);
    EXPECT_FALSE(messages.str().empty());
}

// A picture whose pixels could not be held: the reader refuses it by its header, before any
// memory is taken, and the run ends with the message and exit code 1.
TEST_F(BatchWalk, APictureTooLargeForMemoryFailsWithAMessage) {
    std::vector<std::uint8_t> header = encodeBmp(RgbImage(1, 1));
    for (const std::size_t at : {18u, 22u}) {  // width and height: 60000 pixels each
        header[at] = 0x60;
        header[at + 1] = 0xEA;
        header[at + 2] = header[at + 3] = 0;
    }
    std::ofstream(picture, std::ios::binary)
        .write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    EXPECT_EQ(run({"--task", "colors", "--save", "@tiger"}), 1);
    EXPECT_NE(messages.str().find("too large"), std::string::npos) << messages.str();
    EXPECT_FALSE(fs::exists(folder.file("tiger -OUTPUT- 8.5-Centimeters W -8.5-Centimeters H-100  DPI")));
}

// An output of no rows is refused before anything is written: its project could not be opened.
TEST_F(BatchWalk, AnOutputOfNoPixelsIsRefusedBeforeAnythingIsWritten) {
    EXPECT_EQ(run({"--task", "tribal", "--height", "0", "--no-aspect", "--save", "@flat"}), 1);
    EXPECT_NE(messages.str().find("choose a larger size"), std::string::npos) << messages.str();
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1);  // the picture alone
}

}  // namespace
}  // namespace dg
