#include "platform/qt/QtImage.h"

namespace dg {

RgbImage rgbFromQImage(const QImage& image) {
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) return {};
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    RgbImage out(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint8_t* o = out.row(y);
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = in[x];
            const int a = qAlpha(p);
            const int white = 255 * (255 - a);
            // Rounded to nearest so that opaque pixels keep their bytes exactly.
            o[0] = static_cast<std::uint8_t>((qBlue(p) * a + white + 127) / 255);
            o[1] = static_cast<std::uint8_t>((qGreen(p) * a + white + 127) / 255);
            o[2] = static_cast<std::uint8_t>((qRed(p) * a + white + 127) / 255);
            o += 3;
        }
    }
    return out;
}

QImage qimageView(const RgbImage& picture) {
    if (picture.empty()) return {};
    return QImage(picture.data(), picture.width(), picture.height(), static_cast<qsizetype>(picture.stride()),
                  QImage::Format_BGR888);
}

}  // namespace dg
