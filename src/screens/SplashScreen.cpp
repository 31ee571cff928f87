#include "screens/SplashScreen.h"

#include <QLabel>
#include <QVBoxLayout>

#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"

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
}

void TForm1::showSplash() {
    show();
    raise();
    Timer1.start();
}

void TForm1::Timer1Timer() {
    Timer1.stop();
    screens_.go(Move::SplashDone, this);
    picture_->setPixmap(QPixmap());
}

}  // namespace dg
