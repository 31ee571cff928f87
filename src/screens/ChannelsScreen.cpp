#include "screens/ChannelsScreen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "screens/PictureBox.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "screens/Thumbnails.h"
#include "separation/ChannelSetBuild.h"

namespace dg {

namespace {

constexpr const char* kColorsCaption = " COLORS";

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    return look::button(caption, name, parent, 34);
}

QLabel* whiteLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setStyleSheet("color: white; font-weight: bold;");
    return label;
}

// A small box in a channel's colour, framed in white so that black and the screen's own blue
// still show as boxes.
QLabel* swatch(const char* name, QWidget* parent) {
    auto* box = new QLabel(parent);
    box->setObjectName(name);
    box->setFixedSize(16, 16);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette palette = box->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    box->setPalette(palette);
    return box;
}

}  // namespace

TForm019::TForm019(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm019");
    setWindowTitle("CHANNELS / COLORS");
    placeAsWorkingScreen(this);
    buildControls();
    SpinEdit000.bind([this] {
        screens_.workflow.rebuildChannels();
        screens_.go(Move::ChannelsShown);
    });
    screens_.workflow.listen([this](Change what) {
        if (what == Change::ChannelsRebuilt || what == Change::Channels)
            showChannels(what == Change::ChannelsRebuilt);
        if (what == Change::ChannelsOffer) showOffer();
    });
}

