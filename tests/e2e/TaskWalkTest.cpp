#include <QSlider>
#include <QSpinBox>
#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include "WalkSupport.h"
#include "batch/BatchOptions.h"
#include "batch/BatchWalk.h"
#include "formats/Bmp.h"
#include "imaging/Tribal.h"
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

const std::string kPhoto = kWalkPhoto;
const std::string kClipArt = std::string(DG_FIXTURES) + "/separation/signal-flag-delta.bmp";

// The separation screen's sliders in the order of the batch command's threshold names.
constexpr std::array<const char*, 16> kSeparationSliders{
    "TrackBar1",  "TrackBar2",  "TrackBar2a", "TrackBar3", "TrackBar4",  "TrackBar5",
    "TrackBar6",  "TrackBar7",  "TrackBar8",  "TrackBar9", "TrackBar10", "TrackBar11",
    "TrackBar12", "TrackBar13", "TrackBar14", "TrackBar15"};

constexpr std::array<const char*, 3> kHorizontal{"left", "center", "right"};
constexpr std::array<const char*, 3> kVertical{"top", "middle", "bottom"};
constexpr std::array<const char*, 3> kHorizontalNames{"Left", "Centre", "Right"};
constexpr std::array<const char*, 3> kVerticalNames{"Top", "Middle", "Bottom"};

// How a walk begins: from a picture file, or by reopening a project that the batch command
// saved from the picture first (PRINT OLD PROJECT; the project keeps its own output size).
enum class Start { PictureFile, Project };

// Whole units and hundredths, as the output-size fields and the batch command's sizes hold them.
struct Size {
    int whole = 0, hundredths = 0;
};

struct Corners {
    int width = 0, size = 0;
};

struct Threshold {
    std::string name;  // the batch command's name of the slider
    int value = 0;
};

// What the walk through the screens does and what the batch command is told to do alike.
// Both are always given the output size; any other field left as it is keeps the screen's
// default and tells the batch command nothing.
struct Walk {
    std::string name;  // the case's name in the test's output
    Start start = Start::PictureFile;
    const char* task = "TattooIn23Colors";  // object name of the task on SELECT TASK
    std::string picture = kPhoto;
    // SELECT TASK and OUTPUT SIZE.
    bool inches = false;
    int dpi = 100;
    Size width{8, 50};
    std::optional<Size> height;  // aspect ratio cleared, then this height typed
    // COLOR REDUCTION AND SEPARATION: slider moves, in order.
    std::vector<Threshold> thresholds;
    // TRIBAL CREATION: 0 keeps the entry's method and sliders and tells the batch command
    // neither, so each side runs on its own defaults.
    int tribalMethod = 8;
    std::optional<std::array<int, 3>> sliders;  // dragged there after the method is chosen
    // Channels.
    std::vector<int> untick;
    // OPTIONS.
    bool masked = false, mirror = false, stencilBlack = false;
    std::optional<Corners> corners;
    // PRINTING.
    int alignColumn = 1, alignRow = 1;  // the cell of PRINT ALIGN: centre, middle
    std::optional<int> labelPoints;
    std::optional<Corners> pageCorners;
    // The print jobs the case expects first, and how many jobs there are in all.
    std::vector<std::string> firstJobs;
    std::size_t minJobs = 0, maxJobs = std::numeric_limits<std::size_t>::max();

    bool colours() const { return std::string(task) == "TattooIn23Colors"; }
    bool tribal() const { return std::string(task) == "CreateTribalTattoo"; }
    bool singleFile() const { return std::string(task) == "PrintSingleFile"; }
};

void PrintTo(const Walk& w, std::ostream* os) { *os << w.name; }

std::string sizeText(Size s) {
    return std::to_string(s.whole) + (s.hundredths < 10 ? ".0" : ".") + std::to_string(s.hundredths);
}

std::string cornersText(Corners c) { return std::to_string(c.width) + "," + std::to_string(c.size); }

