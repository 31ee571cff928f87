#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "separation/ChannelModel.h"

namespace dg {

// Texts of the merge sequence.
inline constexpr const char* kMergeNoCountsMessage = "error#1";
inline constexpr const char* kMergeTooFewColorsMessage = "Cannot merge under 3 colors";
inline constexpr const char* kMergeChoiceSuffix = "     % ";

// "REPLACE WITH  COLOR:" of the merge screen. COLOR 1: the offered pixels take the chosen
// colour; COLOR 2: the chosen channel takes the offered colour and keeps both areas.
enum class ReplaceMode { Color1, Color2 };

// How the merge screen closed for one offer. Close is closing its window.
enum class MergeAnswer { Ok, Skip, Finish, Close };

// One colour choice of the merge screen (choice N belongs to channel N).
struct MergeChoice {
    bool shown = false;
    ColorValue color = kNoColor;    // its background
    ColorValue textColor = kWhite;  // black on light colours, white on dark ones
    std::string caption;            // the channel's percentage and kMergeChoiceSuffix
    bool placed = false;            // false: not among the listed colours, no position given
    int left = 0;
    int top = 0;
};

// Everything the merge screen shows while it offers one channel.
struct MergeOffer {
    int channel;       // the offered channel-set index
    ColorValue color;  // C2: the screen's background and the COLOR 2 swatch
    int finalColors;   // the number after "FINAL COLORS:"
    const std::array<MergeChoice, kChannelCount>& choices;  // the offered one is hidden
    const RgbImage& before;
    const RgbImage& after;    // recomposed from the masks (Refresh)
    const RgbImage& preview;  // the offered channel's mask
    const ChannelSet& set;    // masks for the chosen-mask preview
    ReplaceMode mode;         // the replace mode the screen opens with
};

// What the user did: with Ok, the ticked choice (1..23) and the replace mode. An Ok without
// a shown choice (the screen keeps OK disabled then) merges nothing and counts as Close.
struct MergeDecision {
    MergeAnswer answer = MergeAnswer::Skip;
    int choice = 0;
    ReplaceMode mode = ReplaceMode::Color1;
};

// The modal merge screen as the sequence sees it: the screen shows its dialog in offer(),
// a test scripts the answers.
class MergeDialog {
public:
    virtual ~MergeDialog() = default;
    virtual void message(const std::string& text) = 0;
    virtual MergeDecision offer(const MergeOffer& offer) = 0;
    // The replace mode the screen shows before the sequence: a mode left by FINISH or by
    // closing the window carries over to the next MERGE CHANNELS.
    virtual ReplaceMode replaceMode() const { return ReplaceMode::Color1; }
    // Before the first offer, and once the merged result is in the set.
    virtual void sequenceStarting() {}
    virtual void sequenceEnded(const ChannelSet&) {}
};

struct MergeOutcome {
    std::vector<int> offered;  // channels in the order they were offered
    int merged = 0;
    int afterCount = 0;  // channel masks still shown: the AFTER count caption
};

// MERGE CHANNELS: runs the merge sequence over the set (the rarest channels first, each in
// the dialog), leaves the merged result in the masks and in set.after, and ticks the
// channels still shown. set.before is not changed (UNDO rebuilds from it).
MergeOutcome mergeChannels(ChannelSet& set, MergeDialog& dialog);

// Black text on a colour with any component above 130, white otherwise.
ColorValue choiceTextColor(ColorValue color);

// The colours of a picture by falling pixel count, as the choices are arranged: each colour
// (in ascending colour value) takes slot `count`, or the first free one of the next 30;
// the slots are read from the top; at most 25 colours. A colour that finds no free slot is
// not listed.
std::vector<ColorValue> colorsByFallingCount(const RgbImage& picture);

// The position of the i-th listed colour (from 0).
struct ChoicePosition {
    int left, top;
};
ChoicePosition choicePosition(int i);

// AUTOMATIC FIND: the shown choice nearest to the colour by the sum of absolute differences,
// of equal distances the later one; 0 when no choice is shown.
int automaticFind(const std::array<MergeChoice, kChannelCount>& choices, ColorValue offered);

// Refresh's AFTER picture: white, and every channel whose colour is not pure white ANDed in
// with its mask (hidden and empty channels too).
RgbImage composeMergeAfter(const ChannelSet& set);

// The pixel rules of a merge: a is the offered channel's mask (colour c2), b the chosen
// channel's (colour c1); both are rewritten in place and have the same size.
void mergeMasks(RgbImage& a, RgbImage& b, ColorValue c1, ColorValue c2, ReplaceMode mode);

}  // namespace dg
