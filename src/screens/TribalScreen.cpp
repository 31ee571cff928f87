#include "screens/TribalScreen.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"

namespace dg {

namespace {

using look::button;

}  // namespace

TForm005::TForm005(ScreenSet& screens) : QWidget(nullptr), screens_(screens) {
    setObjectName("TForm005");
    setWindowTitle("TRIBAL CREATION");
    // Only the top of the desktop: the SOURCE and RESULT viewers lie below it.
    resize(1020, 299);
    move(0, 0);
    buildControls();
    screens_.workflow.listen([this](Change what) {
        if (what == Change::Tribal) showTribal();
    });
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
        connect(radio, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) screens_.guard([this, i] { screens_.workflow.chooseTribalMethod(i + 1); });
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
        slider->setRange(kTribalSliderMinimum, kTribalSliderMaximum);
        slider->setSingleStep(1);
        slider->setPageStep(1);
        slider->setValue(kTribalSliderInitial);
        slider->setVisible(false);
        connect(slider, &QSlider::valueChanged, this, [this, i](int v) {
            screens_.guard([this, i, v] { screens_.workflow.setTribalSlider(i, v); });
        });
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
    connect(exitButton, &QPushButton::clicked, this, [this] { screens_.askToEndApplication(); });
    connect(help, &QPushButton::clicked, this, [this] { helpClick(); });
}

int TForm005::checkedMethod() const {
    const int id = methods_->checkedId();
    return id < 0 ? 0 : id;
}

TribalSliders TForm005::sliders() const {
    return {TrackBar[0]->value(), TrackBar[1]->value(), TrackBar[2]->value()};
}

void TForm005::showTribal() {
    const Workflow& workflow = screens_.workflow;
    const int method = workflow.tribalMethod();
    if (method != checkedMethod()) {
        methods_->setExclusive(false);
        for (QRadioButton* radio : RadioButton) {
            const QSignalBlocker block(radio);
            radio->setChecked(false);
        }
        methods_->setExclusive(true);
        if (method > 0) {
            QRadioButton* radio = RadioButton[static_cast<std::size_t>(method - 1)];
            const QSignalBlocker block(radio);
            radio->setChecked(true);
        }
    }
    const int used = tribalSliderCount(method);
    const TribalSliders& values = workflow.tribalSliders();
    const std::array<int, 3> positions{values.t1, values.t2, values.t3};
    for (int i = 0; i < 3; ++i) {
        QSlider* slider = TrackBar[static_cast<std::size_t>(i)];
        slider->setVisible(i < used);
        const QSignalBlocker block(slider);
        slider->setValue(positions[static_cast<std::size_t>(i)]);
    }
    if (workflow.tribalRecomputes() != recomputesShown_) {
        // Every recompute shows the new RESULT.
        recomputesShown_ = workflow.tribalRecomputes();
        screens_.show(Window::ResultViewer);
        next_->setVisible(screens_.state.task == TaskMode::CreateTribalTattoo);
    }
}

void TForm005::originalClick() { screens_.workflow.tribalOriginal(); }

void TForm005::enhanceClick() { screens_.go(Move::TribalToEnhance, this); }

void TForm005::nextClick() {
    screens_.runLong(
        "Making the channels", [&] { screens_.workflow.tribalNext(); }, false);
    screens_.go(Move::TribalNext, this);
}

void TForm005::back() { screens_.goToSelectTask(this); }

void TForm005::helpClick() { screens_.go(Move::TribalHelp); }

void TForm005::closeEvent(QCloseEvent* event) {
    event->accept();
    back();
}

}  // namespace dg
