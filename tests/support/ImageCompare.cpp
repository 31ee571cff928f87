#include "support/ImageCompare.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace dg::test {

std::string colorText(ColorValue c) {
    char text[48];
    std::snprintf(text, sizeof text, "(r %d, g %d, b %d)", redOf(c), greenOf(c), blueOf(c));
    return text;
}

::testing::AssertionResult SameImage(const RgbImage& expected, const RgbImage& actual) {
    if (expected.width() != actual.width() || expected.height() != actual.height()) {
        return ::testing::AssertionFailure()
               << "size differs: expected " << expected.width() << " x " << expected.height()
               << ", got " << actual.width() << " x " << actual.height();
    }
    for (std::int32_t y = 0; y < expected.height(); ++y) {
        for (std::int32_t x = 0; x < expected.width(); ++x) {
            if (expected.pixel(x, y) != actual.pixel(x, y)) {
                return ::testing::AssertionFailure()
                       << "first difference at (" << x << ", " << y << "): expected "
                       << colorText(expected.pixel(x, y)) << ", got " << colorText(actual.pixel(x, y));
            }
        }
    }
    return ::testing::AssertionSuccess();
}

RgbImage imageFromRows(std::initializer_list<std::initializer_list<ColorValue>> rows) {
    const auto height = static_cast<std::int32_t>(rows.size());
    const auto width = height == 0 ? 0 : static_cast<std::int32_t>(rows.begin()->size());
    RgbImage picture(width, height);
    std::int32_t y = 0;
    for (const auto& row : rows) {
        std::int32_t x = 0;
        for (ColorValue c : row) picture.setPixel(x++, y, c);
        ++y;
    }
    return picture;
}

RgbImage randomImage(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    RgbImage picture(width, height);
    std::mt19937 random(seed);
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = picture.row(y);
        for (std::int32_t i = 0; i < width * 3; ++i) row[i] = static_cast<std::uint8_t>(random());
    }
    return picture;
}

std::string fixturePath(const std::string& relative) { return std::string(DG_FIXTURES) + "/" + relative; }

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dg-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // A test may leave read-only folders behind; make them writable before removing.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace dg::test
