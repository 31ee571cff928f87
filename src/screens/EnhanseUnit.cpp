#include "screens/EnhanseUnit.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "imaging/Effects.h"
#include "imaging/Enhance.h"
#include "platform/Dialogs.h"
#include "screens/PictureBox.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"

namespace dg {

namespace {

using look::button;

QSlider* slider(Qt::Orientation orientation, int minimum, int maximum, const char* name, QWidget* parent) {
    auto* s = new QSlider(orientation, parent);
    s->setObjectName(name);
    s->setRange(minimum, maximum);
    s->setValue(0);
    s->setPageStep(1);
    return s;
}

// Sets a control of the screen to 0; its change runs only when it was not 0.
void setZero(QWidget* control) {
    if (auto* s = qobject_cast<QSlider*>(control))
        s->setValue(0);
    else if (auto* e = qobject_cast<EnhanceSpinEdit*>(control))
        e->setValue(0);
}

// The colour-balance triangle: corners R (top), G (bottom left) and B (bottom right), one
// slider on each side.
class BalanceTriangle : public QWidget {
public:
    BalanceTriangle(QSlider* left, QSlider* bottom, QSlider* right, QWidget* parent) : QWidget(parent) {
        setFixedSize(230, 170);
        for (QSlider* s : {left, bottom, right}) s->setParent(this);
        left->setGeometry(48, 42, 24, 90);
        right->setGeometry(158, 42, 24, 90);
        bottom->setGeometry(55, 140, 120, 24);
        const std::array<std::pair<const char*, QPoint>, 3> corners{
            {{"R", QPoint(109, 0)}, {"G", QPoint(4, 148)}, {"B", QPoint(214, 148)}}};
        for (const auto& [letter, at] : corners) {
            auto* label = new QLabel(letter, this);
            label->setObjectName(QString("corner") + letter);
            QFont font = label->font();
            font.setBold(true);
            label->setFont(font);
            label->move(at);
        }
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::darkGray, 2));
        const QPoint top(115, 20), left(18, 150), right(212, 150);
        painter.drawLine(top, left);
        painter.drawLine(left, right);
        painter.drawLine(right, top);
    }
};

}  // namespace

// ---- EnhanceSpinEdit ------------------------------------------------------------------------

EnhanceSpinEdit::EnhanceSpinEdit(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), value_(std::clamp(0, minimum, maximum)) {
    edit_ = new QLineEdit(this);
    edit_->setObjectName("edit");
    // Only integers can be typed, with as many digits as the range's bounds have: a value
    // outside the range still counts as typed, but it cannot ask for thousands of passes.
    const int digits = static_cast<int>(
        std::max(QString::number(std::abs(minimum)).size(), QString::number(std::abs(maximum)).size()));
    edit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QString("-?[0-9]{0,%1}").arg(digits)), edit_));
    edit_->setMaximumWidth(60);
    edit_->installEventFilter(this);
    up_ = new QToolButton(this);
    up_->setObjectName("up");
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setObjectName("down");
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) b->setFixedSize(18, 12);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit_);
    row->addLayout(arrows);
    row->addStretch(1);
    showValue();
    connect(edit_, &QLineEdit::textEdited, this, &EnhanceSpinEdit::textEdited);
    connect(up_, &QToolButton::clicked, this, [this] { setValue(value_ + 1); });
    connect(down_, &QToolButton::clicked, this, [this] { setValue(value_ - 1); });
}

void EnhanceSpinEdit::setValue(int value) {
    value = std::clamp(value, minimum_, maximum_);
    if (value == value_) {
        // The text may still read otherwise (an empty field at the bottom of the range).
        if (edit_->text() != QString::number(value)) showValue();
        return;
    }
    value_ = value;
    showValue();
    emit valueChanged(value_);
}

void EnhanceSpinEdit::showValue() {
    const QString text = QString::number(value_);
    if (edit_->text() != text) edit_->setText(text);
}

void EnhanceSpinEdit::textEdited(const QString& text) {
    bool ok = false;
    const int typed = text.toInt(&ok);
    const int value = ok ? typed : minimum_;
    if (value == value_) return;
    value_ = value;
    emit valueChanged(value_);
}

