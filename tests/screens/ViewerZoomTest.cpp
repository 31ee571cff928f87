#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <cmath>

#include "ShellFixture.h"
#include "screens/PictureBox.h"
#include "screens/Viewers.h"

namespace dg::test {
namespace {

constexpr ColorValue kGreen = makeColor(0, 255, 0);

// The SOURCE and RESULT viewers with a picture far larger than their windows: random pixels,
// so that a pixel shown one place off is seen, and a green block in the bottom right corner
// that stays visible however small the picture is drawn.
class ViewerZoom : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        large = randomImage(1200, 900, 7);
        for (int y = 900 - 80; y < 900; ++y)
            for (int x = 1200 - 80; x < 1200; ++x) large.setPixel(x, y, kGreen);
    }

    // The viewer on the screen with `picture` as its SOURCE (or RESULT) picture.
    PictureView& open(QWidget* viewer, RgbImage& buffer, const RgbImage& picture) {
        buffer = picture;
        viewer->show();
        PictureView* view = viewer->findChild<PictureView*>();
        EXPECT_NE(view, nullptr);
        view->pictureChanged();
        return *view;
    }
    PictureView& openSource() { return open(screens->sourceViewer.get(), screens->pictures.source, large); }

    static QScrollBar* bar(PictureView& view, const char* name) { return view.findChild<QScrollBar*>(name); }
    void press(PictureView& view, const char* name) { click(button(&view, name)); }

    // Every tenth pixel of the box against the picture pixel that the view says lies under it.
    static ::testing::AssertionResult showsWhatItMaps(PictureView& view, const RgbImage& picture) {
        const QImage shown = view.box()->grab().toImage();
        for (int y = 0; y < shown.height(); y += 10)
            for (int x = 0; x < shown.width(); x += 10) {
                const QPoint at = view.box()->pictureAt({x, y});
                if (!picture.contains(at.x(), at.y())) continue;
                const QRgb c = shown.pixel(x, y);
                const ColorValue expected = picture.pixel(at.x(), at.y());
                if (makeColor(qRed(c), qGreen(c), qBlue(c)) != expected)
                    return ::testing::AssertionFailure()
                           << "box pixel (" << x << ", " << y << ") shows "
                           << colorText(makeColor(qRed(c), qGreen(c), qBlue(c))) << ", picture pixel ("
                           << at.x() << ", " << at.y() << ") is " << colorText(expected);
            }
        return ::testing::AssertionSuccess();
    }

    static void wheel(PictureView& view, QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent turn(QPointF(at), QPointF(view.box()->mapToGlobal(at)), QPoint(), QPoint(0, delta),
                         Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.box(), &turn);
    }
    // The picture point under a point of the box, between pixels.
    static QPointF pictured(PictureView& view, QPoint at) {
        return QPointF(at + view.box()->offset()) / view.scale();
    }

    RgbImage large;
};

// A picture larger than the window gets scroll bars and the zoom buttons, and is shown one
// to one from its top left, as the viewers always showed it; every part of it can be
// scrolled to. A small one is shown on the whole window, without either.
TEST_F(ViewerZoom, ALargePictureScrollsAtOneToOne) {
    const struct {
        const char* name;
        QWidget* viewer;
        RgbImage& buffer;
    } viewers[] = {{"SOURCE", screens->sourceViewer.get(), screens->pictures.source},
                   {"RESULT", screens->resultViewer.get(), screens->pictures.result}};
    for (const auto& v : viewers) {
        SCOPED_TRACE(v.name);
        PictureView& view = open(v.viewer, v.buffer, large);
        EXPECT_EQ(view.scale(), 1.0);
        EXPECT_EQ(view.box()->offset(), QPoint(0, 0));
        EXPECT_EQ(view.box()->pictureAt({17, 23}), QPoint(17, 23));
        EXPECT_TRUE(bar(view, "horizontalScroll")->isVisible());
        EXPECT_TRUE(bar(view, "verticalScroll")->isVisible());
        EXPECT_EQ(text(&view, "zoomLevel"), "100 %");
        EXPECT_TRUE(showsWhatItMaps(view, large));

        bar(view, "horizontalScroll")->setValue(bar(view, "horizontalScroll")->maximum());
        bar(view, "verticalScroll")->setValue(bar(view, "verticalScroll")->maximum());
        const QSize box = view.box()->size();
        EXPECT_EQ(view.box()->pictureAt({box.width() - 1, box.height() - 1}), QPoint(1199, 899));
        EXPECT_TRUE(showsWhatItMaps(view, large));

        EXPECT_TRUE(child<QWidget>(&view, "zoomStrip")->isVisible());

        open(v.viewer, v.buffer, randomImage(40, 30, 1));
        EXPECT_FALSE(bar(view, "horizontalScroll")->isVisible());
        EXPECT_FALSE(bar(view, "verticalScroll")->isVisible());
        EXPECT_FALSE(child<QWidget>(&view, "zoomStrip")->isVisible());
        EXPECT_EQ(view.box()->size(), v.viewer->size()) << "the whole window, as before";
        EXPECT_EQ(view.box()->offset(), QPoint(0, 0));
    }
}

