#pragma once

#include <optional>
#include <string>

namespace dg {

// What the print system says about one queue: the resolution it prints at by default and the
// unprintable margins of a paper size. Lengths are in hundredths of a millimetre, on the paper
// held upright (portrait), as the print system keeps them.
struct PaperMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The queue's default vertical resolution in dots per inch: the user's or the queue's
// "printer-resolution" or "Resolution" option, else the queue's own default. Nothing when the
// print system does not know the queue or reports no resolution.
std::optional<int> queueResolution(const std::string& queue);

// The margins the queue cannot print on for paper of this size (hundredths of a millimetre,
// portrait). Nothing when the print system does not know the queue or the size.
std::optional<PaperMargins> queueMargins(const std::string& queue, int widthHundredthsMm,
                                         int lengthHundredthsMm);

// A resolution option's text ("300dpi", "300x600dpi", "118dpcm") as vertical dots per inch.
std::optional<int> parseResolution(const std::string& text);

}  // namespace dg
