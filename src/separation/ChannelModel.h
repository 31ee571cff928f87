#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "imaging/Color.h"
#include "imaging/RgbImage.h"

namespace dg {

inline constexpr int kChannelCount = 23;

// The 23 fixed separation channels: the grey family with five levels and six hue families
// with three. Indices 22 and 23 are grey levels although they come last.
enum class ChannelFamily { Grey, Red, Green, Blue, Yellow, Cyan, Magenta };
enum class ChannelLevel { White, LightGrey, MidGrey, DarkGrey, Black, High, Mid, Low };

struct ChannelTableEntry {
    int index;  // 1..23
    ChannelFamily family;
    ChannelLevel level;
};

// Entry k - 1 describes separation channel k.
extern const std::array<ChannelTableEntry, kChannelCount> ChannelTable;

// Sixteen thresholds in 0..255, one per slider of the separation screen.
struct SeparationThresholds {
    int white = 200;                          // TrackBar1
    int lightGrey = 160;                      // TrackBar2
    int midGrey = 120;                        // TrackBar2a
    int black = 80;                           // TrackBar3
    int redHigh = 192, redMid = 128;          // TrackBar4, TrackBar5
    int greenHigh = 192, greenMid = 128;      // TrackBar6, TrackBar7
    int blueHigh = 192, blueMid = 128;        // TrackBar8, TrackBar9
    int yellowHigh = 192, yellowMid = 128;    // TrackBar10, TrackBar11
    int cyanHigh = 192, cyanMid = 128;        // TrackBar12, TrackBar13
    int magentaHigh = 192, magentaMid = 128;  // TrackBar14, TrackBar15

    bool operator==(const SeparationThresholds&) const = default;
};

// One colour layer of a picture. The mask holds the layer's colour (or, on the separation
// screen, each pixel's own colour) where the layer is, and the background elsewhere: white,
// or black for the white separation channel and for a pure-white channel-set layer.
struct Channel {
    ColorValue color = kNoColor;  // -1 when the layer is empty
    RgbImage mask;                // 0 x 0 when the layer is empty
    std::int32_t count = 0;
    bool checked = false;        // channel set only
    std::string percentageText;  // channel set only
    bool shown = false;          // channel set only: the tile (mask, captions, box) is on show
};

// The background colour of a layer's mask.
constexpr ColorValue maskBackground(ColorValue layerColor) { return layerColor == kWhite ? kBlack : kWhite; }

// The channels of the channels screen: channel N (1..23) is the N-th colour of the BEFORE
// picture in ascending colour value. Arrays are indexed 0..22 for channels 1..23.
struct ChannelSet {
    std::array<ColorValue, kChannelCount> colors{};  // kNoColor where no channel is
    std::array<std::int32_t, kChannelCount> counts{};
    std::int32_t total = 0;  // W x H of the picture the set was built from
    std::array<Channel, kChannelCount> channels;
    RgbImage before;
    RgbImage after;

    ChannelSet() { colors.fill(kNoColor); }
    ColorValue& colorOf(int n) { return colors[static_cast<std::size_t>(n - 1)]; }
    ColorValue colorOf(int n) const { return colors[static_cast<std::size_t>(n - 1)]; }
    Channel& channel(int n) { return channels[static_cast<std::size_t>(n - 1)]; }
    const Channel& channel(int n) const { return channels[static_cast<std::size_t>(n - 1)]; }
};

// The file name of channel N in a project folder: "N.bmp".
inline std::string channelFileName(int n) { return std::to_string(n) + ".bmp"; }

}  // namespace dg
