#pragma once

#include <QWidget>

#include "imaging/RgbImage.h"
#include "output/OptionsComposition.h"

class QCheckBox;
class QCloseEvent;
class QLabel;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QSlider;
class QSpinBox;

namespace dg {

class ScreenSet;

// OPTIONS: stencil, masking, corners and which pages to print; NEXT composes the pages.
class TForm028 : public QWidget {
    Q_OBJECT
public:
    explicit TForm028(ScreenSet& screens);

    // The settings as the controls show them now.
    OutputOptions options() const;

    void preview();
    void next();
    void back();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void createStencilClick(bool ticked);
    void maskedClick(bool ticked);

    ScreenSet& screens_;
    QCheckBox* createStencil_ = nullptr;
    QCheckBox* mirrorStencil_ = nullptr;
    QRadioButton* stencilInColors_ = nullptr;
    QRadioButton* stencilInBlack_ = nullptr;
    QCheckBox* masked_ = nullptr;
    QLabel* depthCaption_ = nullptr;
    QSlider* depth_ = nullptr;
    QPushButton* preview_ = nullptr;
    QLabel* legend_ = nullptr;
    QCheckBox* printColorMatching_ = nullptr;
    QCheckBox* printResult_ = nullptr;
    QCheckBox* adjustmentCorners_ = nullptr;
    QSpinBox* cornerWidth_ = nullptr;
    QSpinBox* cornerSize_ = nullptr;
};

}  // namespace dg
