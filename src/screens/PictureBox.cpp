#include "screens/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "imaging/RgbImage.h"
#include "platform/qt/QtImage.h"

namespace dg {

PictureBox::PictureBox(const RgbImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.empty()) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), qimageView(picture_));
}

void PictureBox::mousePressEvent(QMouseEvent* event) { pressed_ = event->button() == Qt::LeftButton; }

// A click is a press and a release of the left button over the picture box.
void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

}  // namespace dg
