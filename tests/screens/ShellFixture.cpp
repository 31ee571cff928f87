#include "ShellFixture.h"

#include "screens/SelectTask.h"

namespace dg::test {

void ShellFixture::paste(const RgbImage& picture) {
    fakes.clipboard.picture = picture;
    screens->form001->ClipboardPollTimer();
    click(button(screens->form001.get(), "paste"));
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
