#include "formats/MagickReader.h"

#include <magick/api.h>

#include <cctype>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "formats/AlphaOverWhite.h"
#include "imaging/Failure.h"

namespace dg {

namespace {

std::once_flag gMagickOnce;

// The library keeps each picture in a pixel cache of 8 bytes a pixel (16 bits a sample), in
// memory. Its own limits stop a decoder that trusts a header before it allocates: no side or
// pixel count beyond the program's limits, no more memory than a picture of the largest size
// needs (with room for a decoder's buffers), and no cache on disk or in mapped files at all,
// where a picture that does not fit in memory would otherwise go.
constexpr std::int64_t kCacheBytesPerPixel = 8;
constexpr std::int64_t kDecoderRoom = std::int64_t{256} << 20;

void setLimits(const PictureLimits& limits) {
    SetMagickResourceLimit(WidthResource, limits.maxSide);
    SetMagickResourceLimit(HeightResource, limits.maxSide);
    SetMagickResourceLimit(PixelsResource, limits.maxPixels);
    SetMagickResourceLimit(MemoryResource, limits.maxPixels * kCacheBytesPerPixel + kDecoderRoom);
    SetMagickResourceLimit(MapResource, 0);
    SetMagickResourceLimit(DiskResource, 0);
}

}  // namespace

void ensureMagick() {
    std::call_once(gMagickOnce, [] {
        ExceptionInfo exception;
        GetExceptionInfo(&exception);
        // The program has its own signal handling; the library must not install any.
        InitializeMagickEx(nullptr, MAGICK_OPT_NO_SIGNAL_HANDER, &exception);
        DestroyExceptionInfo(&exception);
        setLimits(pictureLimits());
    });
}

namespace {

struct ImageInfoDeleter {
    void operator()(ImageInfo* info) const { DestroyImageInfo(info); }
};
struct ImageDeleter {
    void operator()(Image* image) const { DestroyImageList(image); }
};

class ExceptionGuard {
public:
    ExceptionGuard() { GetExceptionInfo(&info); }
    ~ExceptionGuard() { DestroyExceptionInfo(&info); }
    ExceptionGuard(const ExceptionGuard&) = delete;
    ExceptionGuard& operator=(const ExceptionGuard&) = delete;
    ExceptionInfo info;
};

// The library's reasons are short phrases ("Improper image header"); the message names the
// file's kind around them. A picture beyond the resource limits is told as the program's own
// size check tells it.
std::string messageOf(const ExceptionInfo& exception, const char* magick) {
    std::string reason = exception.reason != nullptr ? exception.reason : "";
    if (exception.severity == ResourceLimitError) {
        return std::string("The picture is too large to open (") +
               (reason.empty() ? "beyond the limits" : reason) + ").";
    }
    if (reason.empty()) return std::string("The ") + magick + " file cannot be read.";
    if (!reason.empty() && reason.back() == '.') reason.pop_back();
    if (reason.size() > 1 && std::isupper(static_cast<unsigned char>(reason[0])) &&
        std::islower(static_cast<unsigned char>(reason[1]))) {
        reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    }
    return std::string("The ") + magick + " file cannot be read: " + reason + ".";
}

void copyString(char (&target)[MaxTextExtent], const std::string& text) {
    const std::size_t n = std::min(text.size(), std::size_t{MaxTextExtent - 1});
    std::memcpy(target, text.data(), n);
    target[n] = '\0';
}

}  // namespace

void applyMagickLimits(const PictureLimits& limits) {
    ensureMagick();
    setLimits(limits);
}

RgbImage decodeWithMagick(const std::uint8_t* data, std::size_t size, const MagickRequest& request) {
    ensureMagick();
    if (size == 0) throw Failure(std::string("The ") + request.magick + " file is empty.");
    std::unique_ptr<ImageInfo, ImageInfoDeleter> info(CloneImageInfo(nullptr));
    if (!info) throw Failure("Out of memory.");
    copyString(info->magick, request.magick);
    // The registry has chosen the format: the library must not guess another one from the
    // bytes (a PostScript file would then go to Ghostscript through the library's delegate,
    // without the limits the EPS reader sets).
    info->affirm = MagickTrue;
    // The format named in front of the name as well: the library reads that as the caller's
    // final word on the format.
    copyString(info->filename, std::string(request.magick) + ":" +
                                   (request.path.empty() ? std::string("picture") : request.path));
    std::string density;
    if (request.density > 0) {
        density = std::to_string(request.density) + "x" + std::to_string(request.density);
        info->density = AcquireString(density.c_str());
    }
    ExceptionGuard exception;
    std::unique_ptr<Image, ImageDeleter> list;
    if (request.readFromPath && !request.path.empty()) {
        copyString(info->filename, std::string(request.magick) + ":" + request.path);
        list.reset(ReadImage(info.get(), &exception.info));
    } else {
        list.reset(BlobToImage(info.get(), data, size, &exception.info));
    }
    if (!list || exception.info.severity >= ErrorException) {
        throw Failure(messageOf(exception.info, request.magick));
    }
    const Image* image = list.get();
    if (request.largestFrame) {
        for (const Image* frame = list.get(); frame != nullptr; frame = frame->next) {
            if (static_cast<std::uint64_t>(frame->columns) * frame->rows >
                static_cast<std::uint64_t>(image->columns) * image->rows) {
                image = frame;
            }
        }
    }
    checkPictureSize(static_cast<std::int64_t>(image->columns), static_cast<std::int64_t>(image->rows));
    const auto width = static_cast<std::int32_t>(image->columns);
    const auto height = static_cast<std::int32_t>(image->rows);
    RgbImage picture(width, height);
    if (!image->matte) {
        for (std::int32_t y = 0; y < height; ++y) {
            if (!DispatchImage(image, 0, y, image->columns, 1, "BGR", CharPixel, picture.row(y),
                               &exception.info)) {
                throw Failure(messageOf(exception.info, request.magick));
            }
        }
        return picture;
    }
    std::vector<std::uint8_t> rowBuffer(static_cast<std::size_t>(width) * 4);
    for (std::int32_t y = 0; y < height; ++y) {
        if (!DispatchImage(image, 0, y, image->columns, 1, "BGRA", CharPixel, rowBuffer.data(),
                           &exception.info)) {
            throw Failure(messageOf(exception.info, request.magick));
        }
        bgraRowOverWhite(rowBuffer.data(), picture.row(y), width);
    }
    return picture;
}

}  // namespace dg
