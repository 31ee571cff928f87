#include <QListWidget>

#include "OutputScreensFixture.h"
#include "formats/Bmp.h"
#include "screens/InkChartScreen.h"
#include "separation/ColorMatching.h"
#include "separation/InkChart.h"

namespace dg::test {
namespace {

using ColorMatchingScreen = OutputScreens;

QColor qcolor(ColorValue c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

bool blankRows(const RgbImage& page, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = 40; x < page.width(); ++x)
            if (page.pixel(x, y) != kWhite) return false;
    return true;
}

TEST_F(ColorMatchingScreen, ShownRowsAreNumberedInChannelOrder) {
    ASSERT_GE(presentChannels(), 9);
    tickOnly({2, 5, 9});
    matching()->enter();
    ASSERT_TRUE(matching()->isVisible());

    const std::pair<int, const char*> shown[] = {{2, "Channel # 1"}, {5, "Channel # 2"}, {9, "Channel # 3"}};
    for (const auto& [n, caption] : shown) {
        SCOPED_TRACE(n);
        const ColorValue c = channels().colorOf(n);
        QCheckBox* row = box(matching(), "CheckBox" + std::to_string(n));
        EXPECT_TRUE(row->isVisible());
        EXPECT_TRUE(row->isChecked());
        EXPECT_EQ(row->text(), caption);
        EXPECT_EQ(row->palette().color(QPalette::Window), qcolor(c));
        EXPECT_EQ(row->palette().color(QPalette::WindowText),
                  QColor(255 - redOf(c), 255 - greenOf(c), 255 - blueOf(c)));
        EXPECT_EQ(text(matching(), ("rgbText" + std::to_string(n)).c_str()).toStdString(), rgbText(c));
        EXPECT_EQ(text(matching(), ("hexText" + std::to_string(n)).c_str()).toStdString(), hexText(c));
    }
    for (int n : {1, 3, 4, 6, 7, 8, 10, 23}) {
        EXPECT_FALSE(box(matching(), "CheckBox" + std::to_string(n))->isVisible()) << n;
        EXPECT_FALSE(child<QLabel>(matching(), ("rgbText" + std::to_string(n)).c_str())->isVisible()) << n;
    }

    auto* list = child<QListWidget>(matching(), "mixingList");
    ASSERT_EQ(list->count(), kChannelCount);
    for (int i = 0; i < kChannelCount; ++i) {
        const bool filled = i == 1 || i == 4 || i == 8;
        EXPECT_EQ(list->item(i)->text().isEmpty(), !filled) << "line " << i;
    }
    EXPECT_EQ(list->item(4)->text().toStdString(),
              "Channel # 2 : " + recipeText(computeRecipe(channels().colorOf(5))));

    // The page: swatches at 53, 113 and 191, texts at 45, 105 and 185, nothing where the
    // missing channels' lines would be.
    const RgbImage& page = screens->workflow.matching.page;
    ASSERT_EQ(page.width(), 505);
    ASSERT_EQ(page.height(), 481);
    EXPECT_EQ(page.pixel(15, 53), channels().colorOf(2));
    EXPECT_EQ(page.pixel(15, 113), channels().colorOf(5));
    EXPECT_EQ(page.pixel(15, 191), channels().colorOf(9));
    EXPECT_EQ(page.pixel(15, 33), kWhite);
    EXPECT_EQ(page.pixel(15, 73), kWhite);
    EXPECT_FALSE(blankRows(page, 45, 55));
    EXPECT_FALSE(blankRows(page, 185, 195));
    EXPECT_TRUE(blankRows(page, 25, 35));
    EXPECT_TRUE(blankRows(page, 65, 95));
    EXPECT_TRUE(blankRows(page, 205, 481));
}

TEST_F(ColorMatchingScreen, EveryEnterStartsAfresh) {
    tickOnly({2, 5, 9});
    matching()->enter();
    setChannelChecked(channels(), 5, false);
    setChannelChecked(channels(), 3, true);
    matching()->enter();
    EXPECT_EQ(box(matching(), "CheckBox3")->text(), "Channel # 2");
    EXPECT_EQ(box(matching(), "CheckBox9")->text(), "Channel # 3");
    EXPECT_FALSE(box(matching(), "CheckBox5")->isVisible());
    EXPECT_TRUE(child<QListWidget>(matching(), "mixingList")->item(4)->text().isEmpty());
    EXPECT_EQ(screens->workflow.matching.page.pixel(15, 113), kWhite);
    EXPECT_EQ(screens->workflow.matching.page.pixel(15, 73), channels().colorOf(3));
}

TEST_F(ColorMatchingScreen, SavesThePageAsBmpAskingBeforeReplacing) {
    matching()->enter();
    QAbstractButton* save = button(matching(), "saveAsBmp");
    const auto saved = [&](const std::string& path) { return decodeBmp24(fakes.files.readFile(path)); };

    // The extension is always added, also to a name that has it.
    fakes.dialogs.saveAnswers = {folder.file("match"), folder.file("page.bmp")};
    click(save);
    click(save);
    EXPECT_TRUE(SameImage(screens->workflow.matching.page, saved(folder.file("match.bmp"))));
    EXPECT_TRUE(SameImage(screens->workflow.matching.page, saved(folder.file("page.bmp.bmp"))));
    EXPECT_TRUE(fakes.dialogs.questions.empty());
    // It claims the resolution it prints at: 505 x 481 stretched over an A4 portrait page
    // (210 x 297 mm), also when the printer is turned to landscape.
    fakes.printer.currentOrientation = Orientation::Landscape;
    fakes.dialogs.saveAnswers = {folder.file("landscape")};
    click(save);
    for (const char* name : {"match.bmp", "landscape.bmp"}) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> file = fakes.files.readFile(folder.file(name));
        const auto ppm = [&](std::size_t at) {
            return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | std::uint32_t{file[at + 3]} << 24;
        };
        EXPECT_EQ(ppm(38), 2405u);  // 505 / 0.210 m
        EXPECT_EQ(ppm(42), 1620u);  // 481 / 0.297 m
    }
    fakes.printer.currentOrientation = Orientation::Portrait;

