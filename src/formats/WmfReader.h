#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/RgbImage.h"

namespace dg {

// Windows metafiles (.wmf), with or without the placeable header, drawn at 96 pixels per inch
// like enhanced metafiles. The record chain is checked first, so that a cut short or damaged
// file is refused with a message before the drawing library sees it.
RgbImage decodeWmf(const std::uint8_t* data, std::size_t size);

}  // namespace dg
