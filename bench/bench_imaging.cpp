// The imaging core against its peers: the resampler against GraphicsMagick's resize (timed
// here through its C API) and colour counting against one memcpy of the picture. Pillow's
// side is timed by bench/peers/pillow_imaging.py in the same run.
#include <benchmark/benchmark.h>
#include <magick/api.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "imaging/CountColors.h"
#include "imaging/Parallel.h"
#include "imaging/Resample.h"
#include "support/BenchSupport.h"

namespace {

using dg::RgbImage;

const RgbImage& photo2000x3000() {
    static const RgbImage picture = dg::bench::loadPicture("photo-2000x3000.bmp");
    return picture;
}

const RgbImage& photo4000x3000() {
    static const RgbImage picture = dg::bench::loadPicture("photo-4000x3000.bmp");
    return picture;
}

constexpr auto kHermite = static_cast<std::int32_t>(dg::ResampleFilter::Hermite);
constexpr auto kBox = static_cast<std::int32_t>(dg::ResampleFilter::Box);

// The resampling itself, into a target of the right size made once: the figures compare
// arithmetic, not the machine's cost of handing out fresh pages.
void resampleInto(benchmark::State& state, int workers, std::int32_t filter, std::int32_t width,
                  std::int32_t height) {
    const RgbImage& source = photo2000x3000();
    RgbImage target(width, height);
    dg::setWorkerCount(workers);
    for (auto _ : state) {
        dg::ResampleInto(filter, 0.0f, source, target);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    dg::setWorkerCount(0);
}

// As the program calls it: the target picture is made on every call.
void resampleInPlace(benchmark::State& state, int workers, std::int32_t filter, std::int32_t width,
                     std::int32_t height) {
    dg::setWorkerCount(workers);
    for (auto _ : state) {
        state.PauseTiming();
        RgbImage picture = photo2000x3000();
        state.ResumeTiming();
        dg::ResampleInPlace(width, height, filter, 0.0f, picture);
        benchmark::DoNotOptimize(picture.data());
    }
    dg::setWorkerCount(0);
}

// GraphicsMagick, with its worker threads limited to the two cores we use.
struct Magick {
    Magick() {
        InitializeMagick(nullptr);
        SetMagickResourceLimit(ThreadsResource, 2);
    }
    ~Magick() { DestroyMagick(); }
};

void magickResize(benchmark::State& state, FilterTypes filter, unsigned long width, unsigned long height) {
    static Magick magick;
    const RgbImage& source = photo2000x3000();
    std::vector<unsigned char> packed(static_cast<std::size_t>(source.width()) * 3 * source.height());
    for (std::int32_t y = 0; y < source.height(); ++y) {
        std::memcpy(packed.data() + static_cast<std::size_t>(y) * source.width() * 3, source.row(y),
                    static_cast<std::size_t>(source.width()) * 3);
    }
    ExceptionInfo exception;
    GetExceptionInfo(&exception);
    Image* image = ConstituteImage(static_cast<unsigned long>(source.width()),
                                   static_cast<unsigned long>(source.height()), "BGR", CharPixel,
                                   packed.data(), &exception);
    if (image == nullptr) throw std::runtime_error("GraphicsMagick could not take the picture");
    for (auto _ : state) {
        Image* resized = ResizeImage(image, width, height, filter, 1.0, &exception);
        if (resized == nullptr) throw std::runtime_error("GraphicsMagick could not resize");
        benchmark::DoNotOptimize(resized);
        DestroyImage(resized);
    }
    DestroyImage(image);
    DestroyExceptionInfo(&exception);
}

void countColors(benchmark::State& state) {
    const RgbImage& picture = photo4000x3000();
    std::int64_t colors = 0;
    for (auto _ : state) {
        colors = dg::CountColors(picture);
        benchmark::DoNotOptimize(colors);
    }
    state.counters["colors"] = static_cast<double>(colors);
}

void copyPicture(benchmark::State& state) {
    const RgbImage& picture = photo4000x3000();
    std::vector<std::uint8_t> copy(picture.byteSize());
    std::memcpy(copy.data(), picture.data(), picture.byteSize());  // pages touched before timing
    for (auto _ : state) {
        std::memcpy(copy.data(), picture.data(), picture.byteSize());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}

const bool registered = [] {
    benchmark::RegisterBenchmark("imaging/hermite_up_2cores", resampleInto, 2, kHermite, 3000, 4500)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("imaging/hermite_up_1core", resampleInto, 1, kHermite, 3000, 4500)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("imaging/box_down_2cores", resampleInto, 2, kBox, 1000, 1500)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("imaging/hermite_up_inplace_2cores", resampleInPlace, 2, kHermite, 3000,
                                 4500)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("gm/hermite_up_2threads", magickResize, HermiteFilter, 3000ul, 4500ul)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("gm/box_down_2threads", magickResize, BoxFilter, 1000ul, 1500ul)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("imaging/count_colors_12mp", countColors)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("imaging/memcpy_12mp", copyPicture)->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