bool EnhanceSpinEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_) {
        if (event->type() == QEvent::FocusOut) {
            setValue(value_);  // clamps a value typed outside the range
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                setValue(value_ + (key == Qt::Key_Up ? 1 : -1));
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Tenhance -------------------------------------------------------------------------------

Tenhance::Tenhance(ScreenSet& screens) : QWidget(nullptr), screens_(screens) {
    setObjectName("Tenhance");
    setWindowTitle("enhance");
    placeAsWorkingScreen(this);
    resize(1022, 735);
    buildControls();
    SpinEdit7.bind([this] { open(); });
    // Small placeholders until the first use.
    working.reset(1, 1);
    base_.reset(1, 1);
    undo_.reset(1, 1);
    brightnessBase_.reset(1, 1);
}

Tenhance::~Tenhance() = default;

void Tenhance::buildControls() {
    TrackBar2 = slider(Qt::Horizontal, -100, 100, "TrackBar2", this);
    TrackBar1 = slider(Qt::Horizontal, 0, 255, "TrackBar1", this);
    TrackBar3 = slider(Qt::Vertical, -15, 15, "TrackBar3", this);
    TrackBar4 = slider(Qt::Horizontal, -15, 15, "TrackBar4", this);
    TrackBar5 = slider(Qt::Vertical, -15, 15, "TrackBar5", this);
    SpinEdit2 = new EnhanceSpinEdit(-30, 30, this);
    SpinEdit3 = new EnhanceSpinEdit(0, 50, this);
    SpinEdit5 = new EnhanceSpinEdit(0, 30, this);
    SpinEdit4 = new EnhanceSpinEdit(0, 20, this);
    SpinEdit2->setObjectName("SpinEdit2");
    SpinEdit3->setObjectName("SpinEdit3");
    SpinEdit5->setObjectName("SpinEdit5");
    SpinEdit4->setObjectName("SpinEdit4");

    auto* top = new QVBoxLayout(this);
    auto* banner = new QLabel(this);
    banner->setObjectName("banner");
    banner->setPixmap(look::picture("banner", 990, 56));
    top->addWidget(banner);

    auto* panel = new QHBoxLayout;
    top->addLayout(panel);

    auto* sliders = new QGridLayout;
    auto* brightnessCaption = new QLabel("BRIGHTNESS", this);
    brightnessCaption->setObjectName("brightnessCaption");
    auto* posterizeCaption = new QLabel("POSTERIZE", this);
    posterizeCaption->setObjectName("posterizeCaption");
    sliders->addWidget(brightnessCaption, 0, 0);
    sliders->addWidget(TrackBar2, 1, 0);
    sliders->addWidget(posterizeCaption, 2, 0);
    sliders->addWidget(TrackBar1, 3, 0);
    TrackBar2->setMinimumWidth(180);
    TrackBar1->setMinimumWidth(180);
    auto* optimize = button("OPTIMIZE", "optimize", this);
    sliders->addWidget(optimize, 4, 0);
    panel->addLayout(sliders);

    auto* fields = new QGridLayout;
    const std::array<std::pair<EnhanceSpinEdit*, const char*>, 4> named{
        {{SpinEdit2, "CONTRAST"}, {SpinEdit3, "SATURATION"}, {SpinEdit5, "SHARPEN"}, {SpinEdit4, "BLUR"}}};
    int row = 0;
    for (const auto& [field, caption] : named) {
        auto* label = new QLabel(caption, this);
        label->setObjectName(field->objectName() + "Caption");
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row, 1);
        ++row;
    }
    panel->addLayout(fields);

    auto* balance = new QGroupBox("COLOR BALANCE", this);
    balance->setObjectName("colorBalance");
    auto* balanceLayout = new QVBoxLayout(balance);
    balanceLayout->addWidget(new BalanceTriangle(TrackBar3, TrackBar4, TrackBar5, balance));
    panel->addWidget(balance);

    auto* reduction = new QGroupBox("COLOR REDUCTION", this);
    reduction->setObjectName("colorReduction");
    auto* reductionLayout = new QVBoxLayout(reduction);
    RadioButton1 = new QRadioButton("TRUE COLOR", reduction);
    RadioButton2 = new QRadioButton("UP TO 256 COLORS", reduction);
    RadioButton3 = new QRadioButton("UP TO 16 COLORS", reduction);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton2->setObjectName("RadioButton2");
    RadioButton3->setObjectName("RadioButton3");
    RadioButton1->setChecked(true);
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3}) reductionLayout->addWidget(r);
    reductionLayout->addStretch(1);
    panel->addWidget(reduction);

    auto* grey = new QGroupBox("TRANSFORM IN GREY", this);
    grey->setObjectName("transformInGrey");
    auto* greyLayout = new QGridLayout(grey);
    for (int kind = 1; kind <= 8; ++kind) {
        const QString name = QString("GREY %1").arg(kind);
        auto* b = new QPushButton(name, grey);
        b->setObjectName(QString("grey%1").arg(kind));
        look::setFace(b, look::kSkyBlue);
        greyLayout->addWidget(b, (kind - 1) / 2, (kind - 1) % 2);
        connect(b, &QPushButton::clicked, this, [this, kind] { handle([&] { greyClick(kind); }); });
    }
    panel->addWidget(grey);
    panel->addStretch(1);

    auto* bar = new QHBoxLayout;
    top->addLayout(bar);
    auto* help = button("HELP", "help", this);
    undoAll = button("UNDO ALL", "undoAll", this);
    undo = button("UNDO", "undo", this);
    auto* cancel = button("CANCEL", "cancel", this);
    auto* ok = button("OK", "ok", this);
    // Offered by the program's other openers; no route of this program leads through it.
    resizeBeforeEdit_ = button("RESIZE BEFORE EDIT", "resizeBeforeEdit", this);
    resizeBeforeEdit_->hide();
    for (QPushButton* b : {help, undoAll, undo, cancel, ok}) bar->addWidget(b);
    bar->addStretch(1);
    bar->addWidget(resizeBeforeEdit_);
    undo->setEnabled(false);
    undoAll->setEnabled(false);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("pictureArea");
    Image1 = new PictureBox(working);
    Image1->setObjectName("Image1");
    scroll_->setWidget(Image1);
    scroll_->setWidgetResizable(false);
    top->addWidget(scroll_, 1);

    connect(TrackBar2, &QSlider::valueChanged, this, [this] { handle([&] { brightnessChange(); }); });
    connect(SpinEdit2, &EnhanceSpinEdit::valueChanged, this, [this] { handle([&] { contrastChange(); }); });
    connect(SpinEdit3, &EnhanceSpinEdit::valueChanged, this, [this] { handle([&] { saturationChange(); }); });
    connect(SpinEdit5, &EnhanceSpinEdit::valueChanged, this, [this] { handle([&] { sharpenChange(); }); });
    connect(SpinEdit4, &EnhanceSpinEdit::valueChanged, this, [this] { handle([&] { blurChange(); }); });
    connect(TrackBar1, &QSlider::valueChanged, this, [this] { handle([&] { posterizeChange(); }); });
    connect(TrackBar3, &QSlider::valueChanged, this, [this] { handle([&] { balanceChange(0); }); });
    connect(TrackBar4, &QSlider::valueChanged, this, [this] { handle([&] { balanceChange(1); }); });
    connect(TrackBar5, &QSlider::valueChanged, this, [this] { handle([&] { balanceChange(2); }); });
    // Checking an option runs the reduction only when it was not checked already.
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3}) {
        connect(r, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) handle([&] { colourReduction(); });
        });
    }
    connect(optimize, &QPushButton::clicked, this, [this] { handle([&] { optimizeClick(); }); });
    connect(undo, &QPushButton::clicked, this, [this] { handle([&] { undoClick(); }); });
    connect(undoAll, &QPushButton::clicked, this, [this] { handle([&] { undoAllClick(); }); });
    connect(ok, &QPushButton::clicked, this, [this] { handle([&] { okClick(); }); });
    connect(cancel, &QPushButton::clicked, this, [this] { handle([&] { cancelClick(); }); });
    connect(help, &QPushButton::clicked, this, &Tenhance::helpClick);
    connect(Image1, &PictureBox::clicked, this, &Tenhance::Image1Click);
}

