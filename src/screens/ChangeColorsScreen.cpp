#include "screens/ChangeColorsScreen.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

#include "screens/PictureBox.h"
#include "screens/PointerTracking.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "separation/ChangeColors.h"

namespace dg {

namespace {

QLabel* caption(const QString& text, const char* name, QWidget* parent, QRect where) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(where);
    return l;
}

using look::button;

QLabel* swatch(const QString& text, const char* name, QWidget* parent, QRect where) {
    QLabel* l = caption(text, name, parent, where);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Box);
    look::setBackground(l, Qt::white);
    return l;
}

void paintSwatch(QLabel* swatch, ColorValue c) {
    if (c == kNoColor) return;
    look::setBackground(swatch, QColor(redOf(c), greenOf(c), blueOf(c)));
    QPalette palette = swatch->palette();
    // The caption stays readable on dark and light colours alike.
    const bool dark = redOf(c) <= 130 && greenOf(c) <= 130 && blueOf(c) <= 130;
    palette.setColor(QPalette::WindowText, dark ? Qt::white : Qt::black);
    swatch->setPalette(palette);
}

}  // namespace

TForm022::TForm022(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm022");
    setWindowTitle("CHANGE COLORS");
    placeAsWorkingScreen(this);

    // The left of the lower part stays clear: the SOURCE viewer floats there.
    caption("Changing specific areas of color ", "changingHint", this, {10, 10, 300, 20});
    caption("Move Into Image For  Prevew", "moveHint", this, {10, 34, 300, 20});
    caption("Double Click To Change", "doubleClickHint", this, {10, 58, 300, 20});
    originalColor_ = swatch("ORIGINAL COLOR", "originalColor", this, {10, 90, 140, 70});
    resultColor_ = swatch("RESULT COLOR", "resultColor", this, {155, 90, 140, 70});
    auto* ok = button("OK", "ok", this, {10, 175, 90, 40});
    auto* cancel = button("CANCEL", "cancel", this, {105, 175, 90, 40});
    auto* help = button("HELP", "help", this, {200, 175, 90, 40});
    connect(ok, &QPushButton::clicked, this, [this] { screens_.guard([this] { okClick(); }); });
    connect(cancel, &QPushButton::clicked, this, [this] { cancelClick(); });
    connect(help, &QPushButton::clicked, this, [this] { helpClick(); });

    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName("scrollArea");
    scrollArea_->setGeometry(305, 10, 710, 690);
    Image1 = new PictureBox(screens_.workflow.changeColorsWorking);
    Image1->setObjectName("Image1");
    Image1->resize(0, 0);
    scrollArea_->setWidget(Image1);
    new PointerTracking(Image1, [this](int x, int y) { screens_.workflow.pointAt(x, y); });
    connect(Image1, &PictureBox::doubleClicked, this,
            [this] { screens_.guard([this] { screens_.workflow.changeAtPointer(); }); });
    screens_.workflow.listen([this](Change what) {
        if (what == Change::ChangeColors) showWorking();
    });
}

void TForm022::showWorking() {
    const RgbImage& working = screens_.workflow.changeColorsWorking;
    // One screen pixel per picture pixel.
    Image1->resize(working.width(), working.height());
    Image1->update();
    paintSwatch(originalColor_, screens_.workflow.swatches().original);
    paintSwatch(resultColor_, screens_.workflow.swatches().result);
}

void TForm022::okClick() {
    screens_.workflow.acceptChangeColors();
    leave();
    screens_.go(Move::ChangeColorsOk);
}

void TForm022::cancelClick() {
    screens_.workflow.cancelChangeColors();
    leave();
    screens_.go(Move::ChangeColorsBack);
}

// The working picture is dropped on the way out: the next entry brings a new one.
void TForm022::leave() {
    leaving_ = true;
    hide();
    leaving_ = false;
    Image1->resize(0, 0);
}

void TForm022::helpClick() { screens_.go(Move::ChangeColorsHelp); }

void TForm022::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!leaving_) cancelClick();
}

}  // namespace dg
