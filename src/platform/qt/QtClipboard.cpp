#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "formats/PictureReaders.h"
#include "platform/qt/QtImage.h"

namespace dg {

QtClipboard::QtClipboard() {
    changed_ = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged,
                                [this] { hasBitmap_.reset(); });
}

QtClipboard::~QtClipboard() { QObject::disconnect(changed_); }

bool QtClipboard::hasBitmap() const {
    if (!hasBitmap_) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        hasBitmap_ = data != nullptr && data->hasImage();
    }
    return *hasBitmap_;
}

RgbImage QtClipboard::bitmap() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    // A device-independent bitmap, as Windows programs put on the clipboard, is read by the
    // program's own DIB reader so that every header and palette form comes out the same as
    // in a BMP file; anything else Qt decodes.
    static const QString dibFormat =
        QStringLiteral("application/x-qt-windows-mime;value=\"DeviceIndependentBitmap\"");
    if (const QMimeData* data = clipboard->mimeData(); data != nullptr && data->hasFormat(dibFormat)) {
        const QByteArray dib = data->data(dibFormat);
        if (!dib.isEmpty())
            return clipboardDibToRgb(reinterpret_cast<const std::uint8_t*>(dib.constData()),
                                     static_cast<std::size_t>(dib.size()));
    }
    return rgbFromQImage(clipboard->image());
}

}  // namespace dg
