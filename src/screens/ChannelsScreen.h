#pragma once

#include <QWidget>

#include "app/StepTrigger.h"
#include "separation/ChannelModel.h"

class QPushButton;

namespace dg {

class ScreenSet;

// CHANNELS / COLORS: the channel set of the current design, its BEFORE and AFTER pictures
// and one tile per channel. Every later step takes its channels from here.
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

private:
    ScreenSet& screens_;
};

}  // namespace dg
