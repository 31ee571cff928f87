#include "screens/PictureBox.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <utility>

#include "imaging/RgbImage.h"
#include "platform/qt/QtImage.h"
#include "screens/ScreenLook.h"

namespace dg {

PictureBox::PictureBox(const RgbImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {}

void PictureBox::setView(double scale, QPoint offset) {
    if (scale == scale_ && offset == offset_) return;
    scale_ = scale;
    offset_ = offset;
    update();
}

QPoint PictureBox::pictureAt(QPoint point) const {
    return {static_cast<int>(std::floor((point.x() + offset_.x()) / scale_)),
            static_cast<int>(std::floor((point.y() + offset_.y()) / scale_))};
}

void PictureBox::paintEvent(QPaintEvent* event) {
    const QSize size(picture_.width(), picture_.height());
    if (size != paintedSize_) {
        paintedSize_ = size;
        emit pictureResized();
    }
    if (picture_.empty()) return;
    // Only the part of the picture under the repainted rectangle is drawn, straight from the
    // picture's rows: a paint costs what the window shows, whatever the picture's size.
    const QRect shown = QRect(-offset_, scaledSize(size, scale_)).intersected(event->rect());
    if (shown.isEmpty()) return;
    const QRectF source((shown.x() + offset_.x()) / scale_, (shown.y() + offset_.y()) / scale_,
                        shown.width() / scale_, shown.height() / scale_);
    QPainter painter(this);
    // Enlarged pixels stay sharp squares; a reduced picture is sampled between pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale_ < 1.0);
    painter.drawImage(QRectF(shown), qimageView(picture_), source);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    dragging_ = false;
    lastPos_ = event->position().toPoint();
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (!pannable_ || !pressed_ || !event->buttons().testFlag(Qt::LeftButton) ||
        (!dragging_ && (pos - lastPos_).manhattanLength() < QApplication::startDragDistance())) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    dragging_ = true;
    emit panned(pos - lastPos_);
    lastPos_ = pos;
}

// A click is a press and a release of the left button over the picture box, without a drag
// in between.
void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && !dragging_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    dragging_ = false;
    if (click) emit clicked();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

double zoomedScale(double scale, int steps) {
    const double exponent = std::log(scale) / std::log(kZoomStep) + steps;
    const double nearest = std::nearbyint(exponent);
    const double zoomed =
        std::abs(exponent - nearest) < 1e-6 ? std::exp2(nearest / 2) : scale * std::pow(kZoomStep, steps);
    return std::clamp(zoomed, kSmallestScale, kLargestScale);
}

double fitScale(QSize picture, QSize area) {
    if (picture.isEmpty() || area.isEmpty()) return 1.0;
    const double scale = std::min(static_cast<double>(area.width()) / picture.width(),
                                  static_cast<double>(area.height()) / picture.height());
    return std::clamp(scale, kSmallestScale, kLargestScale);
}

QSize scaledSize(QSize picture, double scale) {
    // The small allowance keeps a product such as 0.1 * 3000 = 300.00000000000006 at 300.
    const auto extent = [scale](int pixels) { return static_cast<int>(std::ceil(pixels * scale - 1e-6)); };
    return {extent(picture.width()), extent(picture.height())};
}

namespace {

QToolButton* zoomButton(const QString& caption, const char* name, const QString& tip, QWidget* strip) {
    auto* b = new QToolButton(strip);
    b->setText(caption);
    b->setObjectName(name);
    b->setToolTip(tip);
    // Keys stay with the picture.
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRaise(true);
    strip->layout()->addWidget(b);
    return b;
}

}  // namespace

PictureView::PictureView(const RgbImage& picture, std::function<int()> designDpi, QWidget* parent)
    : QWidget(parent), picture_(picture), designDpi_(std::move(designDpi)) {
    box_ = new PictureBox(picture_, this);
    box_->setPannable(true);
    box_->setFocusPolicy(Qt::StrongFocus);
    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    horizontal_->setObjectName("horizontalScroll");
    vertical_ = new QScrollBar(Qt::Vertical, this);
    vertical_->setObjectName("verticalScroll");
    horizontal_->hide();
    vertical_->hide();
    for (QScrollBar* bar : {horizontal_, vertical_})
        connect(bar, &QScrollBar::valueChanged, this, &PictureView::scrolled);

    strip_ = new QWidget(this);
    strip_->setObjectName("zoomStrip");
    // Its own light face and dark text, whatever colours the viewer takes.
    look::setBackground(strip_, look::kLightBackground);
    QPalette text = strip_->palette();
    text.setColor(QPalette::WindowText, Qt::black);
    text.setColor(QPalette::ButtonText, Qt::black);
    strip_->setPalette(text);
    auto* row = new QHBoxLayout(strip_);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(1);
    connect(zoomButton(QString::fromUtf8("\u2212"), "zoomOut", "Zoom out (Ctrl+minus)", strip_),
            &QToolButton::clicked, this, &PictureView::zoomOut);
    connect(zoomButton("+", "zoomIn", "Zoom in (Ctrl+plus)", strip_), &QToolButton::clicked, this,
            &PictureView::zoomIn);
    connect(zoomButton("Fit", "zoomFit", "The whole picture in the window", strip_), &QToolButton::clicked,
            this, &PictureView::fit);
    connect(zoomButton("100 %", "zoomActual", "One picture pixel on one screen pixel", strip_),
            &QToolButton::clicked, this, &PictureView::actualPixels);
    connect(zoomButton("True size", "zoomTrueSize", "The picture as large as it will be printed", strip_),
            &QToolButton::clicked, this, &PictureView::trueSize);
    row->addStretch(1);
    level_ = new QLabel(strip_);
    level_->setObjectName("zoomLevel");
    row->addWidget(level_);

    // Ctrl+plus is Ctrl+= on keyboards where plus needs the shift key.
    const auto shortcut = [this](const QKeySequence& keys, void (PictureView::*action)()) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence::ZoomIn, &PictureView::zoomIn);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), &PictureView::zoomIn);
    shortcut(QKeySequence::ZoomOut, &PictureView::zoomOut);

    box_->installEventFilter(this);
    connect(box_, &PictureBox::panned, this, [this](QPoint by) {
        horizontal_->setValue(horizontal_->value() - by.x());
        vertical_->setValue(vertical_->value() - by.y());
    });
    // A picture that grew or shrank while no one said so is noticed at its next paint.
    connect(box_, &PictureBox::pictureResized, this, &PictureView::pictureChanged, Qt::QueuedConnection);
    layOut();
}

