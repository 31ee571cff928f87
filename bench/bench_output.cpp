// The output core: exporting the 26 pages of a 23-channel design (stencil, colour matching,
// result and 23 channels) on an A4 page at 300 DPI, as JPEG and as BMP, and the stencil
// outline of a 1400 x 2000 design. The figures take the real time, which the export's
// encoding threads make the one that counts.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "output/OptionsComposition.h"
#include "output/PageExport.h"
#include "output/Stencil.h"
#include "platform/fake/FakePlatform.h"
#include "support/BenchSupport.h"

namespace {

using dg::RgbImage;

// The photo in 23 flat colours, one per band of brightness, each band with a colour of its
// own, so that the design has the boundaries of a real separation.
dg::ChannelSet design() {
    const RgbImage photo = dg::bench::loadPicture("photo-1400x2000.bmp");
    dg::ColorValue palette[dg::kChannelCount];
    for (int k = 0; k < dg::kChannelCount; ++k) {
        palette[k] = dg::makeColor((k * 53) % 256, (k * 97 + 40) % 256, (k * 151 + 80) % 256);
    }
    std::sort(palette, palette + dg::kChannelCount);
    dg::ChannelSet set;
    set.before = RgbImage(photo.width(), photo.height());
    for (int y = 0; y < photo.height(); ++y) {
        const std::uint8_t* in = photo.row(y);
        std::uint8_t* out = set.before.row(y);
        for (int x = 0; x < photo.width(); ++x) {
            const int luma = (in[3 * x] + 2 * in[3 * x + 1] + in[3 * x + 2]) / 4;
            const dg::ColorValue c = palette[std::min(dg::kChannelCount - 1, luma * dg::kChannelCount / 256)];
            out[3 * x] = static_cast<std::uint8_t>(dg::blueOf(c));
            out[3 * x + 1] = static_cast<std::uint8_t>(dg::greenOf(c));
            out[3 * x + 2] = static_cast<std::uint8_t>(dg::redOf(c));
        }
    }
    set.after = set.before;
    set.total = photo.width() * photo.height();
    for (int n = 1; n <= dg::kChannelCount; ++n) {
        const dg::ColorValue c = palette[n - 1];
        set.colorOf(n) = c;
        dg::Channel& channel = set.channel(n);
        channel.color = c;
        channel.checked = true;
        channel.mask = RgbImage(photo.width(), photo.height());
        for (int y = 0; y < photo.height(); ++y) {
            const std::uint8_t* in = set.before.row(y);
            std::uint8_t* out = channel.mask.row(y);
            for (int x = 0; x < photo.width(); ++x) {
                if (in[3 * x] == dg::blueOf(c) && in[3 * x + 1] == dg::greenOf(c) &&
                    in[3 * x + 2] == dg::redOf(c)) {
                    std::copy(in + 3 * x, in + 3 * x + 3, out + 3 * x);
                    ++channel.count;
                }
            }
        }
    }
    return set;
}

struct Pages {
    dg::ChannelSet channels = design();
    RgbImage source = channels.after;
    RgbImage stencil;
    RgbImage colorMatching{505, 481};
    dg::PageEntries entries;
    Pages() {
        const dg::ComposedOutput composed = dg::composeOutput(channels, source, stencil, dg::OutputOptions{});
        entries = composed.entries;
        for (int y = 0; y < colorMatching.height(); y += 20) {
            for (int x = 0; x < 30; ++x) colorMatching.setPixel(x, y, channels.colorOf(1 + (y / 20) % 23));
        }
    }
};

const Pages& pages() {
    static const Pages p;
    return p;
}

void exportPages(benchmark::State& state, dg::PageFileType type) {
    const Pages& p = pages();
    dg::fake::FakePlatform fakes;  // an A4 page at 300 DPI, the real disk
    static const dg::OutputSettings settings = [] {
        dg::OutputSettings s;
        s.unit = dg::MeasuringUnit::Centimeters;
        s.outputWidthText = std::string("17.5");  // 2067 x 2953 printer pixels
        s.outputHeightText = std::string("25");
        return s;
    }();
    const dg::PagePictures pictures{p.stencil, p.channels.after, p.colorMatching, &p.channels};
    dg::ExportSettings exportSettings;
    exportSettings.fileType = type;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "dg-bench-output";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    int run = 0;
    for (auto _ : state) {
        const std::string name = (folder / ("run" + std::to_string(run++))).string();
        fakes.dialogs.saveAnswers.push_back(name);
        if (!dg::exportCheckedPages(p.entries, pictures, settings, dg::PageSettings{}, exportSettings, 96,
                                    fakes.platform)) {
            state.SkipWithError(fakes.dialogs.messages.empty() ? "not saved"
                                                               : fakes.dialogs.messages.back().c_str());
            break;
        }
        state.PauseTiming();
        std::filesystem::remove_all(name + dg::kPagesFolderSuffix);
        state.ResumeTiming();
    }
    std::filesystem::remove_all(folder);
}

void BM_ExportJpeg(benchmark::State& state) { exportPages(state, dg::PageFileType::Jpeg); }
BENCHMARK(BM_ExportJpeg)->Name("output/export_jpeg_26_pages")->Unit(benchmark::kMillisecond);

void BM_ExportBmp(benchmark::State& state) { exportPages(state, dg::PageFileType::Bmp); }
BENCHMARK(BM_ExportBmp)->Name("output/export_bmp_26_pages")->Unit(benchmark::kMillisecond);

void BM_Stencil(benchmark::State& state) {
    const RgbImage& after = pages().channels.after;
    for (auto _ : state) {
        RgbImage outline = dg::stencilOutline(after, dg::kDefaultDepth);
        benchmark::DoNotOptimize(outline.data());
    }
}
BENCHMARK(BM_Stencil)->Name("output/stencil_1400x2000")->Unit(benchmark::kMillisecond);

// The largest design's outline: the same design repeated over 9600 x 9600 pixels, whose rows
// lie 28 kB apart.
void BM_StencilLargest(benchmark::State& state) {
    const RgbImage& after = pages().channels.after;
    RgbImage large(9600, 9600);
    for (std::int32_t y = 0; y < large.height(); ++y) {
        const std::uint8_t* from = after.row(y % after.height());
        std::uint8_t* to = large.row(y);
        for (std::int32_t x = 0; x < large.width(); ++x)
            std::memcpy(to + 3 * x, from + 3 * (x % after.width()), 3);
    }
    for (auto _ : state) {
        RgbImage outline = dg::stencilOutline(large, dg::kDefaultDepth);
        benchmark::DoNotOptimize(outline.data());
    }
}
BENCHMARK(BM_StencilLargest)->Name("output/stencil_9600x9600")->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

// Page labels need fonts, which need a Qt application.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