// The buttons: in and out by one step (two steps double), Fit shows the whole picture, 100 %
// is one to one again, True size draws the design as large as it will print on this display.
TEST_F(ViewerZoom, ZoomButtonsStepFitShowOneToOneAndTrueSize) {
    PictureView& view = openSource();
    press(view, "zoomIn");
    EXPECT_DOUBLE_EQ(view.scale(), kZoomStep);
    press(view, "zoomIn");
    EXPECT_EQ(view.scale(), 2.0);
    EXPECT_EQ(text(&view, "zoomLevel"), "200 %");
    EXPECT_TRUE(showsWhatItMaps(view, large));
    press(view, "zoomOut");
    EXPECT_DOUBLE_EQ(view.scale(), kZoomStep);

    press(view, "zoomFit");
    const QSize shown = scaledSize({1200, 900}, view.scale());
    const QSize box = view.box()->size();
    EXPECT_FALSE(bar(view, "horizontalScroll")->isVisible());
    EXPECT_FALSE(bar(view, "verticalScroll")->isVisible());
    EXPECT_LE(shown.width(), box.width());
    EXPECT_LE(shown.height(), box.height());
    EXPECT_TRUE(shown.width() == box.width() || shown.height() == box.height()) << "as large as fits";
    const QImage fitted = view.box()->grab().toImage();
    EXPECT_EQ(fitted.pixelColor(shown.width() - 3, shown.height() - 3), QColor(0, 255, 0))
        << "the far corner is in";

    press(view, "zoomActual");
    EXPECT_EQ(view.scale(), 1.0);
    EXPECT_TRUE(showsWhatItMaps(view, large));

    screens->state.outputDpi = 160;
    press(view, "zoomTrueSize");
    EXPECT_DOUBLE_EQ(view.scale(), view.screen()->physicalDotsPerInch() / 160);
}

// Ctrl + wheel zooms by a step per notch, keeping the picture point under the pointer where
// it is; the wheel alone scrolls. Ctrl+plus and Ctrl+minus zoom too.
TEST_F(ViewerZoom, CtrlWheelZoomsAroundThePointerAndKeysZoom) {
    PictureView& view = openSource();
    // Far enough into the picture that zooming out keeps the point where it was.
    bar(view, "horizontalScroll")->setValue(300);
    bar(view, "verticalScroll")->setValue(300);
    const QPoint pointer(150, 120);
    const QPointF under = pictured(view, pointer);
    wheel(view, pointer, 120, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view.scale(), kZoomStep);
    EXPECT_NEAR(pictured(view, pointer).x(), under.x(), 1.0);
    EXPECT_NEAR(pictured(view, pointer).y(), under.y(), 1.0);
    wheel(view, pointer, -240, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view.scale(), 1.0 / kZoomStep);
    EXPECT_NEAR(pictured(view, pointer).x(), under.x(), 1.5);
    EXPECT_NEAR(pictured(view, pointer).y(), under.y(), 1.5);

    const int top = bar(view, "verticalScroll")->value();
    wheel(view, pointer, -120, Qt::NoModifier);
    EXPECT_GT(bar(view, "verticalScroll")->value(), top);
    EXPECT_DOUBLE_EQ(view.scale(), 1.0 / kZoomStep);

    QWidget* viewer = screens->sourceViewer.get();
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer));
    QTest::keyClick(viewer, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(view.scale(), 1.0);
    QTest::keyClick(viewer, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(view.scale(), kZoomStep);
    QTest::keyClick(viewer, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(view.scale(), 1.0);
}

// Dragging the picture scrolls it and is no click; a click still opens PREVIEW.
TEST_F(ViewerZoom, ADragScrollsAndAClickStillOpensPreview) {
    screens->state.task = TaskMode::CreateTribalTattoo;
    PictureView& view = openSource();
    PictureBox* box = view.box();
    bar(view, "horizontalScroll")->setValue(100);
    bar(view, "verticalScroll")->setValue(100);
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 130), box->mapToGlobal(QPointF(60, 130)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(60, 130));
    EXPECT_EQ(box->offset(), QPoint(140, 70));
    EXPECT_FALSE(screens->previewViewer->isVisible());

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(60, 130));
    EXPECT_TRUE(screens->previewViewer->isVisible());
    EXPECT_TRUE(SameImage(large, screens->pictures.preview));
}

}  // namespace
}  // namespace dg::test
