#include "ShellFixture.h"

#include "screens/OutputSize.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/TribalScreen.h"

namespace dg::test {

void ShellFixture::paste(const RgbImage& picture) {
    fakes.clipboard.picture = picture;
    screens->selectTask->ClipboardPollTimer();
    click(button(screens->selectTask.get(), "paste"));
}

void ShellFixture::openAtEightFifty(const std::string& task, const std::string& picture) {
    click(button(screens->selectTask.get(), (task + "Caption").c_str()));
    fakes.dialogs.pictureAnswers.push_back(picture);
    click(button(screens->selectTask.get(), "openImage"));
    TForm004* out = screens->outputSize.get();
    ASSERT_TRUE(out->isVisible());
    out->SpinEdit1->setValue(100);
    out->SpinEdit2->setValue(8);
    out->SpinEdit3->setValue(50);
    click(button(out, "nextColorReduction"));
}

void ShellFixture::openEnhance(const RgbImage& picture, bool tribal) {
    if (tribal) {
        screens->state.task = TaskMode::CreateTribalTattoo;
        screens->pictures.source = picture;
        screens->go(Move::TribalToEnhance, screens->tribal.get());
    } else {
        screens->state.task = TaskMode::TattooIn23Colors;
        screens->workflow.separationCopy = picture;
        screens->go(Move::SeparationToEnhance, screens->separation.get());
    }
}

void ShellFixture::setSmallColourOutput() {
    WorkflowState& state = screens->state;
    state.task = TaskMode::TattooIn23Colors;
    state.unit = MeasuringUnit::Centimeters;
    state.outputDpi = 100;
    state.outputWidthWhole = 4;
    state.outputWidthHundredths = 0;
    state.outputHeightWhole = 2;
    state.outputHeightHundredths = 50;
    state.outputWidthText = "4";
    state.outputHeightText = "2.5";
}

std::vector<std::string> ShellFixture::visibleWindows() const {
    std::vector<std::string> names;
    for (QWidget* w : screens->windows())
        if (w->isVisible())
            names.push_back(w->objectName().isEmpty() ? w->metaObject()->className()
                                                      : w->objectName().toStdString());
    return names;
}

}  // namespace dg::test
