#pragma once

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <utility>

namespace dg {

// Tells where the pointer moves over a widget, in the widget's pixels, with or without a
// button held. The filter lives as the widget's child.
class PointerTracking : public QObject {
public:
    PointerTracking(QWidget* widget, std::function<void(int, int)> moved)
        : QObject(widget), moved_(std::move(moved)) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseMove) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            moved_(p.x(), p.y());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(int, int)> moved_;
};

}  // namespace dg
