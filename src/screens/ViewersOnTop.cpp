#include "screens/ViewersOnTop.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <utility>

namespace dg {

ViewersOnTop::ViewersOnTop(std::vector<QWidget*> viewers, const std::vector<QWidget*>& windows,
                           QObject* parent, std::function<void(QWidget*)> raise)
    : QObject(parent), viewers_(std::move(viewers)), raise_(std::move(raise)) {
    if (!raise_) raise_ = [](QWidget* w) { w->raise(); };
    for (QWidget* w : windows) w->installEventFilter(this);
}

bool ViewersOnTop::eventFilter(QObject* watched, QEvent* event) {
    // A window gets its show event before it is mapped, so the raise waits for the event
    // loop; several windows shown in one action share one raise.
    if (event->type() == QEvent::Show && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow() && !pending_) {
        pending_ = true;
        QMetaObject::invokeMethod(this, &ViewersOnTop::raiseViewers, Qt::QueuedConnection);
    }
    return false;
}

void ViewersOnTop::raiseViewers() {
    pending_ = false;
    for (QWidget* viewer : viewers_)
        if (viewer->isVisible()) raise_(viewer);
}

}  // namespace dg
