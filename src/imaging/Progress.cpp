#include "imaging/Progress.h"

#include <algorithm>

namespace dg {

namespace {
thread_local StepProgress* current = nullptr;
}

void StepProgress::set(double fraction) {
    fraction = std::clamp(fraction, 0.0, 1.0);
    double seen = fraction_.load();
    while (fraction > seen && !fraction_.compare_exchange_weak(seen, fraction)) {
    }
}

StepProgress* currentProgress() { return current; }

ProgressScope::ProgressScope(StepProgress* progress) : previous_(current) { current = progress; }
ProgressScope::~ProgressScope() { current = previous_; }

void stepCheckpoint(double fraction) {
    if (current == nullptr) return;
    current->checkpoint();
    if (fraction >= 0) current->set(fraction);
}

}  // namespace dg
