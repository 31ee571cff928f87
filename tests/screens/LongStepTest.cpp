#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPainter>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "imaging/Failure.h"
#include "imaging/Progress.h"
#include "platform/qt/GuiThread.h"
#include "screens/LongStep.h"
#include "screens/OutputSize.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/ShellFixture.h"
#include "screens/Viewers.h"

namespace dg {
namespace {

using namespace std::chrono_literals;
using test::SameImage;

QProgressDialog* progressDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == "longStepProgress") return qobject_cast<QProgressDialog*>(w);
    return nullptr;
}
bool progressShown() {
    QProgressDialog* dialog = progressDialog();
    return dialog != nullptr && dialog->isVisible();
}

// A step of about `seconds` that stops at a checkpoint every 20 ms.
void sleepyStep(double seconds) {
    const int steps = static_cast<int>(seconds / 0.02);
    for (int i = 0; i < steps; ++i) {
        stepCheckpoint(static_cast<double>(i) / steps);
        std::this_thread::sleep_for(20ms);
    }
}

// The windows' thread keeps answering (its timers run, its largest gap is under 100 ms), the
// progress dialog is not there at 300 ms and is there at 700 ms, and the step runs to its end.
class LongStepTest : public test::ShellFixture {
protected:
    // Records the largest gap between ticks of a 10 ms timer while a step runs.
    struct Heartbeat {
        QTimer timer;
        QElapsedTimer clock;
        qint64 last = 0, largestGap = 0;
        Heartbeat() {
            clock.start();
            QObject::connect(&timer, &QTimer::timeout, [this] {
                const qint64 now = clock.elapsed();
                largestGap = std::max(largestGap, now - last);
                last = now;
            });
            timer.start(10);
        }
    };
};

TEST_F(LongStepTest, TheWindowsAnswerAndTheProgressComesAfterHalfASecond) {
    Heartbeat heartbeat;
    bool shownEarly = true, shownLater = false;
    QTimer::singleShot(300, [&] { shownEarly = progressShown(); });
    QTimer::singleShot(800, [&] { shownLater = progressShown(); });
    EXPECT_TRUE(runLongStep(screens->workflow, "Testing", true, [](StepProgress&) { sleepyStep(1.2); }));
    EXPECT_FALSE(shownEarly);
    EXPECT_TRUE(shownLater);
    EXPECT_LT(heartbeat.largestGap, 100);
    EXPECT_FALSE(progressShown());
}

TEST_F(LongStepTest, CancelStopsTheStepWithin250Milliseconds) {
    QElapsedTimer sinceCancel;
    QTimer::singleShot(700, [&] {
        QProgressDialog* dialog = progressDialog();
        ASSERT_NE(dialog, nullptr);
        QPushButton* cancel = dialog->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->text(), "Cancel");
        sinceCancel.start();
        cancel->click();
    });
    bool finished = false;
    EXPECT_FALSE(runLongStep(screens->workflow, "Testing", true, [&](StepProgress&) {
        sleepyStep(5);
        finished = true;
    }));
    EXPECT_FALSE(finished);
    ASSERT_TRUE(sinceCancel.isValid());
    EXPECT_LT(sinceCancel.elapsed(), 250);
}

// A dialog the step asks for (a file name, the print dialog) is not covered by the progress:
// it comes half a second after the dialog is closed, if the step still runs.
TEST_F(LongStepTest, TheProgressWaitsForADialogTheStepAskedFor) {
    bool shownOverDialog = true, shownAfter = false;
    EXPECT_TRUE(runLongStep(screens->workflow, "Testing", true, [&](StepProgress&) {
        onGuiThread([&] {
            // A modal dialog's own event loop, open for 900 ms.
            QEventLoop dialog;
            QTimer::singleShot(700, [&] { shownOverDialog = progressShown(); });
            QTimer::singleShot(900, &dialog, &QEventLoop::quit);
            dialog.exec();
        });
        sleepyStep(0.3);
        onGuiThread([&] { QTimer::singleShot(300, [&] { shownAfter = progressShown(); }); });
        sleepyStep(0.7);
    }));
    EXPECT_FALSE(shownOverDialog);
    EXPECT_TRUE(shownAfter);
}

