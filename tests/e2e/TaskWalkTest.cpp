#include <QCheckBox>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "WalkSupport.h"
#include "batch/BatchWalk.h"
#include "formats/Bmp.h"
#include "platform/FileSystem.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/ShellFixture.h"
#include "screens/TribalScreen.h"

namespace dg::test {
namespace {

namespace fs = std::filesystem;

const std::string kPhoto = kWalkPhoto;
const std::string kClipArt = std::string(DG_FIXTURES) + "/separation/signal-flag-delta.bmp";

// What the walk through the screens does and what the batch command is told to do alike.
struct Walk {
    const char* task = "TattooIn23Colors";  // object name of the task on SELECT TASK
    std::string picture = kPhoto;
    int dpi = 100;
    int widthWhole = 8, widthHundredths = 50;
    std::vector<int> untick;
    bool masked = false, mirror = false, corners = false, stencilBlack = false;
    int tribalMethod = 8;
    int slider1Moves = 0;  // tribal: steps of slider 1 after the entry
};

class TaskWalk : public ShellFixture {
protected:
    void SetUp() override {
        smallPrinter(fakes.printer);
        ShellFixture::SetUp();
    }

    QWidget* visibleScreen(QWidget* w) {
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
        return w;
    }

    // SELECT TASK to PRINTING through the real screens, then every way out of PRINTING.
    void walkToPaper(const Walk& w, const std::string& name) {
        click(button(screens->selectTask.get(), (std::string(w.task) + "Caption").c_str()));
        fakes.dialogs.pictureAnswers.push_back(w.picture);
        click(button(screens->selectTask.get(), "openImage"));
        TForm004* out = screens->outputSize.get();
        ASSERT_TRUE(out->isVisible());
        out->SpinEdit1->setValue(w.dpi);
        out->SpinEdit2->setValue(w.widthWhole);
        out->SpinEdit3->setValue(w.widthHundredths);
        if (std::string(w.task) == "PrintSingleFile") {
            click(button(out, "nextSingleFile"));
        } else {
            click(button(out, "nextColorReduction"));
            if (std::string(w.task) == "TattooIn23Colors") {
                if (screens->separation->isVisible()) click(button(screens->separation.get(), "next"));
            } else {
                QWidget* tribal = visibleScreen(screens->tribal.get());
                QAbstractButton* method =
                    button(tribal, ("RadioButton" + std::to_string(w.tribalMethod)).c_str());
                QTest::mouseClick(method, Qt::LeftButton, {}, QPoint(6, method->height() / 2));
                ASSERT_TRUE(method->isChecked());
                auto* slider = child<QSlider>(tribal, "TrackBar1");
                for (int k = 0; k < w.slider1Moves; ++k) slider->setValue(slider->value() + 1);
                // The batch command is given the positions the sliders ended at.
                for (int k = 0; k < 3; ++k)
                    tribalSliders_[static_cast<std::size_t>(k)] =
                        child<QSlider>(tribal, ("TrackBar" + std::to_string(k + 1)).c_str())->value();
                click(button(tribal, "next"));
            }
            QWidget* channels = visibleScreen(screens->channels.get());
            for (int n : w.untick) click(button(channels, ("CheckBox" + std::to_string(n)).c_str()));
            fakes.dialogs.saveAnswers.push_back(folder.file(name + " channels"));
            click(button(channels, "saveProjectAs"));
            click(button(channels, "next"));
            click(button(visibleScreen(screens->colorMatching.get()), "next"));
            QWidget* options = visibleScreen(screens->options.get());
            auto tick = [&](const char* box, bool on) {
                if (button(options, box)->isChecked() != on) click(button(options, box));
            };
            tick("masked", w.masked);
            tick("mirrorStencil", w.mirror);
            tick("adjustmentCorners", w.corners);
            if (w.stencilBlack) {
                // On the radio button's indicator, where the user clicks.
                QAbstractButton* black = button(options, "stencilInBlack");
                QTest::mouseClick(black, Qt::LeftButton, {}, QPoint(6, black->height() / 2));
                ASSERT_TRUE(black->isChecked());
            }
            click(button(options, "next"));
        }
        QWidget* printing = visibleScreen(screens->printing.get());
        click(button(printing, "asJpeg"));
        fakes.dialogs.saveAnswers.push_back(folder.file(name + " jpeg"));
        click(button(printing, "saveChecked"));
        click(button(printing, "asBmp"));
        fakes.dialogs.saveAnswers.push_back(folder.file(name + " bmp"));
        click(button(printing, "saveChecked"));
        if (std::string(w.task) != "PrintSingleFile") {
            fakes.dialogs.saveAnswers.push_back(folder.file(name));
            click(button(printing, "saveProject"));
        }
        click(button(printing, "printChecked"));
    }

