#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "formats/Bmp.h"
#include "support/ImageCompare.h"

namespace dg::test {

// Starts of files that a content probe must turn down: a BMP, the start of a PNG and random
// bytes, each long enough for any probe's header.
inline std::vector<std::vector<std::uint8_t>> foreignFiles() {
    std::vector<std::vector<std::uint8_t>> files;
    files.push_back(encodeBmp(randomImage(3, 3, 1)));
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D',
                                     'R',  0,   0,   0,   1,    0,    0,    0,    1, 8, 2, 0,  0,   0};
    png.resize(64, 0);
    files.push_back(png);
    std::mt19937 random(5);
    std::vector<std::uint8_t> noise(256);
    for (auto& b : noise) b = static_cast<std::uint8_t>(random());
    files.push_back(noise);
    return files;
}

}  // namespace dg::test
