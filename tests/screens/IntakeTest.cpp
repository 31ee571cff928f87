#include <QCheckBox>
#include <QEvent>
#include <fstream>

#include "ShellFixture.h"
#include "formats/Bmp.h"
#include "formats/PictureReaders.h"
#include "imaging/Failure.h"
#include "screens/OutputSize.h"
#include "screens/SelectTask.h"
#include "screens/Viewers.h"

namespace dg::test {
namespace {

using Intake = ShellFixture;

// Records, in order, every window that becomes visible, with the SOURCE caption and the
// output height at that moment.
class ShowRecorder : public QObject {
public:
    explicit ShowRecorder(ScreenSet& screens) : screens_(screens) {
        for (QWidget* w : screens.windows()) w->installEventFilter(this);
    }
    struct Shown {
        std::string window;
        QString sourceCaption;
        int heightWhole, heightHundredths;
    };
    std::vector<Shown> shown;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            shown.push_back({watched->objectName().toStdString(), screens_.sourceViewer->windowTitle(),
                             screens_.outputSize->SpinEdit4->value(),
                             screens_.outputSize->SpinEdit5->value()});
        return false;
    }

private:
    ScreenSet& screens_;
};

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(Intake, AutomaticRotationTurnsThePageByThePicturesShape) {
    struct Case {
        int width, height;
        bool autoRotate;
        Orientation before, after;
    };
    const Case cases[] = {
        {300, 300, true, Orientation::Landscape, Orientation::Portrait},
        {301, 300, true, Orientation::Portrait, Orientation::Landscape},
        {300, 301, true, Orientation::Landscape, Orientation::Portrait},
        {301, 300, false, Orientation::Portrait, Orientation::Portrait},
        {300, 300, false, Orientation::Landscape, Orientation::Landscape},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) +
                     (c.autoRotate ? " rotating" : ""));
        screens.reset();
        fakes.printer.currentOrientation = c.before;
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        QWidget* s = screens->selectTask.get();
        s->findChild<QCheckBox*>("AutomaticPageRotation")->setChecked(c.autoRotate);
        paste(RgbImage(c.width, c.height));
        EXPECT_EQ(fakes.printer.orientation(), c.after);
        EXPECT_EQ(s->findChild<QCheckBox*>("Portrait")->isChecked(), c.after == Orientation::Portrait);
        EXPECT_EQ(s->findChild<QCheckBox*>("Landscape")->isChecked(), c.after == Orientation::Landscape);
        EXPECT_EQ(screens->state.printerPageWidthPx, c.after == Orientation::Portrait ? 2480 : 3508);
    }
}

TEST_F(Intake, RoutesEveryTaskToTheOutputSizeScreenWithItsNextButton) {
    struct Case {
        const char* caption;
        bool singleFile;
    };
    const Case cases[] = {{"PrintSingleFileCaption", true},
                          {"TattooIn23ColorsCaption", false},
                          {"CreateTribalTattooCaption", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        click(button(screens->selectTask.get(), c.caption));
        const RgbImage picture = imageFromRows({{0x0000FF, 0x00FF00}, {0xFF0000, 0x0000FF}, {0xFFFFFF, 0}});
        paste(picture);
        TForm004* output = screens->outputSize.get();
        EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"TForm002", "TForm004"}));
        EXPECT_EQ(button(output, "nextSingleFile")->isVisible(), c.singleFile);
        EXPECT_EQ(button(output, "nextColorReduction")->isVisible(), !c.singleFile);
        EXPECT_TRUE(SameImage(picture, screens->pictures.source));
        EXPECT_EQ(screens->sourceViewer->windowTitle(), "SOURCE : 5  COLORS");
        // 8.5 wide at 2 x 3 pixels: the height follows the picture.
        EXPECT_EQ(output->SpinEdit4->value(), 12);
        EXPECT_EQ(output->SpinEdit5->value(), 75);
        EXPECT_EQ(screens->state.outputHeightText, "12.75");
        EXPECT_EQ(text(output, "outputHeightText"), "12.75");
    }
}

