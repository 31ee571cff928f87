#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringList>
#include <functional>
#include <memory>

#include "platform/fake/FakePlatform.h"
#include "screens/InfoWindows.h"

namespace dg {
namespace {

struct HelpCase {
    const char* name;
    std::function<std::unique_ptr<TextWindow>()> make;
    QStringList opening;
    int lines;
};

template <class W>
std::function<std::unique_ptr<TextWindow>()> maker() {
    return [] { return std::make_unique<W>(); };
}

std::vector<HelpCase> textCases() {
    return {
        {"THelp001",
         maker<THelp001>(),
         {"Before use of  our program you must have printer installed. Please visit our site for our "
          "preferred virtual printers."},
         33},
        {"Thelp004",
         maker<Thelp004>(),
         {"SELECT OUTPUT SIZE AND RESOLUTION:",
          "After opening your design, you must select the size of your tattoo."},
         23},
        {"Thelp005",
         maker<Thelp005>(),
         {"Tribal Creation", "This is the most important part of your tribal creation."},
         19},
        {"Thelp019", maker<Thelp019>(), {"Here are all channels for available to work with. "}, 26},
        {"Thelp021", maker<Thelp021>(), {"Here is the most important part of your tattoo design."}, 32},
        {"Thelp023",
         maker<Thelp023>(),
         {"Color Matching", "Now you can see all the colors/channels in your project in RGB and HEX values."},
         36},
        {"Thelp028", maker<Thelp028>(), {"Here, you can find some separation and printing options."}, 32},
        {"Thelp029", maker<Thelp029>(), {"This is the final step: Printing by predefined size."}, 36},
        {"ThelpEnhance",
         maker<ThelpEnhance>(),
         {"Here you will prepare your image to produce the best result."},
         29},
        {"ThelpChange", maker<ThelpChange>(), {"Here, you can change the colors of the result image."}, 6},
        {"ThelpMerge", maker<ThelpMerge>(), {"", "Merging the Colors"}, 26},
        {"TDescription", maker<TDescription>(), {}, 65},
        {"TTerms", maker<TTerms>(), {}, 66},
    };
}

QPushButton* closeButton(QWidget& window) { return window.findChild<QPushButton*>("closeButton"); }

TEST(InfoWindowsTest, TextWindowsHaveCaptionCloseBarOpeningAndLength) {
    for (const HelpCase& c : textCases()) {
        SCOPED_TRACE(c.name);
        auto window = c.make();
        const QString name = window->objectName();
        const bool help = name.startsWith("THelp") || name.startsWith("Thelp");
        const QString caption = help ? "Help" : name == "TTerms" ? "Terms And Conditions" : "Description";
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_EQ(name, c.name);
        ASSERT_NE(closeButton(*window), nullptr);
        EXPECT_EQ(closeButton(*window)->text(), name == "TDescription" ? "CLOSE" : "Close");
        EXPECT_FALSE(window->isVisible());

        const QStringList lines = window->text().split('\n');
        ASSERT_GE(lines.size(), c.opening.size());
        for (qsizetype i = 0; i < c.opening.size(); ++i) EXPECT_EQ(lines[i], c.opening[i]) << "line " << i;
        EXPECT_NEAR(lines.size(), c.lines, 2);
        // A help text that is mostly empty lines would pass the count without explaining anything.
        EXPECT_GT(window->text().size(), c.lines * 40);
    }
}

TEST(InfoWindowsTest, WarningShowsItsSevenLinesExactly) {
    TWarning warning;
    EXPECT_EQ(warning.windowTitle(), "Warning");
    EXPECT_EQ(warning.geometry(), QRect(243, 129, 559, 369));
    const QStringList expected{
        "Use only the proper color for your initial outline.This is very ",
        "important to execute your design. Do not use only black ink ",
        "everywhere in design with colors. Please see your result ",
        "image where to apply each color for your initial outline! ",
        "Please notify your tattoo artist about this! ",
        "Please remember: ",
        "You don't have eraser...",
    };
    EXPECT_EQ(warning.text().split('\n'), expected);
    ASSERT_NE(closeButton(warning), nullptr);
    EXPECT_EQ(closeButton(warning)->text(), "Close");
}

// Every information window leaves the same two ways, and the shell relies on closed() for both.
TEST(InfoWindowsTest, CloseBarAndTitleBarBothHideAndSignalOnce) {
    fake::FakeShell shell;
    std::vector<std::unique_ptr<InfoWindow>> windows;
    for (const HelpCase& c : textCases()) windows.push_back(c.make());
    windows.push_back(std::make_unique<TWarning>());
    windows.push_back(std::make_unique<TAbout>(shell));

    for (auto& window : windows) {
        SCOPED_TRACE(window->objectName().toStdString());
        QSignalSpy spy(window.get(), &InfoWindow::closed);

        window->show();
        closeButton(*window)->click();
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(spy.count(), 1);

        window->show();
        window->close();  // what the title bar's close button does
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(spy.count(), 2);

        // Screens hide their help when they move on; that is not the user closing it.
        window->show();
        window->hide();
        window->close();
        EXPECT_EQ(spy.count(), 2);
    }
}

TEST(InfoWindowsTest, AboutShowsVersionPictureAndOpensLinkThroughShell) {
    fake::FakeShell shell;
    TAbout about(shell);
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_NE(about.findChild<QLabel*>("version"), nullptr);
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(), "V 1.0.");

    QPixmap logo(50, 30);
    logo.fill(Qt::red);
    about.setPicture(logo);
    EXPECT_EQ(about.findChild<QLabel*>("picture")->pixmap().size(), QSize(50, 30));

    about.findChild<QPushButton*>("link")->click();
    ASSERT_EQ(shell.openedLinks.size(), 1u);
    EXPECT_EQ(shell.openedLinks[0], TAbout::makerLink);
}

}  // namespace
}  // namespace dg
