#include "screens/LongStep.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <memory>
#include <thread>
#include <vector>

#include "app/Workflow.h"
#include "imaging/Progress.h"
#include "platform/qt/GuiThread.h"

namespace dg {

namespace {

// Keeps the user's clicks and keys away from the program's windows while a step runs; the
// progress dialog and the dialogs the step asks for take input as usual.
class InputHold : public QObject {
public:
    explicit InputHold(std::vector<QPointer<QWidget>> windows) : windows_(std::move(windows)) {
        qApp->installEventFilter(this);
    }
    ~InputHold() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Wheel:
            case QEvent::Close:
            case QEvent::Shortcut:
                break;
            default:
                return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr) return false;
        QWidget* window = widget->window();
        for (const auto& held : windows_)
            if (held == window) {
                event->ignore();
                return true;
            }
        return false;
    }

private:
    std::vector<QPointer<QWidget>> windows_;
};

// A window's picture as it was when the step started, laid over it while the step runs: the
// window repaints (when uncovered, say) without reading the pictures the step is changing,
// whose own widgets do not paint meanwhile.
class FrozenWindow {
public:
    explicit FrozenWindow(QWidget* window) : window_(window) {
        const QPixmap picture = window->grab();
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->updatesEnabled()) continue;
            child->setUpdatesEnabled(false);
            children_.emplace_back(child);
        }
        cover_ = new QLabel(window);
        cover_->setAttribute(Qt::WA_OpaquePaintEvent);
        cover_->setPixmap(picture);
        cover_->setGeometry(window->rect());
        cover_->show();
        cover_->raise();
    }
    ~FrozenWindow() {
        delete cover_.data();
        for (const auto& child : children_)
            if (child != nullptr) child->setUpdatesEnabled(true);
        if (window_ != nullptr) window_->update();
    }
    FrozenWindow(const FrozenWindow&) = delete;
    FrozenWindow& operator=(const FrozenWindow&) = delete;

private:
    QPointer<QWidget> window_;
    QPointer<QLabel> cover_;
    std::vector<QPointer<QWidget>> children_;
};

}  // namespace

bool runLongStep(Workflow& workflow, const QString& name, bool cancellable,
                 const std::function<void(StepProgress&)>& step) {
    // The windows keep their last picture: their pictures may change under the step.
    std::vector<std::unique_ptr<FrozenWindow>> frozen;
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        frozen.push_back(std::make_unique<FrozenWindow>(w));
        windows.emplace_back(w);
    }
    const InputHold hold(windows);
    workflow.holdChanges();

    StepProgress progress;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        {
            const ProgressScope scope(&progress);
            try {
                step(progress);
            } catch (...) {
                failure = std::current_exception();
            }
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    QProgressDialog dialog(name, cancellable ? QStringLiteral("Cancel") : QString(), 0, 1000);
    dialog.setObjectName("longStepProgress");
    dialog.setWindowTitle(name);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setMinimumDuration(kProgressDelayMs);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    if (!cancellable) dialog.setCancelButton(nullptr);
    dialog.hide();
    if (cancellable) QObject::connect(&dialog, &QProgressDialog::canceled, [&] { progress.cancel(); });
    QTimer appear;
    appear.setSingleShot(true);
    QObject::connect(&appear, &QTimer::timeout, [&] {
        // Not over a dialog the step asked for (a file name, the print dialog): after it.
        if (dialogsForSteps() > 0)
            appear.start(kProgressDelayMs);
        else
            dialog.show();
    });
    appear.start(kProgressDelayMs);
    QTimer bar;
    QObject::connect(&bar, &QTimer::timeout, [&] {
        if (dialog.isVisible()) dialog.setValue(static_cast<int>(progress.fraction() * 1000));
    });
    bar.start(50);

    loop.exec();
    worker.join();
    appear.stop();
    bar.stop();
    dialog.hide();

    frozen.clear();
    workflow.releaseChanges();
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const Cancelled&) {
            return false;
        }
    }
    return true;
}

}  // namespace dg
