#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

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
    return rgbFromQImage(QGuiApplication::clipboard()->image());
}

}  // namespace dg
