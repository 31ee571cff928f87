#include "app/TaskSelectionRules.h"

#include "imaging/Numbers.h"

namespace dg {

MediaSizeTexts mediaSizeTexts(MeasuringUnit unit, std::int32_t widthMm, std::int32_t heightMm) {
    if (unit == MeasuringUnit::Inches) {
        const auto inches = [](std::int32_t mm) {
            return shortestText(static_cast<double>(roundHalfEven(mm * 10.0L / 2.54L)) / 100.0);
        };
        return {inches(widthMm), inches(heightMm)};
    }
    return {shortestText(widthMm / 10.0), shortestText(heightMm / 10.0)};
}

const char* unitWord(MeasuringUnit unit) { return unit == MeasuringUnit::Inches ? "Inches" : "Centimeters"; }

Orientation orientationForPicture(std::int32_t width, std::int32_t height) {
    return width <= height ? Orientation::Portrait : Orientation::Landscape;
}

int routeTriggerFor(TaskMode task) {
    switch (task) {
        case TaskMode::PrintSingleFile:
            return 5;
        case TaskMode::PrintOldProject:
            return 6;
        case TaskMode::TattooIn23Colors:
            return 7;
        case TaskMode::CreateTribalTattoo:
            return 8;
    }
    return 8;
}

bool offersSingleFileNext(TaskMode task) { return task == TaskMode::PrintSingleFile; }

const char* taskCaption(TaskMode task) {
    switch (task) {
        case TaskMode::PrintSingleFile:
            return "PRINT SINGLE FILE";
        case TaskMode::PrintOldProject:
            return "PRINT OLD PROJECT";
        case TaskMode::TattooIn23Colors:
            return "TATTOO IN UP TO 23 COLORS";
        case TaskMode::CreateTribalTattoo:
            return "CREATE TRIBAL TATTOO";
    }
    return "";
}

}  // namespace dg
