#include "screens/SeparationScreen.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

#include "screens/PictureBox.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "screens/Thumbnails.h"

namespace dg {

namespace {

// The sliders in threshold order (see thresholdValues).
constexpr std::array<const char*, kThresholdCount> kSliderNames{
    "TrackBar1",  "TrackBar2",  "TrackBar2a", "TrackBar3", "TrackBar4",  "TrackBar5",
    "TrackBar6",  "TrackBar7",  "TrackBar8",  "TrackBar9", "TrackBar10", "TrackBar11",
    "TrackBar12", "TrackBar13", "TrackBar14", "TrackBar15"};
constexpr std::array<const char*, kThresholdCount> kSliderCaptions{
    "WHITE", "LIGHT GREY", "MID GREY", "BLACK", "HIGH", "MID", "HIGH", "MID",
    "HIGH",  "MID",        "HIGH",     "MID",   "HIGH", "MID", "HIGH", "MID"};

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    return look::button(caption, name, parent, 34);
}

QString rgb(const QColor& c) { return QString("rgb(%1, %2, %3)").arg(c.red()).arg(c.green()).arg(c.blue()); }

}  // namespace

RangeSlider::RangeSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void RangeSlider::setHighlight(int low, int high) {
    if (low == low_ && high == high_) return;
    low_ = low;
    high_ = high;
    update();
}

void RangeSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const int span = groove.width();
    const auto at = [&](int v) {
        return groove.left() + QStyle::sliderPositionFromValue(minimum(), maximum(), v, span);
    };
    QPainter painter(this);
    painter.fillRect(
        QRect(QPoint(at(low_), groove.center().y() - 2), QPoint(at(high_), groove.center().y() + 2)),
        QColor(0, 120, 215, 170));
}

TForm021::TForm021(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm021");
    setWindowTitle("COLOR REDUCTION AND SEPARATION");
    placeAsWorkingScreen(this);
    buildControls();
    screens_.workflow.listen([this](Change what) {
        if (what == Change::Separation) showSeparation();
    });
}

QWidget* TForm021::buildGroup(const char* name, const char* caption, const QColor& frame, const QColor& font,
                              std::initializer_list<int> channels, std::initializer_list<int> sliders) {
    auto* group = new QGroupBox(caption);
    group->setObjectName(name);
    group->setStyleSheet(QString("QGroupBox#%1 { background-color: %2; color: %3; font-weight: bold; }"
                                 "QGroupBox#%1 QLabel { color: %3; }")
                             .arg(name, rgb(frame), rgb(font)));
    auto* column = new QVBoxLayout(group);
    auto* tiles = new QHBoxLayout;
    column->addLayout(tiles);
    for (int k : channels) {
        const auto i = static_cast<std::size_t>(k - 1);
        auto* tile = new QVBoxLayout;
        auto* box = new PictureBox(tiles_[i], group);
        box->setObjectName(QString("mask%1").arg(k));
        box->setFixedSize(kTileWidth, kTileHeight);
        connect(box, &PictureBox::clicked, this, [this, k] { screens_.guard([&] { previewMask(k); }); });
        tileBoxes_[i] = box;
        auto* captions = new QHBoxLayout;
        percentages_[i] = new QLabel("0", group);
        percentages_[i]->setObjectName(QString("percent%1").arg(k));
        percentSigns_[i] = new QLabel(kSeparationPercentCaption, group);
        percentSigns_[i]->setObjectName(QString("percentSign%1").arg(k));
        captions->addWidget(percentages_[i]);
        captions->addWidget(percentSigns_[i]);
        captions->addStretch(1);
        tile->addWidget(box);
        tile->addLayout(captions);
        tiles->addLayout(tile);
    }
    tiles->addStretch(1);
    auto* sliderGrid = new QGridLayout;
    column->addLayout(sliderGrid);
    int row = 0;
    for (int s : sliders) {
        const auto i = static_cast<std::size_t>(s);
        auto* slider = new RangeSlider(group);
        slider->setObjectName(kSliderNames[i]);
        slider->setRange(0, 255);
        sliders_[i] = slider;
        sliderGrid->addWidget(new QLabel(kSliderCaptions[i], group), row, 0);
        sliderGrid->addWidget(slider, row, 1);
        ++row;
    }
    return group;
}

