#pragma once

#include <QWidget>
#include <array>

#include "app/StepTrigger.h"
#include "separation/ChannelModel.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace dg {

class PictureBox;
class ScreenSet;

// CHANNELS / COLORS: the channel set of the current design, its BEFORE and AFTER pictures
// and one tile per channel. Every later step takes its channels from here.
//
// The tiles always show the state of channelSet: every trigger (rebuild, recount, redraw,
// recheck) brings the tiles, the check boxes and the captions in line with it, so the merge
// sequence can change the set and step a trigger.
class TForm019 : public QWidget {
    Q_OBJECT
public:
    explicit TForm019(ScreenSet& screens);

    // BEFORE is channelSet.before, AFTER is channelSet.after; masks are channelSet.channels.
    // The merge screen and OPTIONS change them in place.
    ChannelSet channelSet;

    StepTrigger SpinEdit000;  // rebuild from BEFORE, then show this screen
    StepTrigger SpinEdit6;    // recount
    StepTrigger SpinEdit8;    // redraw (runs only while the draw flag is on)
    StepTrigger SpinEdit2;    // recheck, at the end of the merge sequence
    StepTrigger SpinEdit1;    // merge sequence

    // The panel with UNDO, MERGE CHANNELS and CHANGE COLORS: enabled in the 23-colour task,
    // disabled in the tribal task (the scaling step and TRIBAL CREATION decide).
    void setEditPanelEnabled(bool enabled);
    // Hides the AFTER picture and its two captions (a scaled picture with under 24 colours).
    void hideAfterPicture();
    // CHANGE COLORS hands back: OK enables UNDO, CANCEL enables CHANGE COLORS.
    void enableUndo();
    void enableChangeColors();
    // PRINT OLD PROJECT hides UNDO.
    void setUndoVisible(bool visible);
    // The end of MERGE CHANNELS: shows the AFTER picture (channelSet.after) and its two count
    // captions again, the AFTER count being the number of channels still shown, and hides the
    // mask and both captions of every tile whose channel is no longer shown.
    void showMergeResult();

    // The editing buttons, kept in ChannelsScreenEditing.cpp: "MERGE CHANNELS" (the merge
    // sequence with the merge screen), "CHANGE COLORS" (hands AFTER to the change-colours
    // screen) and the merge trigger's action.
    void mergeChannelsClick();
    void changeColorsClick();
    void runMergeSequence();

    // While off, a check box change does not repaint AFTER (off during a rebuild).
    bool drawFlag() const { return drawFlag_; }
    // What tile N shows: a thumbnail of channel N's mask.
    const RgbImage& tileThumbnail(int n) const { return tiles_[static_cast<std::size_t>(n - 1)]; }

    static constexpr int kTileWidth = 90;
    static constexpr int kTileHeight = 78;
    static constexpr int kPictureWidth = 250;
    static constexpr int kPictureHeight = 218;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void rebuild(bool showScreen);
    void recount();
    void redraw();
    void recheck();
    void syncTiles();
    void refreshPictures();
    void checkBoxChange(int n, bool ticked);
    void undo();
    void next();
    void back();
    void saveProjectAs();
    void preview(const RgbImage& picture);

    ScreenSet& screens_;
    bool drawFlag_ = false;
    bool syncing_ = false;

    std::array<RgbImage, kChannelCount> tiles_;
    std::array<PictureBox*, kChannelCount> tileBoxes_{};
    std::array<QLabel*, kChannelCount> percentages_{};
    std::array<QLabel*, kChannelCount> percentSigns_{};
    std::array<QCheckBox*, kChannelCount> checkBoxes_{};
    RgbImage beforeThumb_;
    RgbImage afterThumb_;
    PictureBox* before_ = nullptr;
    PictureBox* after_ = nullptr;
    QLabel* beforeCount_ = nullptr;
    QLabel* beforeColors_ = nullptr;
    QLabel* afterCount_ = nullptr;
    QLabel* afterColors_ = nullptr;
    QWidget* editPanel_ = nullptr;
    QPushButton* changeColors_ = nullptr;
    QPushButton* mergeChannels_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* next_ = nullptr;
};

}  // namespace dg