    // No keeps the file and says so; Yes replaces it.
    fakes.files.writeFile(folder.file("match.bmp"), {1, 2, 3});
    fakes.dialogs.saveAnswers = {folder.file("match"), folder.file("match")};
    fakes.dialogs.yesNoAnswers = {false, true};
    click(save);
    EXPECT_EQ(fakes.dialogs.questions.back(), "Do you really want to replace match.bmp ?");
    EXPECT_EQ(fakes.dialogs.messages.back(), "Not Saved! Please Save Again With Another File Name! ");
    EXPECT_EQ(fakes.files.readFile(folder.file("match.bmp")), (std::vector<std::uint8_t>{1, 2, 3}));
    click(save);
    EXPECT_TRUE(SameImage(screens->workflow.matching.page, saved(folder.file("match.bmp"))));

    // A cancelled dialog writes nothing; a folder that is not there reports the system's error.
    const std::size_t messages = fakes.dialogs.messages.size();
    fakes.dialogs.saveAnswers = {std::nullopt, folder.file("gone/match")};
    click(save);
    EXPECT_EQ(fakes.dialogs.messages.size(), messages);
    click(save);
    ASSERT_EQ(fakes.dialogs.messages.size(), messages + 1);
    EXPECT_NE(fakes.dialogs.messages.back().find("No such file or directory"), std::string::npos)
        << fakes.dialogs.messages.back();
    EXPECT_TRUE(matching()->isVisible());
}

// The colour-matching page and the ink chart print alike: portrait for the job, stretched
// over the whole page, and the printer is left as it was.
TEST_F(ColorMatchingScreen, PagesPrintInPortraitOnALandscapePrinter) {
    matching()->enter();
    click(button(matching(), "showInkChart"));
    TForm024* chart = screens->inkChart.get();
    ASSERT_TRUE(chart->isVisible());

    struct Case {
        QWidget* window;
        const char* button;
        const RgbImage* picture;
    };
    for (const Case& c : {Case{matching(), "printColorMatching", &screens->workflow.matching.page},
                          Case{chart, "print", &chart->chart}}) {
        SCOPED_TRACE(c.button);
        fakes.printer.jobs.clear();
        fakes.printer.currentOrientation = Orientation::Landscape;
        fakes.printer.printAnswers = {false};
        click(button(c.window, c.button));
        EXPECT_TRUE(fakes.printer.jobs.empty());

        click(button(c.window, c.button));
        ASSERT_EQ(fakes.printer.jobs.size(), 1u);
        const auto& job = fakes.printer.jobs[0];
        EXPECT_EQ(job.orientation, Orientation::Portrait);
        EXPECT_EQ(job.page.width(), fakes.printer.portraitWidthPx);
        EXPECT_EQ(job.page.height(), fakes.printer.portraitHeightPx);
        EXPECT_TRUE(SameImage(composeStretchedPage(*c.picture, 2480, 3508), job.page));
        EXPECT_EQ(fakes.printer.currentOrientation, Orientation::Landscape);

        // A failing job shows "ERROR" and the system's text, as every print does, and still
        // turns the printer back.
        fakes.printer.failJob = fakes.printer.jobsTried;
        click(button(c.window, c.button));
        EXPECT_EQ(fakes.dialogs.messages.back(), "ERROR" + fakes.printer.failText);
        EXPECT_EQ(fakes.printer.currentOrientation, Orientation::Landscape);
        fakes.printer.failJob.reset();
    }
    click(button(chart, "closeWindow"));
    EXPECT_FALSE(chart->isVisible());
}

TEST_F(ColorMatchingScreen, TheInkChartShowsEveryInk) {
    const RgbImage& chart = screens->inkChart->chart;
    ASSERT_EQ(chart.width(), kInkChartWidth);
    ASSERT_EQ(chart.height(), kInkChartHeight);
    const Ink inks[] = {Ink::Red,     Ink::Green,  Ink::Blue,  Ink::Cyan,
                        Ink::Magenta, Ink::Yellow, Ink::White, Ink::Black};
    for (int i = 0; i < 8; ++i) {
        const InkChartSwatch s = inkChartSwatch(i);
        ASSERT_LE(s.y + s.height, kInkChartHeight);
        EXPECT_EQ(chart.pixel(s.x + s.width / 2, s.y + s.height / 2), inkColor(inks[i])) << inkName(inks[i]);
        // The name beside the swatch is drawn in black.
        bool named = false;
        for (int y = s.y; y < s.y + s.height && !named; ++y)
            for (int x = s.x + s.width + 10; x < kInkChartWidth && !named; ++x)
                named = chart.pixel(x, y) == kBlack;
        EXPECT_TRUE(named) << inkName(inks[i]);
    }
}

TEST_F(ColorMatchingScreen, Navigation) {
    screens->sourceViewer->show();
    screens->resultViewer->show();
    matching()->enter();
    click(button(matching(), "help"));
    EXPECT_TRUE(screens->colorMatchingHelp->isVisible());
    click(button(matching(), "back"));
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"TForm002", "TForm003", "TForm001", "TForm019"}));

    matching()->enter();
    matching()->close();  // the title bar goes back as well
    EXPECT_TRUE(screens->channels->isVisible());
    EXPECT_FALSE(matching()->isVisible());

    matching()->enter();
    screens->colorMatchingHelp->show();
    click(button(matching(), "next"));
    EXPECT_TRUE(options()->isVisible());
    EXPECT_FALSE(screens->colorMatchingHelp->isVisible());

    options()->hide();
    screens->channels->hide();
    screens->sourceViewer->show();
    matching()->enter();
    click(button(matching(), "close"));
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"TForm001"}));
}

}  // namespace
}  // namespace dg::test
