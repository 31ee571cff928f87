#include <QLabel>
#include <QSlider>

#include "ShellFixture.h"
#include "screens/ChannelsScreen.h"
#include "screens/EnhanseUnit.h"
#include "screens/InfoWindows.h"
#include "screens/OutputSize.h"
#include "screens/PictureBox.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/Thumbnails.h"
#include "screens/Viewers.h"
#include "separation/Separation.h"

namespace dg::test {
namespace {

// Every level of every family: red across, green down, blue in diagonal stripes, with a
// pure white and a pure black band.
RgbImage sweep(int width, int height) {
    RgbImage picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             makeColor(x * 255 / (width - 1), y * 255 / (height - 1), ((x + y) * 37) % 256));
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < 6; ++y) {
            picture.setPixel(x, y, kWhite);
            picture.setPixel(x, height - 1 - y, kBlack);
        }
    return picture;
}

// The separation screen entered through the colour route, 335 x 502 after scaling.
class SeparationScreen : public ShellFixture {
protected:
    void route(const RgbImage& picture) {
        click(button(screens->selectTask.get(), "TattooIn23ColorsCaption"));
        paste(picture);
        click(button(screens->outputSize.get(), "nextColorReduction"));
        sep = screens->separation.get();
    }
    void enter(const RgbImage& picture) {
        route(picture);
        ASSERT_TRUE(sep->isVisible());
    }
    QSlider* slider(const char* name) { return child<QSlider>(sep, name); }
    RangeSlider* rangeSlider(const char* name) { return child<RangeSlider>(sep, name); }
    QString percent(int k) { return text(sep, qPrintable(QString("percent%1").arg(k))); }
    void clickPicture(const char* name) {
        auto* box = child<PictureBox>(sep, name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 5));
    }

    // What the screen shows must be what the full rasters give.
    void expectShownEqualsFullRasters() {
        const SeparationResult expected = separate(screens->workflow.separationCopy, sep->thresholds());
        EXPECT_TRUE(SameImage(expected.result, screens->workflow.separationResult));
        EXPECT_TRUE(SameImage(thumbnail(expected.result, 185, 161), sep->resultThumbnail()));
        const SeparationClassifier classifier(sep->thresholds());
        const auto masks = separationMasks(screens->workflow.separationCopy, classifier);
        for (int k = 1; k <= kChannelCount; ++k) {
            SCOPED_TRACE(k);
            const RgbImage& mask = masks[static_cast<std::size_t>(k - 1)];
            EXPECT_TRUE(SameImage(mask, sep->fullMask(k)));
            EXPECT_TRUE(SameImage(thumbnail(mask, TForm021::kTileWidth, TForm021::kTileHeight),
                                  sep->tileThumbnail(k)));
            EXPECT_EQ(percent(k).toStdString(), expected.percentageTextOf(k));
        }
    }

    TForm021* sep = nullptr;
};

TEST_F(SeparationScreen, TilesAndResultEqualTheFullRastersAfterEverySliderMove) {
    enter(sweep(400, 600));
    int used = 0;
    for (auto c : screens->workflow.separation().counts) used += c > 0 ? 1 : 0;
    EXPECT_GE(used, 20);  // the sweep reaches nearly every channel
    expectShownEqualsFullRasters();
    slider("TrackBar3")->setValue(40);
    slider("TrackBar10")->setValue(150);
    expectShownEqualsFullRasters();
    // A channel left empty has no mask and an empty tile.
    slider("TrackBar3")->setValue(0);
    EXPECT_EQ(screens->workflow.separation().countOf(3), 0);
    EXPECT_TRUE(sep->fullMask(3).empty());
    EXPECT_TRUE(sep->tileThumbnail(3).empty());
    EXPECT_EQ(percent(3), "0");
}

