#include "screens/LongStep.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <thread>
#include <vector>

#include "app/Workflow.h"
#include "imaging/Progress.h"

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

}  // namespace

bool runLongStep(Workflow& workflow, const QString& name, bool cancellable,
                 const std::function<void(StepProgress&)>& step) {
    // The windows keep their last picture: their pictures may change under the step.
    std::vector<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || !w->updatesEnabled()) continue;
        windows.emplace_back(w);
        w->setUpdatesEnabled(false);
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
    QObject::connect(&appear, &QTimer::timeout, [&] { dialog.show(); });
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

    for (const auto& w : windows) {
        if (w == nullptr) continue;
        w->setUpdatesEnabled(true);
        w->update();
    }
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
