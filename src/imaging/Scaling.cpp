#include "imaging/Scaling.h"

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "imaging/Failure.h"
#include "imaging/Numbers.h"
#include "imaging/Parallel.h"
#include "imaging/Resample.h"

namespace dg {

std::int32_t outputPixels(std::int32_t whole, std::int32_t hundredths, std::int32_t dpi, MeasuringUnit unit) {
    const long double length =
        static_cast<long double>(whole) + static_cast<long double>(hundredths) / 100.0L;
    const long double inches = unit == MeasuringUnit::Centimeters ? length / 2.54L : length;
    const long double pixels = inches * static_cast<long double>(dpi);
    if (!(pixels > -0.5L && pixels < static_cast<long double>(std::numeric_limits<std::int32_t>::max()))) {
        throw Failure("The output size of " + shortestText(static_cast<double>(length)) + " at " +
                      std::to_string(dpi) + " DPI cannot be made into a picture.");
    }
    return static_cast<std::int32_t>(roundHalfEven(pixels));
}

PixelSize outputPixelSize(std::int32_t widthWhole, std::int32_t widthHundredths, std::int32_t heightWhole,
                          std::int32_t heightHundredths, std::int32_t dpi, MeasuringUnit unit) {
    return {outputPixels(widthWhole, widthHundredths, dpi, unit),
            outputPixels(heightWhole, heightHundredths, dpi, unit)};
}

PixelSize outputPixelSize(const OutputSettings& state) {
    return outputPixelSize(state.outputWidthWhole, state.outputWidthHundredths, state.outputHeightWhole,
                           state.outputHeightHundredths, state.outputDpi, state.unit);
}

bool isEnlarging(PixelSize output, const RgbImage& source) {
    if (source.empty()) return true;
    return output.width > source.width() || output.height > source.height();
}

void plainStretch(const RgbImage& source, RgbImage& target) {
    if (source.empty() || target.empty()) return;
    const std::int64_t sw = source.width(), sh = source.height();
    const std::int64_t tw = target.width(), th = target.height();
    std::vector<std::size_t> column(static_cast<std::size_t>(tw));
    for (std::int64_t x = 0; x < tw; ++x) {
        column[static_cast<std::size_t>(x)] = 3 * static_cast<std::size_t>((2 * x + 1) * sw / (2 * tw));
    }
    const auto sourceRow = [&](std::int64_t y) {
        return static_cast<std::int32_t>((2 * y + 1) * sh / (2 * th));
    };
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(tw);
    forEachRowBlock(target.height(), [&](std::int32_t begin, std::int32_t end) {
        for (std::int32_t y = begin; y < end; ++y) {
            std::uint8_t* out = target.row(y);
            // A source row taken twice in a row (enlarging) is copied from the row just made.
            if (y > begin && sourceRow(y) == sourceRow(y - 1)) {
                std::memcpy(out, target.row(y - 1), rowBytes);
                continue;
            }
            const std::uint8_t* src = source.row(sourceRow(y));
            for (std::size_t x = 0; x < column.size(); ++x, out += 3) {
                const std::uint8_t* p = src + column[x];
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
            }
        }
    });
}

void resamplingStep(const RgbImage& source, RgbImage& result, std::int32_t resampleFilter) {
    const std::int32_t width = result.width();
    const std::int32_t height = result.height();
    result.clear();
    result = source;
    if (result.empty()) return;
    ResampleInPlace(width, height, resampleFilter, 0.0f, result);
}

void scaleInto(const RgbImage& source, PixelSize output, RgbImage& result, RgbImage& destination,
               std::int32_t& resampleFilter) {
    result.reset(output.width, output.height);
    if (isEnlarging(output, source)) {
        resampleFilter = static_cast<std::int32_t>(ResampleFilter::Hermite);
        resamplingStep(source, result, resampleFilter);
        // The blank destination is made only now, so that it does not take memory while the
        // resampler needs it.
        if (result.empty()) {
            destination.reset(output.width, output.height);
        } else {
            destination = result;
        }
        return;
    }
    destination.reset(output.width, output.height);
    plainStretch(source, destination);
}

}  // namespace dg
