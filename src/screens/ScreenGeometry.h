#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace dg {

// Working screens cover the desktop from its top left corner, at this size.
inline constexpr QSize kWorkingScreenSize{1020, 730};
void placeAsWorkingScreen(QWidget* screen);

// Where the SOURCE and RESULT viewers stand, as whole windows (title bar and borders
// included).
struct ViewerPlaces {
    QRect source;
    QRect result;
};

// The viewers' own sizes, which they keep wherever there is room for them.
inline constexpr QSize kSourceViewerSize{296, 439};
inline constexpr QSize kResultViewerSize{719, 440};
// Narrower or lower than this, a viewer has no room for its zoom buttons and shows too
// little of its picture.
inline constexpr int kNarrowestViewer = 280;
inline constexpr int kLowestViewer = 140;

// The rule: the working screen stands at the top left of the available desktop (a window
// manager keeps a window asked for at (0, 0) off a panel on the desktop's edge); the viewers
// stand in the width it leaves free on its right, SOURCE above RESULT, never over it. Each
// keeps its own size where that fits and is narrowed to the free width where it does not;
// both heights shrink by one factor until the two fit the desktop's height. A desktop that
// leaves them less than kNarrowestViewer by kLowestViewer (one narrower than 1366 pixels)
// has no room beside the working screen: there the viewers keep their places over its lower
// left part, SOURCE at (1, 295), RESULT at (298, 295). `frame` is what the window system
// adds around a window's contents.
ViewerPlaces viewerPlaces(const QRect& available, const QMargins& frame);

// The contents' rectangle of a window standing at `place`.
QRect contentsOf(const QRect& place, const QMargins& frame);

// What a window manager's title bar and borders are taken to add before any window is on
// the screen to measure them (generous rather than short, so that nothing overlaps).
inline constexpr QMargins kAssumedFrame{6, 32, 6, 6};

// The SOURCE or RESULT viewer moved to its place on the primary screen.
void placeAsSourceViewer(QWidget* viewer);
void placeAsResultViewer(QWidget* viewer);

}  // namespace dg
