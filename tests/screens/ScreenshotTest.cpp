#include <QPainter>
#include <QPixmap>
#include <cstdlib>

#include "ShellFixture.h"
#include "platform/qt/QtImage.h"
#include "screens/OutputSize.h"
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

}  // namespace
}  // namespace dg::test
