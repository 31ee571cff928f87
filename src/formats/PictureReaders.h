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

// The filter list of the open-picture dialog: "Description|*.a;*.b|Description|*.c|...",
// all readable extensions first.
std::string pictureDialogFilter();

// A clipboard bitmap in the Windows DIB layout (BITMAPINFOHEADER, optional palette or
// bit masks, then the rows) as a 24-bit picture with the same colours.
RgbImage clipboardDibToRgb(const std::uint8_t* data, std::size_t size);

}  // namespace dg
