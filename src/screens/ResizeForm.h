#pragma once

#include <QWidget>

#include "app/StepTrigger.h"

namespace dg {

class ScreenSet;

// Holds the RESIZE action of the 23-colour task; never shown.
class TForm027 : public QWidget {
    Q_OBJECT
public:
    explicit TForm027(ScreenSet& screens);

    StepTrigger SpinEdit3;  // scale the SOURCE picture, in the 23-colour task only

private:
    ScreenSet& screens_;
};

}  // namespace dg
