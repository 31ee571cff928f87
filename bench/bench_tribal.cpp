// TRIBAL CREATION: one move of slider 1 on a 2520 x 3780 photo, through the screen, until
// the RESULT viewer has painted the new design; and the kernel alone, against one memcpy
// of the picture in the same run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QSlider>
#include <cstring>
#include <vector>

#include "imaging/Tribal.h"
#include "platform/fake/FakePlatform.h"
#include "screens/ScreenSet.h"
#include "screens/TribalScreen.h"
#include "screens/Viewers.h"
#include "support/BenchSupport.h"
#include "support/QtBenchMain.h"

namespace {

using dg::RgbImage;

const RgbImage& photo() {
    static const RgbImage picture = dg::bench::loadPicture("photo-2520x3780.bmp");
    return picture;
}

// Counts the paints of the RESULT viewer's picture, to show that each step was painted.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void BM_TribalRecompute(benchmark::State& state) {
    dg::fake::FakePlatform fakes;
    dg::ScreenSet screens(fakes.platform, [] {});
    screens.state.task = dg::TaskMode::CreateTribalTattoo;
    screens.pictures.source = photo();
    screens.sourceViewer->show();
    screens.go(dg::Move::TribalShown);
    screens.workflow.enterTribal();
    QApplication::processEvents();
    auto* slider1 = screens.tribal->findChild<QSlider*>("TrackBar1");
    QWidget* viewerPicture = screens.resultViewer->findChild<QWidget*>("Image1");
    PaintCounter counter;
    viewerPicture->installEventFilter(&counter);
    int step = 0;
    for (auto _ : state) {
        // A drag over the middle of the range, one position per step.
        slider1->setValue(90 + (step++ % 40));
        QApplication::processEvents();
    }
    state.counters["paints_per_step"] = static_cast<double>(counter.paints) / static_cast<double>(step);
    viewerPicture->removeEventFilter(&counter);
}
BENCHMARK(BM_TribalRecompute)->Name("tribal/recompute_2520x3780")->Unit(benchmark::kMillisecond);

void BM_TribalKernel(benchmark::State& state) {
    RgbImage result;
    int step = 0;
    for (auto _ : state) {
        dg::makeTribal(photo(), 8, {90 + (step++ % 40), 100, 100}, result);
        benchmark::DoNotOptimize(result.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TribalKernel)->Name("tribal/kernel_2520x3780")->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State& state) {
    std::vector<std::uint8_t> copy(photo().byteSize());
    for (auto _ : state) {
        std::memcpy(copy.data(), photo().data(), photo().byteSize());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->Name("tribal/memcpy_2520x3780")->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return dg::bench::runWithQt(argc, argv); }