void Tenhance::handle(const std::function<void()>& action) {
    if (handlerDepth_ > 0) {
        action();
        return;
    }
    ++handlerDepth_;
    screens_.guard(action);
    --handlerDepth_;
    redraw();
}

void Tenhance::redraw() {
    Image1->resize(std::max(working.width(), 1), std::max(working.height(), 1));
    Image1->update();
}

void Tenhance::setUndoEnabled(bool enabled) { undo->setEnabled(enabled); }
void Tenhance::setUndoAllEnabled(bool enabled) { undoAll->setEnabled(enabled); }

void Tenhance::resetControls(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls) setZero(control);
}

void Tenhance::resetInOpenOrder() {
    resetControls(
        {SpinEdit2, SpinEdit3, SpinEdit4, SpinEdit5, TrackBar1, TrackBar2, TrackBar3, TrackBar4, TrackBar5});
}

void Tenhance::chooseTrueColor() { RadioButton1->setChecked(true); }

// ---- Activation ---------------------------------------------------------------------------

void Tenhance::activate(Kind kind) {
    if (active_ == kind) return;
    active_ = kind;
    runActivation(kind);
}

void Tenhance::runActivation(Kind kind) {
    // Every control in the order the resets run; each kind leaves out its own controls, and
    // neutral and colour reduction leave POSTERIZE alone as well.
    QWidget* const contrast = SpinEdit2;
    QWidget* const saturation = SpinEdit3;
    QWidget* const blur = SpinEdit4;
    QWidget* const sharpen = SpinEdit5;
    QWidget* const brightness = TrackBar2;
    QWidget* const posterize = TrackBar1;
    const std::array<QWidget*, 9> order{contrast,  saturation, blur,      sharpen,  brightness,
                                        TrackBar3, TrackBar4,  TrackBar5, posterize};
    auto keeps = [&](QWidget* control) {
        switch (kind) {
            case Kind::Neutral:
            case Kind::Reduction:
                return control == posterize;
            case Kind::Brightness:
                return control == brightness;
            case Kind::Contrast:
                return control == contrast;
            case Kind::Saturation:
                return control == saturation;
            case Kind::Blur:
                return control == blur;
            case Kind::Sharpen:
                return control == sharpen;
            case Kind::Balance:
                return control == TrackBar3 || control == TrackBar4 || control == TrackBar5;
            case Kind::Posterize:
                return control == posterize;
            case Kind::None:
                return true;
        }
        return true;
    };
    auto resets = [&] {
        for (QWidget* control : order)
            if (!keeps(control)) setZero(control);
    };

    if (kind == Kind::Reduction) {
        copyPixels(working, base_);
        resets();
        return;
    }
    copyPixels(working, undo_);
    chooseTrueColor();
    if (kind == Kind::Brightness) {
        copyPixels(working, brightnessBase_);
        resets();
        copyPixels(working, base_);
        return;
    }
    copyPixels(working, base_);
    resets();
}

