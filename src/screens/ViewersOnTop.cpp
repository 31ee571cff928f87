#include "screens/ViewersOnTop.h"

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <utility>

namespace dg {

ViewersOnTop::ViewersOnTop(std::vector<QWidget*> viewers, const std::vector<QWidget*>& windows,
                           QObject* parent, std::function<void(QWidget*)> raise,
                           std::function<void(QWidget*, bool)> keepOnTop)
    : QObject(parent), raise_(std::move(raise)), keepOnTop_(std::move(keepOnTop)) {
    for (QWidget* v : viewers) viewers_.emplace_back(v);
    for (QWidget* w : windows) windows_.emplace_back(w);
    if (!raise_) raise_ = [](QWidget* w) { w->raise(); };
    if (!keepOnTop_)
        // The window system's own window takes the flag and keeps it in place; the widget's
        // flags stay as they are (changing those would hide the window and make it anew).
        keepOnTop_ = [](QWidget* w, bool onTop) {
            QWindow* window = w->windowHandle();
            if (window == nullptr) return;
            Qt::WindowFlags flags = w->windowFlags();
            if (!onTop) flags &= ~Qt::WindowStaysOnTopHint;
            if (window->flags() != flags) window->setFlags(flags);
        };
    // Dialogs come from anywhere (message boxes and file dialogs have no parent), so every
    // window's showing and hiding passes here.
    QCoreApplication::instance()->installEventFilter(this);
}

bool ViewersOnTop::isViewer(const QObject* object) const {
    return std::any_of(viewers_.begin(), viewers_.end(),
                       [object](const QPointer<QWidget>& v) { return v == object; });
}

bool ViewersOnTop::isWatched(const QObject* object) const {
    return std::any_of(windows_.begin(), windows_.end(),
                       [object](const QPointer<QWidget>& w) { return w == object; });
}

bool ViewersOnTop::dialogShown() const {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [this](const QWidget* w) { return w->isVisible() && w->isModal() && !isViewer(w); });
}

bool ViewersOnTop::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() != QEvent::Show && event->type() != QEvent::Hide) || !watched->isWidgetType() ||
        !static_cast<QWidget*>(watched)->isWindow())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (window->isModal() && !isViewer(window)) {
        followDialogs();
    } else if (event->type() == QEvent::Show) {
        // A viewer shown while a dialog is up joins the others below it.
        if (steppedDown_ && isViewer(window)) keepOnTop_(window, false);
        if (isWatched(window)) raiseSoon();
    }
    return false;
}

void ViewersOnTop::followDialogs() {
    const bool down = dialogShown();
    if (down == steppedDown_) return;
    steppedDown_ = down;
    for (const QPointer<QWidget>& viewer : viewers_)
        if (viewer) keepOnTop_(viewer, !down);
    if (!down) raiseSoon();
}

// A window gets its show event before it is mapped, so the raise waits for the event loop;
// several windows shown in one action share one raise.
void ViewersOnTop::raiseSoon() {
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(this, &ViewersOnTop::raiseViewers, Qt::QueuedConnection);
}

void ViewersOnTop::raiseViewers() {
    pending_ = false;
    if (steppedDown_) return;
    for (const QPointer<QWidget>& viewer : viewers_)
        if (viewer && viewer->isVisible()) raise_(viewer);
}

}  // namespace dg
