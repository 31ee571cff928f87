// The colour task's default walk through the screens at the largest size they allow (60 x 60
// inches at 160 DPI, 9600 x 9600 pixels, from a square photo), offscreen, once: OUTPUT SIZE's
// NEXT until the separation screen is drawn, the separation's NEXT until the channels screen
// is drawn, and from there through COLOR MATCHING and OPTIONS until PRINTING is drawn, each
// as a counter in seconds. And how soon Cancel takes effect on OUTPUT SIZE's NEXT there: from
// the click on the progress dialog's Cancel until the output-size screen is back.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <memory>
#include <string>

#include "platform/fake/FakePlatform.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"
#include "screens/ScreenSet.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "support/BenchSupport.h"
#include "support/QtBenchMain.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void clickNamed(QWidget* window, const char* name) { window->findChild<QAbstractButton*>(name)->click(); }

// SELECT TASK to the output-size screen with the photo at 60 inches and 160 DPI.
std::unique_ptr<dg::ScreenSet> largestOutputSize(dg::fake::FakePlatform& fakes) {
    auto screens = std::make_unique<dg::ScreenSet>(fakes.platform, [] {});
    fakes.dialogs.pictureAnswers.push_back(dg::bench::dataFolder() + "/photo-1600x1600.jpg");
    clickNamed(screens->selectTask.get(), "Inches");
    clickNamed(screens->selectTask.get(), "TattooIn23ColorsCaption");
    clickNamed(screens->selectTask.get(), "openImage");
    screens->outputSize->SpinEdit1->setValue(160);
    screens->outputSize->SpinEdit2->setValue(60);
    screens->outputSize->SpinEdit3->setValue(0);
    QApplication::processEvents();
    return screens;
}

void BM_LargestWalk(benchmark::State& state) {
    for (auto _ : state) {
        dg::fake::FakePlatform fakes;
        auto screens = largestOutputSize(fakes);
        const Clock::time_point start = Clock::now();
        clickNamed(screens->outputSize.get(), "nextColorReduction");
        QApplication::processEvents();
        state.counters["separation_entry_s"] = secondsSince(start);

        const Clock::time_point channels = Clock::now();
        clickNamed(screens->separation.get(), "next");
        QApplication::processEvents();
        state.counters["channels_entry_s"] = secondsSince(channels);

        const Clock::time_point printing = Clock::now();
        clickNamed(screens->channels.get(), "next");
        clickNamed(screens->colorMatching.get(), "next");
        clickNamed(screens->options.get(), "next");
        QApplication::processEvents();
        state.counters["to_printing_s"] = secondsSince(printing);
        state.counters["printing_shown"] = screens->printing->isVisible() ? 1 : 0;
    }
}
BENCHMARK(BM_LargestWalk)
    ->Name("screens/largest_walk")
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(1)
    ->UseRealTime();

void BM_CancelLatency(benchmark::State& state) {
    for (auto _ : state) {
        dg::fake::FakePlatform fakes;
        auto screens = largestOutputSize(fakes);
        Clock::time_point cancelled{};
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QProgressDialog*>(w);
                if (dialog == nullptr || !dialog->isVisible() || cancelled != Clock::time_point{}) continue;
                cancelled = Clock::now();
                dialog->findChild<QPushButton*>()->click();
            }
        });
        poll.start(10);
        clickNamed(screens->outputSize.get(), "nextColorReduction");
        poll.stop();
        state.counters["cancel_latency_ms"] =
            cancelled == Clock::time_point{} ? -1 : secondsSince(cancelled) * 1e3;
        state.counters["back_on_output_size"] = screens->outputSize->isVisible() ? 1 : 0;
    }
}
BENCHMARK(BM_CancelLatency)
    ->Name("screens/largest_cancel")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return dg::bench::runWithQt(argc, argv); }
