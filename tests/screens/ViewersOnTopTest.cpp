#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
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

// A modal dialog, of the program's or any other, takes the viewers out of the always-on-top
// layer while it is on the screen, and nothing raises them over it; when the last dialog
// closes they go back on top and are raised.
TEST(ViewersOnTop, StepDownWhileAModalDialogIsShown) {
    QWidget source, result, screen;
    source.setObjectName("source");
    result.setObjectName("result");
    std::vector<std::string> raised, layers;
    ViewersOnTop keeper(
        {&source, &result}, {&source, &result, &screen}, nullptr,
        [&](QWidget* w) { raised.push_back(w->objectName().toStdString()); },
        [&](QWidget* w, bool onTop) {
            layers.push_back(w->objectName().toStdString() + (onTop ? " up" : " down"));
        });
    source.show();
    QCoreApplication::processEvents();
    raised.clear();

    QDialog message, progress;
    message.setWindowModality(Qt::ApplicationModal);
    progress.setWindowModality(Qt::WindowModal);
    message.show();
    EXPECT_EQ(layers, (std::vector<std::string>{"source down", "result down"}));
    progress.show();
    screen.show();
    result.show();  // a viewer shown under a dialog goes below it too
    QCoreApplication::processEvents();
    EXPECT_TRUE(raised.empty());
    EXPECT_EQ(layers, (std::vector<std::string>{"source down", "result down", "result down"}));

    message.hide();
    EXPECT_EQ(layers.size(), 3u) << "one dialog is still up";
    layers.clear();
    progress.hide();
    EXPECT_EQ(layers, (std::vector<std::string>{"source up", "result up"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(raised, (std::vector<std::string>{"source", "result"}));

    // Windows that are not modal change nothing.
    layers.clear();
    QWidget other;
    other.show();
    other.hide();
    EXPECT_TRUE(layers.empty());
}

}  // namespace
}  // namespace dg::test
