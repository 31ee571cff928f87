#pragma once

#include <QSpinBox>
#include <QWidget>

#include "app/StepTrigger.h"
#include "imaging/RgbImage.h"
#include "project/OutputSettingsTarget.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace dg {

class ScreenSet;

// A numeric field that changes only by its arrows (one step at a time) or from code.
class ArrowSpinBox : public QSpinBox {
    Q_OBJECT
public:
    ArrowSpinBox(int minimum, int maximum, int initial, QWidget* parent = nullptr);
};

// OUTPUT SIZE AND RESOLUTION: the DPI, width and height of the tattoo on paper. Every change
// recomputes the screen at once: the height from the width, the size texts, the printer-area
// warning and the Message Board.
class TForm004 : public QWidget, public OutputSettingsTarget {
    Q_OBJECT
public:
    explicit TForm004(ScreenSet& screens);

    // The fields, named as the rest of the program knows them.
    ArrowSpinBox* SpinEdit1 = nullptr;  // DPI, 70..160
    ArrowSpinBox* SpinEdit2 = nullptr;  // width, whole units, 1..60
    ArrowSpinBox* SpinEdit3 = nullptr;  // width, hundredths, 0..99
    ArrowSpinBox* SpinEdit4 = nullptr;  // height, whole units, 0..60
    ArrowSpinBox* SpinEdit5 = nullptr;  // height, hundredths, 0..99

    StepTrigger SpinEdit6;   // recompute
    StepTrigger SpinEdit9;   // RESIZE route of the 23-colour task
    StepTrigger SpinEdit10;  // tribal route
    StepTrigger SpinEdit11;  // resampling step

    // "Centimeters" or "Inches" after the width and the height.
    void setUnitCaptions(const QString& word);
    // "NEXT >>" for a single file, "NEXT: COLOR REDUCTION>> " for the other tasks.
    void offerNextButtons(bool singleFile);
    // Step 1 of the recompute: the height that keeps the SOURCE picture's proportions.
    void deriveHeightFromWidth();
    void fitToPageWidth();
    void back();

    // The scaling routes that leave this screen forwards.
    void nextSingleFileClick();
    void nextColorReductionClick();
    // Scale the SOURCE picture: SOURCE becomes the picture at the output's pixel size
    // (resampled with Hermite when it grows, stretched otherwise); RESULT is left blank at
    // that size and PREVIEW, the scratch space, empty.
    void scaleSourcePicture();

    // Restored settings go through the same controls as the user's.
    void setUnit(MeasuringUnit unit) override;
    void setPreserveAspect(bool preserve) override;
    void setDpi(std::int32_t dpi) override;
    void setWidthWhole(std::int32_t value) override;
    void setWidthHundredths(std::int32_t value) override;
    void setHeightWhole(std::int32_t value) override;
    void setHeightHundredths(std::int32_t value) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void recompute();
    void fieldChanged();
    void preserveAspectClick(bool ticked);
    void storeFields();
    void scaleInto(RgbImage& destination);
    // Fails with the user's message when the output comes to less than one pixel in either
    // direction: such a size makes no picture for any later screen (nor a project that can
    // be opened again).
    void requirePixels() const;
    void resamplingStep();
    void resizeRoute();
    void tribalRoute();
    void passOnPrinterWarning();

    ScreenSet& screens_;
    QCheckBox* preserveAspect_ = nullptr;
    QLabel* heightCaption_ = nullptr;
    QLabel* widthUnit_ = nullptr;
    QLabel* heightUnit_ = nullptr;
    QLabel* widthText_ = nullptr;
    QLabel* heightText_ = nullptr;
    QLabel* printerWarning_ = nullptr;
    QLabel* tooSmall_ = nullptr;
    QLabel* tooLarge_ = nullptr;
    QLabel* widthRange_ = nullptr;
    QLabel* andBetween_ = nullptr;
    QLabel* heightRange_ = nullptr;
    QLabel* additionally_ = nullptr;
    QPushButton* closeForResizer_ = nullptr;
    QPushButton* nextColorReduction_ = nullptr;
    QPushButton* nextSingleFile_ = nullptr;
};

}  // namespace dg
