#include <QAbstractSpinBox>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <tuple>

#include "OutputScreensFixture.h"
#include "formats/Bmp.h"
#include "formats/JpegReader.h"
#include "output/NewFolder.h"
#include "output/PageExport.h"
#include "output/Printing.h"
#include "platform/qt/QtPrinter.h"
#include "project/ProjectFolder.h"

namespace dg::test {
namespace {

std::vector<std::string> filesIn(const std::string& path) {
    std::vector<std::string> names;
    for (const QString& name : QDir(QString::fromStdString(path)).entryList(QDir::Files, QDir::Name))
        names.push_back(name.toStdString());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

class PrintingScreen : public OutputScreens {
protected:
    // Channels 1 and 3 ticked on the channels screen, OPTIONS at its defaults.
    void SetUp() override {
        OutputScreens::SetUp();
        tickOnly({1, 3});
        toPrinting();
    }
    std::vector<std::string> jobNames() const {
        std::vector<std::string> names;
        for (const auto& job : fakes.printer.jobs) names.push_back(job.name);
        return names;
    }
    std::vector<bool> ticks() {
        std::vector<bool> t{entry("stencilEntry")->isChecked(), entry("colorMatchingEntry")->isChecked(),
                            entry("resultEntry")->isChecked()};
        for (int n = 1; n <= kChannelCount; ++n) t.push_back(channelEntry(n)->isChecked());
        return t;
    }
    static std::vector<bool> ticked(std::initializer_list<int> indices) {
        std::vector<bool> t(26, false);
        for (int i : indices) t[static_cast<std::size_t>(i)] = true;
        return t;
    }
    RgbImage readBmp(const std::string& path) { return decodeBmp24(fakes.files.readFile(path)); }
    RgbImage readJpeg(const std::string& path) {
        const auto bytes = fakes.files.readFile(path);
        return decodeJpeg(bytes.data(), bytes.size());
    }
};

// Stencil, colour matching, result, then channels 1 and 2 (channels 1 and 3 of the set).
constexpr int kStencil = 0, kColorMatching = 1, kResult = 2, kFirstChannel = 3;

TEST_F(PrintingScreen, CheckAllTicksOnlyTheShownEntries) {
    EXPECT_EQ(ticks(), ticked({kStencil, kColorMatching, kResult, kFirstChannel, kFirstChannel + 2}));
    for (int n : {2, 4, 23}) EXPECT_FALSE(channelEntry(n)->isVisible()) << n;
    EXPECT_EQ(channelEntry(1)->text(), "Channel # 1");
    EXPECT_EQ(channelEntry(3)->text(), "Channel # 2");
    const ColorValue c = channels().colorOf(3);
    EXPECT_EQ(channelEntry(3)->palette().color(QPalette::WindowText),
              QColor(redOf(c), greenOf(c), blueOf(c)));

    click(button(printing(), "uncheckAll"));
    EXPECT_EQ(ticks(), ticked({}));
    click(channelEntry(3));  // the user's tick goes into the queue
    EXPECT_TRUE(printing()->entries().channel(3).ticked);
    click(button(printing(), "checkAll"));
    EXPECT_EQ(ticks(), ticked({kStencil, kColorMatching, kResult, kFirstChannel, kFirstChannel + 2}));
    for (int n : {2, 4, 23}) EXPECT_FALSE(printing()->entries().channel(n).ticked) << n;
}

TEST_F(PrintingScreen, SettingsStartAtTheirDefaultsWithinTheirRanges) {
    const PageSettings settings = printing()->pageSettings();
    EXPECT_EQ(settings.horizontal, HorizontalAlign::Centre);
    EXPECT_EQ(settings.vertical, VerticalAlign::Middle);
    EXPECT_TRUE(button(printing(), "align11")->isChecked());
    const std::pair<const char*, bool> ticks[] = {{"labelOnTop", false},
                                                  {"pageCorners", false},
                                                  {"asJpeg", true},
                                                  {"asBmp", false},
                                                  {"openTarget", false}};
    for (const auto& [name, ticked] : ticks) EXPECT_EQ(button(printing(), name)->isChecked(), ticked) << name;
    const std::tuple<const char*, int, int, int> spins[] = {
        {"fontSize", 8, 8, 72}, {"cornerWidth", 2, 1, 50}, {"cornerSize", 50, 1, 500}};
    for (const auto& [name, value, minimum, maximum] : spins) {
        const QSpinBox* spin = child<QSpinBox>(printing(), name);
        EXPECT_EQ(std::tuple(spin->value(), spin->minimum(), spin->maximum()),
                  std::tuple(value, minimum, maximum))
            << name;
    }
    // Exactly one alignment button is down: another click moves it, a click on it keeps it.
    click(button(printing(), "align02"));
    click(button(printing(), "align02"));
    EXPECT_TRUE(button(printing(), "align02")->isChecked());
    EXPECT_FALSE(button(printing(), "align11")->isChecked());
    EXPECT_EQ(printing()->pageSettings().horizontal, HorizontalAlign::Left);
    EXPECT_EQ(printing()->pageSettings().vertical, VerticalAlign::Bottom);
}

TEST_F(PrintingScreen, PrintsOneJobPerTickedPageInOrder) {
    fakes.printer.currentOrientation = Orientation::Landscape;
    tick(printing(), "labelOnTop");
    tick(printing(), "pageCorners");
    click(button(printing(), "align22"));  // right, bottom
    const PageSettings settings = printing()->pageSettings();
    ASSERT_EQ(settings.horizontal, HorizontalAlign::Right);
    ASSERT_EQ(settings.vertical, VerticalAlign::Bottom);
    ASSERT_TRUE(settings.labelOnTop && settings.pageCorners);

    click(button(printing(), "printChecked"));
    EXPECT_EQ(jobNames(), (std::vector<std::string>{"STENCIL", "COLOR MATCHING", "RESULT", "Channel # 1",
                                                    "Channel # 2"}));
    EXPECT_EQ(fakes.dialogs.messages,
              (std::vector<std::string>{kStencilMediaMessage, kRegularPaperMessage, kFinishedMessage}));
    EXPECT_EQ(ticks(), ticked({}));
    EXPECT_EQ(fakes.printer.jobs[1].orientation, Orientation::Portrait);
    EXPECT_EQ(fakes.printer.currentOrientation, Orientation::Landscape);

    // The result's page as the composition lays it out with the settings on the screen.
    const PagePlacement placement = placementFor(fakes.printer, screens->state, settings);
    EXPECT_EQ(placement.picture.x + placement.picture.width, 3508);
    EXPECT_TRUE(SameImage(
        composePlacedPage(channels().after, placement, pageDecoration(settings, 300, 300), "RESULT"),
        fakes.printer.jobs[2].page));
    EXPECT_TRUE(SameImage(composePlacedPage(channels().channel(3).mask, placement,
                                            pageDecoration(settings, 300, 300), "Channel # 2"),
                          fakes.printer.jobs[4].page));

    // Printed pages left the queue: another press prints only what is ticked anew.
    click(channelEntry(3));
    fakes.printer.jobs.clear();
    click(button(printing(), "printChecked"));
    EXPECT_EQ(jobNames(), (std::vector<std::string>{"Channel # 2"}));
}

TEST_F(PrintingScreen, AFailingJobStopsTheRunAndLeavesTheRestTicked) {
    fakes.printer.failJob = 2;  // the result's job
    click(button(printing(), "printChecked"));
    EXPECT_EQ(jobNames(), (std::vector<std::string>{"STENCIL", "COLOR MATCHING"}));
    EXPECT_EQ(fakes.dialogs.messages.back(), std::string("ERROR") + fakes.printer.failText);
    EXPECT_EQ(ticks(), ticked({kResult, kFirstChannel, kFirstChannel + 2}));
    EXPECT_TRUE(printing()->isVisible());

    fakes.printer.failJob.reset();
    click(button(printing(), "printChecked"));
    EXPECT_EQ(jobNames(), (std::vector<std::string>{"STENCIL", "COLOR MATCHING", "RESULT", "Channel # 1",
                                                    "Channel # 2"}));
    EXPECT_EQ(fakes.dialogs.messages.back(), kFinishedMessage);

    // A cancelled second dialog prints nothing more and says nothing.
    click(button(printing(), "checkAll"));
    fakes.printer.printAnswers = {false, false};
    const std::size_t messages = fakes.dialogs.messages.size();
    click(button(printing(), "printChecked"));
    EXPECT_EQ(fakes.printer.jobs.size(), 5u);
    EXPECT_EQ(fakes.dialogs.messages.size(), messages + 1);  // only the stencil media message
    EXPECT_EQ(ticks(), ticked({kColorMatching, kResult, kFirstChannel, kFirstChannel + 2}));
}

TEST_F(PrintingScreen, ExportWritesFullPrinterPages) {
    fakes.printer.currentOrientation = Orientation::Landscape;
    const std::string jpegName = folder.file("dragon");
    const std::string bmpName = folder.file("dragon bmp");
    fakes.dialogs.saveAnswers = {jpegName, bmpName, jpegName};

    click(button(printing(), "saveChecked"));
    const std::string jpegFolder = jpegName + " Pages";
    ASSERT_EQ(filesIn(jpegFolder), sorted({"STENCILpage.jpeg", "ColorMatchingPage.jpeg", "RESULTpage.jpeg",
                                           "1page.jpeg", "3page.jpeg"}));
    for (const std::string& name : filesIn(jpegFolder)) {
        const RgbImage page = readJpeg(jpegFolder + "/" + name);
        const bool portrait = name == "ColorMatchingPage.jpeg";
        EXPECT_EQ(page.width(), portrait ? 2480 : 3508) << name;
        EXPECT_EQ(page.height(), portrait ? 3508 : 2480) << name;
    }
    EXPECT_EQ(fakes.dialogs.messages.back(), std::string(kPagesSavedMessage) + jpegFolder + "/");
    EXPECT_TRUE(fakes.shell.openedFolders.empty());

    tick(printing(), "asBmp");
    tick(printing(), "openTarget");
    click(button(printing(), "saveChecked"));
    const std::string bmpFolder = bmpName + " Pages";
    ASSERT_EQ(filesIn(bmpFolder), sorted({"STENCILpage.bmp", "ColorMatchingPage.bmp", "RESULTpage.bmp",
                                          "1page.bmp", "3page.bmp"}));
    const PageSettings settings = printing()->pageSettings();
    const PagePlacement placement = placementFor(fakes.printer, screens->state, settings);
    EXPECT_TRUE(
        SameImage(composePlacedPage(channels().after, placement, pageDecoration(settings, 300, 96), "RESULT"),
                  readBmp(bmpFolder + "/RESULTpage.bmp")));
    EXPECT_EQ(readBmp(bmpFolder + "/ColorMatchingPage.bmp").width(), 2480);
    EXPECT_EQ(fakes.shell.openedFolders, (std::vector<std::string>{bmpFolder}));
    EXPECT_EQ(fakes.printer.currentOrientation, Orientation::Landscape);
    // Export keeps the queue as it was.
    EXPECT_EQ(ticks(), ticked({kStencil, kColorMatching, kResult, kFirstChannel, kFirstChannel + 2}));

    // The same name again: refused, nothing written.
    const auto before = filesIn(jpegFolder);
    click(button(printing(), "saveChecked"));
    EXPECT_EQ(fakes.dialogs.messages.back(), kFolderExistsWarning);
    EXPECT_EQ(filesIn(jpegFolder), before);
}

// Printing empties the queue; exporting it then is refused, not reported as saved.
TEST_F(PrintingScreen, ExportWithNothingTickedSavesNothing) {
    click(button(printing(), "printChecked"));
    ASSERT_EQ(ticks(), ticked({}));
    const QDir disk(QString::fromStdString(folder.path()));
    const auto entries = [&disk] {
        return disk.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(", ").toStdString();
    };
    const std::string before = entries();
    const std::size_t messages = fakes.dialogs.messages.size();
    fakes.dialogs.saveAnswers = {folder.file("dragon")};
    click(button(printing(), "saveChecked"));
    ASSERT_EQ(fakes.dialogs.messages.size(), messages + 1);
    EXPECT_EQ(fakes.dialogs.messages.back(),
              "NOTHING SAVED: NO PAGE IS CHECKED. Please check the pages to save.");
    EXPECT_EQ(fakes.dialogs.saveAnswers.size(), 1u);  // no save dialog was asked
    EXPECT_EQ(entries(), before);                     // no "dragon Pages" folder
}

TEST_F(PrintingScreen, SavesTheProjectWithTheStencilOnce) {
    const std::string chosen = folder.file("dragon");
    fakes.dialogs.saveAnswers = {chosen, chosen};
    click(button(printing(), "saveProject"));
    const std::string project = projectFolderPath(chosen, screens->state);
    EXPECT_EQ(fakes.dialogs.messages.back(), kProjectSavedMessage + project);
    EXPECT_EQ(filesIn(project), sorted({"_Source.bmp", "_Result0.bmp", "RESULT.bmp", "PROJECT.CSP", "1.bmp",
                                        "3.bmp", "Stencil.bmp"}));
    EXPECT_TRUE(SameImage(screens->pictures.intake, readBmp(project + "/_Source.bmp")));
    EXPECT_TRUE(SameImage(channels().after, readBmp(project + "/RESULT.bmp")));
    EXPECT_TRUE(SameImage(screens->workflow.stencil, readBmp(project + "/Stencil.bmp")));
    EXPECT_TRUE(SameImage(channels().channel(3).mask, readBmp(project + "/3.bmp")));

    const auto resultBytes = fakes.files.readFile(project + "/RESULT.bmp");
    channels().after.fill(kBlack);
    click(button(printing(), "saveProject"));
    EXPECT_EQ(fakes.dialogs.messages.back(), kFolderExistsWarning);
    EXPECT_EQ(fakes.files.readFile(project + "/RESULT.bmp"), resultBytes);
}

TEST_F(PrintingScreen, NoStencilMadeNoStencilSaved) {
    printing()->hide();
    tickOnly({1, 3});
    toOptions();
    tick(options(), "createStencil");
    click(button(options(), "next"));
    EXPECT_FALSE(entry("stencilEntry")->isVisible());
    EXPECT_FALSE(child<QWidget>(printing(), "stencilThumbnail")->isVisible());
    fakes.dialogs.saveAnswers = {folder.file("plain")};
    click(button(printing(), "saveProject"));
    EXPECT_EQ(filesIn(projectFolderPath(folder.file("plain"), screens->state)),
              sorted({"_Source.bmp", "_Result0.bmp", "RESULT.bmp", "PROJECT.CSP", "1.bmp", "3.bmp"}));
}

// The disk fills up in the middle: the system's error is shown, the files before it stay,
// and the screen goes on working.
TEST_F(PrintingScreen, AFullDiskShowsTheSystemsErrorAndTheProgramGoesOn) {
    toPrintingOnAFillingDisk();
    tick(printing(), "asBmp");

    disk.writesLeft = 1;
    fakes.dialogs.saveAnswers = {folder.file("full"), folder.file("full project"), folder.file("later")};
    click(button(printing(), "saveChecked"));
    EXPECT_EQ(fakes.dialogs.messages.back(), "ERROR" + fullDiskText());
    EXPECT_EQ(filesIn(folder.file("full Pages")), (std::vector<std::string>{"STENCILpage.bmp"}));

    disk.writesLeft = 2;
    click(button(printing(), "saveProject"));
    EXPECT_EQ(fakes.dialogs.messages.back(), fullDiskText());
    EXPECT_EQ(filesIn(projectFolderPath(folder.file("full project"), screens->state)),
              sorted({"_Source.bmp", "_Result0.bmp"}));

    disk.writesLeft = 100;
    click(button(printing(), "saveChecked"));
    EXPECT_EQ(fakes.dialogs.messages.back().rfind(kPagesSavedMessage, 0), 0u)
        << fakes.dialogs.messages.back();
    EXPECT_EQ(filesIn(folder.file("later Pages")).size(), 5u);
    fakes.dialogs.files = &fakes.files;
}

TEST_F(PrintingScreen, AFolderThatCannotBeCreatedShowsTheSystemsError) {
    const std::string missingParent = folder.file("gone/dragon");
    for (const char* action : {"saveChecked", "saveProject"}) {
        SCOPED_TRACE(action);
        fakes.dialogs.saveAnswers = {missingParent};
        click(button(printing(), action));
        EXPECT_NE(fakes.dialogs.messages.back().find("No such file or directory"), std::string::npos)
            << fakes.dialogs.messages.back();
        EXPECT_TRUE(filesIn(folder.path()).empty());
        EXPECT_TRUE(printing()->isVisible());
    }
    fakes.dialogs.saveAnswers = {folder.file("dragon")};
    click(button(printing(), "saveProject"));
    EXPECT_EQ(fakes.dialogs.messages.back(),
              kProjectSavedMessage + projectFolderPath(folder.file("dragon"), screens->state));
}

TEST_F(PrintingScreen, MessageLineSingleFileAndNavigation) {
    EXPECT_FALSE(child<QWidget>(printing(), "messageLine")->isVisible());
    printing()->showMessageLine("too big");
    EXPECT_TRUE(child<QWidget>(printing(), "messageLine")->isVisible());
    EXPECT_EQ(text(printing(), "messageText"), "too big");
    printing()->showMessageLine("");
    EXPECT_FALSE(child<QWidget>(printing(), "messageLine")->isVisible());

    // The result thumbnail opens the result as it was before the composition.
    QWidget* thumbnail = child<QWidget>(printing(), "resultThumbnail");
    QTest::mouseClick(thumbnail, Qt::LeftButton);
    EXPECT_TRUE(screens->previewViewer->isVisible());
    EXPECT_TRUE(SameImage(screens->workflow.resultThumbnail, screens->pictures.preview));
    screens->previewViewer->hide();

    // As the single-file task enters: RESULT alone, and no project to save.
    screens->state.task = TaskMode::PrintSingleFile;
    screens->workflow.scaleSingleFile();
    EXPECT_EQ(ticks(), ticked({kResult}));
    EXPECT_TRUE(entry("resultEntry")->isVisible());
    for (const char* name :
         {"stencilEntry", "colorMatchingEntry", "channelEntry1", "stencilThumbnail", "saveProject"})
        EXPECT_FALSE(child<QWidget>(printing(), name)->isVisible()) << name;
    EXPECT_TRUE(thumbnail->isVisible());

    click(button(printing(), "help"));
    EXPECT_TRUE(screens->printingHelp->isVisible());
    printing()->close();
    EXPECT_EQ(visibleWindows(), (std::vector<std::string>{"TForm001"}));
    printing()->show();
    click(button(printing(), "close"));
    EXPECT_FALSE(printing()->isVisible());
    printing()->show();
    click(button(printing(), "exit"));
    EXPECT_EQ(ended, 1);
}

// With no printer installed the program prints on its own virtual printer: PDF files in the
// folder its print dialog chooses, and pages of its A4 size.
TEST_F(PrintingScreen, WithoutAPrinterTheVirtualPrinterTakesThePages) {
    const auto printer = QtPrinter::makeVirtual();
    TempFolder out;
    printer->setOutputFolder(out.path());
    Platform platform{*printer, fakes.clipboard, fakes.dialogs, fakes.files, fakes.shell};
    screens = std::make_unique<ScreenSet>(platform, [this] { ++ended; });
    prepare(design());
    tickOnly({1, 3});
    toPrinting();
    click(button(printing(), "uncheckAll"));
    click(entry("resultEntry"));

    // The virtual printer's dialog picks its folder; accept it as it opens.
    QTimer accept;
    int accepted = 0;
    QObject::connect(&accept, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            QMetaObject::invokeMethod(dialog, "accept");
            ++accepted;
        }
    });
    accept.start(10);
    click(button(printing(), "printChecked"));
    accept.stop();
    EXPECT_EQ(accepted, 1);
    EXPECT_EQ(filesIn(out.path()), (std::vector<std::string>{"RESULT.pdf"}));
    EXPECT_EQ(fakes.dialogs.messages.back(), kFinishedMessage);

