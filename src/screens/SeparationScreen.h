#pragma once

#include <QWidget>

#include "app/StepTrigger.h"
#include "imaging/RgbImage.h"

namespace dg {

class ScreenSet;

// COLOR REDUCTION AND SEPARATION: sixteen threshold sliders sort every pixel of the SOURCE
// copy into 23 channels; NEXT hands the result to the channels screen.
class TForm021 : public QWidget {
    Q_OBJECT
public:
    explicit TForm021(ScreenSet& screens);

    RgbImage sourceCopy;   // the SOURCE copy the separation works on
    RgbImage result;       // the separation result shown in the RESULT frame
    RgbImage entryBackup;  // the SOURCE picture as it was on entry; emptied by NEXT

    StepTrigger SpinEdit0;  // entry nudge: Enter
    StepTrigger SpinEdit4;  // take backup of the SOURCE picture
    StepTrigger SpinEdit5;  // re-separate request (RESTORE ORIGINAL, return from enhance)
    StepTrigger SpinEdit1;  // separate

    // The SOURCE copy and RESULT frames at 185 x 161, shown (the colour route does this).
    void resetPictureFrames();
    // Rebuild on the channels screen empties the separation's 23 masks.
    void emptyMasks();

private:
    ScreenSet& screens_;
};

}  // namespace dg
