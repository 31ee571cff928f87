#include "formats/TiffReader.h"

#include <tiffio.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "formats/AlphaOverWhite.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

namespace dg {

namespace {

struct MemoryFile {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    std::string error;
};

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t length) {
    auto* file = static_cast<MemoryFile*>(handle);
    if (length < 0) return -1;
    const std::size_t n = std::min(static_cast<std::size_t>(length), file->size - file->at);
    std::memcpy(buffer, file->data + file->at, n);
    file->at += n;
    return static_cast<tmsize_t>(n);
}
tmsize_t writeProc(thandle_t, void*, tmsize_t) { return -1; }
toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR) base = file->at;
    if (whence == SEEK_END) base = file->size;
    const std::uint64_t target = base + offset;
    // libtiff may seek past the end to probe; reads there just return nothing.
    file->at = static_cast<std::size_t>(std::min<std::uint64_t>(target, file->size));
    return target;
}
int closeProc(thandle_t) { return 0; }
toff_t sizeProc(thandle_t handle) { return static_cast<MemoryFile*>(handle)->size; }
int mapProc(thandle_t handle, void** base, toff_t* size) {
    auto* file = static_cast<MemoryFile*>(handle);
    *base = const_cast<std::uint8_t*>(file->data);
    *size = file->size;
    return 1;
}
void unmapProc(thandle_t, void*, toff_t) {}

int onError(TIFF*, void* userData, const char*, const char* format, va_list args) {
    auto* file = static_cast<MemoryFile*>(userData);
    if (file->error.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        file->error = text;
    }
    return 1;
}
// Most warnings are harmless (unknown tags), but a tag that lies past the end of a cut-short
// file is dropped with a warning, and libtiff then guesses: a palette picture without its
// palette comes out grey. Such a file is damaged.
int onWarning(TIFF*, void* userData, const char*, const char* format, va_list args) {
    auto* file = static_cast<MemoryFile*>(userData);
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    if (std::strstr(text, "IO error") != nullptr && file->error.empty()) file->error = text;
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

// libtiff's reasons carry the file's name ("picture: ") and, for a tag lying past the end of
// a cut-short file, the warning's own tail ("; tag ignored"); the user hears what is wrong.
std::string plainReason(std::string reason) {
    if (reason.find("IO error") != std::string::npos || reason.find("Read error") != std::string::npos ||
        reason.find("past end") != std::string::npos) {
        return "it is cut short (part of it lies past the end of the file)";
    }
    static const char kName[] = "picture: ";
    if (reason.rfind(kName, 0) == 0) reason.erase(0, sizeof kName - 1);
    while (!reason.empty() && (reason.back() == '.' || reason.back() == ' ')) reason.pop_back();
    if (reason.size() > 1 && std::isupper(static_cast<unsigned char>(reason[0])) &&
        std::islower(static_cast<unsigned char>(reason[1]))) {
        reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    }
    return reason;
}

[[noreturn]] void fail(const MemoryFile& file, const char* fallback) {
    throw Failure("The TIFF file is damaged: " + plainReason(file.error.empty() ? fallback : file.error) +
                  ".");
}

}  // namespace

RgbImage decodeTiff(const std::uint8_t* data, std::size_t size) {
    if (size == 0) throw Failure("The TIFF file is empty.");
    MemoryFile file{data, size};
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, onError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options, onWarning, &file);
    // A damaged directory may claim huge strips; no single allocation beyond this.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, 512 * 1024 * 1024);
    std::unique_ptr<TIFF, TiffCloser> tif(TIFFClientOpenExt("picture", "rm", &file, readProc, writeProc,
                                                            seekProc, closeProc, sizeProc, mapProc, unmapProc,
                                                            options));
    TIFFOpenOptionsFree(options);
    if (!tif || !file.error.empty()) fail(file, "not a TIFF file");
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    checkPictureSize(width, height);
    char reason[1024] = {};
    if (!TIFFRGBAImageOK(tif.get(), reason)) {
        throw Failure("The TIFF file cannot be read: " + plainReason(reason) + ".");
    }
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
    if (!TIFFReadRGBAImageOriented(tif.get(), width, height, raster.data(), ORIENTATION_TOPLEFT, 1)) {
        fail(file, "the pixel data is damaged");
    }
    const auto w = static_cast<std::int32_t>(width);
    const auto h = static_cast<std::int32_t>(height);
    RgbImage picture(w, h);
    for (std::int32_t y = 0; y < h; ++y) {
        const std::uint32_t* in = raster.data() + static_cast<std::size_t>(y) * width;
        std::uint8_t* out = picture.row(y);
        for (std::int32_t x = 0; x < w; ++x, out += 3) {
            const std::uint32_t p = in[x];
            // libtiff hands back premultiplied colour, so white shows through as 255 - alpha.
            const unsigned white = 255 - TIFFGetA(p);
            out[0] = static_cast<std::uint8_t>(std::min(255u, TIFFGetB(p) + white));
            out[1] = static_cast<std::uint8_t>(std::min(255u, TIFFGetG(p) + white));
            out[2] = static_cast<std::uint8_t>(std::min(255u, TIFFGetR(p) + white));
        }
    }
    return picture;
}

}  // namespace dg
