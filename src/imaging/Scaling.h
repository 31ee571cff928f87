#pragma once

#include <cstdint>

#include "imaging/OutputSettings.h"
#include "imaging/RgbImage.h"

namespace dg {

// round(length * dpi) in inches, round(length / 2.54 * dpi) in centimetres, with length =
// whole + hundredths / 100, in extended precision and rounded half to even. Fails with a
// message for a result that is negative or beyond any picture size.
std::int32_t outputPixels(std::int32_t whole, std::int32_t hundredths, std::int32_t dpi, MeasuringUnit unit);
PixelSize outputPixelSize(std::int32_t widthWhole, std::int32_t widthHundredths, std::int32_t heightWhole,
                          std::int32_t heightHundredths, std::int32_t dpi, MeasuringUnit unit);
// From the output settings of the workflow state.
PixelSize outputPixelSize(const OutputSettings& state);

// Whether bringing source to the output size needs more pixels in either direction; an empty
// source counts as enlarging.
bool isEnlarging(PixelSize output, const RgbImage& source);

// Nearest-neighbour stretch of source over all of target (whose size is set): each target
// pixel takes the source pixel under its centre, so rows and columns are dropped (or
// repeated) evenly and nothing is averaged. Leaves target as it is when either is empty.
void plainStretch(const RgbImage& source, RgbImage& target);

// The resampling step: result is resampled, from a copy of source, to the size result has on
// entry, with the given filter of the resampler's list and its default radius. An empty source
// leaves result empty.
void resamplingStep(const RgbImage& source, RgbImage& result, std::int32_t resampleFilter);

// Brings source to the output size into destination: result becomes a blank picture of that
// size; enlarging sets resampleFilter to "Hermite" and resamples through result (which keeps
// the resampled picture; empty when source is), otherwise source is stretched over
// destination. destination always ends at the output size (blank for an empty source).
void scaleInto(const RgbImage& source, PixelSize output, RgbImage& result, RgbImage& destination,
               std::int32_t& resampleFilter);

}  // namespace dg