    // The same walk by the batch command, with a printer of its own.
    void batch(const Walk& w, const std::string& name, bool bmp, fake::FakePrinter& printer) {
        std::vector<std::string> args{w.picture, "--task"};
        const std::string task = w.task;
        args.push_back(task == "TattooIn23Colors"  ? "colors"
                       : task == "PrintSingleFile" ? "single"
                                                   : "tribal");
        args.insert(args.end(), {"--dpi", std::to_string(w.dpi), "--width",
                                 std::to_string(w.widthWhole) + "." + (w.widthHundredths < 10 ? "0" : "") +
                                     std::to_string(w.widthHundredths)});
        for (int n : w.untick) args.insert(args.end(), {"--untick", std::to_string(n)});
        if (w.masked) args.push_back("--masked");
        if (w.mirror) args.push_back("--mirror");
        if (w.corners) args.insert(args.end(), {"--corners", "2,30"});
        if (w.stencilBlack) args.push_back("--stencil-black");
        if (task == "CreateTribalTattoo")
            args.insert(args.end(),
                        {"--method", std::to_string(w.tribalMethod), "--slider1",
                         std::to_string(tribalSliders_[0]), "--slider2", std::to_string(tribalSliders_[1]),
                         "--slider3", std::to_string(tribalSliders_[2])});
        args.insert(args.end(),
                    {"--export", folder.file(name + (bmp ? " bmp" : " jpeg")), "--as", bmp ? "bmp" : "jpeg"});
        if (task != "PrintSingleFile" && !bmp) {
            args.insert(args.end(), {"--save", folder.file(name)});
            args.insert(args.end(), {"--save-channels", folder.file(name + " channels")});
        }
        args.push_back("--print");
        LocalFileSystem files;
        std::ostringstream messages;
        ASSERT_EQ(runBatch(parseBatchOptions(args), printer, files, messages, [](const std::string&) {}), 0)
            << messages.str();
    }

    std::array<int, 3> tribalSliders_{};

    std::string projectFolder(const std::string& name) const { return projectFolderIn(folder.path(), name); }

