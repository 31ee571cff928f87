#include <QPainter>
#include <QPixmap>
#include <cstdlib>

#include "ShellFixture.h"
#include "screens/ChannelsScreen.h"
#include "screens/OutputSize.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"

namespace dg::test {
namespace {

// A design with soft shading, so that the separation has many channels to show.
RgbImage shadedDesign() {
    RgbImage picture(280, 420);
    for (int y = 0; y < 420; ++y)
        for (int x = 0; x < 280; ++x) {
            const int dx = x - 140, dy = y - 170;
            const bool disc = dx * dx + dy * dy < 110 * 110;
            const bool stem = y > 260 && x > 120 && x < 160;
            if (disc)
                picture.setPixel(x, y, makeColor(255 - (dx * dx + dy * dy) / 60, 40 + y / 4, 30 + x / 3));
            else if (stem)
                picture.setPixel(x, y, makeColor(30, 90 + y / 4, 40));
            else if (y > 380)
                picture.setPixel(x, y, makeColor(60 + x / 3, 60 + x / 3, 200));
        }
    return picture;
}

// Only when asked for by docs/take-screenshots.sh: the separation screen with a design
// entered through the colour route, and the channels screen after its NEXT.
using Screenshots = ShellFixture;

TEST_F(Screenshots, SeparationAndChannels) {
    const char* folder = std::getenv("DG_SCREENSHOT_DIR");
    if (folder == nullptr) GTEST_SKIP() << "DG_SCREENSHOT_DIR is not set";
    click(button(screens->form001.get(), "TattooIn23ColorsCaption"));
    paste(shadedDesign());
    click(button(screens->form004.get(), "nextColorReduction"));
    ASSERT_TRUE(screens->form021->isVisible());
    EXPECT_TRUE(screens->form021->grab().save(QString(folder) + "/separation.png"));
    click(button(screens->form021.get(), "next"));
    ASSERT_TRUE(screens->form019->isVisible());
    EXPECT_TRUE(screens->form019->grab().save(QString(folder) + "/channels.png"));
}

}  // namespace
}  // namespace dg::test
