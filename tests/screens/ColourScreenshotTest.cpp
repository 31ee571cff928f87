#include <QPixmap>
#include <cstdlib>
#include <string>

#include "ShellFixture.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"

namespace dg::test {
namespace {

// Only when asked for by docs/take-screenshots.sh: a real photograph opened through OPEN IMAGE
// on the colour route, then every screen from the separation to PRINTING as its NEXT reaches
// it, each window saved as a picture of its own.
using Screenshots = ShellFixture;

TEST_F(Screenshots, ColourRoute) {
    const char* env = std::getenv("DG_SCREENSHOT_DIR");
    if (env == nullptr) GTEST_SKIP() << "DG_SCREENSHOT_DIR is not set";
    const QString folder(env);
    const auto save = [&](QWidget* window, const char* file) {
        ASSERT_TRUE(window->isVisible()) << file;
        EXPECT_TRUE(window->grab().save(folder + "/" + file)) << file;
    };

    click(button(screens->form001.get(), "TattooIn23ColorsCaption"));
    fakes.dialogs.pictureAnswers.push_back(fixturePath("formats/real/photo.jpg"));
    click(button(screens->form001.get(), "openImage"));
    TForm004* out = screens->form004.get();
    ASSERT_TRUE(out->isVisible());
    out->SpinEdit1->setValue(100);
    out->SpinEdit2->setValue(8);
    out->SpinEdit3->setValue(50);
    click(button(out, "nextColorReduction"));
    save(screens->form021.get(), "separation.png");
    click(button(screens->form021.get(), "next"));
    save(screens->form019.get(), "channels.png");
    click(button(screens->form019.get(), "next"));
    save(screens->form023.get(), "color-matching.png");
    click(button(screens->form023.get(), "next"));
    save(screens->form028.get(), "options.png");
    click(button(screens->form028.get(), "next"));
    save(screens->form029.get(), "printing.png");
    EXPECT_EQ(fakes.dialogs.messages, std::vector<std::string>{});
}

}  // namespace
}  // namespace dg::test
