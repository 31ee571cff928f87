#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/RgbImage.h"

namespace dg {

// The bytes of one picture file and what a reader may need besides them.
struct PictureSource {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    // The file's path; empty for bytes that come from elsewhere. A Dr. Halo picture finds its
    // palette file beside it through this.
    std::string path;
    // Encapsulated PostScript is rendered by Ghostscript, a separate program.
    bool allowExternalPrograms = true;
};

struct PictureReader {
    const char* name;
    // Content readers: whether the file's first bytes are theirs. Null for readers that are
    // found only through their extensions.
    bool (*probe)(const std::uint8_t* data, std::size_t size);
    RgbImage (*decode)(const PictureSource& source);
};

struct ReaderRegistration {
    const char* extension;  // lower case, without the dot
    const char* description;
    const PictureReader* reader;
};

// The 45 registrations in the order they are made: the first generation of the extension
// readers, then the second generation together with the content readers.
const std::vector<ReaderRegistration>& readerRegistrations();

// The content readers in the order they are offered a file.
const std::vector<const PictureReader*>& contentReaders();

// The first content reader that accepts the bytes, or null.
const PictureReader* contentReaderFor(const std::uint8_t* data, std::size_t size);

// The reader of the latest registration of this extension (any case, without the dot), or
// null when no registration has it.
const PictureReader* readerForExtension(const std::string& extension);

}  // namespace dg
