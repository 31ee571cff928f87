#include <gtest/gtest.h>

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QThread>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "imaging/OutputSettings.h"
#include "output/PageLayout.h"
#include "platform/qt/QtPrinter.h"
#include "print/PdfMeasures.h"

namespace dg {
namespace {

using test::Box;
using test::darkBox;
using test::run;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A RESULT page of 10.00 x 8.00 cm, centred on an A4 page of a real CUPS queue that writes
// PDF, printed through the program's own printer service: the PDF page must be A4 and the
// picture on it 10.00 x 8.00 cm within 0.2 mm, where the placement puts it.
TEST(CupsPrinting, ResultPrintsAtItsTrueSizeOnA4) {
    const char* output = std::getenv("PRINT_OUTPUT");
    if (output == nullptr) GTEST_SKIP() << "needs the private CUPS daemon of with-private-cups.sh";
    ASSERT_FALSE(QPrinterInfo::availablePrinterNames().isEmpty());

    QtPrinter printer;
    ASSERT_EQ(printer.name(), "TrueSizePDF");
    printer.setOrientation(Orientation::Portrait);

    OutputSettings state;
    state.unit = MeasuringUnit::Centimeters;
    state.outputWidthText = "10";
    state.outputHeightText = "8";
    const PageSettings settings;  // centre, middle, no label, no corners
    const PagePlacement placement = placementFor(printer, state, settings);
    const int dpi = printer.dpiY();
    RgbImage picture(50, 40);
    picture.fill(kBlack);
    const RgbImage page = composePlacedPage(picture, placement, pageDecoration(settings, dpi, 96), "RESULT");
    printer.printPage(page, "RESULT");

    // The job is done when the queue is empty again.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!run("lpstat", {"-o"}).empty() && std::chrono::steady_clock::now() < deadline)
        QThread::msleep(100);
    ASSERT_TRUE(run("lpstat", {"-o"}).empty()) << "the job did not finish";

    // The queue wraps the PDF in printer job language; the document starts at its header.
    std::string pdf = fileBytes(output);
    const std::size_t header = pdf.find("%PDF");
    ASSERT_NE(header, std::string::npos);
    const std::string pdfPath = std::string(output) + ".plain.pdf";
    std::ofstream(pdfPath, std::ios::binary) << pdf.substr(header);

    const std::string info = run("pdfinfo", {QString::fromStdString(pdfPath)});
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    // A4 is 595.276 x 841.89 points; the PDF may keep whole points.
    double widthPt = 0, heightPt = 0;
    const std::size_t size = info.find("Page size:");
    ASSERT_NE(size, std::string::npos) << info;
    std::istringstream(info.substr(size + 10)) >> widthPt;
    std::istringstream(info.substr(info.find(" x ", size) + 3)) >> heightPt;
    EXPECT_NEAR(widthPt, 595.276, 1.0) << info;
    EXPECT_NEAR(heightPt, 841.89, 1.0) << info;
    EXPECT_NE(info.find("(A4)", size), std::string::npos) << info;

    // At 508 DPI a millimetre is 20 pixels.
    const std::string pgm =
        run("pdftoppm", {"-r", "508", "-gray", "-singlefile", QString::fromStdString(pdfPath)});
    const Box box = darkBox(pgm);
    ASSERT_GE(box.right, 0) << "nothing printed";
    const double widthMm = (box.right - box.left + 1) / 20.0;
    const double heightMm = (box.bottom - box.top + 1) / 20.0;
    EXPECT_NEAR(widthMm, 100.0, 0.2);
    EXPECT_NEAR(heightMm, 80.0, 0.2);

    // Where the placement puts it: the printable area's corner plus the placed rectangle.
    QPrinter reference(QPrinterInfo::printerInfo("TrueSizePDF"), QPrinter::HighResolution);
    reference.setPageOrientation(QPageLayout::Portrait);
    const QRectF printable = reference.pageLayout().paintRect(QPageLayout::Millimeter);
    EXPECT_NEAR(box.left / 20.0, printable.left() + placement.picture.x * 25.4 / dpi, 0.2);
    EXPECT_NEAR(box.top / 20.0, printable.top() + placement.picture.y * 25.4 / dpi, 0.2);
    // Centred on the printable area.
    EXPECT_NEAR(box.left / 20.0 + widthMm / 2, printable.center().x(), 0.2);
    EXPECT_NEAR(box.top / 20.0 + heightMm / 2, printable.center().y(), 0.2);
}

}  // namespace
}  // namespace dg