// The batch command's arguments for a walk up to its results. `sliders` are the tribal
// sliders where the screen left them.
std::vector<std::string> batchArguments(const Walk& w, const std::array<int, 3>& sliders,
                                        const std::string& project = {}) {
    std::vector<std::string> args;
    switch (w.start) {
        case Start::PictureFile:
            args = {w.picture, "--task", w.colours() ? "colors" : w.singleFile() ? "single" : "tribal"};
            if (w.inches) args.insert(args.end(), {"--unit", "in"});
            args.insert(args.end(), {"--dpi", std::to_string(w.dpi), "--width", sizeText(w.width)});
            if (w.height) args.insert(args.end(), {"--no-aspect", "--height", sizeText(*w.height)});
            break;
        case Start::Project:
            args = {project, "--task", "old"};
            break;
    }
    for (const Threshold& t : w.thresholds)
        args.insert(args.end(), {"--threshold", t.name + "=" + std::to_string(t.value)});
    if (w.tribal() && w.tribalMethod != 0) {
        args.insert(args.end(), {"--method", std::to_string(w.tribalMethod)});
        for (std::size_t k = 0; k < 3; ++k)
            args.insert(args.end(), {"--slider" + std::to_string(k + 1), std::to_string(sliders[k])});
    }
    for (int n : w.untick) args.insert(args.end(), {"--untick", std::to_string(n)});
    if (w.masked) args.push_back("--masked");
    if (w.mirror) args.push_back("--mirror");
    if (w.stencilBlack) args.push_back("--stencil-black");
    if (w.corners) args.insert(args.end(), {"--corners", cornersText(*w.corners)});
    if (w.alignColumn != 1 || w.alignRow != 1)
        args.insert(args.end(),
                    {"--align", std::string(kHorizontal[static_cast<std::size_t>(w.alignColumn)]) + "," +
                                    kVertical[static_cast<std::size_t>(w.alignRow)]});
    if (w.labelPoints) args.insert(args.end(), {"--label", std::to_string(*w.labelPoints)});
    if (w.pageCorners) args.insert(args.end(), {"--page-corners", cornersText(*w.pageCorners)});
    return args;
}

