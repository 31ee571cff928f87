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

// What the print system says of a queue, asked once: its default vertical resolution in dots
// per inch (the user's or the queue's "printer-resolution" or "Resolution" option, else the
// queue's own default) and the margins it cannot print on for paper of the given size
// (hundredths of a millimetre, portrait). Each is missing when the print system does not know
// the queue or does not report it.
struct QueueSettings {
    std::optional<int> dpi;
    std::optional<PaperMargins> margins;
};
QueueSettings queueSettings(const std::string& queue, int widthHundredthsMm, int lengthHundredthsMm);

// A resolution option's text ("300dpi", "300x600dpi", "118dpcm") as vertical dots per inch.
std::optional<int> parseResolution(const std::string& text);

}  // namespace dg
