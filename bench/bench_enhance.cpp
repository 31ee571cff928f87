// The enhance screen on a 2520 x 3780 photo: one 3 x 3 blur pass on one core (Pillow's
// ImageFilter.Kernel with the same weights is timed by bench/peers/pillow_enhance.py), one
// BRIGHTNESS move through the screen, and OPTIMIZE right after opening.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <cstdlib>
#include <memory>

#include "imaging/Enhance.h"
#include "imaging/Parallel.h"
#include "platform/fake/FakePlatform.h"
#include "screens/EnhanseUnit.h"
#include "screens/ScreenSet.h"
#include "screens/SeparationScreen.h"
#include "support/BenchSupport.h"
#include "support/QtBenchMain.h"

namespace {

using dg::RgbImage;

const RgbImage& photo() {
    static const RgbImage picture = dg::bench::loadPicture("photo-2520x3780.bmp");
    return picture;
}

void BM_BlurPass(benchmark::State& state) {
    const RgbImage& source = photo();
    RgbImage target(source.width(), source.height());
    dg::setWorkerCount(1);
    for (auto _ : state) {
        dg::filter3x3(source, target, dg::kBlurKernel, 1);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    dg::setWorkerCount(0);
}
BENCHMARK(BM_BlurPass)->Name("enhance/blur_pass_1core")->Unit(benchmark::kMillisecond);

// The whole program with the fake services, the enhance screen opened from the separation
// screen on the photo, as ENHANCE SOURCE does.
struct Program {
    dg::fake::FakePlatform fakes;
    std::unique_ptr<dg::ScreenSet> screens;
    Program() {
        screens = std::make_unique<dg::ScreenSet>(fakes.platform, [] {});
        screens->state.task = dg::TaskMode::TattooIn23Colors;
        screens->workflow.separationCopy = photo();
    }
    dg::Tenhance& open() {
        screens->go(dg::Move::SeparationToEnhance, screens->separation.get());
        return *screens->enhance;
    }
};

void BM_BrightnessMove(benchmark::State& state) {
    Program program;
    dg::Tenhance& e = program.open();
    e.TrackBar2->setValue(1);  // brightness becomes the active kind
    int value = 1;
    for (auto _ : state) {
        value = value == 10 ? 11 : 10;
        e.TrackBar2->setValue(value);
        benchmark::DoNotOptimize(e.working.data());
    }
}
BENCHMARK(BM_BrightnessMove)->Name("enhance/brightness_move")->Unit(benchmark::kMillisecond);

void BM_OptimizeAfterOpening(benchmark::State& state) {
    Program program;
    dg::Tenhance& e = program.open();
    auto* optimize = e.findChild<QPushButton*>("optimize");
    for (auto _ : state) {
        state.PauseTiming();
        program.open();
        state.ResumeTiming();
        optimize->click();
        benchmark::DoNotOptimize(e.working.data());
    }
}
BENCHMARK(BM_OptimizeAfterOpening)->Name("enhance/optimize_after_open")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return dg::bench::runWithQt(argc, argv); }
