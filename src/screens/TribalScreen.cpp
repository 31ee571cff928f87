#include "screens/TribalScreen.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "screens/ChannelsScreen.h"
#include "screens/EnhanseUnit.h"
#include "screens/InfoWindows.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "screens/Viewers.h"

namespace dg {

namespace {

constexpr int kSliderMinimum = 0;
constexpr int kSliderMaximum = 256;  // 257 positions: at 256 even a byte of 255 is below
constexpr int kSliderInitial = 100;

using look::button;

}  // namespace

TForm005::TForm005(ScreenSet& screens) : QWidget(nullptr), screens_(screens) {
    setObjectName("TForm005");
    setWindowTitle("TRIBAL CREATION");
    // Only the top of the desktop: the SOURCE and RESULT viewers lie below it.
    resize(1020, 299);
    move(0, 0);
    buildControls();
    SpinEdit6.bind([this] { entryCopy = screens_.pictures.source; });
}

void TForm005::buildControls() {
    // The banner covers the whole window; the controls lie over it.
    auto* banner = new QLabel(this);
    banner->setObjectName("banner");
    banner->setPixmap(look::picture("tribal-banner", 1020, 299));
    banner->setScaledContents(true);
    banner->setGeometry(0, 0, 1020, 299);
    banner->lower();

    auto* top = new QVBoxLayout(this);
    top->addSpacing(70);
    auto* row = new QHBoxLayout;
    top->addLayout(row, 1);

    auto* methodGroup = new QGroupBox("SELECT METHOD", this);
    methodGroup->setObjectName("selectMethod");
    auto* methodGrid = new QGridLayout(methodGroup);
    methods_ = new QButtonGroup(this);
    methods_->setExclusive(true);
    for (int i = 0; i < 8; ++i) {
        auto* radio = new QRadioButton(QString("Method %1").arg(i + 1), methodGroup);
        radio->setObjectName(QString("RadioButton%1").arg(i + 1));
        methods_->addButton(radio, i + 1);
        methodGrid->addWidget(radio, i % 4, i / 4);
        // Checking a method, by the user or by the program, runs the selection only when the
        // method was not checked already.
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on) screens_.guard([this] { methodSelected(); });
        });
        RadioButton[static_cast<std::size_t>(i)] = radio;
    }
    row->addWidget(methodGroup, 2);

    auto* sliderGroup = new QGroupBox("MOVE SLIDER/S/", this);
    sliderGroup->setObjectName("moveSliders");
    auto* sliderColumn = new QVBoxLayout(sliderGroup);
    for (int i = 0; i < 3; ++i) {
        auto* slider = new QSlider(Qt::Horizontal, sliderGroup);
        slider->setObjectName(QString("TrackBar%1").arg(i + 1));
        slider->setRange(kSliderMinimum, kSliderMaximum);
        slider->setSingleStep(1);
        slider->setPageStep(1);
        slider->setValue(kSliderInitial);
        slider->setVisible(false);
        connect(slider, &QSlider::valueChanged, this, [this] { screens_.guard([this] { recompute(); }); });
        sliderColumn->addWidget(slider);
        TrackBar[static_cast<std::size_t>(i)] = slider;
    }
    sliderColumn->addStretch(1);
    row->addWidget(sliderGroup, 4);

    auto* pictureGroup = new QGroupBox(this);
    pictureGroup->setObjectName("originalEnhance");
    auto* pictureColumn = new QVBoxLayout(pictureGroup);
    auto* original = button("ORIGINAL", "original", pictureGroup);
    auto* enhance = button("ENHANCE", "enhance", pictureGroup);
    pictureColumn->addWidget(original);
    pictureColumn->addWidget(enhance);
    row->addWidget(pictureGroup, 2);

    // Opaque groups keep their captions readable over the banner.
    for (QWidget* group : {static_cast<QWidget*>(methodGroup), static_cast<QWidget*>(sliderGroup),
                           static_cast<QWidget*>(pictureGroup)})
        look::setBackground(group, look::kLightBackground);

    auto* buttons = new QVBoxLayout;
    next_ = button("NEXT >>", "next", this);
    auto* backButton = button("<< BACK", "back", this);
    auto* exitButton = button("Exit", "exit", this);
    auto* help = button("HELP", "help", this);
    for (QPushButton* b : {next_, backButton, exitButton, help}) buttons->addWidget(b);
    row->addLayout(buttons, 1);

    connect(original, &QPushButton::clicked, this, [this] { screens_.guard([this] { originalClick(); }); });
    connect(enhance, &QPushButton::clicked, this, [this] { screens_.guard([this] { enhanceClick(); }); });
    connect(next_, &QPushButton::clicked, this, [this] { screens_.guard([this] { nextClick(); }); });
    connect(backButton, &QPushButton::clicked, this, [this] { back(); });
    connect(exitButton, &QPushButton::clicked, this, [this] { screens_.endApplication(); });
    connect(help, &QPushButton::clicked, this, [this] { helpClick(); });
}