void TForm019::buildControls() {
    auto* top = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    top->addLayout(left);
    auto* beforeHeading = new QHBoxLayout;
    beforeHeading->addWidget(whiteLabel("BEFORE:", "beforeHeading", this));
    beforeCount_ = whiteLabel("0", "beforeCount", this);
    beforeColors_ = whiteLabel(kColorsCaption, "beforeColors", this);
    beforeHeading->addWidget(beforeCount_);
    beforeHeading->addWidget(beforeColors_);
    beforeHeading->addStretch(1);
    left->addLayout(beforeHeading);
    before_ = new PictureBox(beforeThumb_, this);
    before_->setObjectName("Image0");
    before_->setFixedSize(kPictureWidth, kPictureHeight);
    left->addWidget(before_);
    auto* afterHeading = new QHBoxLayout;
    afterHeading->addWidget(whiteLabel("AFTER:", "afterHeading", this));
    afterCount_ = whiteLabel("0", "afterCount", this);
    afterColors_ = whiteLabel(kColorsCaption, "afterColors", this);
    afterHeading->addWidget(afterCount_);
    afterHeading->addWidget(afterColors_);
    afterHeading->addStretch(1);
    left->addLayout(afterHeading);
    after_ = new PictureBox(afterThumb_, this);
    after_->setObjectName("Image00");
    after_->setFixedSize(kPictureWidth, kPictureHeight);
    left->addWidget(after_);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    top->addLayout(right, 1);
    auto* channels = new QGroupBox("COLORS / CHANNELS", this);
    channels->setObjectName("colorsChannels");
    channels->setStyleSheet("QGroupBox#colorsChannels { color: white; font-weight: bold; }");
    auto* grid = new QGridLayout(channels);
    for (int n = 1; n <= kChannelCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        auto* tile = new QVBoxLayout;
        auto* box = new PictureBox(tiles_[i], channels);
        box->setObjectName(QString("mask%1").arg(n));
        box->setFixedSize(kTileWidth, kTileHeight);
        connect(box, &PictureBox::clicked, this, [this, i] {
            screens_.guard([&] { screens_.showPreview(screens_.workflow.channels.channels[i].mask); });
        });
        tileBoxes_[i] = box;
        // The channel's number and colour: the tile's page is "Channel # N" in that colour.
        auto* heading = new QHBoxLayout;
        heading->setSpacing(4);
        numbers_[i] = whiteLabel(QString("# %1").arg(n), qPrintable(QString("number%1").arg(n)), channels);
        swatches_[i] = swatch(qPrintable(QString("swatch%1").arg(n)), channels);
        heading->addWidget(numbers_[i]);
        heading->addWidget(swatches_[i]);
        heading->addStretch(1);
        auto* captions = new QHBoxLayout;
        captions->setSpacing(2);
        percentages_[i] = whiteLabel("0", qPrintable(QString("percent%1").arg(n)), channels);
        percentSigns_[i] = whiteLabel("%", qPrintable(QString("percentSign%1").arg(n)), channels);
        checkBoxes_[i] = new QCheckBox(channels);
        checkBoxes_[i]->setObjectName(QString("CheckBox%1").arg(n));
        captions->addWidget(checkBoxes_[i]);
        captions->addWidget(percentages_[i]);
        captions->addWidget(percentSigns_[i]);
        captions->addStretch(1);
        tile->addLayout(heading);
        tile->addWidget(box);
        tile->addLayout(captions);
        tile->addStretch(1);
        // Tiles 1-8, 9-16 and 17-23 make the three rows.
        grid->addLayout(tile, (n - 1) / 8, (n - 1) % 8);
        connect(checkBoxes_[i], &QCheckBox::toggled, this,
                [this, n](bool ticked) { screens_.guard([&] { checkBoxChange(n, ticked); }); });
        box->hide();
        numbers_[i]->hide();
        swatches_[i]->hide();
        percentages_[i]->hide();
        percentSigns_[i]->hide();
        checkBoxes_[i]->hide();
    }
    next_ = button("NEXT >>", "next", channels);
    grid->addWidget(next_, 2, 7);
    right->addWidget(channels);
    right->addWidget(whiteLabel("The pure white channel will be represented with black background",
                                "pureWhiteNote", this));
    right->addStretch(1);

    auto* buttons = new QHBoxLayout;
    right->addLayout(buttons);
    auto* backButton = button("<< BACK", "back", this);
    auto* help = button("HELP", "help", this);
    auto* exitButton = button("Exit", "exit", this);
    auto* save = button("SAVE PROJECT AS...", "saveProjectAs", this);
    editPanel_ = new QWidget(this);
    editPanel_->setObjectName("editPanel");
    auto* panel = new QVBoxLayout(editPanel_);
    panel->setContentsMargins(0, 0, 0, 0);
    changeColors_ = button("CHANGE COLORS", "changeColors", editPanel_);
    mergeChannels_ = button("MERGE CHANNELS", "mergeChannels", editPanel_);
    undo_ = button("UNDO", "undo", editPanel_);
    panel->addWidget(changeColors_);
    panel->addWidget(mergeChannels_);
    panel->addWidget(undo_);
    editPanel_->setFixedWidth(kPictureWidth);
    // The panel sits under the AFTER picture, in the left column.
    left->insertWidget(left->count() - 1, editPanel_);
    for (QWidget* w : {static_cast<QWidget*>(backButton), static_cast<QWidget*>(help),
                       static_cast<QWidget*>(exitButton), static_cast<QWidget*>(save)})
        buttons->addWidget(w);

    connect(before_, &PictureBox::clicked, this,
            [this] { screens_.guard([&] { screens_.showPreview(screens_.workflow.channels.before); }); });
    connect(after_, &PictureBox::clicked, this,
            [this] { screens_.guard([&] { screens_.showPreview(screens_.workflow.channels.after); }); });
    connect(next_, &QPushButton::clicked, this, [this] { screens_.guard([&] { next(); }); });
    connect(backButton, &QPushButton::clicked, this, &TForm019::back);
    connect(help, &QPushButton::clicked, this, [this] { screens_.show(Window::ChannelsHelp); });
    connect(exitButton, &QPushButton::clicked, this, [this] { screens_.askToEndApplication(); });
    connect(save, &QPushButton::clicked, this, [this] { screens_.guard([&] { saveProjectAs(); }); });
    connect(changeColors_, &QPushButton::clicked, this,
            [this] { screens_.guard([&] { changeColorsClick(); }); });
    connect(mergeChannels_, &QPushButton::clicked, this,
            [this] { screens_.guard([&] { mergeChannelsClick(); }); });
    connect(undo_, &QPushButton::clicked, this, [this] { screens_.guard([&] { undo(); }); });
}

