#pragma once

#include <QTimer>
#include <QWidget>

#include "app/StepTrigger.h"

class QLabel;

namespace dg {

class ScreenSet;

// The start-up splash: a borderless picture with "Please Wait..." above SELECT TASK for
// 10000 ms, hidden once and never shown again. It also holds the intake picture's actions:
// opening a picture file and pasting the clipboard's bitmap.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSplashMilliseconds = 10000;

    explicit TForm1(ScreenSet& screens);

    // Shows the splash over SELECT TASK and starts its timer.
    void showSplash();
    // The timer's one tick: hide, show SELECT TASK, give the picture's memory back.
    void Timer1Timer();
    // Paste: the clipboard's bitmap becomes the intake picture, then the intake routing runs.
    void paste();

    // Open picture: empties the intake picture, asks for a file, decodes it and, when a
    // picture arrived, starts the SELECT TASK intake routing.
    StepTrigger SpinEdit1;

    QTimer Timer1;

private:
    void openPicture();

    ScreenSet& screens_;
    QLabel* picture_ = nullptr;
};

}  // namespace dg
