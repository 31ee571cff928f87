#pragma once

#include "imaging/RgbImage.h"

namespace dg {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Whether the clipboard holds a bitmap now.
    virtual bool hasBitmap() const = 0;
    // The bitmap as a 24-bit picture (palette colours resolved); empty when there is none.
    virtual RgbImage bitmap() const = 0;
};

}  // namespace dg
