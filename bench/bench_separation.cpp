// The separation core: Separate of a photo as it runs on every slider step (against one
// memcpy of the picture in the same run), and the channel-set rebuild of a 23-colour picture.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "imaging/Parallel.h"
#include "separation/ChannelSetBuild.h"
#include "separation/Separation.h"
#include "separation/Thresholds.h"
#include "support/BenchSupport.h"

namespace {

using dg::RgbImage;

const RgbImage& photo() {
    static const RgbImage picture = dg::bench::loadPicture("photo-1400x2000.bmp");
    return picture;
}

// A slider being dragged: every step changes one threshold, so the classification table is
// rebuilt each time, and the screen's separator keeps the result's memory.
void BM_Separate(benchmark::State& state) {
    const RgbImage& source = photo();
    dg::Separator separator;
    dg::SeparationThresholds t;
    separator.separate(source, t);
    int step = 0;
    for (auto _ : state) {
        t.black = 70 + (step++ % 20);
        const dg::SeparationResult& r = separator.separate(source, dg::clampThresholds(t));
        benchmark::DoNotOptimize(r.result.data());
        benchmark::ClobberMemory();
    }
    state.counters["colours"] = 0;
    for (auto c : separator.lastResult().counts) state.counters["colours"] += c > 0 ? 1 : 0;
}
BENCHMARK(BM_Separate)->Name("separation/separate")->Unit(benchmark::kMillisecond);

void BM_Separate1Core(benchmark::State& state) {
    dg::setWorkerCount(1);
    BM_Separate(state);
    dg::setWorkerCount(0);
}
BENCHMARK(BM_Separate1Core)->Name("separation/separate_1core")->Unit(benchmark::kMillisecond);

// The table alone, for thresholds that are all different (the largest table).
void BM_Classifier(benchmark::State& state) {
    dg::SeparationThresholds t;
    t.white = 250, t.lightGrey = 230, t.midGrey = 150, t.black = 20;
    int v = 30;
    for (int* p : {&t.redHigh, &t.redMid, &t.greenHigh, &t.greenMid, &t.blueHigh, &t.blueMid, &t.yellowHigh,
                   &t.yellowMid, &t.cyanHigh, &t.cyanMid, &t.magentaHigh, &t.magentaMid}) {
        *p = 240 - v;
        v += 13;
    }
    t = dg::clampThresholds(t);
    for (auto _ : state) {
        dg::SeparationClassifier classifier(t);
        benchmark::DoNotOptimize(classifier.countedChannel(1, 2, 3));
    }
}
BENCHMARK(BM_Classifier)->Name("separation/classifier_table")->Unit(benchmark::kMicrosecond);

void BM_Memcpy(benchmark::State& state) {
    const RgbImage& source = photo();
    std::vector<std::uint8_t> copy(source.byteSize());
    for (auto _ : state) {
        std::memcpy(copy.data(), source.data(), source.byteSize());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy)->Name("separation/memcpy_1400x2000")->Unit(benchmark::kMillisecond);

// The photo in 23 flat colours, one per band of brightness, so that the colour areas have
// a photo's shapes.
RgbImage photoIn23Colours() {
    RgbImage picture = photo();
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        std::uint8_t* p = picture.row(y);
        for (std::int32_t x = 0; x < picture.width(); ++x, p += 3) {
            const int band = ((p[0] + p[1] + p[2]) / 12 + x / 200) % 23;
            p[0] = static_cast<std::uint8_t>(band * 11);
            p[1] = static_cast<std::uint8_t>(255 - band * 11);
            p[2] = static_cast<std::uint8_t>(band * 7);
        }
    }
    return picture;
}

// Rebuilt into a set whose masks were emptied, as the separation screen's NEXT leaves it.
void BM_Rebuild(benchmark::State& state) {
    static const RgbImage flat = photoIn23Colours();
    dg::ChannelSet set;
    std::int64_t colours = 0;
    for (auto _ : state) {
        for (auto& ch : set.channels) ch.mask.clear();
        set.before = flat;
        const dg::RebuildSummary s = dg::rebuildChannelSet(set);
        colours = s.beforeColors;
        benchmark::DoNotOptimize(set.after.data());
        benchmark::ClobberMemory();
    }
    state.counters["colours"] = static_cast<double>(colours);
}
BENCHMARK(BM_Rebuild)->Name("separation/rebuild_23_colours_fresh")->Unit(benchmark::kMillisecond);

// Rebuilt over a set whose masks already have the picture's size, as UNDO, the channels
// screen's NEXT and the return from CHANGE COLORS rebuild it: no new memory.
void BM_RebuildInPlace(benchmark::State& state) {
    static const RgbImage flat = photoIn23Colours();
    dg::ChannelSet set;
    set.before = flat;
    dg::rebuildChannelSet(set);
    for (auto _ : state) {
        const dg::RebuildSummary s = dg::rebuildChannelSet(set);
        benchmark::DoNotOptimize(s.beforeColors);
        benchmark::DoNotOptimize(set.after.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RebuildInPlace)->Name("separation/rebuild_23_colours")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
