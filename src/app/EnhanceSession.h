#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "imaging/RgbImage.h"

namespace dg {

// The enhance screen's state and actions without the widgets: the working picture, the
// control values and the base, undo and brightness-base pictures behind them.
//
// The controls do not stack. Every change of the control in use recomputes the working
// picture from the base picture. The first change of another control makes that control's
// kind the active one: the working picture becomes the new base and undo picture, and the
// other controls go back to 0, each running its own change on the way, nested, in a fixed
// order. So a change can set the very control that started it back to 0 before it reads its
// value, and most of the screen's behaviour comes from that nesting.
//
// Setting a control runs its change at once and only when the value really changes, as a
// widget's valueChanged does; choosing a colour reduction runs only on a new choice. A view
// shows the values after each action and calls the actions, nothing more.
class EnhanceSession {
public:
    // Kinds of adjustment; at most one is active.
    enum class Kind {
        None,
        Neutral,
        Brightness,
        Contrast,
        Saturation,
        Sharpen,
        Blur,
        Balance,
        Posterize,
        Reduction
    };

    // The controls, in the order an activation sets them back to 0.
    enum class Control {
        Contrast,
        Saturation,
        Blur,
        Sharpen,
        Brightness,
        RedGreen,
        GreenBlue,
        RedBlue,
        Posterize
    };
    static constexpr int kControlCount = 9;
    struct Range {
        int minimum;
        int maximum;
    };
    static Range range(Control control);

    enum class Reduction { TrueColor, UpTo256Colors, UpTo16Colors };

    // Small white placeholders until the first open.
    EnhanceSession();

    RgbImage& working() { return working_; }
    const RgbImage& working() const { return working_; }

    int value(Control control) const { return values_[index(control)]; }
    Reduction reduction() const { return reduction_; }
    Kind activeKind() const { return active_; }
    bool undoEnabled() const { return undoEnabled_; }
    bool undoAllEnabled() const { return undoAllEnabled_; }

    // Which controls set() was called for since the last call, changed or not: the program's
    // settings (and a slider's moves). A field the program sets shows its value anew even when
    // the value stays, because its text may read otherwise (an empty field at the bottom of
    // its range).
    std::array<bool, kControlCount> takeProgramSets();

    // A control set by the program or by a field's arrows: clamped into its range.
    void set(Control control, int value);
    // A number typed into one of the four fields: used as typed, also outside the range, until
    // the field loses the focus (which sets it clamped).
    void setTyped(Control control, int value);
    void chooseReduction(Reduction choice);

    // GREY 1 ... GREY 8.
    void grey(int kind);
    void optimize();
    // UNDO; a view offers it only while undoEnabled().
    void undo();
    // UNDO ALL: the controls back to 0, then `reopen`, which opens this session again on the
    // picture the screen was opened with (where that picture comes from is the opener's
    // business); afterwards the next grey button takes a new undo picture. A view offers it
    // only while undoAllEnabled().
    void undoAll(const std::function<void()>& reopen);

    // Open: UNDO disabled, the controls to 0, the working picture := `picture` (which may be
    // the working picture itself, to keep it), UNDO ALL disabled, and neutral activated in
    // every case.
    void open(const RgbImage& picture);
    // Every control to 0 in the order Open uses, each running its change when it was not 0.
    void resetControls();
    // OK's part: UNDO disabled, every picture but the working one emptied.
    void closeKeepingWorking();
    // CANCEL's part: UNDO disabled, the controls to 0, every picture emptied.
    void discard();

private:
    static std::size_t index(Control control) { return static_cast<std::size_t>(control); }

    // Stores a value and runs the control's change, only when it differs.
    void store(Control control, int value);
    void change(Control control);
    void brightnessChange();
    void contrastChange();
    void saturationChange();
    void sharpenChange();
    void blurChange();
    void posterizeChange();
    void balanceChange(Control side);
    void colourReduction();

    // Makes a kind the active one; runs its activation only when it was not active.
    void activate(Kind kind);
    void runActivation(Kind kind);
    void enableUndo();

    RgbImage working_;
    RgbImage base_;            // the picture the active adjustment recomputes from
    RgbImage undo_;            // the picture UNDO returns to
    RgbImage brightnessBase_;  // the picture BRIGHTNESS always computes from
    RgbImage filterCopy_;      // the second raster of the blur and sharpen passes

    std::array<int, kControlCount> values_{};
    std::array<bool, kControlCount> programSets_{};
    Reduction reduction_ = Reduction::TrueColor;
    Kind active_ = Kind::None;
    bool undoEnabled_ = false;
    bool undoAllEnabled_ = false;
};

}  // namespace dg
