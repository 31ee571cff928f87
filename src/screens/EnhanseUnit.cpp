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

#include "platform/Dialogs.h"
#include "screens/PictureBox.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"

namespace dg {

namespace {

using look::button;

using Control = EnhanceSession::Control;

QSlider* slider(Qt::Orientation orientation, Control control, const char* name, QWidget* parent) {
    auto* s = new QSlider(orientation, parent);
    s->setObjectName(name);
    const EnhanceSession::Range range = EnhanceSession::range(control);
    s->setRange(range.minimum, range.maximum);
    s->setValue(0);
    s->setPageStep(1);
    return s;
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
    // A small placeholder until the first use, as the session's pictures are.
}

Tenhance::~Tenhance() = default;

void Tenhance::buildControls() {
    TrackBar2 = slider(Qt::Horizontal, Control::Brightness, "TrackBar2", this);
    TrackBar1 = slider(Qt::Horizontal, Control::Posterize, "TrackBar1", this);
    TrackBar3 = slider(Qt::Vertical, Control::RedGreen, "TrackBar3", this);
    TrackBar4 = slider(Qt::Horizontal, Control::GreenBlue, "TrackBar4", this);
    TrackBar5 = slider(Qt::Vertical, Control::RedBlue, "TrackBar5", this);
    auto field = [this](Control control) {
        const EnhanceSession::Range range = EnhanceSession::range(control);
        return new EnhanceSpinEdit(range.minimum, range.maximum, this);
    };
    SpinEdit2 = field(Control::Contrast);
    SpinEdit3 = field(Control::Saturation);
    SpinEdit5 = field(Control::Sharpen);
    SpinEdit4 = field(Control::Blur);
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
        connect(b, &QPushButton::clicked, this, [this, kind] { greyClick(kind); });
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

    // A slider's move is set as it is; a field has already clamped what its arrows and the
    // loss of the focus give, and a typed value counts as typed.
    for (const auto& shown : sliderControls()) {
        const Control control = shown.second;
        connect(shown.first, &QSlider::valueChanged, this, [this, control](int value) {
            if (!showing_) handle([&] { session.set(control, value); });
        });
    }
    for (const auto& shown : fieldControls()) {
        const Control control = shown.second;
        connect(shown.first, &EnhanceSpinEdit::valueChanged, this, [this, control](int value) {
            if (!showing_) handle([&] { session.setTyped(control, value); });
        });
    }
    // Checking an option runs the reduction only when it was not checked already.
    for (const auto& shown : reductionOptions()) {
        const EnhanceSession::Reduction choice = shown.second;
        connect(shown.first, &QRadioButton::toggled, this, [this, choice](bool checked) {
            if (checked && !showing_) handle([&] { session.chooseReduction(choice); });
        });
    }
    connect(optimize, &QPushButton::clicked, this, &Tenhance::optimizeClick);
    connect(undo, &QPushButton::clicked, this, &Tenhance::undoClick);
    connect(undoAll, &QPushButton::clicked, this, &Tenhance::undoAllClick);
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
    showSession();
    redraw();
}

void Tenhance::showSession() {
    const bool wasShowing = showing_;
    showing_ = true;
    const std::array<bool, EnhanceSession::kControlCount> programSets = session.takeProgramSets();
    for (const auto& [slider, control] : sliderControls()) slider->setValue(session.value(control));
    for (const auto& [field, control] : fieldControls()) {
        // A field the program set shows its value anew even when the value stayed (its text
        // may read otherwise); one it did not set keeps the text being typed.
        const int value = session.value(control);
        if (programSets[static_cast<std::size_t>(control)] || field->value() != value) field->setValue(value);
    }
    for (const auto& [option, choice] : reductionOptions())
        if (choice == session.reduction()) option->setChecked(true);
    undo->setEnabled(session.undoEnabled());
    undoAll->setEnabled(session.undoAllEnabled());
    showing_ = wasShowing;
}

std::array<std::pair<QSlider*, EnhanceSession::Control>, 5> Tenhance::sliderControls() const {
    return {{{TrackBar2, Control::Brightness},
             {TrackBar1, Control::Posterize},
             {TrackBar3, Control::RedGreen},
             {TrackBar4, Control::GreenBlue},
             {TrackBar5, Control::RedBlue}}};
}

std::array<std::pair<EnhanceSpinEdit*, EnhanceSession::Control>, 4> Tenhance::fieldControls() const {
    return {{{SpinEdit2, Control::Contrast},
             {SpinEdit3, Control::Saturation},
             {SpinEdit5, Control::Sharpen},
             {SpinEdit4, Control::Blur}}};
}

std::array<std::pair<QRadioButton*, EnhanceSession::Reduction>, 3> Tenhance::reductionOptions() const {
    return {{{RadioButton1, EnhanceSession::Reduction::TrueColor},
             {RadioButton2, EnhanceSession::Reduction::UpTo256Colors},
             {RadioButton3, EnhanceSession::Reduction::UpTo16Colors}}};
}

void Tenhance::redraw() {
    Image1->resize(std::max(working.width(), 1), std::max(working.height(), 1));
    Image1->update();
}

void Tenhance::chooseTrueColor() {
    handle([&] { session.chooseReduction(EnhanceSession::Reduction::TrueColor); });
}

// ---- Buttons --------------------------------------------------------------------------------

void Tenhance::greyClick(int kind) {
    handle([&] { session.grey(kind); });
}

void Tenhance::optimizeClick() {
    handle([&] {
        BusyPointer busy(screens_.platform.dialogs);
        session.optimize();
    });
}

void Tenhance::undoClick() {
    handle([&] { session.undo(); });
}

void Tenhance::undoAllClick() {
    handle([&] { session.undoAll([this] { open(); }); });
}

void Tenhance::open() {
    CheckBox2 = screens_.state.task == TaskMode::TattooIn23Colors;
    const RgbImage& picture = screens_.workflow.openEnhance();
    handle([&] { session.open(picture); });
}

void Tenhance::okClick() {
    session.closeKeepingWorking();
    CheckBox2 = false;
    RgbImage enhanced = std::move(working);
    working.clear();
    session.resetControls();
    if (screens_.state.task == TaskMode::TattooIn23Colors) chooseTrueColor();
    screens_.go(Move::EnhanceBack);
    screens_.workflow.acceptEnhance(std::move(enhanced));
}

void Tenhance::cancelClick() {
    screens_.workflow.cancelEnhance();
    session.discard();
    CheckBox2 = false;
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