void PictureView::zoomIn() { zoomTo(zoomedScale(scale_, 1), centre()); }
void PictureView::zoomOut() { zoomTo(zoomedScale(scale_, -1), centre()); }
void PictureView::actualPixels() { zoomTo(1.0, centre()); }

void PictureView::fit() {
    fitting_ = true;
    zoomed_ = true;
    layOut();
}

void PictureView::trueSize() {
    // The screen's pixels per inch are counted in the same pixels the window is laid out in.
    const QScreen* display = screen();
    const int dpi = designDpi_();
    if (display == nullptr || dpi <= 0) return;
    zoomTo(std::clamp(display->physicalDotsPerInch() / dpi, kSmallestScale, kLargestScale), centre());
}

void PictureView::zoomTo(double scale, QPoint anchor) {
    const QPointF pictured = QPointF(anchor + box_->offset()) / scale_;
    fitting_ = false;
    zoomed_ = true;
    scale_ = scale;
    layOut();
    horizontal_->setValue(static_cast<int>(std::lround(pictured.x() * scale_ - anchor.x())));
    vertical_->setValue(static_cast<int>(std::lround(pictured.y() * scale_ - anchor.y())));
}

void PictureView::pictureChanged() {
    layOut();
    box_->update();
}

void PictureView::resizeEvent(QResizeEvent*) { layOut(); }

void PictureView::showEvent(QShowEvent*) { pictureChanged(); }

void PictureView::wheelEvent(QWheelEvent* event) {
    turn(event, box_->mapFrom(this, event->position().toPoint()));
}

// The box's turns are taken here before the box sees them, the same way whoever sends them.
bool PictureView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != box_ || event->type() != QEvent::Wheel) return QWidget::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    turn(wheel, wheel->position().toPoint());
    return true;
}

void PictureView::turn(QWheelEvent* event, QPoint pointer) {
    event->accept();
    if (!event->modifiers().testFlag(Qt::ControlModifier)) {
        // Plain turns scroll; with Shift, or turned sideways, across.
        const QPoint delta = event->angleDelta();
        const bool across =
            event->modifiers().testFlag(Qt::ShiftModifier) || std::abs(delta.x()) > std::abs(delta.y());
        QScrollBar* bar = across ? horizontal_ : vertical_;
        const int turned =
            delta.x() != 0 && std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
        bar->setValue(bar->value() - turned * 3 * bar->singleStep() / QWheelEvent::DefaultDeltasPerStep);
        return;
    }
    wheelRemainder_ += event->angleDelta().y();
    const int steps = wheelRemainder_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRemainder_ -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0) zoomTo(zoomedScale(scale_, steps), pointer);
}

QPoint PictureView::centre() const { return {box_->width() / 2, box_->height() / 2}; }

void PictureView::layOut() {
    const QSize picture(picture_.width(), picture_.height());
    // A picture that fits the window one to one, never zoomed, is shown as it always was:
    // the whole window, no buttons.
    const bool stripShown = zoomed_ || picture.width() > width() || picture.height() > height();
    const int stripHeight = stripShown ? strip_->sizeHint().height() : 0;
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const QSize area(width(), std::max(0, height() - stripHeight));
    if (fitting_) scale_ = fitScale(picture, area);
    const QSize content = scaledSize(picture, scale_);
    // One bar takes room from the other direction, which may then need its bar too.
    bool across = content.width() > area.width();
    bool down = content.height() > area.height();
    across = across || (down && content.width() > area.width() - bar);
    down = down || (across && content.height() > area.height() - bar);
    const QSize view(std::max(0, area.width() - (down ? bar : 0)),
                     std::max(0, area.height() - (across ? bar : 0)));

    box_->setGeometry(0, 0, view.width(), view.height());
    horizontal_->setGeometry(0, view.height(), view.width(), bar);
    vertical_->setGeometry(view.width(), 0, bar, view.height());
    strip_->setVisible(stripShown);
    strip_->setGeometry(0, height() - stripHeight, width(), stripHeight);
    const auto setUp = [](QScrollBar* scroll, bool shown, int content, int view) {
        scroll->setVisible(shown);
        scroll->setRange(0, shown ? content - view : 0);
        scroll->setPageStep(std::max(1, view));
        scroll->setSingleStep(std::max(1, view / 20));
    };
    setUp(horizontal_, across, content.width(), view.width());
    setUp(vertical_, down, content.height(), view.height());
    scrolled();
    level_->setText(QString::number(std::lround(scale_ * 100)) + " %");
}

void PictureView::scrolled() { box_->setView(scale_, {horizontal_->value(), vertical_->value()}); }

}  // namespace dg
