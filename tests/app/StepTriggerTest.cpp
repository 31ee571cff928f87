#include <gtest/gtest.h>

#include <string>

#include "app/StepTrigger.h"
#include "app/WorkflowState.h"

namespace dg {
namespace {

TEST(StepTrigger, StepRunsTheActionEveryTimeAndSetOnlyOnAChange) {
    int runs = 0;
    StepTrigger trigger([&] { ++runs; });
    trigger.step();
    trigger.step();
    EXPECT_EQ(trigger.value(), 2);
    EXPECT_EQ(runs, 2);
    trigger.set(2);
    EXPECT_EQ(runs, 2);
    trigger.set(-5);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(trigger.value(), -5);
}

TEST(StepTrigger, ChainsRunDepthFirstNested) {
    std::string order;
    StepTrigger c([&] { order += "c"; });
    StepTrigger b([&] {
        order += "b(";
        c.step();
        order += ")";
    });
    StepTrigger a([&] {
        order += "a(";
        b.step();
        c.step();
        order += ")";
    });
    a.step();
    EXPECT_EQ(order, "a(b(c)c)");
}

TEST(StepTrigger, SteppingItselfNestsButSettingTheSameValueDoesNot) {
    int depth = 0, runs = 0;
    StepTrigger self;
    self.bind([&] {
        ++runs;
        ++depth;
        if (depth < 3) self.step();   // runs again, nested
        self.set(self.value());       // same value: nothing
        --depth;
    });
    self.step();
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(self.value(), 3);
}

TEST(BoundedValue, ClampsBeforeComparing) {
    int runs = 0;
    BoundedValue dpi(70, 160, 100);
    dpi.bind([&] { ++runs; });
    dpi.set(500);
    EXPECT_EQ(dpi.value(), 160);
    EXPECT_EQ(runs, 1);
    dpi.set(9999);  // clamps to 160, no change
    EXPECT_EQ(runs, 1);
    dpi.set(10);
    EXPECT_EQ(dpi.value(), 70);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(BoundedValue(1, 60, 0).value(), 1);
}

TEST(WorkflowState, StartsWithTheDocumentedValues) {
    WorkflowState s;
    EXPECT_EQ(s.task, TaskMode::CreateTribalTattoo);
    EXPECT_EQ(s.unit, MeasuringUnit::Centimeters);
    EXPECT_FALSE(s.unitLocked);
    EXPECT_FALSE(s.autoRotate);
    EXPECT_EQ(s.outputDpi, 100);
    EXPECT_EQ(s.outputWidthWhole, 8);
    EXPECT_EQ(s.outputWidthHundredths, 50);
    EXPECT_EQ(s.outputHeightWhole, 8);
    EXPECT_EQ(s.outputHeightHundredths, 50);
    EXPECT_TRUE(s.preserveAspect);
    EXPECT_TRUE(s.outputWidthText.empty());
    EXPECT_FALSE(s.exceedsPrinterArea);
    EXPECT_EQ(s.resampleFilter, 0);
}

}  // namespace
}  // namespace dg
