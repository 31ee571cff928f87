#pragma once

#include <QWidget>

#include "app/StepTrigger.h"
#include "imaging/RgbImage.h"
#include "separation/Merge.h"

namespace dg {

class ScreenSet;

// MERGE COLORS/CHANNELS: shown modally once per offered channel by the merge sequence.
class TForm020 : public QWidget, public MergeDialog {
    Q_OBJECT
public:
    explicit TForm020(ScreenSet& screens);

    RgbImage after;           // rebuilt from the channels screen's masks by Refresh
    bool finishFlag = false;  // set by FINISH; cleared by the channels screen
    StepTrigger SpinEdit000;  // Refresh

    // The merge sequence's modal dialog.
    void message(const std::string& text) override;
    MergeDecision offer(const MergeOffer& offer) override;

private:
    ScreenSet& screens_;
};

}  // namespace dg