void TForm019::showChannels(bool rebuilt) {
    const Workflow& workflow = screens_.workflow;
    if (rebuilt) {
        beforeCount_->setText(QString::number(workflow.lastRebuild().beforeColors));
        beforeColors_->setText(kColorsCaption);
        afterColors_->setText(kColorsCaption);
    }
    syncTiles();
    const ChannelCount count = recountChannelSet(workflow.channels);
    afterCount_->setText(QString::number(count.afterCount));
    next_->setEnabled(count.nextEnabled);
    after_->show();
    // A design that needed no reduction shows AFTER's count only after a merge.
    afterCount_->setVisible(!workflow.reductionSkipped);
    afterColors_->setVisible(!workflow.reductionSkipped);
    showOffer();
    refreshPictures();
}

void TForm019::showOffer() {
    const Workflow& workflow = screens_.workflow;
    changeColors_->setEnabled(workflow.changeColorsOffered);
    mergeChannels_->setEnabled(workflow.mergeOffered);
    undo_->setEnabled(workflow.undoOffered);
    undo_->setVisible(!workflow.reopenedProject);
    editPanel_->setEnabled(workflow.channelEditing);
}

void TForm019::syncTiles() {
    const ChannelSet& set = screens_.workflow.channels;
    syncing_ = true;
    for (std::size_t i = 0; i < kChannelCount; ++i) {
        const Channel& ch = set.channels[i];
        tiles_[i] = ch.shown ? thumbnail(ch.mask, kTileWidth, kTileHeight) : RgbImage();
        percentages_[i]->setText(ch.percentageText.empty() ? QString("0")
                                                           : QString::fromStdString(ch.percentageText));
        percentSigns_[i]->setText("%");
        checkBoxes_[i]->setChecked(ch.checked);
        const ColorValue colour = set.colors[i];
        if (colour != kNoColor)
            look::setBackground(swatches_[i], QColor(redOf(colour), greenOf(colour), blueOf(colour)));
        for (QWidget* w : {static_cast<QWidget*>(tileBoxes_[i]), static_cast<QWidget*>(numbers_[i]),
                           static_cast<QWidget*>(swatches_[i]), static_cast<QWidget*>(percentages_[i]),
                           static_cast<QWidget*>(percentSigns_[i]), static_cast<QWidget*>(checkBoxes_[i])})
            w->setVisible(ch.shown);
        tileBoxes_[i]->update();
    }
    syncing_ = false;
}

void TForm019::refreshPictures() {
    const ChannelSet& set = screens_.workflow.channels;
    beforeThumb_ = thumbnail(set.before, kPictureWidth, kPictureHeight);
    afterThumb_ = thumbnail(set.after, kPictureWidth, kPictureHeight);
    before_->update();
    after_->update();
}

void TForm019::checkBoxChange(int n, bool ticked) {
    if (syncing_) return;
    screens_.workflow.tickChannel(n, ticked);
}

void TForm019::undo() {
    screens_.workflow.undoChannels();
    screens_.go(Move::ChannelsShown);
}

void TForm019::next() {
    screens_.workflow.channelsNext();
    screens_.go(Move::ChannelsNext, this);
}

void TForm019::back() { screens_.goToSelectTask(this); }

void TForm019::closeEvent(QCloseEvent* event) {
    event->ignore();
    back();
}

void TForm019::saveProjectAs() {
    screens_.runLong(
        "Saving the project", [&] { screens_.workflow.saveChannelsProject(); }, false);
}

}  // namespace dg
