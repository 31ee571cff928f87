// The screens of the colour task on a large design (2520 x 3780 pixels, a 40 x 60 cm tattoo at
// 160 DPI), offscreen: one slider step on the separation screen until the RESULT frame and
// every tile are repainted, and NEXT from there until the channels screen shows every tile.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "formats/JpegWriter.h"
#include "imaging/Scaling.h"
#include "platform/fake/FakePlatform.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"
#include "screens/ScreenSet.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "separation/ChannelSetBuild.h"
#include "separation/Separation.h"
#include "separation/Thresholds.h"
#include "support/BenchSupport.h"
#include "support/QtBenchMain.h"

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
        screens->pictures.source = design();
        screens->workflow.enterSeparation();
        screens->go(dg::Move::SeparationShown);
        QApplication::processEvents();
    }
};

void BM_SeparationSlider(benchmark::State& state) {
    Program program;
    program.enterSeparation();
    auto* black = program.screens->separation->findChild<QSlider*>("TrackBar3");
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
    auto* next = program.screens->separation->findChild<QPushButton*>("next");
    for (auto _ : state) {
        state.PauseTiming();
        program.screens->channels->hide();
        for (dg::Channel& channel : program.screens->workflow.channels.channels) channel.mask.clear();
        program.enterSeparation();
        state.ResumeTiming();
        next->click();
        QApplication::processEvents();
    }
}
// The core's rebuild alone on the separation result the screen hands over, with fresh masks:
// the reference for what the channels screen adds.
void BM_RebuildCore(benchmark::State& state) {
    static const RgbImage separated = dg::separate(design(), dg::thresholdsOnEnter({})).result;
    dg::ChannelSet set;
    for (auto _ : state) {
        state.PauseTiming();
        for (dg::Channel& channel : set.channels) channel.mask.clear();
        set.before = separated;
        state.ResumeTiming();
        benchmark::DoNotOptimize(dg::rebuildChannelSet(set).afterCount);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RebuildCore)->Name("screens/rebuild_core_fresh")->Unit(benchmark::kMillisecond);

// A later entry with a picture of the same size: the masks of the last set are written over.
void BM_ChannelsEntryAgain(benchmark::State& state) {
    Program program;
    auto* next = program.screens->separation->findChild<QPushButton*>("next");
    program.enterSeparation();
    next->click();
    for (auto _ : state) {
        state.PauseTiming();
        program.screens->channels->hide();
        program.enterSeparation();
        state.ResumeTiming();
        next->click();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ChannelsEntryAgain)->Name("screens/channels_entry_again")->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ChannelsEntry)->Name("screens/channels_entry")->Unit(benchmark::kMillisecond);

// A 2520 x 3780 design of 23 flat colours, one from each separation channel, as a JPEG file:
// the whole colour task makes 26 pages of it.
const std::string& walkDesignFile() {
    static const std::string path = [] {
        const dg::ColorValue colours[] = {
            dg::makeColor(255, 255, 255), dg::makeColor(180, 180, 180), dg::makeColor(140, 140, 140),
            dg::makeColor(100, 100, 100), dg::makeColor(20, 20, 20),    dg::makeColor(230, 30, 30),
            dg::makeColor(160, 30, 30),   dg::makeColor(100, 30, 30),   dg::makeColor(30, 230, 30),
            dg::makeColor(30, 160, 30),   dg::makeColor(30, 100, 30),   dg::makeColor(30, 30, 230),
            dg::makeColor(30, 30, 160),   dg::makeColor(30, 30, 100),   dg::makeColor(230, 230, 30),
            dg::makeColor(160, 160, 30),  dg::makeColor(100, 100, 30),  dg::makeColor(30, 230, 230),
            dg::makeColor(30, 160, 160),  dg::makeColor(30, 100, 100),  dg::makeColor(230, 30, 230),
            dg::makeColor(160, 30, 160),  dg::makeColor(100, 30, 100)};
        RgbImage picture(2520, 3780);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, colours[(y / 165) % 23]);
        const std::string file = (std::filesystem::temp_directory_path() / "dg-bench-walk.jpg").string();
        const auto bytes = dg::encodeJpeg(picture);
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file;
    }();
    return path;
}

void clickNamed(QWidget* window, const char* name) { window->findChild<QAbstractButton*>(name)->click(); }

// The whole default walk of the colour task through the screens: the JPEG file opened, 40 cm
// at 160 DPI (the picture's own size), separation, channels with the project saved, colour
// matching, OPTIONS and every page exported as JPEG.
void BM_ColourWalk(benchmark::State& state) {
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "dg-bench-walk";
    int walk = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(work);
        std::filesystem::create_directories(work);
        auto program = std::make_unique<Program>();
        dg::ScreenSet& s = *program->screens;
        program->fakes.dialogs.pictureAnswers.push_back(walkDesignFile());
        program->fakes.dialogs.saveAnswers.push_back((work / ("walk " + std::to_string(walk))).string());
        program->fakes.dialogs.saveAnswers.push_back((work / ("pages " + std::to_string(walk++))).string());
        state.ResumeTiming();

        clickNamed(s.selectTask.get(), "TattooIn23ColorsCaption");
        clickNamed(s.selectTask.get(), "openImage");
        s.outputSize->SpinEdit1->setValue(160);
        s.outputSize->SpinEdit2->setValue(40);
        s.outputSize->SpinEdit3->setValue(0);
        clickNamed(s.outputSize.get(), "nextColorReduction");
        if (s.separation->isVisible()) clickNamed(s.separation.get(), "next");
        clickNamed(s.channels.get(), "saveProjectAs");
        clickNamed(s.channels.get(), "next");
        clickNamed(s.colorMatching.get(), "next");
        clickNamed(s.options.get(), "next");
        clickNamed(s.printing.get(), "asJpeg");
        clickNamed(s.printing.get(), "saveChecked");
        QApplication::processEvents();

        state.PauseTiming();
        int pages = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(work))
            pages += entry.path().extension() == ".jpeg";
        state.counters["pages"] = pages;
        program.reset();
        std::filesystem::remove_all(work);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ColourWalk)->Name("screens/colour_walk")->Unit(benchmark::kSecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return dg::bench::runWithQt(argc, argv); }
