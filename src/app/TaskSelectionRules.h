#pragma once

#include <cstdint>
#include <string>

#include "app/WorkflowState.h"
#include "platform/Printer.h"

namespace dg {

// Decisions of the SELECT TASK screen and its intake routing, apart from the widgets.

// The printer's printable size as SELECT TASK shows it, from whole millimetres: centimetres
// unrounded (297 mm gives 29.7), inches to two decimals (210 mm gives 8.27).
struct MediaSizeTexts {
    std::string width;
    std::string height;
};
MediaSizeTexts mediaSizeTexts(MeasuringUnit unit, std::int32_t widthMm, std::int32_t heightMm);

// "Inches" or "Centimeters": the word after every size in the unit.
const char* unitWord(MeasuringUnit unit);

// Automatic page rotation: a picture no wider than high goes on a portrait page.
Orientation orientationForPicture(std::int32_t width, std::int32_t height);

// The routing triggers of SELECT TASK that the intake chain steps for each task
// (SpinEdit5 ... SpinEdit8).
int routeTriggerFor(TaskMode task);

// Which forward button the output-size screen offers: "NEXT >>" for a single file,
// "NEXT: COLOR REDUCTION>> " for every other task.
bool offersSingleFileNext(TaskMode task);

// The task captions of SELECT TASK.
const char* taskCaption(TaskMode task);

}  // namespace dg
