#include "screens/Viewers.h"

#include <QPushButton>
#include <QString>

#include "screens/PictureBox.h"
#include "screens/PointerTracking.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenSet.h"

namespace dg {

namespace {

constexpr Qt::WindowFlags kViewerFlags = Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                         Qt::WindowMinimizeButtonHint;

// The view fills its viewer, laid out at once: a hidden window gets its resize event only
// when it is shown, and its picture can be clicked before that.
void fillWith(PictureView* view, QWidget* viewer) {
    view->setGeometry(viewer->rect());
    view->pictureChanged();
}

void placeViewer(QWidget* viewer, int left, int top, int width, int height) {
    viewer->resize(width, height);
    viewer->move(left, top);
}

}  // namespace

TForm002::TForm002(ScreenSet& screens) : QWidget(nullptr, kViewerFlags), screens_(screens) {
    setObjectName("TForm002");
    setWindowTitle("SOURCE");
    view_ = new PictureView(
        screens_.pictures.source, [this] { return screens_.state.outputDpi; }, this);
    placeAsSourceViewer(this);
    fillWith(view_, this);
    Image1 = view_->box();
    Image1->setObjectName("Image1");
    connect(Image1, &PictureBox::clicked, this, &TForm002::Image1Click);
    // In the 23-colour task the SOURCE picture samples and changes colours for CHANGE COLORS,
    // at the same positions as the working picture (in picture pixels, however zoomed).
    new PointerTracking(Image1, [this](int x, int y) {
        const QPoint at = Image1->pictureAt({x, y});
        screens_.workflow.pointAt(at.x(), at.y());
    });
    connect(Image1, &PictureBox::doubleClicked, this,
            [this] { screens_.guard([this] { screens_.workflow.changeAtPointer(); }); });
}

void TForm002::refresh() {
    setWindowTitle("SOURCE : " + QString::number(screens_.workflow.sourceColours()) + "  COLORS");
    view_->pictureChanged();
}

void TForm002::resizeEvent(QResizeEvent*) { fillWith(view_, this); }

void TForm002::Image1Click() {
    if (screens_.state.task != TaskMode::CreateTribalTattoo) return;
    screens_.showPreview(screens_.pictures.source);
}

TForm003::TForm003(ScreenSet& screens) : QWidget(nullptr, kViewerFlags), screens_(screens) {
    setObjectName("TForm003");
    setWindowTitle("RESULT");
    view_ = new PictureView(
        screens_.pictures.result, [this] { return screens_.state.outputDpi; }, this);
    placeAsResultViewer(this);
    fillWith(view_, this);
    Image1 = view_->box();
    Image1->setObjectName("Image1");
    connect(Image1, &PictureBox::clicked, this, &TForm003::Image1Click);
}

void TForm003::Image1Click() { screens_.showPreview(screens_.pictures.result); }

void TForm003::resizeEvent(QResizeEvent*) { fillWith(view_, this); }

TForm010::TForm010(ScreenSet& screens) : QWidget(nullptr, kViewerFlags), screens_(screens) {
    setObjectName("TForm010");
    setWindowTitle("PREVIEW");
    placeViewer(this, -1, 3, 1018, 736);
    closeButton_ = new QPushButton("CLOSE PREVIEW (or click the image to close)", this);
    closeButton_->setObjectName("closePreview");
    closeButton_->setGeometry(0, 0, 1018, 24);
    Image1 = new PictureBox(screens_.pictures.preview, this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 24, 1018, 736 - 24);
    connect(closeButton_, &QPushButton::clicked, this, &TForm010::closePreview);
    connect(Image1, &PictureBox::clicked, this, &TForm010::closePreview);
}

void TForm010::showPicture() {
    Image1->update();
    show();
    raise();
}

void TForm010::closePreview() {
    screens_.pictures.preview.clear();
    hide();
}

}  // namespace dg
