#include "screens/ScreenLook.h"

#include <QAbstractSpinBox>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QSvgRenderer>
#include <QWidget>

namespace dg::look {

void setBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setFace(QPushButton* button, const QColor& colour) {
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, colour);
    button->setPalette(palette);
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent, int minimumHeight) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    setFace(b, kSkyBlue);
    if (minimumHeight > 0) b->setMinimumHeight(minimumHeight);
    return b;
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent, const QRect& where) {
    QPushButton* b = button(caption, name, parent);
    b->setGeometry(where);
    return b;
}

void whiteCaptions(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    widget->setPalette(palette);
    // The style draws a spin box's arrows in the window-text colour on a light button, so
    // the spin boxes keep the dark one.
    for (QAbstractSpinBox* spin : widget->findChildren<QAbstractSpinBox*>()) {
        QPalette dark = spin->palette();
        dark.setColor(QPalette::WindowText, Qt::black);
        spin->setPalette(dark);
    }
}

QPixmap picture(const QString& name, int width, int height) {
    QSvgRenderer renderer(":/pictures/" + name + ".svg");
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::white);
    if (!renderer.isValid()) return pixmap;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    return pixmap;
}

}  // namespace dg::look
