#pragma once

#include <QImage>

#include "imaging/RgbImage.h"

namespace dg {

// Any QImage as a 24-bit picture: palette colours resolved, translucent pixels laid over
// white (the colour uncovered areas take everywhere in the program).
RgbImage rgbFromQImage(const QImage& image);

// A read-only QImage over the picture's own rows, without copying; valid while the picture
// is neither changed in size nor destroyed.
QImage qimageView(const RgbImage& picture);

}  // namespace dg
