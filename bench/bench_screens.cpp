// The screens of the colour task on a large design (2520 x 3780 pixels, a 40 x 60 cm tattoo at
// 160 DPI), offscreen: one slider step on the separation screen until the RESULT frame and
// every tile are repainted, and NEXT from there until the channels screen shows every tile.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <cstdlib>
#include <memory>

#include "imaging/Scaling.h"
#include "platform/fake/FakePlatform.h"
#include "screens/ChannelsScreen.h"
#include "screens/ScreenSet.h"
#include "screens/SeparationScreen.h"
#include "separation/Separation.h"
#include "separation/Thresholds.h"
#include "support/BenchSupport.h"

namespace {

using dg::RgbImage;

// A photo enlarged to the design's size the way the colour route enlarges it.
const RgbImage& design() {
    static const RgbImage picture = [] {
        const RgbImage photo = dg::bench::loadPicture("photo-2000x3000.bmp");
        RgbImage result;
        RgbImage scaled;
        std::int32_t filter = 0;
        dg::scaleInto(photo, {2520, 3780}, result, scaled, filter);
        return scaled;
    }();
    return picture;
}

struct Program {
    dg::fake::FakePlatform fakes;
    std::unique_ptr<dg::ScreenSet> screens = std::make_unique<dg::ScreenSet>(fakes.platform, [] {});

    // The separation screen as the colour route leaves it.
    void enterSeparation() {
        dg::TForm021& separation = *screens->form021;
        screens->pictures.source = design();
        separation.sourceCopy = design();
        separation.SpinEdit0.step();
        separation.SpinEdit4.step();
        separation.resetPictureFrames();
        separation.show();
        QApplication::processEvents();
    }
};

void BM_SeparationSlider(benchmark::State& state) {
    Program program;
    program.enterSeparation();
    auto* black = program.screens->form021->findChild<QSlider*>("TrackBar3");
    int step = 0;
    for (auto _ : state) {
        black->setValue(70 + (step++ % 20));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SeparationSlider)->Name("screens/separation_slider")->Unit(benchmark::kMillisecond);

// The core's separation alone on the same picture and steps, as a reference for what the
// screen adds (copying the result out, thumbnails, painting).
void BM_SeparateCore(benchmark::State& state) {
    dg::Separator separator;
    dg::SeparationThresholds t;
    separator.separate(design(), t);
    int step = 0;
    for (auto _ : state) {
        t.black = 70 + (step++ % 20);
        benchmark::DoNotOptimize(separator.separate(design(), dg::clampThresholds(t)).result.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SeparateCore)->Name("screens/separate_core")->Unit(benchmark::kMillisecond);

// The first entry: the channel masks are made in fresh memory.
void BM_ChannelsEntry(benchmark::State& state) {
    Program program;
    auto* next = program.screens->form021->findChild<QPushButton*>("next");
    for (auto _ : state) {
        state.PauseTiming();
        program.screens->form019->hide();
        for (dg::Channel& channel : program.screens->form019->channelSet.channels) channel.mask.clear();
        program.enterSeparation();
        state.ResumeTiming();
        next->click();
        QApplication::processEvents();
    }
}
// A later entry with a picture of the same size: the masks of the last set are written over.
void BM_ChannelsEntryAgain(benchmark::State& state) {
    Program program;
    auto* next = program.screens->form021->findChild<QPushButton*>("next");
    program.enterSeparation();
    next->click();
    for (auto _ : state) {
        state.PauseTiming();
        program.screens->form019->hide();
        program.enterSeparation();
        state.ResumeTiming();
        next->click();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ChannelsEntryAgain)->Name("screens/channels_entry_again")->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ChannelsEntry)->Name("screens/channels_entry")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
