// Printing on the printers a studio has, through a print system of the test's own (see
// with-private-cups.sh): each queue is opened with its own paper, resolution and margins, by
// the batch command (--printer) and by the wizard (the default printer, no dialog), and every
// job is measured as the queue wrote it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QProcess>
#include <QSpinBox>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "platform/AcceptingPrinter.h"
#include "platform/fake/FakePlatform.h"
#include "platform/qt/CupsQueue.h"
#include "platform/qt/QtPrinter.h"
#include "print/PdfMeasures.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"
#include "screens/ScreenSet.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "support/ImageCompare.h"

namespace dg {
namespace {

namespace fs = std::filesystem;
using test::Box;
using test::darkBox;
using test::pageSizePt;
using test::run;

// A queue as its PPD describes it: the paper in millimetres, the printable area's margins in
// points (left, top, right, bottom), the resolution.
struct Queue {
    const char* name;
    double paperWidthMm, paperHeightMm;
    double paperWidthPt, paperHeightPt;
    double left, top, right, bottom;  // points
    int dpi;
};

void PrintTo(const Queue& q, std::ostream* os) { *os << q.name; }

const Queue kQueues[] = {
    {"A4-300", 210.0, 297.0, 595, 842, 12, 18, 6, 24, 300},
    {"Letter-600", 215.9, 279.4, 612, 792, 18, 18, 18, 18, 600},
    {"Stencil-203", 203.2, 279.4, 576, 792, 0, 0, 0, 0, 203},
};

double mm(double points) { return points * 25.4 / 72; }

// The printable page in printer pixels, worked out from the queue's own description.
int printableWidthPx(const Queue& q) {
    return static_cast<int>(std::lround((q.paperWidthMm - mm(q.left) - mm(q.right)) * q.dpi / 25.4));
}
int printableHeightPx(const Queue& q) {
    return static_cast<int>(std::lround((q.paperHeightMm - mm(q.top) - mm(q.bottom)) * q.dpi / 25.4));
}

// One line of `pdfimages -list` for a page's picture.
struct EmbeddedPicture {
    int width = 0, height = 0, xPpi = 0, yPpi = 0;
    std::string encoding;
};
std::vector<EmbeddedPicture> embeddedPictures(const std::string& pdf) {
    std::istringstream lines(run("pdfimages", {"-list", QString::fromStdString(pdf)}));
    std::vector<EmbeddedPicture> pictures;
    std::string line;
    for (int skip = 0; skip < 2 && std::getline(lines, line); ++skip) {
    }
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string page, num, type, color, comp, bpc, interp, object, id;
        EmbeddedPicture p;
        fields >> page >> num >> type >> p.width >> p.height >> color >> comp >> bpc >> p.encoding >>
            interp >> object >> id >> p.xPpi >> p.yPpi;
        if (fields) pictures.push_back(p);
    }
    return pictures;
}

class PrinterQueues : public ::testing::TestWithParam<Queue> {
protected:
    void SetUp() override {
        if (std::getenv("PRINT_QUEUES") == nullptr)
            GTEST_SKIP() << "needs the private CUPS daemon of with-private-cups.sh";
        jobs_ = fs::path(std::getenv("PRINT_QUEUES")) / GetParam().name;
        for (const auto& job : fs::directory_iterator(jobs_)) fs::remove(job.path());
    }

