#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/RgbImage.h"
#include "separation/ChannelModel.h"

namespace dg {

// The separation test of one pixel: the separation channel (1..23) of the first rule that
// matches, or 0 when none does (only possible with thresholds that break the invariants).
// Thresholds are expected within 0..255.
int separationChannel(int red, int green, int blue, const SeparationThresholds& t);

// The separation test as a table, built once per threshold change, so that a pixel costs a
// few byte lookups. Gives the same channel as separationChannel for every colour, except
// that it answers 0 for a pixel that is assigned but not counted (pure black in channel 1,
// which only happens when the white threshold is 0): such a pixel is invisible in its mask
// and stays white in the result.
class SeparationClassifier {
public:
    explicit SeparationClassifier(const SeparationThresholds& t);

    const SeparationThresholds& thresholds() const { return thresholds_; }

    // The tables by plain pointers, for pixel loops: byte stores into a picture may alias
    // anything, and would make the compiler fetch a member's pointers again per pixel.
    struct Lookup {
        const std::uint8_t* table;
        const std::uint32_t* redGreen;   // by red * 256 + green
        const std::uint32_t* greenBlue;  // by green * 256 + blue
        unsigned redBlueStride;

        // 0..23 as above, from the pixel's blue, green and red bytes.
        int channel(std::uint8_t b, std::uint8_t g, std::uint8_t r) const {
            // Red against blue compares as 0 (less), 1 (equal) or 2 (greater); the other two
            // comparisons and the components' ranks are folded into the two pair tables.
            const unsigned rb = static_cast<unsigned>(r > b) + static_cast<unsigned>(r >= b);
            return table[redGreen[(r << 8) | g] + greenBlue[(g << 8) | b] + rb * redBlueStride];
        }
    };
    Lookup lookup() const { return {table_.data(), redGreen_.data(), greenBlue_.data(), 3 * orderStride_}; }

    int countedChannel(std::uint8_t blue, std::uint8_t green, std::uint8_t red) const {
        return lookup().channel(blue, green, red);
    }

private:
    SeparationThresholds thresholds_;
    unsigned orderStride_ = 0;
    // Offsets into table_ of a pair of components: their ranks among the thresholds and
    // their comparison, premultiplied by the strides.
    std::vector<std::uint32_t> redGreen_;
    std::vector<std::uint32_t> greenBlue_;
    std::vector<std::uint8_t> table_;
};

// What the separation screen shows after one run. Arrays are indexed 0..22 for separation
// channels 1..23.
struct SeparationResult {
    RgbImage result;         // every counted pixel in its channel's mean colour, the rest white
    std::int64_t total = 0;  // W x H
    std::array<std::int64_t, kChannelCount> counts{};
    // Sums of red, green and blue; 64-bit, since 32 bits overflow past 8.4 million pixels.
    std::array<std::array<std::int64_t, 3>, kChannelCount> sums{};
    std::array<ColorValue, kChannelCount> colors{};  // rounded mean colour; kNoColor when empty
    std::array<double, kChannelCount> percentages{};
    std::array<std::string, kChannelCount> percentageTexts;  // "12.34", "0", ...

    std::int64_t countOf(int k) const { return counts[static_cast<std::size_t>(k - 1)]; }
    ColorValue colorOf(int k) const { return colors[static_cast<std::size_t>(k - 1)]; }
    const std::string& percentageTextOf(int k) const {
        return percentageTexts[static_cast<std::size_t>(k - 1)];
    }
};

// The caption shown after every percentage on the separation screen.
inline constexpr const char* kSeparationPercentCaption = " % ";

// Runs the separation as the screen does while the user drags a slider: keeps the table of
// the last thresholds and the result's memory between runs.
class Separator {
public:
    // Separates source with the given thresholds (expected clamped, see clampThresholds).
    const SeparationResult& separate(const RgbImage& source, const SeparationThresholds& t);
    const SeparationResult& lastResult() const { return result_; }
    const SeparationClassifier* classifier() const { return classifier_.get(); }

private:
    std::unique_ptr<SeparationClassifier> classifier_;
    SeparationResult result_;
    std::vector<std::uint8_t> channelMap_;
};

// One-off separation.
SeparationResult separate(const RgbImage& source, const SeparationThresholds& t);

// Mask k (1..23) of the separation: every pixel of channel k in its own colour on white (on
// black for channel 1); 0 x 0 when the channel counted no pixel. The full raster, produced
// when a screen asks for it.
RgbImage separationMask(const RgbImage& source, const SeparationClassifier& classifier, int k);
// All 23 masks in one pass over the picture (index 0..22).
std::array<RgbImage, kChannelCount> separationMasks(const RgbImage& source,
                                                    const SeparationClassifier& classifier);

// Rounds sum / count to the nearest integer, halves to even; count > 0.
std::int64_t roundedMean(std::int64_t sum, std::int64_t count);

}  // namespace dg
