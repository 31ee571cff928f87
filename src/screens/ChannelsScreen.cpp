#include "screens/ChannelsScreen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/ProjectFolder.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/InfoWindows.h"
#include "screens/PictureBox.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "screens/SeparationScreen.h"
#include "screens/Thumbnails.h"
#include "screens/Viewers.h"
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

}  // namespace

TForm019::TForm019(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm019");
    setWindowTitle("CHANNELS / COLORS");
    placeAsWorkingScreen(this);
    buildControls();
    SpinEdit000.bind([this] { rebuild(true); });
    SpinEdit6.bind([this] { recount(); });
    SpinEdit8.bind([this] { redraw(); });
    SpinEdit2.bind([this] { recheck(); });
    SpinEdit1.bind([this] { runMergeSequence(); });
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
        connect(box, &PictureBox::clicked, this,
                [this, i] { screens_.guard([&] { preview(channelSet.channels[i].mask); }); });
        tileBoxes_[i] = box;
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
        tile->addWidget(box);
        tile->addLayout(captions);
        tile->addStretch(1);
        // Tiles 1-8, 9-16 and 17-23 make the three rows.
        grid->addLayout(tile, (n - 1) / 8, (n - 1) % 8);
        connect(checkBoxes_[i], &QCheckBox::toggled, this,
                [this, n](bool ticked) { screens_.guard([&] { checkBoxChange(n, ticked); }); });
        box->hide();
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
            [this] { screens_.guard([&] { preview(channelSet.before); }); });
    connect(after_, &PictureBox::clicked, this,
            [this] { screens_.guard([&] { preview(channelSet.after); }); });
    connect(next_, &QPushButton::clicked, this, [this] { screens_.guard([&] { next(); }); });
    connect(backButton, &QPushButton::clicked, this, &TForm019::back);
    connect(help, &QPushButton::clicked, this, [this] { screens_.help019->show(); });
    connect(exitButton, &QPushButton::clicked, this, [this] { screens_.endApplication(); });
    connect(save, &QPushButton::clicked, this, [this] { screens_.guard([&] { saveProjectAs(); }); });
    connect(changeColors_, &QPushButton::clicked, this,
            [this] { screens_.guard([&] { changeColorsClick(); }); });
    connect(mergeChannels_, &QPushButton::clicked, this,
            [this] { screens_.guard([&] { mergeChannelsClick(); }); });
    connect(undo_, &QPushButton::clicked, this, [this] { screens_.guard([&] { undo(); }); });
}

void TForm019::rebuild(bool showScreen) {
    hide();
    drawFlag_ = false;
    screens_.form021->emptyMasks();
    changeColors_->setEnabled(true);
    mergeChannels_->setEnabled(true);
    undo_->setEnabled(false);
    const RebuildSummary summary = rebuildChannelSet(channelSet);
    beforeCount_->setText(QString::number(summary.beforeColors));
    afterCount_->setText(QString::number(summary.afterCount));
    beforeColors_->setText(kColorsCaption);
    afterColors_->setText(kColorsCaption);
    SpinEdit6.step();
    drawFlag_ = true;
    // Right after a rebuild every channel is ticked, and the rebuild has already painted
    // AFTER exactly as a redraw would: only its showing is left.
    after_->show();
    refreshPictures();
    if (showScreen) show();
}

void TForm019::syncTiles() {
    syncing_ = true;
    for (std::size_t i = 0; i < kChannelCount; ++i) {
        const Channel& ch = channelSet.channels[i];
        tiles_[i] = ch.shown ? thumbnail(ch.mask, kTileWidth, kTileHeight) : RgbImage();
        percentages_[i]->setText(ch.percentageText.empty() ? QString("0")
                                                           : QString::fromStdString(ch.percentageText));
        percentSigns_[i]->setText("%");
        checkBoxes_[i]->setChecked(ch.checked);
        for (QWidget* w : {static_cast<QWidget*>(tileBoxes_[i]), static_cast<QWidget*>(percentages_[i]),
                           static_cast<QWidget*>(percentSigns_[i]), static_cast<QWidget*>(checkBoxes_[i])})
            w->setVisible(ch.shown);
        tileBoxes_[i]->update();
    }
    syncing_ = false;
}

void TForm019::refreshPictures() {
    beforeThumb_ = thumbnail(channelSet.before, kPictureWidth, kPictureHeight);
    afterThumb_ = thumbnail(channelSet.after, kPictureWidth, kPictureHeight);
    before_->update();
    after_->update();
}

void TForm019::recount() {
    syncTiles();
    const ChannelCount count = recountChannelSet(channelSet);
    afterCount_->setText(QString::number(count.afterCount));
    next_->setEnabled(count.nextEnabled);
}

void TForm019::redraw() {
    if (!drawFlag_) return;
    redrawChannelSet(channelSet);
    after_->show();
    refreshPictures();
}

void TForm019::recheck() {
    recheckChannelSet(channelSet);
    SpinEdit6.step();
    if (drawFlag_) SpinEdit8.step();
}

void TForm019::checkBoxChange(int n, bool ticked) {
    if (syncing_) return;
    channelSet.channel(n).checked = ticked;
    SpinEdit6.step();
    if (drawFlag_) SpinEdit8.step();
}

void TForm019::undo() {
    channelSet.before = screens_.pictures.result;
    SpinEdit000.step();
}

void TForm019::next() {
    hide();
    screens_.help019->hide();
    screens_.form002->hide();
    screens_.form003->hide();
    screens_.form010->hide();
    // AFTER becomes BEFORE: unticked channels fall into the white channel and the colours
    // are numbered afresh. The screen stays hidden: COLOR MATCHING comes next.
    channelSet.before = channelSet.after;
    rebuild(false);
    screens_.pictures.result.clear();
    screens_.form023->enter();
}

void TForm019::back() { screens_.goToSelectTask(this, screens_.help019.get()); }

void TForm019::closeEvent(QCloseEvent* event) {
    event->ignore();
    back();
}

void TForm019::saveProjectAs() {
    saveProject(channelsScreenProject(screens_.pictures.source, channelSet), screens_.state,
                screens_.platform.dialogs, screens_.platform.files);
}

void TForm019::preview(const RgbImage& picture) {
    screens_.pictures.preview = picture;
    screens_.form010->showPicture();
}

void TForm019::showMergeResult() {
    int shown = 0;
    for (std::size_t i = 0; i < kChannelCount; ++i) {
        if (channelSet.channels[i].shown) {
            ++shown;
            continue;
        }
        tileBoxes_[i]->hide();
        percentages_[i]->hide();
        percentSigns_[i]->hide();
    }
    afterCount_->setText(QString::number(shown));
    after_->show();
    afterCount_->show();
    afterColors_->show();
    refreshPictures();
}

void TForm019::setEditPanelEnabled(bool enabled) { editPanel_->setEnabled(enabled); }

void TForm019::hideAfterPicture() {
    after_->hide();
    afterCount_->hide();
    afterColors_->hide();
}

void TForm019::enableUndo() { undo_->setEnabled(true); }

void TForm019::enableChangeColors() { changeColors_->setEnabled(true); }

void TForm019::setUndoVisible(bool visible) { undo_->setVisible(visible); }

}  // namespace dg
