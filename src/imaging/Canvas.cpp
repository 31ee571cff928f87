#include "imaging/Canvas.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>

namespace dg {

namespace {

QColor toQColor(ColorValue c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

QImage wrap(RgbImage& picture) {
    // The rows already are a BGR888 image with 4-byte aligned lines: no copy.
    return QImage(picture.data(), picture.width(), picture.height(),
                  static_cast<qsizetype>(picture.stride()), QImage::Format_BGR888);
}

QImage wrapConst(const RgbImage& picture) {
    return QImage(picture.data(), picture.width(), picture.height(),
                  static_cast<qsizetype>(picture.stride()), QImage::Format_BGR888);
}

}  // namespace

struct Canvas::Impl {
    QImage image;
    QPainter painter;
};

Canvas::Canvas(RgbImage& target) : impl_(nullptr) {
    if (target.empty()) return;
    impl_ = new Impl;
    impl_->image = wrap(target);
    impl_->painter.begin(&impl_->image);
    impl_->painter.setRenderHint(QPainter::Antialiasing, false);
    impl_->painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

Canvas::~Canvas() {
    if (impl_ != nullptr) {
        impl_->painter.end();
        delete impl_;
    }
}

void Canvas::line(int x0, int y0, int x1, int y1, ColorValue color, int penWidth) {
    if (impl_ == nullptr) return;
    QPen pen(toQColor(color));
    pen.setWidth(penWidth <= 1 ? 1 : penWidth);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    impl_->painter.setPen(pen);
    if (x0 == x1 && y0 == y1) {
        impl_->painter.drawPoint(x0, y0);
    } else {
        impl_->painter.drawLine(x0, y0, x1, y1);
    }
}

void Canvas::text(int x, int y, const std::string& utf8, double pointSize, int dpi, ColorValue color) {
    if (impl_ == nullptr || utf8.empty()) return;
    QFont font(QString::fromLatin1(kPageFontFamily));
    // Points to pixels at the given resolution, so the size does not depend on the screen.
    const double pixels = pointSize * dpi / 72.0;
    font.setPixelSize(pixels < 1.0 ? 1 : static_cast<int>(pixels + 0.5));
    font.setStyleStrategy(QFont::NoAntialias);
    impl_->painter.setFont(font);
    impl_->painter.setPen(toQColor(color));
    const QString s = QString::fromUtf8(utf8.c_str());
    const QFontMetrics metrics(font);
    impl_->painter.drawText(x, y + metrics.ascent(), s);
}

void Canvas::fillRect(int x, int y, int width, int height, ColorValue color) {
    if (impl_ == nullptr || width <= 0 || height <= 0) return;
    impl_->painter.fillRect(x, y, width, height, toQColor(color));
}

void Canvas::drawStretched(const RgbImage& source, int x, int y, int width, int height) {
    if (impl_ == nullptr || source.empty() || width <= 0 || height <= 0) return;
    impl_->painter.drawImage(QRect(x, y, width, height), wrapConst(source));
}

}  // namespace dg
