#include <gtest/gtest.h>

#include <ostream>

#include "screens/ScreenGeometry.h"

namespace dg::test {
namespace {

struct Desktop {
    const char* name;
    QRect available;
    QMargins frame;
    bool beside;  // room for the viewers beside the working screen
};

void PrintTo(const Desktop& d, std::ostream* os) { *os << d.name; }

class ViewerPlaces : public ::testing::TestWithParam<Desktop> {};

// Beside the working screen, the viewers never cover any of it (its buttons included) and
// stay on the desktop, each whole and apart from the other; without room, they keep their
// old places over the working screen's lower left.
TEST_P(ViewerPlaces, BesideTheWorkingScreenWhereverThereIsRoom) {
    const Desktop& d = GetParam();
    const dg::ViewerPlaces places = viewerPlaces(d.available, d.frame);
    if (!d.beside) {
        EXPECT_EQ(places.source, QRect(QPoint(1, 295), kSourceViewerSize.grownBy(d.frame)));
        EXPECT_EQ(places.result, QRect(QPoint(298, 295), kResultViewerSize.grownBy(d.frame)));
        return;
    }
    const QRect working(d.available.topLeft(), kWorkingScreenSize.grownBy(d.frame));
    for (const QRect& place : {places.source, places.result}) {
        EXPECT_FALSE(place.intersects(working)) << place.x() << "," << place.y();
        EXPECT_TRUE(d.available.contains(place)) << place.x() << "," << place.y();
        const QSize contents = contentsOf(place, d.frame).size();
        EXPECT_GE(contents.width(), kNarrowestViewer);
        EXPECT_GE(contents.height(), kLowestViewer);
    }
    EXPECT_FALSE(places.source.intersects(places.result));
    EXPECT_LE(contentsOf(places.source, d.frame).width(), kSourceViewerSize.width());
    EXPECT_LE(contentsOf(places.result, d.frame).width(), kResultViewerSize.width());
    // Where the desktop holds them, they keep their own sizes.
    if (d.available.width() >= 1920) {
        EXPECT_EQ(contentsOf(places.source, d.frame).size(), kSourceViewerSize);
        EXPECT_EQ(contentsOf(places.result, d.frame).size(), kResultViewerSize);
    }
}

constexpr QMargins kNoFrame{0, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Desktops, ViewerPlaces,
    ::testing::Values(Desktop{"1366x768", {0, 0, 1366, 768}, kAssumedFrame, true},
                      Desktop{"1366x768_no_window_manager", {0, 0, 1366, 768}, kNoFrame, true},
                      Desktop{"1366x768_panel_below", {0, 0, 1366, 736}, kAssumedFrame, true},
                      Desktop{"1600x1000", {0, 0, 1600, 1000}, kAssumedFrame, true},
                      Desktop{"1920x1080", {0, 0, 1920, 1080}, kAssumedFrame, true},
                      Desktop{"1920x1080_panel_left", {64, 0, 1856, 1080}, kAssumedFrame, true},
                      Desktop{"2560x1440", {0, 0, 2560, 1440}, kAssumedFrame, true},
                      Desktop{"1280x800", {0, 0, 1280, 800}, kAssumedFrame, false},
                      Desktop{"1024x768", {0, 0, 1024, 768}, kNoFrame, false}),
    [](const ::testing::TestParamInfo<Desktop>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dg::test
