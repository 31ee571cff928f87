#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "imaging/RgbImage.h"

namespace dg::test {

// Same size and the same pixels; on a difference, names the first differing pixel and both
// colours.
::testing::AssertionResult SameImage(const RgbImage& expected, const RgbImage& actual);

// A picture from rows of colour values, top row first.
RgbImage imageFromRows(std::initializer_list<std::initializer_list<ColorValue>> rows);

// A picture of random colours from a fixed seed.
RgbImage randomImage(std::int32_t width, std::int32_t height, std::uint32_t seed);

std::string colorText(ColorValue c);

// Path of a file under tests/fixtures/.
std::string fixturePath(const std::string& relative);

// A fresh, empty folder for one test, removed when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace dg::test
