#pragma once

#include <QTimer>
#include <QWidget>

#include "app/StepTrigger.h"

class QLabel;

namespace dg {

class ScreenSet;

// The start-up splash: a borderless picture with "Please Wait..." above SELECT TASK for
// 10000 ms, hidden once and never shown again.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSplashMilliseconds = 10000;

    explicit TForm1(ScreenSet& screens);

    // Shows the splash over SELECT TASK and starts its timer.
    void showSplash();
    // The timer's one tick: hide, show SELECT TASK, give the picture's memory back.
    void Timer1Timer();
    QTimer Timer1;

private:
    ScreenSet& screens_;
    QLabel* picture_ = nullptr;
};

}  // namespace dg
