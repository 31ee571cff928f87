#pragma once

#include <QWidget>

#include "imaging/RgbImage.h"

namespace dg {

class ScreenSet;

// OPTIONS: stencil, masking, corners and which pages to print; NEXT composes the pages.
class TForm028 : public QWidget {
    Q_OBJECT
public:
    explicit TForm028(ScreenSet& screens);

    // The composed stencil, read by printing, export and the project save.
    RgbImage stencil;
    // Whether the last NEXT made a stencil (the printing screen's project save writes
    // Stencil.bmp only then).
    bool stencilMade = false;

private:
    ScreenSet& screens_;
};

}  // namespace dg
