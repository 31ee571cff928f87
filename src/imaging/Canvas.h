#pragma once

#include <cstdint>
#include <string>

#include "imaging/RgbImage.h"

namespace dg {

// The font every page text is drawn in; the set-up installs it, so a page looks the same on
// every machine.
inline constexpr const char* kPageFontFamily = "DejaVu Sans";

// Drawing onto a picture in place: lines with a pen width, text, rectangles, pictures.
// Text needs a running QGuiApplication (the program's own, or the one a test starts).
class Canvas {
public:
    explicit Canvas(RgbImage& target);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // A line from (x0, y0) to (x1, y1), both ends included. Width 0 or 1 draws one pixel wide.
    void line(int x0, int y0, int x1, int y1, ColorValue color, int penWidth);
    // Text with its top left corner at (x, y), in kPageFontFamily at the given size in points,
    // turned into pixels with the given resolution (dots per inch).
    void text(int x, int y, const std::string& utf8, double pointSize, int dpi, ColorValue color);
    void fillRect(int x, int y, int width, int height, ColorValue color);
    // Draws source stretched (nearest neighbour, no smoothing) into the rectangle.
    void drawStretched(const RgbImage& source, int x, int y, int width, int height);

private:
    struct Impl;
    Impl* impl_;
};

}  // namespace dg
