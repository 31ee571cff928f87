#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QWidget;

namespace dg {

// Keeps the three viewers above the working screens where no window manager does it for
// their stay-on-top flag (a bare X server): whenever any other window is shown, the viewers
// that are visible are raised again, PREVIEW last, once the new window is on the screen.
class ViewersOnTop : public QObject {
    Q_OBJECT
public:
    // viewers in the order they are raised, lowest first; raise brings one window to the
    // top (the window system's raise unless given).
    ViewersOnTop(std::vector<QWidget*> viewers, const std::vector<QWidget*>& windows,
                 QObject* parent = nullptr, std::function<void(QWidget*)> raise = {});

    // Raises the visible viewers now.
    void raiseViewers();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QWidget*> viewers_;
    std::function<void(QWidget*)> raise_;
    bool pending_ = false;
};

}  // namespace dg
