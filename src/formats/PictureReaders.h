#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "imaging/RgbImage.h"

namespace dg {

// Decodes a picture file into a 24-bit picture the way intake does: the content readers in
// their probe order first, then the reader registered for the file's extension. Transparent
// areas come out white. Throws Failure with the reader's message when the file cannot be read.
RgbImage readPicture(const std::string& path);

// The same for a file already in memory, its reader chosen by the given extension (without
// the dot) when no content reader takes it. The path, if known, lets a reader find a file
// lying beside the picture (a Dr. Halo palette); allowExternalPrograms = false keeps
// Ghostscript out (the fuzzer runs millions of files through here).
struct PictureReadOptions {
    std::string path;
    bool allowExternalPrograms = true;
};
RgbImage readPictureBytes(const std::uint8_t* data, std::size_t size, const std::string& extension,
                          const PictureReadOptions& options = {});

// The filter list of the open-picture dialog: "Description|*.a;*.b|Description|*.c|...",
// all readable extensions first.
std::string pictureDialogFilter();

// A clipboard bitmap in the Windows DIB layout (BITMAPINFOHEADER, optional palette or
// bit masks, then the rows) as a 24-bit picture with the same colours.
RgbImage clipboardDibToRgb(const std::uint8_t* data, std::size_t size);

}  // namespace dg
