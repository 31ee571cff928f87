#include "screens/SplashScreen.h"

#include <QLabel>
#include <QVBoxLayout>

#include "formats/PictureReaders.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "screens/SelectTask.h"

namespace dg {

namespace {
constexpr int kWidth = 1015;
constexpr int kHeight = 729;
}  // namespace

TForm1::TForm1(ScreenSet& screens)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), screens_(screens) {
    setObjectName("TForm1");
    setWindowTitle("Dermagraph Software");
    resize(kWidth, kHeight);
    move(2, -6);

    picture_ = new QLabel(this);
    picture_->setObjectName("splashPicture");
    picture_->setGeometry(0, 0, kWidth, kHeight);
    picture_->setPixmap(look::picture("splash", kWidth, kHeight));

    auto* panel = new QLabel("Please Wait...", this);
    panel->setObjectName("pleaseWait");
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    QFont font = panel->font();
    font.setPointSize(16);
    font.setBold(true);
    panel->setFont(font);
    panel->setAutoFillBackground(true);
    look::setBackground(panel, look::kLightBackground);
    panel->setGeometry((kWidth - 300) / 2, kHeight - 90, 300, 44);

    Timer1.setObjectName("Timer1");
    Timer1.setSingleShot(true);
    Timer1.setInterval(kSplashMilliseconds);
    connect(&Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    SpinEdit1.bind([this] { openPicture(); });
}

void TForm1::showSplash() {
    show();
    raise();
    Timer1.start();
}

void TForm1::Timer1Timer() {
    Timer1.stop();
    hide();
    screens_.form001->show();
    picture_->setPixmap(QPixmap());
}

void TForm1::openPicture() {
    RgbImage& intake = screens_.pictures.intake;
    intake.clear();
    const auto path = screens_.platform.dialogs.openPicture(pictureDialogFilter());
    if (!path) return;
    {
        BusyPointer busy(screens_.platform.dialogs);
        intake = readPicture(*path);
    }
    if (intake.empty()) return;
    screens_.form001->SpinEdit1.step();
}

void TForm1::paste() {
    Clipboard& clipboard = screens_.platform.clipboard;
    // Checked again here: the clipboard may have changed since the last poll.
    if (!clipboard.hasBitmap()) return;
    screens_.pictures.intake = clipboard.bitmap();
    screens_.form001->SpinEdit1.step();
}

}  // namespace dg