// SOURCE comes up first; the output-size screen appears with its height already derived;
// the SOURCE caption is counted last of all.
TEST_F(Intake, TheChainRunsInItsOrder) {
    ShowRecorder recorder(*screens);
    paste(RgbImage(200, 100));
    std::vector<std::string> order;
    for (const auto& s : recorder.shown) order.push_back(s.window);
    // SELECT TASK is shown and hidden again by the routing before SOURCE appears.
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order[order.size() - 2], "TForm002");
    EXPECT_EQ(order.back(), "TForm004");
    const auto& outputShown = recorder.shown.back();
    EXPECT_EQ(outputShown.sourceCaption, "SOURCE");
    EXPECT_EQ(outputShown.heightWhole, 4);
    EXPECT_EQ(outputShown.heightHundredths, 25);
    EXPECT_EQ(screens->sourceViewer->windowTitle(), "SOURCE : 1  COLORS");
}

TEST_F(Intake, ACancelledOpenLeavesOnlySelectTask) {
    fakes.dialogs.pictureAnswers = {std::nullopt};
    click(button(screens->selectTask.get(), "openImage"));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    EXPECT_TRUE(screens->pictures.intake.empty());

    // After a picture came in, a cancelled open forgets it.
    paste(RgbImage(3, 3));
    click(button(screens->outputSize.get(), "back"));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    fakes.dialogs.pictureAnswers = {std::nullopt};
    click(button(screens->selectTask.get(), "openImage"));
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    EXPECT_TRUE(screens->pictures.intake.empty());
}

TEST_F(Intake, OpensAFileAndMakesItsFolderCurrent) {
    TempFolder pictures;
    const RgbImage picture = randomImage(7, 5, 11);
    writeFile(pictures.file("dragon.bmp"), encodeBmp(picture));
    fakes.dialogs.pictureAnswers = {pictures.file("dragon.bmp")};
    click(button(screens->selectTask.get(), "openImage"));
    EXPECT_EQ(fakes.dialogs.lastPictureFilter, pictureDialogFilter());
    EXPECT_EQ(fakes.files.currentFolder(), pictures.path());
    EXPECT_TRUE(SameImage(picture, screens->pictures.intake));
    EXPECT_TRUE(SameImage(picture, screens->pictures.source));
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"TForm002", "TForm004"}));
    EXPECT_GE(fakes.dialogs.busyShown, 1);
    EXPECT_EQ(fakes.dialogs.busyDepth, 0);
}

// `dermagraph PICTURE`: the picture is held until a task is chosen and OPEN IMAGE pressed,
// then taken in as the dialog would have chosen it, without the dialog; once only, so the
// next OPEN IMAGE asks the dialog again.
TEST_F(Intake, APictureNamedAtStartIsTakenInByTheFirstOpenImage) {
    TempFolder pictures;
    const RgbImage held = randomImage(7, 5, 11);
    writeFile(pictures.file("dragon.bmp"), encodeBmp(held));
    const RgbImage chosen = randomImage(4, 6, 3);
    writeFile(folder.file("chosen.bmp"), encodeBmp(chosen));
    const std::string missing = pictures.file("missing.bmp");
    std::string cannotRead;
    try {
        readPicture(missing);
    } catch (const std::exception& e) {
        cannotRead = e.what();
    }
    ASSERT_FALSE(cannotRead.empty());

    struct Case {
        const char* task;
        std::string picture;
        bool takenIn;
    };
    const Case cases[] = {{"TattooIn23Colors", pictures.file("dragon.bmp"), true},
                          {"CreateTribalTattoo", pictures.file("dragon.bmp"), true},
                          {"PrintSingleFile", pictures.file("dragon.bmp"), true},
                          {"TattooIn23Colors", missing, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.task) + " " + c.picture);
        screens = std::make_unique<ScreenSet>(fakes.platform, [this] { ++ended; });
        fakes.files.folder = folder.path();
        fakes.dialogs.messages.clear();
        fakes.dialogs.lastPictureFilter.clear();
        screens->workflow.holdPicture(c.picture);
        click(button(screens->selectTask.get(), (std::string(c.task) + "Caption").c_str()));
        // Only OPEN IMAGE takes it in.
        EXPECT_TRUE(screens->pictures.intake.empty());
        fakes.dialogs.pictureAnswers = {folder.file("chosen.bmp")};
        click(button(screens->selectTask.get(), "openImage"));

        EXPECT_EQ(fakes.dialogs.pictureAnswers.size(), 1u) << "the dialog was asked";
        EXPECT_TRUE(fakes.dialogs.lastPictureFilter.empty()) << "the dialog was asked";
        EXPECT_FALSE(screens->workflow.heldPicture().has_value());
        if (c.takenIn) {
            EXPECT_TRUE(fakes.dialogs.messages.empty());
            EXPECT_TRUE(SameImage(held, screens->pictures.source));
            EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"TForm002", "TForm004"}));
            EXPECT_EQ(button(screens->outputSize.get(), "nextSingleFile")->isVisible(),
                      std::string(c.task) == "PrintSingleFile");
            EXPECT_EQ(fakes.files.currentFolder(), pictures.path());
            click(button(screens->outputSize.get(), "back"));
        } else {
            EXPECT_EQ(fakes.dialogs.messages, std::vector<std::string>{cannotRead});
            EXPECT_TRUE(screens->pictures.intake.empty());
            EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
        }

        // The next OPEN IMAGE asks the dialog as usual.
        click(button(screens->selectTask.get(), "openImage"));
        EXPECT_TRUE(fakes.dialogs.pictureAnswers.empty());
        EXPECT_EQ(fakes.dialogs.lastPictureFilter, pictureDialogFilter());
        EXPECT_TRUE(SameImage(chosen, screens->pictures.source));
    }
}

