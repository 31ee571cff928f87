#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;

namespace dg {

// Keeps the three viewers above the working screens where no window manager does it for
// their stay-on-top flag (a bare X server): whenever any other window is shown, the viewers
// that are visible are raised again, PREVIEW last, once the new window is on the screen.
// While a modal dialog of any kind is on the screen (a message, a question, a file or
// printer dialog, a progress dialog, the merge offer) the viewers step down from always on
// top and are not raised, so that nothing covers the dialog; they go back on top when the
// last one closes.
class ViewersOnTop : public QObject {
    Q_OBJECT
public:
    // viewers in the order they are raised, lowest first; raise brings one window to the
    // top (the window system's raise unless given); keepOnTop puts one viewer in the window
    // system's always-on-top layer or takes it out (its window's flags unless given).
    ViewersOnTop(std::vector<QWidget*> viewers, const std::vector<QWidget*>& windows,
                 QObject* parent = nullptr, std::function<void(QWidget*)> raise = {},
                 std::function<void(QWidget*, bool)> keepOnTop = {});

    // Raises the visible viewers now, unless a modal dialog is on the screen.
    void raiseViewers();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isViewer(const QObject* object) const;
    bool isWatched(const QObject* object) const;
    // Whether a modal window other than a viewer is visible.
    bool dialogShown() const;
    void followDialogs();
    void raiseSoon();

    std::vector<QPointer<QWidget>> viewers_;
    std::vector<QPointer<QWidget>> windows_;
    std::function<void(QWidget*)> raise_;
    std::function<void(QWidget*, bool)> keepOnTop_;
    bool pending_ = false;
    bool steppedDown_ = false;
};

}  // namespace dg
