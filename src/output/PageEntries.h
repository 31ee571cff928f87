#pragma once

#include <array>
#include <string>

#include "imaging/Color.h"
#include "separation/ChannelModel.h"

namespace dg {

inline constexpr const char* kStencilCaption = "STENCIL";
inline constexpr const char* kResultCaption = "RESULT";
inline constexpr const char* kColorMatchingCaption = "COLOR MATCHING";
// A channel's caption is this followed by its running number among the shown channels.
inline constexpr const char* kChannelCaptionPrefix = "Channel # ";

// One tickable page of the printing screen. The ticks are the print queue.
struct PageEntry {
    std::string caption;
    ColorValue color = kNoColor;  // the caption's colour; channel entries only
    bool shown = false;
    bool ticked = false;
};

// The 26 pages: stencil, result, colour matching and channel 1..23 (index 0..22).
struct PageEntries {
    PageEntry stencil{kStencilCaption};
    PageEntry result{kResultCaption};
    PageEntry colorMatching{kColorMatchingCaption};
    std::array<PageEntry, kChannelCount> channels;

    PageEntry& channel(int n) { return channels[static_cast<std::size_t>(n - 1)]; }
    const PageEntry& channel(int n) const { return channels[static_cast<std::size_t>(n - 1)]; }

    // "Check all" ticks every shown entry; "Uncheck all" unticks all of them.
    void checkAll();
    void uncheckAll();
    bool anyTicked() const;
};

}  // namespace dg
