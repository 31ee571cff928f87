#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <atomic>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

namespace dg {

// How many dialogs that steps off the window's thread asked for are open now: a step's
// progress dialog waits until they are closed, so that it never comes up over them.
inline std::atomic<int>& dialogsForSteps() {
    static std::atomic<int> open{0};
    return open;
}

// Runs `f` on the application's (window) thread and gives its result: directly when called
// there, otherwise by waiting while that thread runs it. A long step runs off the window's
// thread; the dialogs and message boxes it shows must still be made on it.
template <class F>
auto onGuiThread(F&& f) -> decltype(f()) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || QThread::currentThread() == app->thread()) return f();
    using Result = decltype(f());
    std::exception_ptr failure;
    struct Open {
        Open() { ++dialogsForSteps(); }
        ~Open() { --dialogsForSteps(); }
    };
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(
            app,
            [&] {
                const Open open;
                try {
                    f();
                } catch (...) {
                    failure = std::current_exception();
                }
            },
            Qt::BlockingQueuedConnection);
        if (failure) std::rethrow_exception(failure);
    } else {
        std::optional<Result> result;
        QMetaObject::invokeMethod(
            app,
            [&] {
                const Open open;
                try {
                    result.emplace(f());
                } catch (...) {
                    failure = std::current_exception();
                }
            },
            Qt::BlockingQueuedConnection);
        if (failure) std::rethrow_exception(failure);
        return std::move(*result);
    }
}

}  // namespace dg
