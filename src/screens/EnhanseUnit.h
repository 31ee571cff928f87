#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <utility>

#include "app/EnhanceSession.h"
#include "app/StepTrigger.h"
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
// A view over an EnhanceSession, which holds the picture, the control values and the rules
// of their nested changes: every control and button calls one of its actions, and after the
// action the controls show the session's values again without running anything.
class Tenhance : public QWidget {
    Q_OBJECT
public:
    explicit Tenhance(ScreenSet& screens);
    ~Tenhance() override;

    EnhanceSession session;
    RgbImage& working = session.working();  // the working picture, as the other screens know it
    StepTrigger SpinEdit7;                  // Open
    bool CheckBox2 = false;                 // opened from the separation screen

    // Checks the colour reduction "TRUE COLOR" (runs its reduction only on a new choice).
    void chooseTrueColor();

    using Kind = EnhanceSession::Kind;
    Kind activeKind() const { return session.activeKind(); }

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
    // Runs one action: the outermost under the action guard, then the controls show the
    // session; a nested one (an operation started by another) runs inside it.
    void handle(const std::function<void()>& action);
    // Sets every control to the session's value, with the controls' own handlers held off.
    void showSession();
    // The controls with what of the session each shows.
    std::array<std::pair<QSlider*, EnhanceSession::Control>, 5> sliderControls() const;
    std::array<std::pair<EnhanceSpinEdit*, EnhanceSession::Control>, 4> fieldControls() const;
    std::array<std::pair<QRadioButton*, EnhanceSession::Reduction>, 3> reductionOptions() const;
    void redraw();

    ScreenSet& screens_;
    int handlerDepth_ = 0;
    bool showing_ = false;  // while the controls show the session's values

    QPushButton* undo = nullptr;
    QPushButton* undoAll = nullptr;
    QPushButton* resizeBeforeEdit_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PictureBox* Image1 = nullptr;
};

}  // namespace dg
