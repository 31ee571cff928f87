#include "formats/EmfReader.h"

#include <emf2svg.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "formats/ByteOrder.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

// An enhanced metafile is a chain of records, each a 32-bit type and a 32-bit size (a multiple
// of 4, with its 8-byte head), starting with the header (type 1) and ending with EMR_EOF
// (type 14). The header holds, from byte 8: the bounds of the drawing in device pixels
// (left, top, right, bottom, inclusive), the picture frame in hundredths of a millimetre,
// the signature " EMF", version, file size, record count, handle count, description and
// palette fields, then the reference device's size in pixels and in millimetres.
//
// The records are drawn through libemf2svg, which turns them into an SVG in device pixels
// whose origin is the top left of the bounds, and Qt's SVG renderer. The chain is checked
// here first, so that a cut short or damaged file never reaches the library.

namespace dg {

namespace {

constexpr std::size_t kHeaderSize = 88;
constexpr std::uint32_t kHeaderRecord = 1;
constexpr std::uint32_t kEndRecord = 14;
constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
// A metafile's own size in pixels: its frame at the resolution of a screen.
constexpr double kPixelsPerHundredthMm = 96.0 / 2540.0;

[[noreturn]] void damaged(const std::string& what) { throw Failure("Damaged metafile: " + what + "."); }

std::int64_t signed32(const std::uint8_t* p) { return static_cast<std::int32_t>(bytes::le32(p)); }

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

// Where the record chain ends (just after EMR_EOF).
std::size_t checkRecords(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 0;
    while (true) {
        if (size - at < 8) damaged("the records are cut short");
        const std::uint32_t type = bytes::le32(data + at);
        const std::uint64_t length = bytes::le32(data + at + 4);
        if (length < 8 || length % 4 != 0) damaged("a record has a bad size");
        if (length > size - at) damaged("the records are cut short");
        if (at == 0 && (type != kHeaderRecord || length < kHeaderSize))
            damaged("the header record is missing");
        at += static_cast<std::size_t>(length);
        if (type == kEndRecord) return at;
    }
}

}  // namespace

RgbImage decodeEmf(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderSize || bytes::le32(data) != kHeaderRecord || bytes::le32(data + 40) != kSignature) {
        throw Failure("Not an enhanced metafile.");
    }
    const std::size_t length = checkRecords(data, size);

    const std::int64_t boundsLeft = signed32(data + 8);
    const std::int64_t boundsTop = signed32(data + 12);
    const std::int64_t boundsRight = signed32(data + 16);
    const std::int64_t boundsBottom = signed32(data + 20);
    const std::int64_t frameLeft = signed32(data + 24);
    const std::int64_t frameTop = signed32(data + 28);
    const std::int64_t frameRight = signed32(data + 32);
    const std::int64_t frameBottom = signed32(data + 36);
    const std::int64_t devicePixelsX = signed32(data + 72);
    const std::int64_t devicePixelsY = signed32(data + 76);
    const std::int64_t deviceMmX = signed32(data + 80);
    const std::int64_t deviceMmY = signed32(data + 84);
    if (devicePixelsX <= 0 || devicePixelsY <= 0 || deviceMmX <= 0 || deviceMmY <= 0) {
        damaged("the reference device has no size");
    }
    if (frameRight <= frameLeft || frameBottom <= frameTop) damaged("the picture frame is empty");

    const double width = std::nearbyint(static_cast<double>(frameRight - frameLeft) * kPixelsPerHundredthMm);
    const double height = std::nearbyint(static_cast<double>(frameBottom - frameTop) * kPixelsPerHundredthMm);
    checkPictureSize(static_cast<std::int64_t>(width), static_cast<std::int64_t>(height));
    RgbImage picture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    if (boundsRight < boundsLeft || boundsBottom < boundsTop) return picture;  // nothing drawn

    // Text records need the font database, which only a running GUI application has.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        throw Failure("Metafiles can only be drawn while the program's windows are running.");
    }

    generatorOptions options{};
    char noNamespace[] = "";
    options.nameSpace = noNamespace;
    options.svgDelimiter = true;
    options.emfplus = false;  // dual files carry plain records for every EMF+ drawing
    char* svg = nullptr;
    std::size_t svgLength = 0;
    // The library takes a mutable buffer but does not change it.
    const int converted =
        emf2svg(reinterpret_cast<char*>(const_cast<std::uint8_t*>(data)), length, &svg, &svgLength, &options);
    const std::unique_ptr<char, FreeDeleter> owned(svg);
    if (converted == 0 || svg == nullptr) damaged("its records cannot be drawn");

    QSvgRenderer renderer(QByteArray(svg, static_cast<qsizetype>(svgLength)));
    if (!renderer.isValid()) damaged("its records cannot be drawn");

    // The SVG covers the bounds in device pixels; place it where the bounds lie in the frame.
    const double deviceX = static_cast<double>(devicePixelsX) / (static_cast<double>(deviceMmX) * 100.0);
    const double deviceY = static_cast<double>(devicePixelsY) / (static_cast<double>(deviceMmY) * 100.0);
    const double scaleX = width / (static_cast<double>(frameRight - frameLeft) * deviceX);
    const double scaleY = height / (static_cast<double>(frameBottom - frameTop) * deviceY);
    const QRectF target((static_cast<double>(boundsLeft) - static_cast<double>(frameLeft) * deviceX) * scaleX,
                        (static_cast<double>(boundsTop) - static_cast<double>(frameTop) * deviceY) * scaleY,
                        static_cast<double>(boundsRight - boundsLeft) * scaleX,
                        static_cast<double>(boundsBottom - boundsTop) * scaleY);

    QImage canvas(picture.width(), picture.height(), QImage::Format_RGB32);
    if (canvas.isNull()) {
        throw Failure("Not enough memory for a picture of " + std::to_string(picture.width()) + " x " +
                      std::to_string(picture.height()) + " pixels.");
    }
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, target);
    }
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        std::uint8_t* out = picture.row(y);
        for (std::int32_t x = 0; x < picture.width(); ++x, out += 3) {
            out[0] = static_cast<std::uint8_t>(qBlue(in[x]));
            out[1] = static_cast<std::uint8_t>(qGreen(in[x]));
            out[2] = static_cast<std::uint8_t>(qRed(in[x]));
        }
    }
    return picture;
}

}  // namespace dg
