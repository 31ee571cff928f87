#include "formats/EmfReader.h"

#include <emf2svg.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

constexpr std::uint32_t kSetWindowExtent = 9;
constexpr std::uint32_t kSetViewportExtent = 11;
constexpr std::uint32_t kSetMapMode = 17;
constexpr std::uint32_t kIsotropic = 7;
constexpr std::uint32_t kAnisotropic = 8;

void appendRecord(std::vector<std::uint8_t>& out, std::uint32_t type,
                  std::initializer_list<std::uint32_t> values) {
    for (std::uint32_t v : {type, static_cast<std::uint32_t>(8 + 4 * values.size())}) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    for (std::uint32_t v : values) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// The records as Windows plays them, for the converter. In the isotropic and anisotropic map
// modes the window and viewport extents keep their values from before (1 x 1 after the
// default mode) until a record sets them, and an extent with a zero side is refused and
// changes nothing. The converter instead divides by extents it never saw, and every
// coordinate becomes NaN (a blank picture). So: extents of 1 x 1 go in after a switch to one
// of those modes while none has been set, and zero extents are left out. Empty when the
// records need no change.
std::vector<std::uint8_t> playableRecords(const std::uint8_t* data, std::size_t length) {
    std::vector<std::uint8_t> out;
    bool changed = false;
    bool windowSet = false;
    bool viewportSet = false;
    out.reserve(length + 64);
    std::size_t at = 0;
    std::uint32_t records = 0;
    while (at < length) {
        const std::uint32_t type = bytes::le32(data + at);
        const std::size_t size = bytes::le32(data + at + 4);
        const bool extent = type == kSetWindowExtent || type == kSetViewportExtent;
        if (extent && size >= 16 && (bytes::le32(data + at + 8) == 0 || bytes::le32(data + at + 12) == 0)) {
            changed = true;
            at += size;
            continue;
        }
        if (extent && size >= 16) (type == kSetWindowExtent ? windowSet : viewportSet) = true;
        out.insert(out.end(), data + at, data + at + size);
        ++records;
        if (type == kSetMapMode && size >= 12) {
            const std::uint32_t mode = bytes::le32(data + at + 8);
            if (mode == kIsotropic || mode == kAnisotropic) {
                if (!windowSet)
                    appendRecord(out, kSetWindowExtent, {1, 1}), windowSet = changed = true, ++records;
                if (!viewportSet)
                    appendRecord(out, kSetViewportExtent, {1, 1}), viewportSet = changed = true, ++records;
            }
        }
        at += size;
    }
    // The description (a UTF-16 text the header points at) is read by the converter without a
    // check that it lies inside the header record; one that does not is dropped.
    const std::uint64_t headerSize = bytes::le32(data + 4);
    const std::uint64_t descriptionLength = bytes::le32(data + 60);
    const std::uint64_t descriptionAt = bytes::le32(data + 64);
    if ((descriptionLength != 0 || descriptionAt != 0) &&
        (descriptionAt < kHeaderSize || descriptionAt + 2 * descriptionLength > headerSize)) {
        std::fill(out.begin() + 60, out.begin() + 68, std::uint8_t{0});
        changed = true;
    }
    if (!changed) return {};
    // The header's file size and record count.
    for (auto [offset, value] : {std::pair{std::size_t{48}, static_cast<std::uint32_t>(out.size())},
                                 std::pair{std::size_t{52}, records}}) {
        for (int i = 0; i < 4; ++i) out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    return out;
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
    std::int64_t frameLeft = signed32(data + 24);
    std::int64_t frameTop = signed32(data + 28);
    std::int64_t frameRight = signed32(data + 32);
    std::int64_t frameBottom = signed32(data + 36);
    const std::int64_t devicePixelsX = signed32(data + 72);
    const std::int64_t devicePixelsY = signed32(data + 76);
    const std::int64_t deviceMmX = signed32(data + 80);
    const std::int64_t deviceMmY = signed32(data + 84);
    if (devicePixelsX <= 0 || devicePixelsY <= 0 || deviceMmX <= 0 || deviceMmY <= 0) {
        damaged("the reference device has no size");
    }
    if (frameRight <= frameLeft || frameBottom <= frameTop) damaged("the picture frame is empty");

    // The device's size in pixels and in millimetres gives its pixel in hundredths of a
    // millimetre.
    const double deviceX = static_cast<double>(devicePixelsX) / (static_cast<double>(deviceMmX) * 100.0);
    const double deviceY = static_cast<double>(devicePixelsY) / (static_cast<double>(deviceMmY) * 100.0);
    const bool drawn = boundsRight >= boundsLeft && boundsBottom >= boundsTop;
    if (drawn) {
        // The frame should hold the drawing. Some writers fill it in other units than hundredths
        // of a millimetre, and the drawing then lies in a corner of a frame many times its size,
        // or outside it: a huge blank picture. Where the frame is more than four times the
        // drawing both ways, or misses it, the drawing's own bounds make the frame.
        const double left = static_cast<double>(boundsLeft) / deviceX;
        const double top = static_cast<double>(boundsTop) / deviceY;
        const double right = static_cast<double>(boundsRight + 1) / deviceX;
        const double bottom = static_cast<double>(boundsBottom + 1) / deviceY;
        const bool tooLarge = static_cast<double>(frameRight - frameLeft) > 4 * (right - left) &&
                              static_cast<double>(frameBottom - frameTop) > 4 * (bottom - top);
        const bool misses =
            right <= static_cast<double>(frameLeft) || left >= static_cast<double>(frameRight) ||
            bottom <= static_cast<double>(frameTop) || top >= static_cast<double>(frameBottom);
        if (tooLarge || misses) {
            frameLeft = static_cast<std::int64_t>(std::floor(left));
            frameTop = static_cast<std::int64_t>(std::floor(top));
            frameRight = static_cast<std::int64_t>(std::ceil(right)) - 1;
            frameBottom = static_cast<std::int64_t>(std::ceil(bottom)) - 1;
        }
    }

    const double width = std::nearbyint(static_cast<double>(frameRight - frameLeft) * kPixelsPerHundredthMm);
    const double height = std::nearbyint(static_cast<double>(frameBottom - frameTop) * kPixelsPerHundredthMm);
    checkPictureSize(static_cast<std::int64_t>(width), static_cast<std::int64_t>(height));
    RgbImage picture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    if (!drawn) return picture;

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
    std::vector<std::uint8_t> playable = playableRecords(data, length);
    char* records = playable.empty() ? reinterpret_cast<char*>(const_cast<std::uint8_t*>(data))
                                     : reinterpret_cast<char*>(playable.data());
    const int converted =
        emf2svg(records, playable.empty() ? length : playable.size(), &svg, &svgLength, &options);
    const std::unique_ptr<char, FreeDeleter> owned(svg);
    if (converted == 0 || svg == nullptr) damaged("its records cannot be drawn");

    QSvgRenderer renderer(QByteArray(svg, static_cast<qsizetype>(svgLength)));
    if (!renderer.isValid()) damaged("its records cannot be drawn");

    // The SVG covers the bounds in device pixels; place it where the bounds lie in the frame.
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
