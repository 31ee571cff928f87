#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "platform/fake/FakePlatform.h"
#include "support/ImageCompare.h"

namespace dg::test {

inline const std::string kWalkPhoto = std::string(DG_FIXTURES) + "/formats/real/photo.jpg";

// In one read: a byte at a time through a stream iterator took most of a walk's time under
// the sanitizers, where every exported page and saved picture is read back.
inline std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// Every file of a folder, by name, with its bytes.
inline std::map<std::string, std::vector<std::uint8_t>> folderFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    if (!std::filesystem::is_directory(folder)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename()] = bytesOf(entry.path());
    return files;
}

// Where two versions of a file part: the first differing byte and, for a BMP picture, the first
// differing pixel.
inline std::string whereFilesDiffer(const std::string& name, const std::vector<std::uint8_t>& a,
                                    const std::vector<std::uint8_t>& b) {
    std::ostringstream text;
    const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
    text << name << " differs: " << a.size() << " bytes against " << b.size() << ", first at byte " << at;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".bmp") == 0) {
        try {
            text << "; " << SameImage(decodeBmp24(a), decodeBmp24(b)).message();
        } catch (const std::exception& e) {
            text << "; not a picture: " << e.what();
        }
    }
    return text.str();
}

// Compares two folders file by file, naming each file that differs and where; files named in
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
    for (const auto& [name, bytes] : a)
        EXPECT_TRUE(bytes == b.at(name)) << whereFilesDiffer(name, bytes, b.at(name));
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
