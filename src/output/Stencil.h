#pragma once

#include "imaging/RgbImage.h"

namespace dg {

// The stencil outline of a picture with threshold T: every pixel on a boundary between two
// colours that differ by more than T in red, green or blue keeps its colour, everything else
// becomes white, so each boundary is drawn two pixels wide, each side in its own colour. A
// neighbour outside the picture reads as white, so shapes touching the border are outlined
// along it.
//
// Pixels are visited column by column (x outer, y inner) with a last-edge colour L, the
// colour of the most recent edge pixel; a pixel whose colour differs from L by more than T is
// an edge too. Before the first edge of a pass there is no L yet, and the comparisons with L
// are skipped: a picture that starts with a flat area is not given a spurious edge at its top
// left corner.
RgbImage stencilOutline(const RgbImage& picture, int threshold);

// Flips left to right in place: pixel x goes to width - 1 - x.
void mirrorLeftRight(RgbImage& picture);

// "STENCIL IN BLACK": every pixel with any component other than 255 becomes black.
void blackenStencil(RgbImage& picture);

// The pure-white channel's mask (white on black) turned into black on white: a pixel with all
// three components other than 255 becomes white, a pure-white pixel becomes black, any other
// pixel stays.
void invertWhiteChannelMask(RgbImage& mask);

// Four L-shaped corner marks of length `size` in black, drawn with a pen of `penWidth` pixels
// (0 draws one pixel wide) from point to point: (0, S) - (0, 0) - (S, 0), and the same at the
// other three corners. Lines longer than the picture simply leave it.
void drawCornerMarks(RgbImage& picture, int size, int penWidth);

}  // namespace dg
