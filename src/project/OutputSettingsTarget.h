#pragma once

#include <cstdint>

#include "imaging/OutputSettings.h"

namespace dg {

// Where restored output settings go: the output-size screen implements it, so that every
// value read from a PROJECT.CSP goes through the same controls (with their ranges and their
// recompute) as a value the user types. Tests implement it to record the order of the calls.
class OutputSettingsTarget {
public:
    virtual ~OutputSettingsTarget() = default;

    // As if the user had ticked that unit box on SELECT TASK (which relabels the units).
    virtual void setUnit(MeasuringUnit unit) = 0;
    // The "Preserve Aspect Ratio" box.
    virtual void setPreserveAspect(bool preserve) = 0;
    // The bounded fields; each clamps into its range, then runs the screen's reaction.
    virtual void setDpi(std::int32_t dpi) = 0;
    virtual void setWidthWhole(std::int32_t value) = 0;
    virtual void setWidthHundredths(std::int32_t value) = 0;
    virtual void setHeightWhole(std::int32_t value) = 0;
    virtual void setHeightHundredths(std::int32_t value) = 0;
};

}  // namespace dg
