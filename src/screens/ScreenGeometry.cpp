#include "screens/ScreenGeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace dg {

void placeAsWorkingScreen(QWidget* screen) {
    screen->resize(kWorkingScreenSize);
    screen->move(0, 0);
}

ViewerPlaces viewerPlaces(const QRect& available, const QMargins& frame) {
    const int frameWidth = frame.left() + frame.right();
    const int frameHeight = frame.top() + frame.bottom();
    const QRect working(available.topLeft(), kWorkingScreenSize.grownBy(frame));
    const int left = working.right() + 1;
    const int freeWidth = available.right() + 1 - left - frameWidth;
    // Both heights shrink by one factor, so the two keep their proportion to each other.
    const int freeHeight = available.height() - 2 * frameHeight;
    const int ownHeights = kSourceViewerSize.height() + kResultViewerSize.height();
    const double shrink = std::min(1.0, static_cast<double>(freeHeight) / ownHeights);
    const int sourceHeight = static_cast<int>(kSourceViewerSize.height() * shrink);
    const int resultHeight = static_cast<int>(kResultViewerSize.height() * shrink);
    if (freeWidth < kNarrowestViewer || sourceHeight < kLowestViewer || resultHeight < kLowestViewer)
        return {QRect(QPoint(1, 295), kSourceViewerSize.grownBy(frame)),
                QRect(QPoint(298, 295), kResultViewerSize.grownBy(frame))};
    const QSize source(std::min(kSourceViewerSize.width(), freeWidth), sourceHeight);
    const QSize result(std::min(kResultViewerSize.width(), freeWidth), resultHeight);
    const QRect sourcePlace(QPoint(left, available.top()), source.grownBy(frame));
    return {sourcePlace, QRect(QPoint(left, sourcePlace.bottom() + 1), result.grownBy(frame))};
}

QRect contentsOf(const QRect& place, const QMargins& frame) { return place.marginsRemoved(frame); }

namespace {

void placeViewer(QWidget* viewer, QRect ViewerPlaces::*which) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    const QRect place = viewerPlaces(available, kAssumedFrame).*which;
    // A window's position is that of its frame; its size that of its contents.
    viewer->move(place.topLeft());
    viewer->resize(contentsOf(place, kAssumedFrame).size());
}

}  // namespace

void placeAsSourceViewer(QWidget* viewer) { placeViewer(viewer, &ViewerPlaces::source); }
void placeAsResultViewer(QWidget* viewer) { placeViewer(viewer, &ViewerPlaces::result); }

}  // namespace dg