std::string commandLine(const std::vector<std::string>& args) {
    std::string line = "dermagraph-batch";
    for (const std::string& a : args) line += " '" + a + "'";
    return line;
}

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

    // On a radio button's indicator, where the user clicks.
    static void clickIndicator(QAbstractButton* b) {
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }

    void start(const Walk& w) {
        switch (w.start) {
            case Start::PictureFile:
                if (w.inches) click(button(screens->selectTask.get(), "Inches"));
                click(button(screens->selectTask.get(), (std::string(w.task) + "Caption").c_str()));
                fakes.dialogs.pictureAnswers.push_back(w.picture);
                click(button(screens->selectTask.get(), "openImage"));
                outputSize(w);
                break;
            case Start::Project:
                click(button(screens->selectTask.get(), "PrintOldProjectCaption"));
                fakes.dialogs.projectAnswers.push_back(project_ + "/PROJECT.CSP");
                // The open dialog makes the chosen file's folder the current folder.
                fakes.files.folder = project_;
                click(button(screens->selectTask.get(), "openProject"));
                break;
        }
    }

    // The project a reopening walk starts from, saved by the batch command from its picture.
    void saveProjectToReopen(const Walk& w) {
        if (w.start != Start::Project) return;
        fake::FakePrinter printer;
        smallPrinter(printer);
        LocalFileSystem files;
        std::ostringstream messages;
        const std::vector<std::string> args{w.picture,
                                            "--task",
                                            "colors",
                                            "--dpi",
                                            std::to_string(w.dpi),
                                            "--width",
                                            sizeText(w.width),
                                            "--save",
                                            folder.file("reopened")};
        ASSERT_EQ(runBatch(parseBatchOptions(args), printer, files, messages, [](const std::string&) {}), 0)
            << messages.str();
        project_ = projectFolder("reopened");
    }

    void outputSize(const Walk& w) {
        TForm004* out = screens->outputSize.get();
        ASSERT_TRUE(out->isVisible());
        out->SpinEdit1->setValue(w.dpi);
        out->SpinEdit2->setValue(w.width.whole);
        out->SpinEdit3->setValue(w.width.hundredths);
        if (w.height) {
            click(button(out, "PreserveAspectRatio"));
            ASSERT_FALSE(button(out, "PreserveAspectRatio")->isChecked());
            out->SpinEdit4->setValue(w.height->whole);
            out->SpinEdit5->setValue(w.height->hundredths);
        }
    }

    void separation(const Walk& w) {
        if (w.thresholds.empty()) {
            if (screens->separation->isVisible()) click(button(screens->separation.get(), "next"));
            return;
        }
        QWidget* screen = visibleScreen(screens->separation.get());
        const auto& names = thresholdNames();
        for (const Threshold& t : w.thresholds) {
            const auto at =
                std::find_if(names.begin(), names.end(), [&](const char* n) { return t.name == n; });
            ASSERT_NE(at, names.end()) << t.name;
            const auto k = static_cast<std::size_t>(at - names.begin());
            child<QSlider>(screen, kSeparationSliders[k])->setValue(t.value);
        }
        click(button(screen, "next"));
    }

    void tribal(const Walk& w) {
        QWidget* screen = visibleScreen(screens->tribal.get());
        if (w.tribalMethod != 0) {
            QAbstractButton* method =
                button(screen, ("RadioButton" + std::to_string(w.tribalMethod)).c_str());
            clickIndicator(method);
            ASSERT_TRUE(method->isChecked());
        }
        for (std::size_t k = 0; k < 3; ++k) {
            auto* slider = child<QSlider>(screen, ("TrackBar" + std::to_string(k + 1)).c_str());
            if (w.sliders) slider->setValue((*w.sliders)[k]);
            tribalSliders_[k] = slider->value();
        }
        click(button(screen, "next"));
    }

    void options(const Walk& w) {
        QWidget* screen = visibleScreen(screens->options.get());
        auto tick = [&](const char* box, bool on) {
            if (button(screen, box)->isChecked() != on) click(button(screen, box));
        };
        tick("masked", w.masked);
        tick("mirrorStencil", w.mirror);
        tick("adjustmentCorners", w.corners.has_value());
        if (w.corners) {
            child<QSpinBox>(screen, "cornerWidth")->setValue(w.corners->width);
            child<QSpinBox>(screen, "cornerSize")->setValue(w.corners->size);
        }
        if (w.stencilBlack) {
            QAbstractButton* black = button(screen, "stencilInBlack");
            clickIndicator(black);
            ASSERT_TRUE(black->isChecked());
        }
        click(button(screen, "next"));
    }

    void pageSettings(const Walk& w) {
        QWidget* printing = screens->printing.get();
        QAbstractButton* cell =
            button(printing, ("align" + std::to_string(w.alignColumn) + std::to_string(w.alignRow)).c_str());
        if (!cell->isChecked()) click(cell);
        ASSERT_TRUE(cell->isChecked());
        if (w.labelPoints) {
            click(button(printing, "labelOnTop"));
            child<QSpinBox>(printing, "fontSize")->setValue(*w.labelPoints);
        }
        if (w.pageCorners) {
            click(button(printing, "pageCorners"));
            child<QSpinBox>(printing, "cornerWidth")->setValue(w.pageCorners->width);
            child<QSpinBox>(printing, "cornerSize")->setValue(w.pageCorners->size);
        }
    }

    // SELECT TASK to PRINTING through the real screens, then every way out of PRINTING.
    void walkToPaper(const Walk& w, const std::string& name) {
        start(w);
        if (w.singleFile()) {
            click(button(screens->outputSize.get(), "nextSingleFile"));
        } else {
            if (w.start == Start::PictureFile) {
                click(button(screens->outputSize.get(), "nextColorReduction"));
                if (w.colours())
                    separation(w);
                else
                    tribal(w);
            }
            QWidget* channels = visibleScreen(screens->channels.get());
            for (int n : w.untick) {
                QAbstractButton* box = button(channels, ("CheckBox" + std::to_string(n)).c_str());
                click(box);
                ASSERT_FALSE(box->isChecked()) << "channel " << n;
            }
            fakes.dialogs.saveAnswers.push_back(folder.file(name + " channels"));
            click(button(channels, "saveProjectAs"));
            click(button(channels, "next"));
            click(button(visibleScreen(screens->colorMatching.get()), "next"));
            options(w);
        }
        QWidget* printing = visibleScreen(screens->printing.get());
        pageSettings(w);
        click(button(printing, "asJpeg"));
        fakes.dialogs.saveAnswers.push_back(folder.file(name + " jpeg"));
        click(button(printing, "saveChecked"));
        click(button(printing, "asBmp"));
        fakes.dialogs.saveAnswers.push_back(folder.file(name + " bmp"));
        click(button(printing, "saveChecked"));
        if (!w.singleFile()) {
            fakes.dialogs.saveAnswers.push_back(folder.file(name));
            click(button(printing, "saveProject"));
        }
        click(button(printing, "printChecked"));
    }

    // The same walk by the batch command, with a printer of its own.
    void batch(const Walk& w, const std::string& name, bool bmp, fake::FakePrinter& printer) {
        std::vector<std::string> args = batchArguments(w, tribalSliders_, project_);
        // The label's points become pixels at the wizard's screen resolution.
        args.insert(args.end(), {"--screen-dpi", std::to_string(screens->printing->logicalDpiY())});
        args.insert(args.end(),
                    {"--export", folder.file(name + (bmp ? " bmp" : " jpeg")), "--as", bmp ? "bmp" : "jpeg"});
        if (!w.singleFile() && !bmp) {
            args.insert(args.end(), {"--save", folder.file(name)});
            args.insert(args.end(), {"--save-channels", folder.file(name + " channels")});
        }
        args.push_back("--print");
        LocalFileSystem files;
        std::ostringstream messages;
        ASSERT_EQ(runBatch(parseBatchOptions(args), printer, files, messages, [](const std::string&) {}), 0)
            << commandLine(args) << "\n"
            << messages.str();
    }

    std::array<int, 3> tribalSliders_{};
    std::string project_;

    std::string projectFolder(const std::string& name) const { return projectFolderIn(folder.path(), name); }

    // The wizard's files and print jobs against the batch command's for the same walk.
    void expectSameAsBatch(const Walk& w) {
        saveProjectToReopen(w);
        if (HasFatalFailure()) return;
        walkToPaper(w, "wizard");
        if (HasFatalFailure()) return;
        SCOPED_TRACE(commandLine(batchArguments(w, tribalSliders_, project_)));
        fake::FakePrinter jpegPrinter, bmpPrinter;
        smallPrinter(jpegPrinter);
        smallPrinter(bmpPrinter);
        batch(w, "batch", false, jpegPrinter);
        batch(w, "batch", true, bmpPrinter);
        expectSameFolder(folder.file("wizard jpeg Pages"), folder.file("batch jpeg Pages"));
        expectSameFolder(folder.file("wizard bmp Pages"), folder.file("batch bmp Pages"));
        if (!w.singleFile()) {
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

class TaskWalkTable : public TaskWalk, public ::testing::WithParamInterface<Walk> {};

TEST_P(TaskWalkTable, SameFilesAndPrintJobsAsTheBatchCommand) {
    const Walk& w = GetParam();
    expectSameAsBatch(w);
    const auto& jobs = fakes.printer.jobs;
    EXPECT_GE(jobs.size(), w.minJobs);
    EXPECT_LE(jobs.size(), w.maxJobs);
    ASSERT_GE(jobs.size(), w.firstJobs.size());
    for (std::size_t k = 0; k < w.firstJobs.size(); ++k) EXPECT_EQ(jobs[k].name, w.firstJobs[k]) << k;
}

// The colour task at a small size, from the photo (separated) or the clip art (too few colours
// to need it).
Walk smallColours(std::string name, const std::string& picture = kPhoto) {
    Walk w;
    w.name = std::move(name);
    w.picture = picture;
    w.width = {3, 0};
    return w;
}

// Each tribal method on the small photo, its sliders where each one it uses changes the design.
Walk tribalMethod(int method, std::array<int, 3> sliders) {
    Walk w;
    w.name = "TribalMethod" + std::to_string(method);
    w.task = "CreateTribalTattoo";
    w.width = {3, 0};
    w.tribalMethod = method;
    w.sliders = sliders;
    return w;
}

std::vector<Walk> walks() {
    std::vector<Walk> all;
    {
        Walk w;
        w.name = "ColourTaskFromAPhotoShrunkWithDefaults";
        // One job per ticked page: stencil, colour matching, result, then the channels in order.
        w.firstJobs = {"STENCIL", "COLOR MATCHING", "RESULT"};
        w.minJobs = 4;
        all.push_back(w);
    }
    {
        Walk w;
        w.name = "ColourTaskFromClipArtEnlargedWithEveryOption";
        w.picture = kClipArt;
        w.dpi = 160;
        w.width = {6, 0};
        w.untick = {2};
        w.masked = w.mirror = w.stencilBlack = true;
        w.corners = Corners{2, 30};
        all.push_back(w);
    }
    {
        Walk w;
        w.name = "TribalTaskFromAPhoto";
        w.task = "CreateTribalTattoo";
        w.tribalMethod = 1;
        w.sliders = {106, 100, 100};
        all.push_back(w);
    }
    {
        Walk w;
        w.name = "TribalTaskFromClipArtEnlarged";
        w.task = "CreateTribalTattoo";
        w.picture = kClipArt;
        w.dpi = 120;
        w.width = {5, 50};
        w.tribalMethod = 5;
        w.sliders = {123, 100, 100};
        w.mirror = true;
        w.corners = Corners{2, 30};
        all.push_back(w);
    }
    {
        Walk w;
        w.name = "SingleFileFromClipArtEnlarged";
        w.task = "PrintSingleFile";
        w.picture = kClipArt;
        w.dpi = 160;
        w.width = {7, 5};
        all.push_back(w);
    }
    {
        Walk w;
        w.name = "SingleFileIsOneResultPage";
        w.task = "PrintSingleFile";
        w.firstJobs = {"RESULT"};
        w.minJobs = w.maxJobs = 1;
        all.push_back(w);
    }

    // Separation sliders: moves the clamps leave alone, then moves that push past a neighbour.
    {
        Walk w = smallColours("ThresholdsMovedWithinTheirNeighbours");
        w.thresholds = {{"white", 230},    {"mid-grey", 100}, {"black", 60},
                        {"red-high", 210}, {"cyan-mid", 100}, {"magenta-high", 170}};
        all.push_back(w);
    }
    {
        Walk w = smallColours("LightGreyPushedPastWhite");
        w.thresholds = {{"light-grey", 240}};
        all.push_back(w);
    }
    {
        Walk w = smallColours("WhitePulledBelowTheGreysDragsThemDown");
        w.thresholds = {{"white", 60}};
        all.push_back(w);
    }
    {
        Walk w = smallColours("BlackPushedPastMidGreyAndTheHues");
        w.thresholds = {{"mid-grey", 150}, {"black", 200}};
        all.push_back(w);
    }
    {
        Walk w = smallColours("HueMidPushedPastItsHighAndHighPulledBelowBlack");
        w.thresholds = {{"red-mid", 230}, {"green-high", 40}, {"yellow-mid", 0}, {"blue-high", 255}};
        all.push_back(w);
    }
    {
        Walk w = smallColours("ThresholdsAtBothEnds");
        w.thresholds = {{"white", 255}, {"light-grey", 0}, {"black", 255}};
        all.push_back(w);
    }

    {
        Walk w = smallColours("ChannelsUnticked");
        w.untick = {1, 3, 5};
        all.push_back(w);
    }

    {
        Walk w;
        w.name = "TribalTaskWithItsDefaults";
        w.task = "CreateTribalTattoo";
        w.width = {3, 0};
        w.tribalMethod = 0;
        all.push_back(w);
    }
    all.push_back(tribalMethod(1, {220, 80, 20}));
    all.push_back(tribalMethod(2, {180, 20, 100}));
    all.push_back(tribalMethod(3, {100, 60, 100}));
    all.push_back(tribalMethod(4, {180, 20, 100}));
    all.push_back(tribalMethod(5, {80, 100, 100}));
    all.push_back(tribalMethod(6, {100, 100, 100}));
    all.push_back(tribalMethod(7, {180, 100, 100}));
    all.push_back(tribalMethod(8, {80, 100, 100}));

    {
        Walk w = smallColours("InInches", kClipArt);
        w.inches = true;
        w.width = {1, 50};
        all.push_back(w);
    }
    {
        Walk w = smallColours("AspectRatioClearedWithAHeight", kClipArt);
        w.height = Size{5, 25};
        all.push_back(w);
    }
    {
        Walk w = smallColours("Masked");
        w.masked = true;
        all.push_back(w);
    }
    {
        Walk w = smallColours("MirroredStencil");
        w.mirror = true;
        all.push_back(w);
    }
    {
        Walk w = smallColours("StencilInBlack");
        w.stencilBlack = true;
        all.push_back(w);
    }
    {
        Walk w = smallColours("AdjustmentCorners");
        w.corners = Corners{5, 40};
        all.push_back(w);
    }
    {
        Walk w = smallColours("LabelOnTop", kClipArt);
        w.labelPoints = 20;
        all.push_back(w);
    }
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 3; ++row) {
            if (column == 1 && row == 1) continue;  // the default, in every other case
            Walk w =
                smallColours(std::string("Aligned") + kHorizontalNames[static_cast<std::size_t>(column)] +
                                 kVerticalNames[static_cast<std::size_t>(row)],
                             kClipArt);
            w.alignColumn = column;
            w.alignRow = row;
            all.push_back(w);
        }
    }
    {
        Walk w = smallColours("PageCorners", kClipArt);
        w.pageCorners = Corners{4, 60};
        all.push_back(w);
    }
    {
        Walk w = smallColours("ReopenedProject", kClipArt);
        w.start = Start::Project;
        w.untick = {2};
        w.mirror = true;
        all.push_back(w);
    }
    {
        Walk w;
        w.name = "SingleFileWithLabelAlignmentAndPageCorners";
        w.task = "PrintSingleFile";
        w.picture = kClipArt;
        w.width = {4, 0};
        w.alignColumn = 2;
        w.alignRow = 0;
        w.labelPoints = 14;
        w.pageCorners = Corners{3, 20};
        w.minJobs = w.maxJobs = 1;
        all.push_back(w);
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(Walks, TaskWalkTable, ::testing::ValuesIn(walks()),
                         [](const ::testing::TestParamInfo<Walk>& info) { return info.param.name; });

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
