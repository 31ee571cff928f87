#pragma once

#include <QEventLoop>
#include <QWidget>
#include <array>

#include "imaging/RgbImage.h"
#include "separation/Merge.h"

class QCheckBox;
class QCloseEvent;
class QLabel;
class QPushButton;
class QRadioButton;

namespace dg {

class ScreenSet;
class MergePicture;

// MERGE COLORS/CHANNELS: shown modally once per offered channel by the merge sequence.
class TForm020 : public QWidget, public MergeDialog {
    Q_OBJECT
public:
    explicit TForm020(ScreenSet& screens);
    ~TForm020() override;

    RgbImage after;           // the merged result, as the end of the sequence shows it
    bool finishFlag = false;  // set by FINISH; cleared when a sequence starts

    // The merge sequence's modal dialog.
    void message(const std::string& text) override;
    MergeDecision offer(const MergeOffer& offer) override;
    void sequenceStarting() override;
    void sequenceEnded(const ChannelSet& set) override;

    // The user's operations, also reachable through the buttons and choices.
    void automaticFindClick();
    void okClick();
    void skipClick();
    void finishClick();
    void helpClick();

    // The choice that is ticked now (1..23), 0 when none is.
    int tickedChoice() const;
    // The replace mode the radio buttons show.
    ReplaceMode replaceMode() const override;

signals:
    // The dialog is on screen for the offer of this channel and waits for an answer.
    void offerShown(int channel);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void choiceToggled(int n, bool ticked);
    void untickAll();
    void setReplaceMode(ReplaceMode mode);
    void showCountCaptions(const ChannelSet& set);
    void showColor2(ColorValue offered);
    void answer(MergeAnswer kind);
    void preview(const RgbImage* picture);

    ScreenSet& screens_;
    const MergeOffer* offer_ = nullptr;  // the offer on screen, valid while offer() runs
    MergeDecision decision_;
    bool answered_ = false;
    QEventLoop loop_;
    QColor background_{255, 255, 255};  // C2, the offered colour
    ColorValue offeredColour_ = kWhite;  // C2 as the COLOR 2 box shows it

    std::array<QCheckBox*, kChannelCount> choices_{};
    std::array<QLabel*, kChannelCount> countCaptions_{};
    QLabel* color1Swatch_ = nullptr;
    QLabel* color2Swatch_ = nullptr;
    QRadioButton* replaceColor1_ = nullptr;
    QRadioButton* replaceColor2_ = nullptr;
    MergePicture* before_ = nullptr;
    MergePicture* after_ = nullptr;
    MergePicture* chosenPreview_ = nullptr;
    MergePicture* offeredPreview_ = nullptr;
    QLabel* finalColors_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace dg
