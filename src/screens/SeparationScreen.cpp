#include "screens/SeparationScreen.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyleOptionSlider>
#include <QVBoxLayout>
#include <cstring>

#include "imaging/Parallel.h"
#include "screens/ChannelsScreen.h"
#include "screens/EnhanseUnit.h"
#include "screens/InfoWindows.h"
#include "screens/PictureBox.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "screens/Thumbnails.h"
#include "screens/Viewers.h"

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

// Copies a picture into another of the same size without new memory: the result is copied
// out on every slider step, and fresh pages would cost more than the copy.
void copyPixels(const RgbImage& from, RgbImage& to) {
    if (to.width() != from.width() || to.height() != from.height() || to.empty()) {
        to = from;
        return;
    }
    forEachRowBlock(from.height(), [&](std::int32_t begin, std::int32_t end) {
        std::memcpy(to.row(begin), from.row(begin), from.stride() * static_cast<std::size_t>(end - begin));
    });
}

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
    SpinEdit0.bind([this] { enter(); });
    SpinEdit4.bind([this] { entryBackup = screens_.pictures.source; });
    SpinEdit5.bind([this] { thresholdChange(); });
    SpinEdit1.bind([this] { separateNow(); });
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
    resetPictureFrames();

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
    for (RangeSlider* slider : sliders_)
        connect(slider, &QSlider::valueChanged, this, [this] { screens_.guard([&] { thresholdChange(); }); });

    connect(sourceFrame_, &PictureBox::clicked, this,
            [this] { screens_.guard([&] { previewPicture(sourceCopy); }); });
    connect(resultFrame_, &PictureBox::clicked, this,
            [this] { screens_.guard([&] { previewPicture(result); }); });
    connect(nextButton, &QPushButton::clicked, this, [this] { screens_.guard([&] { next(); }); });
    connect(backButton, &QPushButton::clicked, this, &TForm021::back);
    connect(help, &QPushButton::clicked, this, [this] { screens_.help021->show(); });
    connect(enhance, &QPushButton::clicked, this, [this] { screens_.guard([&] { enhanceSource(); }); });
    connect(restore, &QPushButton::clicked, this, [this] { screens_.guard([&] { restoreOriginal(); }); });
}

SeparationThresholds TForm021::thresholds() const {
    std::array<int, kThresholdCount> values{};
    for (std::size_t i = 0; i < kThresholdCount; ++i) values[i] = sliders_[i]->value();
    return thresholdsFromValues(values);
}

void TForm021::setSliders(const SeparationThresholds& t) {
    // The clamped values go into the sliders in one go; the change that started it all
    // separates once with them, which is where the nested slider changes would settle.
    const bool outer = !settingSliders_;
    settingSliders_ = true;
    const auto values = thresholdValues(t);
    for (std::size_t i = 0; i < kThresholdCount; ++i) sliders_[i]->setValue(values[i]);
    if (outer) settingSliders_ = false;
}

void TForm021::thresholdChange() {
    if (settingSliders_) return;
    screens_.form010->hide();
    const SeparationThresholds t = clampThresholds(thresholds());
    setSliders(t);
    const auto ranges = highlightedRanges(t);
    for (std::size_t i = 0; i < kThresholdCount; ++i)
        sliders_[i]->setHighlight(ranges[i].low, ranges[i].high);
    SpinEdit1.step();
}

void TForm021::enter() {
    const SeparationThresholds t = thresholds();
    const bool raised = t.lightGrey < t.white && t.white < 255;
    setSliders(thresholdsOnEnter(t));
    // However the white threshold ended, the entry separates once.
    thresholdChange();
    if (raised) show();
}

void TForm021::separateNow() {
    const SeparationResult& r = separator_.separate(sourceCopy, thresholds());
    copyPixels(r.result, result);
    masksEmptied_ = false;
    for (std::size_t k = 0; k < kChannelCount; ++k) {
        percentages_[k]->setText(QString::fromStdString(r.percentageTexts[k]));
        percentSigns_[k]->setText(kSeparationPercentCaption);
    }
    refreshPictures();
}

void TForm021::refreshPictures() {
    sourceThumb_ = thumbnail(sourceCopy, kFrameWidth, kFrameHeight);
    resultThumb_ = thumbnail(result, kFrameWidth, kFrameHeight);
    if (masksEmptied_ || separator_.classifier() == nullptr) {
        for (RgbImage& tile : tiles_) tile.clear();
    } else {
        tiles_ = separationMaskThumbnails(sourceCopy, *separator_.classifier(),
                                          separator_.lastResult().counts, kTileWidth, kTileHeight);
    }
    sourceFrame_->update();
    resultFrame_->update();
    for (PictureBox* box : tileBoxes_) box->update();
}

RgbImage TForm021::fullMask(int k) const {
    if (masksEmptied_ || separator_.classifier() == nullptr) return {};
    return separationMask(sourceCopy, *separator_.classifier(), k);
}

void TForm021::resetPictureFrames() {
    for (PictureBox* frame : {sourceFrame_, resultFrame_}) {
        frame->setFixedSize(kFrameWidth, kFrameHeight);
        frame->show();
    }
}

void TForm021::emptyMasks() {
    masksEmptied_ = true;
    for (RgbImage& tile : tiles_) tile.clear();
    for (PictureBox* box : tileBoxes_) box->update();
}

void TForm021::releaseSeparation() {
    // The separator keeps its own copy of the result and a channel map between slider steps;
    // once the screen is left they are only weight.
    separator_ = Separator();
}

void TForm021::previewPicture(const RgbImage& picture) {
    screens_.pictures.preview = picture;
    screens_.form010->showPicture();
}

void TForm021::previewMask(int k) {
    screens_.pictures.preview = fullMask(k);
    screens_.form010->showPicture();
}

void TForm021::next() {
    hide();
    screens_.help021->hide();
    screens_.form002->hide();
    screens_.form003->hide();
    screens_.form010->hide();
    entryBackup.clear();
    // The channels screen's rebuild, stepped below, empties its own masks and writes new
    // ones of this picture's size over the old memory.
    emptyMasks();
    releaseSeparation();
    screens_.form019->channelSet.before = std::move(result);
    result.clear();
    refreshPictures();
    for (PictureBox* frame : {sourceFrame_, resultFrame_}) frame->setFixedSize(0, 0);
    screens_.form019->SpinEdit000.step();
}

void TForm021::back() { screens_.goToSelectTask(this, screens_.help021.get()); }

void TForm021::closeEvent(QCloseEvent* event) {
    event->ignore();
    back();
}

void TForm021::enhanceSource() {
    screens_.enhance->CheckBox2 = true;
    hide();
    result.clear();
    emptyMasks();
    releaseSeparation();
    refreshPictures();
    screens_.enhance->show();
    screens_.enhance->SpinEdit7.step();
    screens_.enhance->working = sourceCopy;
}

void TForm021::restoreOriginal() {
    sourceCopy = entryBackup;
    screens_.pictures.source = entryBackup;
    SpinEdit5.step();
}

}  // namespace dg
