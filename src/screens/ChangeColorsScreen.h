#pragma once

#include <QWidget>

#include "imaging/RgbImage.h"

namespace dg {

class ScreenSet;

// CHANGE COLORS: double click a colour of the working picture to give it the SOURCE colour.
class TForm022 : public QWidget {
    Q_OBJECT
public:
    explicit TForm022(ScreenSet& screens);

    RgbImage working;  // the working picture, at the output size

    // The SOURCE viewer forwards its pointer move and double click (23-colour task only).
    void pointerMoved(int x, int y);
    void changeAtPointer();

private:
    ScreenSet& screens_;
};

}  // namespace dg
