#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWheelEvent>
#include <cstdlib>

#include "ShellFixture.h"
#include "platform/qt/QtImage.h"
#include "screens/OutputSize.h"
#include "screens/PictureBox.h"
#include "screens/SelectTask.h"
#include "screens/Viewers.h"

namespace dg::test {
namespace {

// A picture to load: a few flat colours and an outline, drawn here.
RgbImage designPicture() {
    QImage image(280, 420, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 6));
    p.setBrush(QColor(200, 40, 40));
    p.drawEllipse(QRect(40, 40, 200, 200));
    p.setBrush(QColor(40, 120, 200));
    p.drawPolygon(QPolygon({QPoint(140, 200), QPoint(250, 400), QPoint(30, 400)}));
    p.setBrush(QColor(250, 210, 40));
    p.drawEllipse(QRect(105, 105, 70, 70));
    p.end();
    return rgbFromQImage(image);
}

// Only when asked for by docs/take-screenshots.sh: the output-size screen with a picture
// loaded, and the SOURCE viewer floating over it where it stands on the desktop.
using Screenshots = ShellFixture;

TEST_F(Screenshots, OutputSize) {
    const char* folder = std::getenv("DG_SCREENSHOT_DIR");
    if (folder == nullptr) GTEST_SKIP() << "DG_SCREENSHOT_DIR is not set";
    paste(designPicture());
    screens->outputSize->SpinEdit1->setValue(160);
    screens->outputSize->SpinEdit2->setValue(20);
    screens->outputSize->SpinEdit3->setValue(0);

    QPixmap desktop(1020, 736);
    desktop.fill(Qt::black);
    QPainter painter(&desktop);
    for (QWidget* w : {static_cast<QWidget*>(screens->outputSize.get()),
                       static_cast<QWidget*>(screens->sourceViewer.get())}) {
        ASSERT_TRUE(w->isVisible());
        painter.drawPixmap(w->pos(), w->grab());
    }
    painter.end();
    EXPECT_TRUE(desktop.save(QString(folder) + "/output-size.png"));
}

// On a desktop of 1366 x 768 (docs/take-screenshots.sh gives it one): a photograph opened on
// the colour route, the SOURCE viewer beside the output-size screen, zoomed in around the
// pointer from "Fit" with Ctrl + wheel, its scroll bars and zoom buttons showing.
TEST_F(Screenshots, ZoomedSourceBesideOutputSize) {
    const char* folder = std::getenv("DG_SCREENSHOT_DIR");
    if (folder == nullptr) GTEST_SKIP() << "DG_SCREENSHOT_DIR is not set";
    const QSize desk = QGuiApplication::primaryScreen()->geometry().size();
    if (desk != QSize(1366, 768)) GTEST_SKIP() << "needs a desktop of 1366 x 768";
    click(button(screens->selectTask.get(), "TattooIn23ColorsCaption"));
    fakes.dialogs.pictureAnswers.push_back(fixturePath("formats/real/photo.jpg"));
    click(button(screens->selectTask.get(), "openImage"));
    TForm002* source = screens->sourceViewer.get();
    ASSERT_TRUE(screens->outputSize->isVisible());
    ASSERT_TRUE(source->isVisible());
    PictureView* view = source->findChild<PictureView*>();
    click(button(view, "zoomFit"));
    for (int notch = 0; notch < 2; ++notch) {
        const QPoint pointer(view->box()->width() * 2 / 3, view->box()->height() / 3);
        QWheelEvent turn(QPointF(pointer), QPointF(view->box()->mapToGlobal(pointer)), QPoint(),
                         QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->box(), &turn);
    }
    ASSERT_FALSE(source->frameGeometry().intersects(screens->outputSize->frameGeometry()));

    QPixmap desktop(desk);
    desktop.fill(Qt::black);
    QPainter painter(&desktop);
    for (QWidget* w : {static_cast<QWidget*>(screens->outputSize.get()), static_cast<QWidget*>(source)})
        painter.drawPixmap(w->pos(), w->grab());
    painter.end();
    EXPECT_TRUE(desktop.save(QString(folder) + "/viewer-zoom.png"));
}

}  // namespace
}  // namespace dg::test