TEST_F(LongStepTest, AStepsFailureReachesTheWindowsThread) {
    EXPECT_THROW(
        runLongStep(screens->workflow, "Testing", true, [](StepProgress&) { throw Failure("no luck"); }),
        Failure);
    EXPECT_FALSE(progressShown());
}

// OUTPUT SIZE's NEXT on a design large enough to take a while, cancelled as soon as its
// progress shows: the output-size screen is back with SOURCE as it was, nothing entered.
TEST_F(LongStepTest, ACancelledColourReductionLeavesTheOutputSizeAsItWas) {
    click(button(screens->selectTask.get(), "TattooIn23ColorsCaption"));
    fakes.dialogs.pictureAnswers.push_back(std::string(DG_FIXTURES) + "/formats/real/photo.jpg");
    click(button(screens->selectTask.get(), "openImage"));
    TForm004* out = screens->outputSize.get();
    ASSERT_TRUE(out->isVisible());
    out->SpinEdit1->setValue(160);
    out->SpinEdit2->setValue(60);
    const RgbImage source = screens->pictures.source;

    QTimer poll;
    QElapsedTimer sinceCancel;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QProgressDialog* dialog = progressDialog();
        if (dialog == nullptr || !dialog->isVisible() || sinceCancel.isValid()) return;
        sinceCancel.start();
        dialog->findChild<QPushButton*>()->click();
    });
    poll.start(20);
    click(button(out, "nextColorReduction"));
    poll.stop();
    if (!sinceCancel.isValid()) GTEST_SKIP() << "the step ended before its progress showed";
    EXPECT_TRUE(out->isVisible());
    EXPECT_FALSE(screens->separation->isVisible());
    EXPECT_TRUE(screens->sourceViewer->isVisible());
    EXPECT_TRUE(SameImage(screens->pictures.source, source));
    EXPECT_TRUE(screens->workflow.separationCopy.empty());
}

// Only when asked for by docs/take-screenshots.sh: a long step's progress dialog over the
// output-size screen and the SOURCE viewer, as they stand on a 1366 x 768 desktop.
using ScreenshotLongStep = LongStepTest;

TEST_F(ScreenshotLongStep, ProgressDialog) {
    const char* folder = std::getenv("DG_SCREENSHOT_DIR");
    if (folder == nullptr) GTEST_SKIP() << "DG_SCREENSHOT_DIR is not set";
    click(button(screens->selectTask.get(), "TattooIn23ColorsCaption"));
    fakes.dialogs.pictureAnswers.push_back(std::string(DG_FIXTURES) + "/formats/real/photo.jpg");
    click(button(screens->selectTask.get(), "openImage"));
    screens->outputSize->SpinEdit1->setValue(160);
    screens->outputSize->SpinEdit2->setValue(60);

    bool saved = false;
    QTimer::singleShot(900, [&] {
        QPixmap desktop(1366, 768);
        desktop.fill(Qt::black);
        QPainter painter(&desktop);
        for (QWidget* w :
             {static_cast<QWidget*>(screens->outputSize.get()),
              static_cast<QWidget*>(screens->sourceViewer.get()), static_cast<QWidget*>(progressDialog())})
            if (w != nullptr && w->isVisible()) painter.drawPixmap(w->pos(), w->grab());
        painter.end();
        saved = desktop.save(QString(folder) + "/long-step-progress.png");
    });
    runLongStep(screens->workflow, "Reducing the colours", true, [](StepProgress&) { sleepyStep(1.5); });
    EXPECT_TRUE(saved);
}

}  // namespace
}  // namespace dg