int TForm005::checkedMethod() const {
    const int id = methods_->checkedId();
    return id < 0 ? 0 : id;
}

TribalSliders TForm005::sliders() const {
    return {TrackBar[0]->value(), TrackBar[1]->value(), TrackBar[2]->value()};
}

void TForm005::methodSelected() {
    const int used = tribalSliderCount(checkedMethod());
    for (QSlider* slider : TrackBar) slider->setVisible(false);
    for (int i = 0; i < used; ++i) TrackBar[static_cast<std::size_t>(i)]->setVisible(true);
    nudgeRuleA();
}

// The nudges move slider 1 by one step purely for its change event: each change recomputes,
// and the last one wins.
void TForm005::nudgeRuleA() {
    QSlider* s = TrackBar[0];
    if (s->value() < kSliderMaximum) s->setValue(s->value() + 1);
    if (s->value() >= kSliderMaximum) s->setValue(s->value() - 1);
}

void TForm005::nudgeRuleB() {
    QSlider* s = TrackBar[0];
    if (s->value() > kSliderMinimum) s->setValue(s->value() - 1);
    if (s->value() < kSliderMaximum) s->setValue(s->value() + 1);
}

void TForm005::nudgeAfterEnhance() {
    QSlider* s = TrackBar[0];
    if (s->value() < kSliderMaximum - 1) s->setValue(s->value() + 1);
    if (s->value() > kSliderMaximum - 2) s->setValue(s->value() - 1);
}

void TForm005::recompute() {
    PictureBuffers& pictures = screens_.pictures;
    makeTribal(pictures.source, checkedMethod(), sliders(), pictures.result);
    ++recomputes_;
    screens_.form003->show();
    screens_.form003->update();
    next_->setVisible(screens_.state.task == TaskMode::CreateTribalTattoo);
}

void TForm005::enter() {
    PictureBuffers& pictures = screens_.pictures;
    pictures.result.reset(pictures.source.width(), pictures.source.height());
    // Unchecked first, so that checking Method 8 runs the selection even when it was the
    // method already checked.
    QRadioButton* method8 = RadioButton[7];
    methods_->setExclusive(false);
    method8->setChecked(false);
    methods_->setExclusive(true);
    method8->setChecked(true);
    nudgeRuleA();
    show();
    SpinEdit6.step();
}

void TForm005::originalClick() {
    screens_.pictures.source = entryCopy;
    nudgeRuleB();
    screens_.form002->SpinEdit1.step();
}

void TForm005::enhanceClick() {
    PictureBuffers& pictures = screens_.pictures;
    // ORIGINAL needs something to go back to, whatever the enhance screen does.
    if (entryCopy.empty()) entryCopy = pictures.source;
    hide();
    screens_.form002->hide();
    screens_.form003->hide();
    screens_.form010->hide();
    Tenhance& enhance = *screens_.enhance;
    enhance.CheckBox2 = false;
    enhance.chooseTrueColor();
    enhance.SpinEdit7.step();
    enhance.show();
}

void TForm005::nextClick() {
    screens_.help005->hide();
    hide();
    screens_.form002->hide();
    screens_.form003->hide();
    screens_.form010->hide();
    entryCopy.clear();
    TForm019& channels = *screens_.form019;
    channels.channelSet.before = screens_.pictures.result;
    channels.setEditPanelEnabled(false);
    // The rebuild shows the channels screen.
    channels.SpinEdit000.step();
}

void TForm005::back() { screens_.goToSelectTask(this, screens_.help005.get()); }

void TForm005::helpClick() {
    screens_.help005->show();
    screens_.form002->hide();
    screens_.form003->hide();
}

void TForm005::closeEvent(QCloseEvent* event) {
    event->accept();
    back();
}

}  // namespace dg
