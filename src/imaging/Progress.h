#pragma once

#include <atomic>
#include <exception>

namespace dg {

// Thrown at a checkpoint of a step the user cancelled. Steps that can be cancelled leave what
// they change as it was when this passes through them.
struct Cancelled : std::exception {
    const char* what() const noexcept override { return "Cancelled."; }
};

// A long step's progress and its cancellation, shared between the thread that does the step
// and the one that shows it: every member may be called from any thread.
class StepProgress {
public:
    // How far the step is, 0 to 1; a fraction below the last one is ignored.
    void set(double fraction);
    // Back to 0, for the next step.
    void restart() { fraction_ = 0; }
    double fraction() const { return fraction_.load(); }

    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_.load(); }
    // Cancels at the given checkpoint from now (1 is the next one), as a user's Cancel at
    // that moment would; tests use it to stop a step at each of its checkpoints in turn.
    void cancelAtCheckpoint(int n) { cancelAt_ = n; }
    // Throws Cancelled once cancel() was called.
    void checkpoint() const {
        if (cancelAt_.load() > 0 && cancelAt_.fetch_sub(1) == 1) cancelled_ = true;
        if (cancelled()) throw Cancelled();
    }

private:
    std::atomic<double> fraction_{0};
    mutable std::atomic<bool> cancelled_{false};
    mutable std::atomic<int> cancelAt_{0};
};

// The progress of the step running on this thread, or null. Row passes (forEachRowBlock) stop
// at their next band when it is cancelled.
StepProgress* currentProgress();

// Makes `progress` the current one on this thread for its lifetime.
class ProgressScope {
public:
    explicit ProgressScope(StepProgress* progress);
    ~ProgressScope();
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

private:
    StepProgress* previous_;
};

// A checkpoint of the current step, if there is one; reports `fraction` when it is 0 or more.
void stepCheckpoint(double fraction = -1);

}  // namespace dg
