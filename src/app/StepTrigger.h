#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace dg {

// A counter owned by a screen and bound to one of its actions. Stepping adds one and runs
// the action at once, nested inside the caller; setting runs it only when the value really
// changes. Only the change matters, never the value itself.
class StepTrigger {
public:
    StepTrigger() = default;
    explicit StepTrigger(std::function<void()> action) : action_(std::move(action)) {}

    void bind(std::function<void()> action) { action_ = std::move(action); }

    void step() {
        // The counter wraps like the 32-bit field it stands for.
        value_ = static_cast<std::int32_t>(static_cast<std::uint32_t>(value_) + 1u);
        run();
    }
    void set(std::int32_t value) {
        if (value == value_) return;
        value_ = value;
        run();
    }
    std::int32_t value() const { return value_; }

private:
    void run() {
        if (action_) action_();
    }

    std::int32_t value_ = 0;
    std::function<void()> action_;
};

// A value field with a range, like the output-size screen's DPI, width and height fields:
// a new value is first clamped into the range, then compared; the action runs only on a change.
class BoundedValue {
public:
    BoundedValue(std::int32_t minimum, std::int32_t maximum, std::int32_t initial)
        : minimum_(minimum), maximum_(maximum), value_(clamp(initial)) {}

    void bind(std::function<void()> action) { action_ = std::move(action); }

    void set(std::int32_t value) {
        value = clamp(value);
        if (value == value_) return;
        value_ = value;
        if (action_) action_();
    }
    std::int32_t value() const { return value_; }
    std::int32_t minimum() const { return minimum_; }
    std::int32_t maximum() const { return maximum_; }

private:
    std::int32_t clamp(std::int32_t v) const { return v < minimum_ ? minimum_ : (v > maximum_ ? maximum_ : v); }

    std::int32_t minimum_;
    std::int32_t maximum_;
    std::int32_t value_;
    std::function<void()> action_;
};

}  // namespace dg
