#include <QPixmap>
#include <cstdlib>
#include <string>

#include "ShellFixture.h"
#include "screens/ChangeColorsScreen.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/EnhanseUnit.h"
#include "screens/MergeScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/TribalScreen.h"

namespace dg::test {
namespace {

// Only when asked for by docs/take-screenshots.sh: a real photograph opened through OPEN IMAGE
// on the colour route, then every screen from the separation to PRINTING as its NEXT reaches
// it, each window saved as a picture of its own.
class ScreenshotWalk : public ShellFixture {
protected:
    void SetUp() override {
        const char* env = std::getenv("DG_SCREENSHOT_DIR");
        if (env == nullptr) GTEST_SKIP() << "DG_SCREENSHOT_DIR is not set";
        folder = env;
        ShellFixture::SetUp();
    }
    void save(QWidget* window, const char* file) {
        ASSERT_TRUE(window->isVisible()) << file;
        EXPECT_TRUE(window->grab().save(folder + "/" + file)) << file;
    }
    void openPhoto(const char* task) { openAtEightFifty(task, fixturePath("formats/real/photo.jpg")); }
    QString folder;
};

TEST_F(ScreenshotWalk, ColourRoute) {
    openPhoto("TattooIn23Colors");
    save(screens->separation.get(), "separation.png");
    click(button(screens->separation.get(), "next"));
    save(screens->channels.get(), "channels.png");
    click(button(screens->channels.get(), "next"));
    save(screens->colorMatching.get(), "color-matching.png");
    click(button(screens->colorMatching.get(), "next"));
    save(screens->options.get(), "options.png");
    click(button(screens->options.get(), "next"));
    save(screens->printing.get(), "printing.png");
    EXPECT_EQ(fakes.dialogs.messages, std::vector<std::string>{});
}

// The editing windows of the colour task and the tribal screen, as a person opens them.
TEST_F(ScreenshotWalk, EditingAndTribal) {
    openPhoto("TattooIn23Colors");
    click(button(screens->separation.get(), "enhanceSource"));
    save(screens->enhance.get(), "enhance.png");
    click(button(screens->enhance.get(), "cancel"));
    click(button(screens->separation.get(), "next"));
    screens->channels->changeColorsClick();
    save(screens->changeColors.get(), "change-colors.png");
    click(button(screens->changeColors.get(), "cancel"));
    TForm020* merge = screens->merge.get();
    QObject::connect(
        merge, &TForm020::offerShown, merge,
        [&] {
            save(merge, "merge.png");
            click(button(merge, "finish"));
        },
        Qt::QueuedConnection);
    click(button(screens->channels.get(), "mergeChannels"));
    screens->channels->hide();

    openPhoto("CreateTribalTattoo");
    save(screens->tribal.get(), "tribal.png");
}

}  // namespace
}  // namespace dg::test
