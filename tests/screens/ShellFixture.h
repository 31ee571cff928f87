#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>

#include "imaging/RgbImage.h"
#include "platform/fake/FakePlatform.h"
#include "screens/ScreenSet.h"
#include "support/ImageCompare.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace dg::test {

// The whole program on the offscreen platform with the fake services: every window created
// as at start-up, EndApplication counted instead of quitting.
class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fakes.files.folder = folder.path();
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
    }
    void TearDown() override { screens.reset(); }

    template <class T>
    T* child(QWidget* window, const char* name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QAbstractButton* button(QWidget* window, const char* name) {
        return child<QAbstractButton>(window, name);
    }
    QString text(QWidget* window, const char* name) {
        QLabel* label = child<QLabel>(window, name);
        return label ? label->text() : QString();
    }
    // A click where the user would click: on a check box's indicator, on a button's middle.
    static void click(QAbstractButton* b) {
        ASSERT_NE(b, nullptr);
        if (qobject_cast<QCheckBox*>(b) != nullptr)
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        else
            QTest::mouseClick(b, Qt::LeftButton);
    }

    // Brings a picture in through PASTE, the way the user would.
    void paste(const RgbImage& picture);

    // SELECT TASK's task (the caption's object name without "Caption"), the picture file
    // through OPEN IMAGE, 8.50 wide at 100 DPI, then NEXT into the task's next screen.
    void openAtEightFifty(const std::string& task, const std::string& picture);

    // The colour task at 4 x 2.5 cm and 100 DPI, as the output-size screen leaves it.
    void setSmallColourOutput();

    // The enhance screen opened on a picture, as the separation screen's ENHANCE SOURCE (the
    // picture the SOURCE copy) or TRIBAL CREATION's ENHANCE (the picture the SOURCE) opens it.
    void openEnhance(const RgbImage& picture, bool tribal);

    // The windows that are visible now, by object name.
    std::vector<std::string> visibleWindows() const;

    TempFolder folder;
    fake::FakePlatform fakes;
    int ended = 0;
    std::unique_ptr<ScreenSet> screens;
};

}  // namespace dg::test
