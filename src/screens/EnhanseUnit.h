#pragma once

#include <QWidget>
#include <functional>
#include <initializer_list>

#include "app/StepTrigger.h"
#include "imaging/Effects.h"
#include "imaging/RgbImage.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSlider;
class QToolButton;

namespace dg {

class PictureBox;
class ScreenSet;

// A numeric field of the enhance screen. Its value is what its text reads as an integer; a
// text that is not one (an empty field, a lone minus sign) reads as the bottom of the range.
// The arrows and setValue clamp into the range at once; a value typed outside the range is
// used as typed until the field loses the focus, which clamps it. valueChanged is emitted at
// once, and only when the value really changes.
class EnhanceSpinEdit : public QWidget {
    Q_OBJECT
public:
    EnhanceSpinEdit(int minimum, int maximum, QWidget* parent = nullptr);

    int value() const { return value_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void setValue(int value);
    QLineEdit* editor() const { return edit_; }

signals:
    void valueChanged(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textEdited(const QString& text);
    void showValue();

    int minimum_;
    int maximum_;
    int value_ = 0;
    QLineEdit* edit_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

// enhance: brightness, contrast, saturation, filters, colour balance, grey and colour
// reduction on a working picture, before thresholding or separating.
//
// The controls do not stack. The screen keeps a base picture; every change of the control in
// use recomputes the working picture from it. The first change of another control makes that
// control's kind the active one: the working picture becomes the new base and undo picture and
// the other controls go back to 0, each running its own change on the way (nested, in a fixed
// order). Much of the screen's behaviour comes from that nesting.
class Tenhance : public QWidget {
    Q_OBJECT
public:
    explicit Tenhance(ScreenSet& screens);
    ~Tenhance() override;

    RgbImage working;        // the working picture
    StepTrigger SpinEdit7;   // Open
    bool CheckBox2 = false;  // opened from the separation screen

    // Checks the colour reduction "TRUE COLOR" (runs its reduction only on a new choice).
    void chooseTrueColor();

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
    Kind activeKind() const { return active_; }

    // The controls, named as the rest of the program knows them.
    QSlider* TrackBar2 = nullptr;          // BRIGHTNESS, -100..100
    EnhanceSpinEdit* SpinEdit2 = nullptr;  // CONTRAST, -30..30
    EnhanceSpinEdit* SpinEdit3 = nullptr;  // SATURATION, 0..50
    EnhanceSpinEdit* SpinEdit5 = nullptr;  // SHARPEN, 0..30
    EnhanceSpinEdit* SpinEdit4 = nullptr;  // BLUR, 0..20
    QSlider* TrackBar1 = nullptr;          // POSTERIZE, 0..255
    QSlider* TrackBar3 = nullptr;          // colour balance red-green (left side), -15..15
    QSlider* TrackBar4 = nullptr;          // colour balance green-blue (bottom side)
    QSlider* TrackBar5 = nullptr;          // colour balance red-blue (right side)
    QRadioButton* RadioButton1 = nullptr;  // TRUE COLOR
    QRadioButton* RadioButton2 = nullptr;  // UP TO 256 COLORS
    QRadioButton* RadioButton3 = nullptr;  // UP TO 16 COLORS

    // The screen's operations, as its buttons run them.
    void open();
    void greyClick(int kind);
    void optimizeClick();
    void undoClick();
    void undoAllClick();
    void okClick();
    void cancelClick();
    void helpClick();
    void Image1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    // Runs one control's handler: the outermost under the action guard, nested ones inside it,
    // so that a failure ends the whole user action.
    void handle(const std::function<void()>& action);

    // Change operations.
    void brightnessChange();
    void contrastChange();
    void saturationChange();
    void sharpenChange();
    void blurChange();
    void posterizeChange();
    void balanceChange(int side);
    void colourReduction();

    // Makes a kind the active one; runs its activation only when it was not active.
    void activate(Kind kind);
    void runActivation(Kind kind);
    void resetControls(std::initializer_list<QWidget*> controls);
    void resetInOpenOrder();
    void setUndoEnabled(bool enabled);
    void setUndoAllEnabled(bool enabled);
    void redraw();

    ScreenSet& screens_;
    Kind active_ = Kind::None;
    TEffects Effects1;  // POSTERIZE's effects component
    int handlerDepth_ = 0;

    RgbImage base_;            // the picture the active adjustment recomputes from
    RgbImage undo_;            // the picture UNDO returns to
    RgbImage brightnessBase_;  // the picture BRIGHTNESS always computes from
    RgbImage filterCopy_;      // the second raster of the blur and sharpen passes

    QPushButton* undo = nullptr;
    QPushButton* undoAll = nullptr;
    QPushButton* resizeBeforeEdit_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PictureBox* Image1 = nullptr;
};

}  // namespace dg
