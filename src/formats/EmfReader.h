#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// Windows enhanced metafiles (.emf), drawn onto white paper at the size of the picture frame
// in their header, at 96 pixels per inch. Found by extension only.
RgbImage decodeEmf(const std::uint8_t* data, std::size_t size);

}  // namespace dg