TEST_F(SeparationScreen, PureWhiteFillsTheWhiteChannelAlone) {
    route(RgbImage(300, 300));  // one colour goes straight to the channels screen: enter by hand
    ASSERT_FALSE(sep->isVisible());
    screens->workflow.separationCopy = screens->pictures.source;
    screens->workflow.enterSeparation();
    EXPECT_EQ(percent(1), "100");
    for (int k = 2; k <= kChannelCount; ++k) EXPECT_EQ(percent(k), "0") << k;
    EXPECT_EQ(screens->workflow.separation().colorOf(1), kWhite);
    EXPECT_TRUE(SameImage(
        RgbImage(screens->workflow.separationCopy.width(), screens->workflow.separationCopy.height()),
        screens->workflow.separationResult));
    EXPECT_TRUE(
        SameImage(thumbnail(screens->workflow.separationCopy, TForm021::kTileWidth, TForm021::kTileHeight),
                  sep->tileThumbnail(1)));
    expectShownEqualsFullRasters();
}

TEST_F(SeparationScreen, EnterRaisesWhiteByOneWithinItsBounds) {
    enter(sweep(200, 300));
    EXPECT_EQ(sep->thresholds().white, 201);
    struct Case {
        int white, lightGrey;  // set through the sliders before the entry
        int expected;
    };
    // 254 -> 255 comes back to 254; light grey at white is passed by one.
    const Case cases[] = {{201, 160, 202}, {254, 160, 254}, {150, 150, 151}, {255, 255, 254}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.white);
        slider("TrackBar1")->setValue(c.white);
        slider("TrackBar2")->setValue(c.lightGrey);
        ASSERT_EQ(sep->thresholds().white, c.white);
        ASSERT_EQ(sep->thresholds().lightGrey, c.lightGrey);
        screens->workflow.enterSeparation();
        EXPECT_EQ(sep->thresholds().white, c.expected);
        EXPECT_EQ(screens->workflow.separation().total,
                  screens->workflow.separationCopy.width() *
                      std::int64_t{screens->workflow.separationCopy.height()});
    }
}

TEST_F(SeparationScreen, EnteringTwiceLeavesWhiteAt202) {
    enter(sweep(200, 300));
    click(button(sep, "back"));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    enter(sweep(200, 300));
    EXPECT_EQ(slider("TrackBar1")->value(), 202);
}

TEST_F(SeparationScreen, SlidersClampThroughEachOther) {
    enter(sweep(200, 300));
    // Black above mid grey comes back to mid grey.
    slider("TrackBar3")->setValue(200);
    EXPECT_EQ(slider("TrackBar3")->value(), 120);
    EXPECT_EQ(slider("TrackBar2a")->value(), 120);
    // Light grey above white drags nothing up: it gives way to white.
    slider("TrackBar2")->setValue(230);
    EXPECT_EQ(slider("TrackBar2")->value(), 201);
    // With the greys moved up, black above the families' high levels pulls them along.
    slider("TrackBar1")->setValue(250);
    slider("TrackBar2")->setValue(240);
    slider("TrackBar2a")->setValue(230);
    slider("TrackBar3")->setValue(210);
    EXPECT_EQ(slider("TrackBar3")->value(), 210);
    for (const char* name :
         {"TrackBar4", "TrackBar5", "TrackBar6", "TrackBar7", "TrackBar8", "TrackBar9", "TrackBar10",
          "TrackBar11", "TrackBar12", "TrackBar13", "TrackBar14", "TrackBar15"})
        EXPECT_EQ(slider(name)->value(), 210) << name;
    EXPECT_EQ(rangeSlider("TrackBar3")->highlightLow(), 0);
    EXPECT_EQ(rangeSlider("TrackBar3")->highlightHigh(), 210);
    EXPECT_EQ(rangeSlider("TrackBar2a")->highlightLow(), 210);
    EXPECT_EQ(rangeSlider("TrackBar2a")->highlightHigh(), 240);
    EXPECT_EQ(rangeSlider("TrackBar4")->highlightLow(), 210);
    EXPECT_EQ(rangeSlider("TrackBar4")->highlightHigh(), 255);
    // The separation on show is the one of the settled thresholds.
    expectShownEqualsFullRasters();
}