// ---- Change operations ----------------------------------------------------------------------

void Tenhance::brightnessChange() {
    setUndoEnabled(true);
    setUndoAllEnabled(true);
    activate(Kind::Brightness);
    addBrightness(brightnessBase_, working, TrackBar2->value());
}

void Tenhance::contrastChange() {
    setUndoEnabled(true);
    setUndoAllEnabled(true);
    activate(Kind::Contrast);
    const int v = SpinEdit2->value();
    if (v == 0)
        copyPixels(base_, working);
    else
        contrastSteps(base_, working, std::abs(v) + 1, v < 0);
}

void Tenhance::saturationChange() {
    setUndoEnabled(true);
    setUndoAllEnabled(true);
    activate(Kind::Saturation);
    const int v = SpinEdit3->value();
    if (v > 0)
        saturationSteps(base_, working, v + 1);
    else
        copyPixels(base_, working);
}

void Tenhance::sharpenChange() {
    setUndoEnabled(true);
    setUndoAllEnabled(true);
    activate(Kind::Sharpen);
    filter3x3(base_, working, kSharpenKernel, SpinEdit5->value() + 1, &filterCopy_);
}

void Tenhance::blurChange() {
    setUndoEnabled(true);
    setUndoAllEnabled(true);
    activate(Kind::Blur);
    filter3x3(base_, working, kBlurKernel, SpinEdit4->value() + 1, &filterCopy_);
}

void Tenhance::posterizeChange() {
    setUndoEnabled(true);
    setUndoAllEnabled(true);
    if (active_ == Kind::Posterize) copyPixels(base_, working);
    activate(Kind::Posterize);
    // Posterize changes every byte on its own: the effects component posterizes a ramp of all
    // 256 byte values once, and the picture's bytes are looked up in it.
    Bitmap32 ramp(256, 1);
    for (int v = 0; v < 256; ++v) std::memset(ramp.row(0) + 4 * v, v, 4);
    Effects1.Posterize(ramp, TrackBar1->value());
    std::array<std::uint8_t, 256> table{};
    for (int v = 0; v < 256; ++v) table[static_cast<std::size_t>(v)] = ramp.row(0)[4 * v];
    bool identity = true;  // levels 0 and 1
    for (int v = 0; v < 256; ++v) identity = identity && table[static_cast<std::size_t>(v)] == v;
    if (!identity) mapBytes(working, working, table);
}

