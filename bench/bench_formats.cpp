// Picture intake against GraphicsMagick: a 12-megapixel JPEG and PNG decoded by our readers
// into an RgbImage, and by GraphicsMagick into its own in-memory picture, in the same run.
#include <benchmark/benchmark.h>
#include <magick/api.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/JpegReader.h"
#include "formats/MagickReader.h"
#include "formats/PngReader.h"
#include "support/BenchSupport.h"

namespace {

const std::vector<std::uint8_t>& fileOf(const std::string& name) {
    static std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
    for (const auto& [n, bytes] : files)
        if (n == name) return bytes;
    std::ifstream in(dg::bench::dataFolder() + "/" + name, std::ios::binary);
    if (!in) throw std::runtime_error("missing benchmark picture " + name);
    files.emplace_back(name, std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                                       std::istreambuf_iterator<char>()));
    return files.back().second;
}

void ours(benchmark::State& state, const char* name,
          dg::RgbImage (*decode)(const std::uint8_t*, std::size_t)) {
    const std::vector<std::uint8_t>& bytes = fileOf(name);
    for (auto _ : state) {
        dg::RgbImage picture = decode(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(picture.data());
    }
}

void magick(benchmark::State& state, const char* name, const char* format) {
    const std::vector<std::uint8_t>& bytes = fileOf(name);
    dg::ensureMagick();
    ImageInfo* info = CloneImageInfo(nullptr);
    std::strcpy(info->magick, format);
    for (auto _ : state) {
        ExceptionInfo exception;
        GetExceptionInfo(&exception);
        Image* image = BlobToImage(info, bytes.data(), bytes.size(), &exception);
        DestroyExceptionInfo(&exception);
        if (image == nullptr) {
            state.SkipWithError("GraphicsMagick could not decode the picture");
            break;
        }
        benchmark::DoNotOptimize(image);
        DestroyImage(image);
    }
    DestroyImageInfo(info);
}

const int registered = [] {
    benchmark::RegisterBenchmark("formats/decode_jpeg_12mp", ours, "photo-4000x3000.jpg", &dg::decodeJpeg)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("gm/decode_jpeg_12mp", magick, "photo-4000x3000.jpg", "JPEG")
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("formats/decode_png_12mp", ours, "photo-4000x3000.png", &dg::decodePng)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("gm/decode_png_12mp", magick, "photo-4000x3000.png", "PNG")
        ->Unit(benchmark::kMillisecond);
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
