#include <QPushButton>

#include "screens/ChangeColorsScreen.h"
#include "screens/ChannelsScreen.h"
#include "screens/InfoWindows.h"
#include "screens/MergeScreen.h"
#include "screens/ScreenSet.h"
#include "screens/Viewers.h"
#include "separation/Merge.h"

namespace dg {

namespace {

// The channels screen's buttons are found by their captions, which never change.
void enableButton(QWidget* screen, const QString& caption, bool enabled) {
    for (QPushButton* b : screen->findChildren<QPushButton*>())
        if (b->text() == caption) b->setEnabled(enabled);
}

}  // namespace

void TForm019::mergeChannelsClick() {
    screens_.form010->hide();
    // The UNDO picture.
    screens_.pictures.result = channelSet.before;
    TForm020& merge = *screens_.form020;
    merge.finishFlag = false;
    merge.after.clear();

    // The merge trigger runs the whole sequence, offering the channels one at a time.
    SpinEdit1.bind([this] { runMergeSequence(); });
    SpinEdit1.step();

    merge.SpinEdit000.step();
    channelSet.after = merge.after;
    enableButton(this, "MERGE CHANNELS", false);
    enableChangeColors();
    showMergeResult();
    screens_.helpMerge->hide();
    screens_.form002->hide();
    screens_.form003->hide();
    screens_.form010->hide();
}

void TForm019::runMergeSequence() {
    enableUndo();
    // Shows "error#1" or "Cannot merge under 3 colors" through the dialog where it must, and
    // then offers nothing.
    mergeChannels(channelSet, *screens_.form020);
    show();
    SpinEdit2.step();
}

void TForm019::changeColorsClick() {
    screens_.form010->hide();
    screens_.pictures.result = channelSet.before;
    TForm022& change = *screens_.form022;
    change.working = channelSet.after.width() > 0 ? channelSet.after : channelSet.before;
    hide();
    screens_.form002->show();
    change.enter();
    enableUndo();
}

}  // namespace dg