TEST_F(SeparationScreen, PicturesOpenInPreview) {
    enter(sweep(200, 300));
    clickPicture("separationResult");
    EXPECT_TRUE(screens->previewViewer->isVisible());
    EXPECT_TRUE(SameImage(screens->workflow.separationResult, screens->pictures.preview));
    clickPicture("mask4");
    EXPECT_TRUE(SameImage(sep->fullMask(4), screens->pictures.preview));
    clickPicture("sourceCopy");
    EXPECT_TRUE(SameImage(screens->workflow.separationCopy, screens->pictures.preview));
    // Any slider move puts PREVIEW away.
    slider("TrackBar8")->setValue(200);
    EXPECT_FALSE(screens->previewViewer->isVisible());
}

TEST_F(SeparationScreen, NextHandsTheResultToTheChannelsScreen) {
    enter(sweep(200, 300));
    const RgbImage shown = screens->workflow.separationResult;
    click(button(sep, "help"));
    EXPECT_TRUE(screens->separationHelp->isVisible());
    click(button(sep, "next"));
    TForm019* channels = screens->channels.get();
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm019"});
    EXPECT_TRUE(SameImage(shown, screens->workflow.channels.before));
    EXPECT_TRUE(screens->workflow.separationBackup.empty());
    EXPECT_TRUE(screens->workflow.separationResult.empty());
    EXPECT_TRUE(sep->fullMask(1).empty());
    for (int k = 1; k <= kChannelCount; ++k) EXPECT_TRUE(sep->tileThumbnail(k).empty()) << k;
    EXPECT_EQ(child<QWidget>(sep, "separationResult")->size(), QSize(0, 0));
    // The next colour route brings the frames back.
    click(button(channels, "back"));
    enter(sweep(200, 300));
    EXPECT_EQ(child<QWidget>(sep, "separationResult")->size(), QSize(185, 161));
    EXPECT_FALSE(sep->tileThumbnail(1).empty());
}

TEST_F(SeparationScreen, RestoreOriginalAndEnhance) {
    enter(sweep(200, 300));
    const RgbImage original = screens->workflow.separationCopy;
    // As the enhance screen returns: a changed SOURCE copy and a re-separate request.
    screens->workflow.separationCopy = RgbImage(original.width(), original.height());
    screens->workflow.separate();
    EXPECT_EQ(screens->workflow.separation().countOf(1), screens->workflow.separation().total);
    click(button(sep, "restoreOriginal"));
    EXPECT_TRUE(SameImage(original, screens->workflow.separationCopy));
    EXPECT_TRUE(SameImage(original, screens->pictures.source));
    expectShownEqualsFullRasters();

    click(button(sep, "enhanceSource"));
    EXPECT_TRUE(screens->enhance->CheckBox2);
    EXPECT_TRUE(screens->enhance->isVisible());
    EXPECT_FALSE(sep->isVisible());
    EXPECT_TRUE(SameImage(original, screens->enhance->working));
    EXPECT_TRUE(screens->workflow.separationResult.empty());
    EXPECT_TRUE(sep->tileThumbnail(1).empty());
}

// BACK and closing the window lead to SELECT TASK alone and keep the separation on show.
TEST_F(SeparationScreen, BackAndClosingKeepTheSeparation) {
    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "closing" : "BACK");
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        enter(sweep(200, 300));
        click(button(sep, "help"));
        clickPicture("sourceCopy");
        const RgbImage shown = screens->workflow.separationResult;
        const RgbImage tile = sep->tileThumbnail(4);
        const RgbImage mask = sep->fullMask(4);
        ASSERT_FALSE(mask.empty());
        if (closing)
            sep->close();
        else
            click(button(sep, "back"));
        EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
        EXPECT_TRUE(SameImage(shown, screens->workflow.separationResult));
        EXPECT_TRUE(SameImage(tile, sep->tileThumbnail(4)));
        EXPECT_TRUE(SameImage(mask, sep->fullMask(4)));
        EXPECT_FALSE(screens->workflow.separationBackup.empty());
    }
}

}  // namespace
}  // namespace dg::test
