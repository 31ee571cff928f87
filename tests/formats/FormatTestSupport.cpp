#include "FormatTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "support/ImageCompare.h"

namespace dg::test {

std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("missing fixture " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

RgbImage readPpmReference(const std::string& path) {
    const std::vector<std::uint8_t> bytes = fileBytes(path);
    std::string text(bytes.begin(), bytes.end());
    std::istringstream header(text);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    header >> magic >> width >> height >> maxValue;
    if (magic != "P6" || maxValue != 255) throw std::runtime_error("not a simple P6 file: " + path);
    const std::size_t start = static_cast<std::size_t>(header.tellg()) + 1;
    RgbImage picture(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = picture.row(y);
        const std::uint8_t* in = bytes.data() + start + static_cast<std::size_t>(y) * width * 3;
        for (int x = 0; x < width; ++x) {
            out[3 * x] = in[3 * x + 2];
            out[3 * x + 1] = in[3 * x + 1];
            out[3 * x + 2] = in[3 * x];
        }
    }
    return picture;
}

::testing::AssertionResult CloseImage(const RgbImage& expected, const RgbImage& actual, int tolerance) {
    if (tolerance == 0) return SameImage(expected, actual);
    if (expected.width() != actual.width() || expected.height() != actual.height()) {
        return ::testing::AssertionFailure() << "size " << actual.width() << " x " << actual.height()
                                             << ", expected " << expected.width() << " x " << expected.height();
    }
    int worst = 0;
    for (int y = 0; y < expected.height(); ++y) {
        const std::uint8_t* e = expected.row(y);
        const std::uint8_t* a = actual.row(y);
        for (int i = 0; i < expected.width() * 3; ++i) {
            const int d = std::abs(int{e[i]} - int{a[i]});
            if (d > tolerance) {
                return ::testing::AssertionFailure()
                       << "pixel (" << i / 3 << ", " << y << ") is " << colorText(actual.pixel(i / 3, y))
                       << ", expected " << colorText(expected.pixel(i / 3, y)) << " within " << tolerance;
            }
            worst = std::max(worst, d);
        }
    }
    return ::testing::AssertionSuccess() << "largest difference " << worst;
}

}  // namespace dg::test
