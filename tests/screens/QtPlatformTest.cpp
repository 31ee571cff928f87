#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <cstdio>
#include <memory>
#include <string>

#include "ShellFixture.h"
#include "formats/Bmp.h"
#include "imaging/Failure.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtImage.h"
#include "platform/qt/QtPrinter.h"

namespace dg::test {
namespace {

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    ::pclose(pipe);
    return output;
}

std::string pdfInfoLine(const std::string& path, const std::string& key) {
    const std::string info = run("pdfinfo '" + path + "' 2>&1");
    const auto at = info.find(key + ":");
    if (at == std::string::npos) return "missing in: " + info;
    std::string line = info.substr(at + key.size() + 1, info.find('\n', at) - at - key.size() - 1);
    line.erase(0, line.find_first_not_of(' '));
    return line;
}

QByteArray contents(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(VirtualPrinter, IsAnA4PageAt300DpiThatTurns) {
    const auto printer = QtPrinter::makeVirtual();
    EXPECT_TRUE(printer->isVirtual());
    EXPECT_EQ(printer->pageWidthPx(), 2480);
    EXPECT_EQ(printer->pageHeightPx(), 3508);
    EXPECT_EQ(printer->dpiX(), 300);
    EXPECT_EQ(printer->dpiY(), 300);
    EXPECT_EQ(printer->widthMm(), 210);
    EXPECT_EQ(printer->heightMm(), 297);
    EXPECT_EQ(printer->orientation(), Orientation::Portrait);
    printer->setOrientation(Orientation::Landscape);
    EXPECT_EQ(printer->orientation(), Orientation::Landscape);
    EXPECT_EQ(printer->pageWidthPx(), 3508);
    EXPECT_EQ(printer->pageHeightPx(), 2480);
    EXPECT_EQ(printer->widthMm(), 297);
    EXPECT_EQ(printer->heightMm(), 210);
}

TEST(VirtualPrinter, EveryJobIsANewOnePagePdf) {
    TempFolder out;
    const auto printer = QtPrinter::makeVirtual();
    printer->setOutputFolder(out.path());
    RgbImage page(printer->pageWidthPx(), printer->pageHeightPx());
    for (std::int32_t y = 100; y < 400; ++y) std::fill_n(page.row(y) + 300, 900, std::uint8_t{0});

    printer->printPage(page, "RESULT");
    const std::string first = printer->lastOutputFile();
    EXPECT_EQ(first, out.file("RESULT.pdf"));
    const QByteArray firstBytes = contents(first);
    ASSERT_FALSE(firstBytes.isEmpty());

    printer->setOrientation(Orientation::Landscape);
    printer->printPage(RgbImage(printer->pageWidthPx(), printer->pageHeightPx()), "RESULT");
    const std::string second = printer->lastOutputFile();
    EXPECT_EQ(second, out.file("RESULT (2).pdf"));
    EXPECT_EQ(contents(first), firstBytes);  // the earlier job's file is left as it was

    EXPECT_EQ(pdfInfoLine(first, "Pages"), "1");
    EXPECT_EQ(pdfInfoLine(first, "Page size").substr(0, 13), "595 x 842 pts");
    EXPECT_EQ(pdfInfoLine(second, "Pages"), "1");
    EXPECT_EQ(pdfInfoLine(second, "Page size").substr(0, 13), "842 x 595 pts");
}

TEST(VirtualPrinter, JobNamesBecomeSafeFileNames) {
    EXPECT_EQ(pdfFileNameFor("RESULT", 1), "RESULT.pdf");
    EXPECT_EQ(pdfFileNameFor("RESULT", 3), "RESULT (3).pdf");
    EXPECT_EQ(pdfFileNameFor("a/b\\c:d", 1), "a_b_c_d.pdf");
    EXPECT_EQ(pdfFileNameFor("../..", 1), "_...pdf");
    EXPECT_EQ(pdfFileNameFor("", 1), "page.pdf");
}

TEST(VirtualPrinter, AMissingFolderFailsWithAMessage) {
    TempFolder out;
    const auto printer = QtPrinter::makeVirtual();
    printer->setOutputFolder(out.file("gone"));
    EXPECT_THROW(printer->printPage(RgbImage(10, 10), "RESULT"), Failure);
    EXPECT_TRUE(QDir(QString::fromStdString(out.path())).isEmpty());
}

// This machine has no printer installed: the program runs on the virtual one.
TEST(VirtualPrinter, SelectTaskShowsItsPage) {
    const auto printer = QtPrinter::makeVirtual();
    fake::FakePlatform fakes;
    Platform platform{*printer, fakes.clipboard, fakes.dialogs, fakes.files, fakes.shell};
    ScreenSet screens(platform, [] {});
    QWidget* s = screens.windows()[3];
    EXPECT_EQ(s->findChild<QLabel*>("pageWidthPx")->text(), "2480");
    EXPECT_EQ(s->findChild<QLabel*>("pageHeightPx")->text(), "3508");
    EXPECT_EQ(s->findChild<QLabel*>("resolution")->text(), "300");
    EXPECT_EQ(s->findChild<QLabel*>("mediaWidth")->text(), "21");
    EXPECT_EQ(s->findChild<QLabel*>("mediaHeight")->text(), "29.7");
    EXPECT_EQ(screens.state.mediaHeight, "29.7");
}

TEST(QtImage, ClipboardPicturesBecome24BitOverWhite) {
    QImage argb(3, 1, QImage::Format_ARGB32);
    argb.setPixel(0, 0, qRgba(255, 0, 0, 255));
    argb.setPixel(1, 0, qRgba(255, 0, 0, 128));
    argb.setPixel(2, 0, qRgba(0, 0, 0, 0));
    EXPECT_TRUE(SameImage(imageFromRows({{0x0000FF, 0x7F7FFF, 0xFFFFFF}}), rgbFromQImage(argb)));

    QImage indexed(2, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(10, 20, 30), qRgb(200, 100, 50)});
    indexed.fill(0);
    indexed.setPixel(1, 1, 1);
    EXPECT_TRUE(
        SameImage(imageFromRows({{0x1E140A, 0x1E140A}, {0x1E140A, 0x3264C8}}), rgbFromQImage(indexed)));

    EXPECT_TRUE(rgbFromQImage(QImage()).empty());
    const RgbImage picture = randomImage(5, 3, 7);
    EXPECT_TRUE(SameImage(picture, rgbFromQImage(qimageView(picture))));
}

TEST(QtClipboard, SeesBitmapsAsTheyComeAndGo) {
    QtClipboard clipboard;
    QClipboard* system = QGuiApplication::clipboard();
    system->setText("no picture");
    EXPECT_FALSE(clipboard.hasBitmap());
    EXPECT_TRUE(clipboard.bitmap().empty());

    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 255, 255), qRgb(1, 2, 3)});
    indexed.fill(1);
    system->setImage(indexed);
    EXPECT_TRUE(clipboard.hasBitmap());
    EXPECT_TRUE(SameImage(imageFromRows({{0x030201, 0x030201, 0x030201}, {0x030201, 0x030201, 0x030201}}),
                          clipboard.bitmap()));

    // A Windows bitmap goes through the program's own DIB reader.
    const RgbImage picture = randomImage(5, 4, 3);
    const std::vector<std::uint8_t> bmp = encodeBmp(picture);
    auto* data = new QMimeData;
    data->setData(
        "application/x-qt-windows-mime;value=\"DeviceIndependentBitmap\"",
        QByteArray(reinterpret_cast<const char*>(bmp.data()) + 14, static_cast<qsizetype>(bmp.size() - 14)));
    data->setImageData(QImage(1, 1, QImage::Format_RGB32));
    system->setMimeData(data);
    EXPECT_TRUE(clipboard.hasBitmap());
    EXPECT_TRUE(SameImage(picture, clipboard.bitmap()));

    system->clear();
    EXPECT_FALSE(clipboard.hasBitmap());
}

TEST(QtDialogs, ReaderFiltersBecomeQtNameFilters) {
    const QStringList filters = qtNameFilters(
        "All (*.png;*.bmp)|*.png;*.bmp|Portable network graphic images (*.png)|*.png|Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(filters, (QStringList{"All (*.png *.bmp)", "Portable network graphic images (*.png)",
                                    "Bitmaps (*.bmp)"}));
    EXPECT_TRUE(qtNameFilters("").isEmpty());
}

}  // namespace
}  // namespace dg::test
