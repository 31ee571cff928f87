#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "imaging/Numbers.h"
#include "project/OutputSettingsTarget.h"

namespace dg::test {

// Stands in for the output-size screen: records every call in order and keeps the values in
// a OutputSettings, clamped into the fields' ranges as the screen's bounded fields do.
class RecordingTarget : public OutputSettingsTarget {
public:
    explicit RecordingTarget(OutputSettings& state) : state_(state) {}
    std::vector<std::string> calls;

    void setUnit(MeasuringUnit unit) override {
        calls.push_back(unit == MeasuringUnit::Inches ? "unit Inches" : "unit Centimeters");
        state_.unit = unit;
    }
    void setPreserveAspect(bool preserve) override {
        calls.push_back(preserve ? "preserve on" : "preserve off");
        state_.preserveAspect = preserve;
    }
    void setDpi(std::int32_t v) override { record("dpi", v, 70, 160, state_.outputDpi); }
    void setWidthWhole(std::int32_t v) override { record("width", v, 1, 60, state_.outputWidthWhole); }
    void setWidthHundredths(std::int32_t v) override {
        record("width/100", v, 0, 99, state_.outputWidthHundredths);
    }
    void setHeightWhole(std::int32_t v) override { record("height", v, 0, 60, state_.outputHeightWhole); }
    void setHeightHundredths(std::int32_t v) override {
        record("height/100", v, 0, 99, state_.outputHeightHundredths);
    }

private:
    void record(const char* name, std::int32_t v, std::int32_t low, std::int32_t high, std::int32_t& field) {
        calls.push_back(std::string(name) + " " + std::to_string(v));
        field = std::clamp(v, low, high);
        state_.outputWidthText = shortestText(state_.outputWidthWhole + state_.outputWidthHundredths / 100.0);
        state_.outputHeightText =
            shortestText(state_.outputHeightWhole + state_.outputHeightHundredths / 100.0);
    }
    OutputSettings& state_;
};

}  // namespace dg::test
