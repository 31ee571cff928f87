#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>
#include <string>
#include <vector>

#include "screens/ViewersOnTop.h"

namespace dg::test {
namespace {

// The viewers go back on top once a newly shown window is up: the visible ones only, in
// their order, once per turn of the event loop however many windows were shown.
TEST(ViewersOnTop, RaisesTheVisibleViewersAfterAnyWindowIsShown) {
    QWidget source, result, preview, screen, other;
    source.setObjectName("source");
    result.setObjectName("result");
    preview.setObjectName("preview");
    std::vector<std::string> raised;
    ViewersOnTop keeper({&source, &result, &preview}, {&source, &result, &preview, &screen, &other}, nullptr,
                        [&](QWidget* w) { raised.push_back(w->objectName().toStdString()); });

    source.show();
    preview.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(raised, (std::vector<std::string>{"source", "preview"}));

    raised.clear();
    screen.show();
    other.show();
    EXPECT_TRUE(raised.empty());  // not before the windows are up
    QCoreApplication::processEvents();
    EXPECT_EQ(raised, (std::vector<std::string>{"source", "preview"}));

    raised.clear();
    preview.hide();
    other.hide();
    other.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(raised, std::vector<std::string>{"source"});
}

}  // namespace
}  // namespace dg::test
