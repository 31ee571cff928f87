#include "formats/PictureReaders.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/stat.h>

#include "formats/Bmp.h"
#include "formats/ReaderRegistry.h"
#include "imaging/Failure.h"

namespace dg {

namespace {

std::string extensionOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot + 1);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

[[noreturn]] void cannotOpen(const std::string& path, int error) {
    throw Failure("Cannot open file \"" + path + "\". " + std::strerror(error) + ".");
}

std::vector<std::uint8_t> readWholeFile(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) cannotOpen(path, errno);
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0) cannotOpen(path, errno);
    if (!S_ISREG(info.st_mode)) cannotOpen(path, EISDIR);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        cannotOpen(path, std::ferror(file.get()) ? errno : EIO);
    }
    return bytes;
}

}  // namespace

RgbImage readPictureBytes(const std::uint8_t* data, std::size_t size, const std::string& extension,
                          const PictureReadOptions& options) {
    const PictureReader* reader = contentReaderFor(data, size);
    if (reader == nullptr) reader = readerForExtension(extension);
    if (reader == nullptr) throw Failure("Unknown picture file extension (." + extension + ")");
    PictureSource source;
    source.data = data;
    source.size = size;
    source.path = options.path;
    source.allowExternalPrograms = options.allowExternalPrograms;
    return reader->decode(source);
}

RgbImage readPicture(const std::string& path) {
    const std::vector<std::uint8_t> bytes = readWholeFile(path);
    PictureReadOptions options;
    options.path = path;
    return readPictureBytes(bytes.data(), bytes.size(), extensionOf(path), options);
}

std::string pictureDialogFilter() {
    const auto& registrations = readerRegistrations();
    std::string all;
    std::string entries;
    for (auto it = registrations.rbegin(); it != registrations.rend(); ++it) {
        const std::string pattern = std::string("*.") + it->extension;
        if (!all.empty()) all += ';';
        all += pattern;
        entries += '|';
        entries += std::string(it->description) + " (" + pattern + ")|" + pattern;
    }
    return "All (" + all + ")|" + all + entries;
}

RgbImage clipboardDibToRgb(const std::uint8_t* data, std::size_t size) { return decodeDib(data, size); }

}  // namespace dg