    // The jobs the queue has written, in the order they were printed, once it is idle.
    std::vector<std::string> finishedJobs() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!run("lpstat", {"-o", GetParam().name}).empty() && std::chrono::steady_clock::now() < deadline)
            QThread::msleep(100);
        EXPECT_TRUE(run("lpstat", {"-o", GetParam().name}).empty()) << "the queue did not finish";
        std::vector<std::string> files;
        for (const auto& job : fs::directory_iterator(jobs_))
            if (job.path().extension() == ".pdf") files.push_back(job.path().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    // Every job is one page of the queue's paper holding one picture of the printable page,
    // at the queue's resolution and stored without loss.
    void expectQueuePages(const std::vector<std::string>& jobs) {
        const Queue& q = GetParam();
        for (const std::string& job : jobs) {
            SCOPED_TRACE(job);
            const auto [widthPt, heightPt] = pageSizePt(job);
            EXPECT_NEAR(widthPt, q.paperWidthPt, 0.5);
            EXPECT_NEAR(heightPt, q.paperHeightPt, 0.5);
            const auto pictures = embeddedPictures(job);
            ASSERT_EQ(pictures.size(), 1u);
            EXPECT_EQ(pictures[0].width, printableWidthPx(q));
            EXPECT_EQ(pictures[0].height, printableHeightPx(q));
            EXPECT_EQ(pictures[0].xPpi, q.dpi);
            EXPECT_EQ(pictures[0].yPpi, q.dpi);
            EXPECT_NE(pictures[0].encoding, "jpeg");
            EXPECT_NE(pictures[0].encoding, "jpx");
        }
    }

    // The 10.00 x 8.00 cm black page, centred: its true size, where the placement puts it on
    // the printable area.
    void expectTenByEight(const std::string& job) {
        const Queue& q = GetParam();
        // At 508 DPI a millimetre is 20 pixels.
        const Box box =
            darkBox(run("pdftoppm", {"-r", "508", "-gray", "-singlefile", QString::fromStdString(job)}));
        ASSERT_GE(box.right, 0) << "nothing printed";
        EXPECT_NEAR((box.right - box.left + 1) / 20.0, 100.0, 0.1);
        EXPECT_NEAR((box.bottom - box.top + 1) / 20.0, 80.0, 0.1);
        const int w = static_cast<int>(std::lround(10.0 * q.dpi / 2.54));
        const int h = static_cast<int>(std::lround(8.0 * q.dpi / 2.54));
        const int x = printableWidthPx(q) / 2 - w / 2;
        const int y = printableHeightPx(q) / 2 - h / 2;
        EXPECT_NEAR(box.left / 20.0, mm(q.left) + x * 25.4 / q.dpi, 0.1);
        EXPECT_NEAR(box.top / 20.0, mm(q.top) + y * 25.4 / q.dpi, 0.1);
    }

    void batch(const std::vector<std::string>& arguments) {
        QStringList args;
        for (const std::string& a : arguments) args << QString::fromStdString(a);
        args << "--print"
             << "--printer" << GetParam().name;
        int code = -1;
        const std::string output = run(DG_BATCH_PROGRAM, args, &code);
        ASSERT_EQ(code, 0) << output;
    }

    test::TempFolder folder;
    fs::path jobs_;
};

// `picture` as the BMP file `name` in `folder`.
std::string pictureFile(const test::TempFolder& folder, const std::string& name, const RgbImage& picture) {
    const std::string path = folder.file(name);
    const auto bytes = encodeBmp(picture);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// A black picture and one of four colours, small so that the sanitizers stay quick.
std::string blackPicture(const test::TempFolder& folder) {
    RgbImage picture(40, 32);
    picture.fill(kBlack);
    return pictureFile(folder, "black.bmp", picture);
}
std::string fourColours(const test::TempFolder& folder) {
    RgbImage picture(40, 40);
    const ColorValue colours[] = {makeColor(200, 30, 30), makeColor(30, 160, 40), makeColor(20, 40, 200),
                                  makeColor(250, 250, 250)};
    for (std::int32_t y = 0; y < 40; ++y)
        for (std::int32_t x = 0; x < 40; ++x) picture.setPixel(x, y, colours[(y / 20) * 2 + x / 20]);
    return pictureFile(folder, "four.bmp", picture);
}

TEST_P(PrinterQueues, TheBatchCommandPrintsOnTheQueuesPaperAtItsResolution) {
    batch({blackPicture(folder), "--task", "single", "--dpi", "70", "--width", "10", "--no-aspect",
           "--height", "8"});
    auto jobs = finishedJobs();
    ASSERT_EQ(jobs.size(), 1u);
    expectQueuePages(jobs);
    expectTenByEight(jobs[0]);

    for (const auto& job : fs::directory_iterator(jobs_)) fs::remove(job.path());
    batch({fourColours(folder), "--task", "colors", "--dpi", "70", "--width", "3"});
    jobs = finishedJobs();
    // The stencil, the colour matching, the result and a page for each colour.
    EXPECT_GE(jobs.size(), 6u) << ::testing::PrintToString(jobs);
    expectQueuePages(jobs);
}

// The wizard on the system's default printer, as a user without a print dialog meets it.
class WizardOnQueue : public PrinterQueues {
protected:
    void SetUp() override {
        PrinterQueues::SetUp();
        if (IsSkipped()) return;
        run("lpadmin", {"-d", GetParam().name});
        printer = std::make_unique<QtPrinter>();
        ASSERT_EQ(printer->name(), GetParam().name);
        accepting = std::make_unique<AcceptingPrinter>(*printer);
        platform = std::make_unique<Platform>(
            Platform{*accepting, fakes.clipboard, fakes.dialogs, fakes.files, fakes.shell});
        fakes.files.folder = folder.path();
        screens = std::make_unique<ScreenSet>(*platform, [] {});
    }
    void TearDown() override { screens.reset(); }

    static void click(QAbstractButton* b) {
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QAbstractButton* button(QWidget* window, const char* name) {
        auto* found = window->findChild<QAbstractButton*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void open(const char* task, const std::string& picture, int dpi, int width, int height) {
        click(button(screens->selectTask.get(), task));
        fakes.dialogs.pictureAnswers.push_back(picture);
        click(button(screens->selectTask.get(), "openImage"));
        TForm004* out = screens->outputSize.get();
        ASSERT_TRUE(out->isVisible());
        out->SpinEdit1->setValue(dpi);
        out->SpinEdit2->setValue(width);
        out->SpinEdit3->setValue(0);
        if (height > 0) {
            click(button(out, "PreserveAspectRatio"));
            out->SpinEdit4->setValue(height);
            out->SpinEdit5->setValue(0);
        }
    }

    fake::FakePlatform fakes;
    std::unique_ptr<QtPrinter> printer;
    std::unique_ptr<AcceptingPrinter> accepting;
    std::unique_ptr<Platform> platform;
    std::unique_ptr<ScreenSet> screens;
};

TEST_P(WizardOnQueue, PrintCheckedPrintsOnTheDefaultPrintersPaperAtItsResolution) {
    open("PrintSingleFileCaption", blackPicture(folder), 70, 10, 8);
    click(button(screens->outputSize.get(), "nextSingleFile"));
    ASSERT_TRUE(screens->printing->isVisible());
    click(button(screens->printing.get(), "printChecked"));
    auto jobs = finishedJobs();
    ASSERT_EQ(jobs.size(), 1u) << ::testing::PrintToString(fakes.dialogs.messages);
    expectQueuePages(jobs);
    expectTenByEight(jobs[0]);
}

TEST_P(WizardOnQueue, TheColourTasksPagesAreTheQueuesPages) {
    open("TattooIn23ColorsCaption", fourColours(folder), 70, 3, 0);
    click(button(screens->outputSize.get(), "nextColorReduction"));
    // Few colours go straight to the channels; more pass the separation first.
    if (screens->separation->isVisible()) click(button(screens->separation.get(), "next"));
    ASSERT_TRUE(screens->channels->isVisible());
    click(button(screens->channels.get(), "next"));
    click(button(screens->colorMatching.get(), "next"));
    click(button(screens->options.get(), "next"));
    ASSERT_TRUE(screens->printing->isVisible());
    click(button(screens->printing.get(), "checkAll"));
    click(button(screens->printing.get(), "printChecked"));
    const auto jobs = finishedJobs();
    EXPECT_GE(jobs.size(), 6u) << ::testing::PrintToString(jobs);
    expectQueuePages(jobs);
}

// A page picture black all over lands on exactly the printable area of the paper as the queue
// delivers it, upright or turned: a landscape page is turned onto the paper, its margins with it.
TEST_P(PrinterQueues, AFullPageFillsThePrintableAreaOfThePaperInBothOrientations) {
    const Queue& q = GetParam();
    for (const Orientation orientation : {Orientation::Portrait, Orientation::Landscape}) {
        SCOPED_TRACE(orientation == Orientation::Portrait ? "portrait" : "landscape");
        for (const auto& job : fs::directory_iterator(jobs_)) fs::remove(job.path());
        auto printer = QtPrinter::forPrinter(q.name);
        printer->setOrientation(orientation);
        RgbImage page(printer->pageWidthPx(), printer->pageHeightPx());
        page.fill(kBlack);
        printer->printPage(page, "FULL");
        const auto jobs = finishedJobs();
        ASSERT_EQ(jobs.size(), 1u);
        const auto [widthPt, heightPt] = pageSizePt(jobs[0]);
        EXPECT_NEAR(widthPt, q.paperWidthPt, 0.5);
        EXPECT_NEAR(heightPt, q.paperHeightPt, 0.5);
        // At 254 DPI a pixel is a tenth of a millimetre.
        const Box box =
            darkBox(run("pdftoppm", {"-r", "254", "-gray", "-singlefile", QString::fromStdString(jobs[0])}));
        EXPECT_NEAR(box.left / 10.0, mm(q.left), 0.2);
        EXPECT_NEAR(box.top / 10.0, mm(q.top), 0.2);
        EXPECT_NEAR((box.right + 1) / 10.0, mm(q.paperWidthPt - q.right), 0.2);
        EXPECT_NEAR((box.bottom + 1) / 10.0, mm(q.paperHeightPt - q.bottom), 0.2);
    }
}

// A queue's or a user's resolution option, as vertical dots per inch.
TEST(QueueResolution, ResolutionTextsAreReadAsVerticalDotsPerInch) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"300dpi", 300},       {"203dpi", 203},       {"600x1200dpi", 1200},  {"118dpcm", 300},
        {"dpi", std::nullopt}, {"300", std::nullopt}, {"0dpi", std::nullopt}, {"300dots", std::nullopt},
    };
    for (const auto& [text, dpi] : cases) EXPECT_EQ(parseResolution(text), dpi) << text;
}

// Test names without the queue name's dash.
std::string queueName(const ::testing::TestParamInfo<Queue>& info) {
    std::string name = info.param.name;
    name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
    return name;
}

INSTANTIATE_TEST_SUITE_P(Queues, PrinterQueues, ::testing::ValuesIn(kQueues), queueName);
INSTANTIATE_TEST_SUITE_P(Queues, WizardOnQueue, ::testing::ValuesIn(kQueues), queueName);

}  // namespace
}  // namespace dg