void Tenhance::balanceChange(int side) {
    setUndoEnabled(true);
    setUndoAllEnabled(true);
    if (active_ == Kind::Balance) copyPixels(base_, working);
    activate(Kind::Balance);
    const QSlider* moved = side == 0 ? TrackBar3 : (side == 1 ? TrackBar4 : TrackBar5);
    const int v = moved->value();
    if (v == 0) return;
    const BalanceSide sides[] = {BalanceSide::RedGreen, BalanceSide::GreenBlue, BalanceSide::RedBlue};
    balanceSteps(working, working, sides[side], v > 0, std::abs(v) + 1);
}

void Tenhance::colourReduction() {
    if (active_ != Kind::Reduction) {
        copyPixels(working, undo_);
        setUndoEnabled(true);
        setUndoAllEnabled(true);
    }
    activate(Kind::Reduction);
    copyPixels(working, base_);
    // Always from the picture before reduction began, whichever option is checked by now.
    if (RadioButton3->isChecked())
        reduceToSixteenColours(undo_, working);
    else if (RadioButton2->isChecked())
        reduceToHalftone(undo_, working);
    else
        copyPixels(undo_, working);
}

// ---- Buttons --------------------------------------------------------------------------------

void Tenhance::greyClick(int kind) {
    activate(Kind::Neutral);
    setUndoEnabled(true);
    setUndoAllEnabled(true);
    toGrey(working, working, kind);
    // GREY 1 and GREY 8 let the next grey button take a new undo picture; a run of the others
    // shares one.
    if (kind == 1 || kind == 8) active_ = Kind::None;
}

void Tenhance::optimizeClick() {
    copyPixels(working, undo_);
    chooseTrueColor();
    setUndoEnabled(true);
    setUndoAllEnabled(true);
    const RgbImage beforeOptimize = undo_;
    {
        BusyPointer busy(screens_.platform.dialogs);
        const int rounds = SpinEdit4->value() + 1;
        for (int i = 0; i < rounds; ++i) {
            TrackBar1->setValue(TrackBar1->value() + 1);
            SpinEdit5->setValue(SpinEdit5->value() + 1);
            SpinEdit4->setValue(SpinEdit4->value() + 1);
            TrackBar2->setValue(TrackBar2->value() - 2);
            SpinEdit2->setValue(SpinEdit2->value() + 2);
            SpinEdit3->setValue(SpinEdit3->value() + 1);
        }
        copyPixels(working, base_);
        copyPixels(beforeOptimize, undo_);
    }
}

void Tenhance::undoClick() {
    setUndoAllEnabled(true);
    chooseTrueColor();
    resetControls(
        {SpinEdit2, SpinEdit3, SpinEdit4, SpinEdit5, TrackBar2, TrackBar3, TrackBar4, TrackBar5, TrackBar1});
    copyPixels(undo_, working);
    setUndoEnabled(false);
    copyPixels(working, base_);
}

void Tenhance::undoAllClick() {
    copyPixels(working, undo_);
    chooseTrueColor();
    resetInOpenOrder();
    setUndoAllEnabled(false);
    open();
    active_ = Kind::Neutral;
    active_ = Kind::None;
}

void Tenhance::open() {
    setUndoEnabled(false);
    resetInOpenOrder();
    CheckBox2 = screens_.state.task == TaskMode::TattooIn23Colors;
    working = screens_.workflow.openEnhance();
    setUndoAllEnabled(false);
    active_ = Kind::Neutral;
    runActivation(Kind::Neutral);
    redraw();
}

void Tenhance::okClick() {
    setUndoEnabled(false);
    base_.clear();
    undo_.clear();
    brightnessBase_.clear();
    filterCopy_.clear();
    CheckBox2 = false;
    RgbImage enhanced = std::move(working);
    working.clear();
    resetInOpenOrder();
    chooseTrueColor();
    screens_.go(Move::EnhanceBack);
    screens_.workflow.acceptEnhance(enhanced);
}

void Tenhance::cancelClick() {
    screens_.workflow.cancelEnhance();
    CheckBox2 = false;
    setUndoEnabled(false);
    resetInOpenOrder();
    working.clear();
    base_.clear();
    undo_.clear();
    brightnessBase_.clear();
    filterCopy_.clear();
    chooseTrueColor();
    screens_.go(Move::EnhanceBack);
}

void Tenhance::helpClick() { screens_.show(Window::EnhanceHelp); }

void Tenhance::Image1Click() { screens_.showPreview(working); }

void Tenhance::closeEvent(QCloseEvent* event) {
    event->ignore();
    handle([&] { cancelClick(); });
}

void Tenhance::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    redraw();
}

}  // namespace dg