    // The wizard's files and print jobs against the batch command's for the same walk.
    void expectSameAsBatch(const Walk& w) {
        walkToPaper(w, "wizard");
        fake::FakePrinter jpegPrinter, bmpPrinter;
        smallPrinter(jpegPrinter);
        smallPrinter(bmpPrinter);
        batch(w, "batch", false, jpegPrinter);
        batch(w, "batch", true, bmpPrinter);
        expectSameFolder(folder.file("wizard jpeg Pages"), folder.file("batch jpeg Pages"));
        expectSameFolder(folder.file("wizard bmp Pages"), folder.file("batch bmp Pages"));
        if (std::string(w.task) != "PrintSingleFile") {
            expectSameFolder(projectFolder("wizard"), projectFolder("batch"));
            expectSameFolder(projectFolder("wizard channels"), projectFolder("batch channels"));
        }
        ASSERT_EQ(fakes.printer.jobs.size(), jpegPrinter.jobs.size());
        for (std::size_t k = 0; k < jpegPrinter.jobs.size(); ++k) {
            SCOPED_TRACE(jpegPrinter.jobs[k].name);
            EXPECT_EQ(fakes.printer.jobs[k].name, jpegPrinter.jobs[k].name);
            EXPECT_TRUE(SameImage(fakes.printer.jobs[k].page, jpegPrinter.jobs[k].page));
        }
        // Every exported page is exactly the printer's page.
        for (const auto& [name, bytes] : folderFiles(folder.file("wizard bmp Pages"))) {
            const RgbImage page = decodeBmp24(bytes);
            SCOPED_TRACE(name);
            if (name == "ColorMatchingPage.bmp") {
                EXPECT_EQ(page.width(), 827);
            } else {
                EXPECT_EQ(page.width(), fakes.printer.pageWidthPx());
                EXPECT_EQ(page.height(), fakes.printer.pageHeightPx());
            }
        }
    }
};

TEST_F(TaskWalk, ColourTaskFromAPhotoShrunkWithDefaults) {
    Walk w;
    expectSameAsBatch(w);
    // One job per ticked page: stencil, colour matching, result, then the channels in order.
    ASSERT_GE(fakes.printer.jobs.size(), 4u);
    EXPECT_EQ(fakes.printer.jobs[0].name, "STENCIL");
    EXPECT_EQ(fakes.printer.jobs[1].name, "COLOR MATCHING");
    EXPECT_EQ(fakes.printer.jobs[2].name, "RESULT");
}

TEST_F(TaskWalk, ColourTaskFromClipArtEnlargedWithEveryOption) {
    Walk w;
    w.picture = kClipArt;
    w.dpi = 160;
    w.widthWhole = 6;
    w.widthHundredths = 0;
    w.untick = {2};
    w.masked = w.mirror = w.corners = w.stencilBlack = true;
    expectSameAsBatch(w);
}

TEST_F(TaskWalk, TribalTaskFromAPhoto) {
    Walk w;
    w.task = "CreateTribalTattoo";
    w.tribalMethod = 1;
    w.slider1Moves = 3;
    expectSameAsBatch(w);
}

TEST_F(TaskWalk, TribalTaskFromClipArtEnlarged) {
    Walk w;
    w.task = "CreateTribalTattoo";
    w.picture = kClipArt;
    w.dpi = 120;
    w.widthWhole = 5;
    w.tribalMethod = 5;
    w.slider1Moves = 20;
    w.mirror = w.corners = true;
    expectSameAsBatch(w);
}

TEST_F(TaskWalk, SingleFileFromClipArtEnlarged) {
    Walk w;
    w.task = "PrintSingleFile";
    w.picture = kClipArt;
    w.dpi = 160;
    w.widthWhole = 7;
    w.widthHundredths = 5;
    expectSameAsBatch(w);
}

TEST_F(TaskWalk, SingleFileIsOneResultPage) {
    Walk w;
    w.task = "PrintSingleFile";
    expectSameAsBatch(w);
    ASSERT_EQ(fakes.printer.jobs.size(), 1u);
    EXPECT_EQ(fakes.printer.jobs[0].name, "RESULT");
}

TEST_F(TaskWalk, ASecondSaveUnderTheSameNameIsRefusedAndTheFirstFolderKept) {
    Walk w;
    walkToPaper(w, "tiger");
    const std::string first = projectFolder("tiger");
    ASSERT_FALSE(first.empty());
    const auto before = folderFiles(first);
    fakes.dialogs.messages.clear();
    screens->printing->hide();
    walkToPaper(w, "tiger");
    EXPECT_NE(std::find(fakes.dialogs.messages.begin(), fakes.dialogs.messages.end(),
                        "WARNING: NOT SAVED. DIRECTORY EXSIST.  Please use another name for your project."),
              fakes.dialogs.messages.end());
    EXPECT_EQ(folderFiles(first), before);
}

}  // namespace
}  // namespace dg::test
