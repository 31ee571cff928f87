#pragma once

#include <QWidget>
#include <array>

#include "imaging/RgbImage.h"
#include "imaging/Tribal.h"

class QButtonGroup;
class QCloseEvent;
class QPushButton;
class QRadioButton;
class QSlider;

namespace dg {

class ScreenSet;

// TRIBAL CREATION: a black-on-white design from the SOURCE picture by one of eight methods.
// Every change of a slider recomputes the whole RESULT picture and shows it in the RESULT
// viewer; the sliders keep their positions for the whole run.
class TForm005 : public QWidget {
    Q_OBJECT
public:
    explicit TForm005(ScreenSet& screens);

    // The checked method, 1..8, or 0 before the first entry.
    int checkedMethod() const;
    TribalSliders sliders() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    // The method, the sliders and the RESULT as the run holds them.
    void showTribal();
    void originalClick();
    void enhanceClick();
    void nextClick();
    void back();
    void helpClick();

    ScreenSet& screens_;
    QButtonGroup* methods_ = nullptr;
    std::array<QRadioButton*, 8> RadioButton{};
    std::array<QSlider*, 3> TrackBar{};
    QPushButton* next_ = nullptr;
    int recomputesShown_ = 0;
};

}  // namespace dg