void TForm021::buildControls() {
    auto* top = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    top->addLayout(left);
    auto* sourceGroup = new QGroupBox("SOURCE", this);
    auto* sourceLayout = new QVBoxLayout(sourceGroup);
    sourceFrame_ = new PictureBox(sourceThumb_, sourceGroup);
    sourceFrame_->setObjectName("sourceCopy");
    sourceLayout->addWidget(sourceFrame_);
    auto* resultGroup = new QGroupBox("RESULT", this);
    auto* resultLayout = new QVBoxLayout(resultGroup);
    resultFrame_ = new PictureBox(resultThumb_, resultGroup);
    resultFrame_->setObjectName("separationResult");
    resultLayout->addWidget(resultFrame_);
    for (QWidget* w : {static_cast<QWidget*>(sourceGroup), static_cast<QWidget*>(resultGroup)})
        w->setStyleSheet("color: white;");
    left->addWidget(sourceGroup);
    left->addWidget(resultGroup);
    auto* clickHint = new QLabel("CLICK IMAGES FOR PREVIEW", this);
    clickHint->setObjectName("clickImagesForPreview");
    clickHint->setStyleSheet("color: white; font-weight: bold;");
    left->addWidget(clickHint);
    auto* enhance = button("ENHANCE SOURCE", "enhanceSource", this);
    auto* restore = button("RESTORE ORIGINAL", "restoreOriginal", this);
    auto* help = button("HELP", "help", this);
    auto* backButton = button("<< BACK", "back", this);
    auto* nextButton = button("NEXT >>", "next", this);
    for (QWidget* w :
         {static_cast<QWidget*>(enhance), static_cast<QWidget*>(restore), static_cast<QWidget*>(help)})
        left->addWidget(w);
    left->addStretch(1);
    auto* navigation = new QHBoxLayout;
    navigation->addWidget(backButton);
    navigation->addWidget(nextButton);
    left->addLayout(navigation);
    auto* right = new QVBoxLayout;
    top->addLayout(right, 1);
    auto* scrollHint = new QLabel("SCROLL FOR ALL CHANNELS !", this);
    scrollHint->setObjectName("scrollForAllChannels");
    scrollHint->setStyleSheet("color: white; font-weight: bold;");
    right->addWidget(scrollHint);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("channelsArea");
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    right->addWidget(scroll, 1);
    auto* area = new QWidget;
    auto* rows = new QGridLayout(area);
    scroll->setWidget(area);

    QWidget* grey = buildGroup("greyChannels", "BLACK, GREY and WHITE CHANNELS", QColor(192, 192, 192),
                               Qt::black, {3, 23, 22, 2, 1}, {0, 1, 2, 3});
    auto* whiteNote = new QLabel("The pure white will be represented with black background!", grey);
    whiteNote->setObjectName("pureWhiteNote");
    whiteNote->setStyleSheet("color: white;");
    static_cast<QVBoxLayout*>(grey->layout())->insertWidget(0, whiteNote);
    rows->addWidget(grey, 0, 0, 1, 2);
    rows->addWidget(buildGroup("magentaChannels", "MAGENTA CHANNELS", QColor(255, 0, 255), Qt::black,
                               {21, 20, 19}, {14, 15}),
                    1, 0);
    rows->addWidget(
        buildGroup("redChannels", "RED CHANNELS", QColor(255, 0, 0), Qt::black, {6, 5, 4}, {4, 5}), 1, 1);
    rows->addWidget(buildGroup("yellowChannels", "YELLOW CHANNELS", QColor(255, 255, 0), Qt::black,
                               {15, 14, 13}, {10, 11}),
                    2, 0);
    rows->addWidget(
        buildGroup("greenChannels", "GREEN CHANNELS", QColor(0, 128, 0), Qt::white, {9, 8, 7}, {6, 7}), 2, 1);
    rows->addWidget(
        buildGroup("cyanChannels", "CYAN CHANNELS", QColor(0, 255, 255), Qt::black, {18, 17, 16}, {12, 13}),
        3, 0);
    rows->addWidget(
        buildGroup("blueChannels", "BLUE CHANNELS", QColor(0, 0, 255), Qt::white, {12, 11, 10}, {8, 9}), 3,
        1);

    setSliders(SeparationThresholds{});
    const auto ranges = highlightedRanges(SeparationThresholds{});
    for (std::size_t i = 0; i < kThresholdCount; ++i)
        sliders_[i]->setHighlight(ranges[i].low, ranges[i].high);
    for (std::size_t i = 0; i < kThresholdCount; ++i)
        connect(sliders_[i], &QSlider::valueChanged, this, [this, i](int value) {
            if (settingSliders_) return;
            screens_.guard([&] {
                screens_.go(Move::PreviewClosed);
                screens_.workflow.moveThreshold(static_cast<int>(i), value);
            });
        });

    connect(sourceFrame_, &PictureBox::clicked, this,
            [this] { screens_.guard([&] { screens_.showPreview(screens_.workflow.separationCopy); }); });
    connect(resultFrame_, &PictureBox::clicked, this,
            [this] { screens_.guard([&] { screens_.showPreview(screens_.workflow.separationResult); }); });
    connect(nextButton, &QPushButton::clicked, this, [this] { screens_.guard([&] { next(); }); });
    connect(backButton, &QPushButton::clicked, this, &TForm021::back);
    connect(help, &QPushButton::clicked, this, [this] { screens_.show(Window::SeparationHelp); });
    connect(enhance, &QPushButton::clicked, this, [this] { screens_.guard([&] { enhanceSource(); }); });
    connect(restore, &QPushButton::clicked, this, [this] { screens_.guard([&] { restoreOriginal(); }); });
}