TEST_F(Intake, AnUndecodableFileShowsTheReadersMessageAndLandsOnSelectTask) {
    const std::string path = folder.file("broken.png");
    writeFile(path, {'B', 'M', 0, 1, 2, 3, 4, 5});
    std::string expected;
    try {
        readPicture(path);
    } catch (const std::exception& e) {
        expected = e.what();
    }
    ASSERT_FALSE(expected.empty());

    fakes.dialogs.pictureAnswers = {path};
    click(button(screens->selectTask.get(), "openImage"));
    EXPECT_EQ(fakes.dialogs.messages, std::vector<std::string>{expected});
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    EXPECT_TRUE(screens->pictures.intake.empty());
    EXPECT_EQ(fakes.dialogs.busyDepth, 0);
}

TEST_F(Intake, AProjectDescriptorInThePicturesFolderRestoresTheOutputSize) {
    TempFolder project;
    const std::string csp = "index\r\n160\r\n10\r\n25\r\n3\r\n0\r\n1\r\n100\r\n100\r\n10.25\r\n3\r\n";
    writeFile(project.file("PROJECT.CSP"), std::vector<std::uint8_t>(csp.begin(), csp.end()));
    writeFile(project.file("1.bmp"), encodeBmp(RgbImage(100, 200)));
    fakes.dialogs.pictureAnswers = {project.file("1.bmp")};
    click(button(screens->selectTask.get(), "openImage"));

    TForm004* output = screens->outputSize.get();
    EXPECT_EQ(screens->state.unit, MeasuringUnit::Inches);
    EXPECT_EQ(text(output, "widthUnit"), "Inches");
    EXPECT_EQ(output->SpinEdit1->value(), 160);
    EXPECT_EQ(output->SpinEdit2->value(), 10);
    EXPECT_EQ(output->SpinEdit3->value(), 25);
    // Preserve aspect is on again, so the height follows the picture, not line 4.
    EXPECT_EQ(output->SpinEdit4->value(), 20);
    EXPECT_EQ(output->SpinEdit5->value(), 50);
    EXPECT_TRUE(output->isVisible());
}

// A descriptor that stops at a line that is not a number: its message is shown, what was
// applied before that line stays, and the user lands on SELECT TASK alone.
TEST_F(Intake, AMalformedProjectDescriptorStopsTheRestoreAndLandsOnSelectTask) {
    TempFolder project;
    const std::string csp = "index\r\n150\r\n1O\r\n25\r\n3\r\n0\r\n";
    writeFile(project.file("PROJECT.CSP"), std::vector<std::uint8_t>(csp.begin(), csp.end()));
    writeFile(project.file("1.bmp"), encodeBmp(RgbImage(100, 200)));
    fakes.dialogs.pictureAnswers = {project.file("1.bmp")};
    click(button(screens->selectTask.get(), "openImage"));

    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_NE(fakes.dialogs.messages[0].find("\"1O\" is not a whole number"), std::string::npos)
        << fakes.dialogs.messages[0];
    EXPECT_EQ(visibleWindows(), std::vector<std::string>{"TForm001"});
    TForm004* output = screens->outputSize.get();
    EXPECT_EQ(output->SpinEdit1->value(), 150);
    EXPECT_EQ(output->SpinEdit2->value(), 8);
    EXPECT_FALSE(output->findChild<QCheckBox*>("PreserveAspectRatio")->isChecked());
}

}  // namespace
}  // namespace dg::test
