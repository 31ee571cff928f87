#include <gtest/gtest.h>

#include <QApplication>

// Every test program runs with a Qt application on the offscreen platform, so that page
// texts can be drawn and screens can be created without a display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