SeparationThresholds TForm021::thresholds() const { return screens_.workflow.thresholds(); }

void TForm021::setSliders(const SeparationThresholds& t) {
    const bool outer = !settingSliders_;
    settingSliders_ = true;
    const auto values = thresholdValues(t);
    for (std::size_t i = 0; i < kThresholdCount; ++i) sliders_[i]->setValue(values[i]);
    if (outer) settingSliders_ = false;
}

void TForm021::showSeparation() {
    const Workflow& workflow = screens_.workflow;
    setSliders(workflow.thresholds());
    const auto ranges = highlightedRanges(workflow.thresholds());
    for (std::size_t i = 0; i < kThresholdCount; ++i)
        sliders_[i]->setHighlight(ranges[i].low, ranges[i].high);
    if (!workflow.separationMasksEmptied()) {
        const SeparationResult& r = workflow.separation();
        for (std::size_t k = 0; k < kChannelCount; ++k) {
            percentages_[k]->setText(QString::fromStdString(r.percentageTexts[k]));
            percentSigns_[k]->setText(kSeparationPercentCaption);
        }
    }
    refreshPictures();
}

void TForm021::refreshPictures() {
    const Workflow& workflow = screens_.workflow;
    sourceThumb_ = thumbnail(workflow.separationCopy, kFrameWidth, kFrameHeight);
    resultThumb_ = thumbnail(workflow.separationResult, kFrameWidth, kFrameHeight);
    const Separator& separator = workflow.separator();
    if (workflow.separationMasksEmptied() || separator.classifier() == nullptr) {
        for (RgbImage& tile : tiles_) tile.clear();
    } else {
        tiles_ = separationMaskThumbnails(workflow.separationCopy, *separator.classifier(),
                                          separator.lastResult().counts, kTileWidth, kTileHeight);
    }
    sourceFrame_->update();
    resultFrame_->update();
    for (PictureBox* box : tileBoxes_) box->update();
}

RgbImage TForm021::fullMask(int k) const { return screens_.workflow.separationMask(k); }

void TForm021::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    for (PictureBox* frame : {sourceFrame_, resultFrame_}) {
        frame->setFixedSize(kFrameWidth, kFrameHeight);
        frame->show();
    }
}

void TForm021::previewMask(int k) { screens_.showPreview(fullMask(k)); }

void TForm021::next() {
    screens_.runLong(
        "Making the channels", [&] { screens_.workflow.separationNext(); }, false);
    for (PictureBox* frame : {sourceFrame_, resultFrame_}) frame->setFixedSize(0, 0);
    screens_.go(Move::SeparationNext, this);
}

void TForm021::back() { screens_.goToSelectTask(this); }

void TForm021::closeEvent(QCloseEvent* event) {
    event->ignore();
    back();
}

void TForm021::enhanceSource() {
    screens_.workflow.releaseSeparation();
    screens_.go(Move::SeparationToEnhance, this);
}

void TForm021::restoreOriginal() { screens_.workflow.restoreOriginal(); }

}  // namespace dg
