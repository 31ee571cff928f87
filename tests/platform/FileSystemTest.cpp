#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "imaging/Failure.h"
#include "platform/FileSystem.h"
#include "support/DiskFaults.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// More pieces than one system call takes, of every size from none to a few kilobytes, come
// out as one file of their bytes in order.
TEST(LocalFileSystem, PiecesAreWrittenInOrderAsOneFile) {
    std::vector<std::vector<std::uint8_t>> storage;
    for (std::size_t i = 0; i < 2600; ++i) {
        std::vector<std::uint8_t> piece((i * 37) % 3001);
        for (std::size_t k = 0; k < piece.size(); ++k) piece[k] = static_cast<std::uint8_t>(i * 7 + k);
        storage.push_back(std::move(piece));
    }
    std::vector<std::span<const std::uint8_t>> pieces;
    std::vector<std::uint8_t> joined;
    for (const auto& piece : storage) {
        pieces.emplace_back(piece);
        joined.insert(joined.end(), piece.begin(), piece.end());
    }
    test::TempFolder folder;
    LocalFileSystem files;
    files.writeFilePieces(folder.file("pieces.bin"), pieces);
    EXPECT_EQ(fileBytes(folder.file("pieces.bin")), joined);

    // Rewriting replaces the whole file; no pieces make an empty one.
    files.writeFilePieces(folder.file("pieces.bin"), {pieces[1]});
    EXPECT_EQ(fileBytes(folder.file("pieces.bin")), storage[1]);
    files.writeFilePieces(folder.file("pieces.bin"), {});
    EXPECT_TRUE(fileBytes(folder.file("pieces.bin")).empty());
}

// A file of many megabytes (a design's channel, say) goes past the page cache in large
// chunks; its pieces cross the chunks' edges anywhere and it ends within one.
TEST(LocalFileSystem, ALargeFileIsItsPiecesByteForByte) {
    const std::vector<std::uint8_t> row = [] {
        std::vector<std::uint8_t> bytes(28803);
        for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<std::uint8_t>(k * 31 + k / 256);
        return bytes;
    }();
    const std::vector<std::uint8_t> header(54, 0x42);
    std::vector<std::span<const std::uint8_t>> pieces{header};
    for (int y = 0; y < 700; ++y) pieces.emplace_back(row.data() + y % 5, row.size() - y % 5);
    std::vector<std::uint8_t> joined;
    for (const auto& piece : pieces) joined.insert(joined.end(), piece.begin(), piece.end());
    ASSERT_GT(joined.size(), std::size_t{16} << 20);

    test::TempFolder folder;
    LocalFileSystem files;
    files.writeFilePieces(folder.file("large.bmp"), pieces);
    EXPECT_TRUE(fileBytes(folder.file("large.bmp")) == joined);
}

// A write that fails half-way, small or past the page cache, leaves the file it was to
// replace as it was and nothing else in the folder; a replaced file keeps its permissions.
TEST(LocalFileSystem, AWriteThatFailsHalfWayLeavesTheEarlierFileWhole) {
    test::TempFolder folder;
    LocalFileSystem files;
    const std::string path = folder.file("design.bmp");
    const std::vector<std::uint8_t> earlier(3000, 7);
    files.writeFile(path, earlier);
    ::chmod(path.c_str(), 0640);
    for (const std::size_t size : {std::size_t{5000}, std::size_t{20} << 20}) {
        SCOPED_TRACE(size);
        const std::vector<std::uint8_t> bigger(size, 9);
        try {
            test::FileSizeLimit limit(4096);
            files.writeFile(path, bigger);
            FAIL() << "a write past the limit succeeded";
        } catch (const Failure& failure) {
            EXPECT_NE(std::string(failure.what()).find(path), std::string::npos) << failure.what();
        }
        EXPECT_EQ(fileBytes(path), earlier);
        int entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
            ++entries;
        EXPECT_EQ(entries, 1);
    }
    const std::vector<std::uint8_t> later(10, 3);
    files.writeFile(path, later);
    EXPECT_EQ(fileBytes(path), later);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Pieces left by a run that ended half-way, under the names this run would write through,
// are passed over and left alone.
TEST(LocalFileSystem, PiecesLeftByAnEarlierRunAreNoObstacle) {
    test::TempFolder folder;
    LocalFileSystem files;
    const std::vector<std::uint8_t> bytes(10, 2);
    for (int k = 0; k < 60; ++k)
        std::ofstream(folder.file(".dg-" + std::to_string(::getpid()) + "-" + std::to_string(k) + ".part"))
            << "stale";
    files.writeFile(folder.file("design.bmp"), bytes);
    EXPECT_EQ(fileBytes(folder.file("design.bmp")), bytes);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) ++entries;
    EXPECT_EQ(entries, 61);
}

TEST(LocalFileSystem, AFullDiskFailsWithTheSystemsError) {
    const std::vector<std::uint8_t> bytes(100000, 1);
    LocalFileSystem files;
    try {
        files.writeFilePieces("/dev/full",
                              {std::span<const std::uint8_t>(bytes), std::span<const std::uint8_t>(bytes)});
        FAIL() << "a write to a full device succeeded";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what()).find("No space left on device"), std::string::npos)
            << failure.what();
    }
}

}  // namespace
}  // namespace dg