    tick(printing(), "asBmp");
    click(entry("resultEntry"));
    fakes.dialogs.saveAnswers = {folder.file("virtual")};
    click(button(printing(), "saveChecked"));
    const RgbImage page = readBmp(folder.file("virtual Pages/RESULTpage.bmp"));
    EXPECT_EQ(page.width(), 2480);
    EXPECT_EQ(page.height(), 3508);
}

// The screens' captions are white on the dark ground, but a spin box's arrows are drawn in the
// window-text colour on its light button: they must stay dark there to be seen at all.
TEST_F(PrintingScreen, SpinBoxArrowsStandOutFromTheirButtons) {
    toPrinting();
    for (QWidget* window : {static_cast<QWidget*>(options()), static_cast<QWidget*>(printing())}) {
        const auto spins = window->findChildren<QAbstractSpinBox*>();
        ASSERT_FALSE(spins.isEmpty()) << window->objectName().toStdString();
        for (QAbstractSpinBox* spin : spins) {
            const QPalette& palette = spin->palette();
            EXPECT_GT(std::abs(palette.color(QPalette::WindowText).lightness() -
                               palette.color(QPalette::Button).lightness()),
                      100)
                << window->objectName().toStdString() << " " << spin->objectName().toStdString();
        }
    }
}

}  // namespace
}  // namespace dg::test
