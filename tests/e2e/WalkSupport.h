#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/fake/FakePlatform.h"

namespace dg::test {

inline const std::string kWalkPhoto = std::string(DG_FIXTURES) + "/formats/real/photo.jpg";

inline std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file of a folder, by name, with its bytes.
inline std::map<std::string, std::vector<std::uint8_t>> folderFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    if (!std::filesystem::is_directory(folder)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename()] = bytesOf(entry.path());
    return files;
}

// Compares two folders file by file, naming the first file that differs; files named in
// `except` are left out on both sides.
inline void expectSameFolder(const std::filesystem::path& wizard, const std::filesystem::path& other,
                             const std::vector<std::string>& except = {}) {
    auto a = folderFiles(wizard);
    auto b = folderFiles(other);
    for (const std::string& name : except) {
        a.erase(name);
        b.erase(name);
    }
    ASSERT_FALSE(a.empty()) << wizard;
    std::vector<std::string> namesA, namesB;
    for (const auto& [name, bytes] : a) namesA.push_back(name);
    for (const auto& [name, bytes] : b) namesB.push_back(name);
    ASSERT_EQ(namesA, namesB) << wizard << " against " << other;
    for (const auto& [name, bytes] : a) EXPECT_TRUE(bytes == b.at(name)) << name << " differs";
}

// The folder in `parent` whose name starts with the chosen project name.
inline std::string projectFolderIn(const std::filesystem::path& parent, const std::string& name) {
    for (const auto& entry : std::filesystem::directory_iterator(parent))
        if (entry.path().filename().string().rfind(name + " -OUTPUT- ", 0) == 0) return entry.path();
    return {};
}

// Small printer pages keep the sanitizer build quick; the layout rules are the same.
inline void smallPrinter(fake::FakePrinter& printer) {
    printer.portraitWidthPx = 827;
    printer.portraitHeightPx = 1169;
    printer.resolutionX = printer.resolutionY = 100;
    printer.portraitWidthMm = 210;
    printer.portraitHeightMm = 297;
}

}  // namespace dg::test
