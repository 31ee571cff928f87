#include "platform/qt/QtPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <cmath>

#include "imaging/Failure.h"
#include "platform/qt/QtImage.h"

namespace dg {

namespace {

constexpr int kVirtualDpi = 300;
constexpr const char* kVirtualName = "Virtual PDF printer";

QPageLayout::Orientation toQt(Orientation o) {
    return o == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

}  // namespace

std::string pdfFileNameFor(const std::string& jobName, int attempt) {
    std::string base;
    for (const char c : jobName) base += (c == '/' || c == '\\' || c == '\0' || c == ':') ? '_' : c;
    while (!base.empty() && (base.front() == ' ' || base.front() == '.')) base.erase(base.begin());
    while (!base.empty() && base.back() == ' ') base.pop_back();
    if (base.empty()) base = "page";
    if (attempt > 1) base += " (" + std::to_string(attempt) + ")";
    return base + ".pdf";
}

QtPrinter::QtPrinter() : QtPrinter(QPrinterInfo::availablePrinterNames().isEmpty()) {}

std::unique_ptr<QtPrinter> QtPrinter::makeVirtual() {
    return std::unique_ptr<QtPrinter>(new QtPrinter(true));
}

QtPrinter::QtPrinter(bool forceVirtual) : virtual_(forceVirtual) {
    if (virtual_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setResolution(kVirtualDpi);
        printer_->setFullPage(true);
        printer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                            QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
        outputFolder_ = folder.toStdString();
    } else {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) info = QPrinterInfo::printerInfo(QPrinterInfo::availablePrinterNames().front());
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    }
}

std::unique_ptr<QtPrinter> QtPrinter::forPrinter(const std::string& name) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
    if (info.isNull()) throw Failure("There is no printer \"" + name + "\".");
    return std::unique_ptr<QtPrinter>(new QtPrinter(info));
}

QtPrinter::QtPrinter(const QPrinterInfo& info)
    : printer_(std::make_unique<QPrinter>(info, QPrinter::HighResolution)) {}

QtPrinter::~QtPrinter() = default;

std::string QtPrinter::name() const {
    return virtual_ ? kVirtualName : printer_->printerName().toStdString();
}

// A real printer reports its printable area through the paint device's metrics. The virtual
// printer's page is worked out from its size in millimetres: Qt keeps page sizes in whole
// points, which would make an A4 page 2479 pixels wide at 300 DPI instead of 2480.
QSizeF QtPrinter::virtualPageMm() const {
    return printer_->pageLayout().fullRect(QPageLayout::Millimeter).size();
}

std::int32_t QtPrinter::pageWidthPx() const {
    if (!virtual_) return printer_->width();
    return static_cast<std::int32_t>(std::lround(virtualPageMm().width() / 25.4 * kVirtualDpi));
}
std::int32_t QtPrinter::pageHeightPx() const {
    if (!virtual_) return printer_->height();
    return static_cast<std::int32_t>(std::lround(virtualPageMm().height() / 25.4 * kVirtualDpi));
}
std::int32_t QtPrinter::dpiX() const { return virtual_ ? kVirtualDpi : printer_->logicalDpiX(); }
std::int32_t QtPrinter::dpiY() const { return virtual_ ? kVirtualDpi : printer_->logicalDpiY(); }
std::int32_t QtPrinter::widthMm() const {
    return virtual_ ? static_cast<std::int32_t>(std::lround(virtualPageMm().width())) : printer_->widthMM();
}
std::int32_t QtPrinter::heightMm() const {
    return virtual_ ? static_cast<std::int32_t>(std::lround(virtualPageMm().height())) : printer_->heightMM();
}

Orientation QtPrinter::orientation() const {
    return printer_->pageLayout().orientation() == QPageLayout::Landscape ? Orientation::Landscape
                                                                          : Orientation::Portrait;
}

void QtPrinter::setOrientation(Orientation orientation) { printer_->setPageOrientation(toQt(orientation)); }

std::vector<std::string> QtPrinter::installedPrinters() const {
    std::vector<std::string> names;
    for (const QString& n : QPrinterInfo::availablePrinterNames()) names.push_back(n.toStdString());
    return names;
}

bool QtPrinter::setupDialog() {
    QPageSetupDialog dialog(printer_.get());
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrinter::printDialog() {
    if (virtual_) {
        const QString folder = QFileDialog::getExistingDirectory(nullptr, "PRINT TO PDF FILES IN FOLDER",
                                                                 QString::fromStdString(outputFolder_));
        if (folder.isEmpty()) return false;
        outputFolder_ = folder.toStdString();
        return true;
    }
    QPrintDialog dialog(printer_.get());
    return dialog.exec() == QDialog::Accepted;
}

void QtPrinter::printPage(const RgbImage& page, const std::string& jobName) {
    if (virtual_) {
        printToPdf(page, jobName);
        return;
    }
    printer_->setDocName(QString::fromStdString(jobName));
    QPainter painter;
    if (!painter.begin(printer_.get())) throw Failure("The printer " + name() + " did not accept the job.");
    if (!page.empty()) painter.drawImage(QPoint(0, 0), qimageView(page));
    if (!painter.end()) throw Failure("The printer " + name() + " could not finish the job.");
}

void QtPrinter::printToPdf(const RgbImage& page, const std::string& jobName) {
    const QDir folder(QString::fromStdString(outputFolder_));
    if (!folder.exists()) throw Failure("The folder " + outputFolder_ + " does not exist.");
    // The file is created exclusively, so an earlier job's file (or anyone else's) is never
    // overwritten, even when two names are tried at the same moment.
    QFile file;
    for (int attempt = 1;; ++attempt) {
        file.setFileName(folder.filePath(QString::fromStdString(pdfFileNameFor(jobName, attempt))));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) break;
        if (!file.exists() || attempt >= 10000)
            throw Failure("Cannot create " + file.fileName().toStdString() + ": " +
                          file.errorString().toStdString());
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator("Dermagraph Software");
        writer.setTitle(QString::fromStdString(jobName));
        writer.setResolution(kVirtualDpi);
        writer.setPageLayout(printer_->pageLayout());
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.remove();
            throw Failure("Cannot write " + file.fileName().toStdString());
        }
        if (!page.empty()) painter.drawImage(QPoint(0, 0), qimageView(page));
        painter.end();
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        // A half-written file would pass for a finished job.
        const std::string reason = file.errorString().toStdString();
        file.remove();
        throw Failure("Cannot write " + file.fileName().toStdString() + ": " + reason);
    }
    lastOutputFile_ = file.fileName().toStdString();
}

}  // namespace dg
