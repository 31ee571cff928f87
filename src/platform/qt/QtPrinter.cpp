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
#include <algorithm>
#include <cmath>

#include "imaging/Failure.h"
#include "platform/qt/CupsQueue.h"
#include "platform/qt/GuiThread.h"
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
        dpi_ = kVirtualDpi;
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
        outputFolder_ = folder.toStdString();
    } else {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) info = QPrinterInfo::printerInfo(QPrinterInfo::availablePrinterNames().front());
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        takeQueueSettings(true);
    }
}

std::unique_ptr<QtPrinter> QtPrinter::forPrinter(const std::string& name) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(name));
    if (info.isNull()) throw Failure("There is no printer \"" + name + "\".");
    return std::unique_ptr<QtPrinter>(new QtPrinter(info));
}

QtPrinter::QtPrinter(const QPrinterInfo& info)
    : printer_(std::make_unique<QPrinter>(info, QPrinter::HighResolution)) {
    takeQueueSettings(true);
}

// Qt opens a queue on its own default paper (A4) at 1200 DPI with margins of its own; a
// Letter queue would then shrink every page to fit. The print system knows better.
void QtPrinter::takeQueueSettings(bool defaultPaper) {
    const std::string queue = printer_->printerName().toStdString();
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer_->printerName());
    const QPageLayout::Orientation orientation = printer_->pageLayout().orientation();
    if (defaultPaper && !info.isNull() && info.defaultPageSize().isValid())
        printer_->setPageSize(info.defaultPageSize());
    printer_->setPageOrientation(orientation);

    // The page is drawn on the whole paper; the printable area is placed on it here.
    printer_->setFullPage(true);
    const QSizeF upright = printer_->pageLayout().pageSize().size(QPageSize::Millimeter);
    const QueueSettings asked = queueSettings(queue, static_cast<int>(std::lround(upright.width() * 100)),
                                              static_cast<int>(std::lround(upright.height() * 100)));
    if (asked.dpi) {
        dpi_ = *asked.dpi;
    } else {
        // No default reported: the finest resolution the queue offers up to 600 DPI.
        dpi_ = 0;
        for (const int offered : info.isNull() ? QList<int>() : info.supportedResolutions())
            if (offered <= 600 && offered > dpi_) dpi_ = offered;
        if (dpi_ == 0) dpi_ = 300;
    }
    printer_->setResolution(dpi_);

    if (const auto& margins = asked.margins) {
        portraitMarginsMm_ = QMarginsF(margins->left / 100.0, margins->top / 100.0, margins->right / 100.0,
                                       margins->bottom / 100.0);
    } else {
        // Qt's own reading of the queue's printable area for that paper.
        QPageLayout portrait = printer_->pageLayout();
        portrait.setOrientation(QPageLayout::Portrait);
        const QRectF paper = portrait.fullRect(QPageLayout::Millimeter);
        const QRectF paint = portrait.paintRect(QPageLayout::Millimeter);
        portraitMarginsMm_ = QMarginsF(paint.left(), paint.top(), paper.right() - paint.right(),
                                       paper.bottom() - paint.bottom());
    }
}

QtPrinter::~QtPrinter() = default;

std::string QtPrinter::name() const {
    return virtual_ ? kVirtualName : printer_->printerName().toStdString();
}

QSizeF QtPrinter::paperMm() const { return printer_->pageLayout().fullRect(QPageLayout::Millimeter).size(); }

// The print system turns a landscape page a quarter turn anticlockwise onto the paper: the
// page's top edge lies along the paper's left edge.
QMarginsF QtPrinter::marginsMm() const {
    const QMarginsF& m = portraitMarginsMm_;
    if (orientation() == Orientation::Portrait) return m;
    return QMarginsF(m.bottom(), m.left(), m.top(), m.right());
}

// The printable area in printer pixels, measured from the paper's corner. Paper sizes are
// taken in millimetres: Qt keeps them in whole points, which would make an A4 page 2479
// pixels wide at 300 DPI instead of 2480.
QRect QtPrinter::printableRectPx() const {
    const QSizeF paper = paperMm();
    const QMarginsF margins = marginsMm();
    const auto px = [this](double mm) { return mm * dpi_ / 25.4; };
    const auto whole = [](double v) { return static_cast<int>(std::lround(v)); };
    const int left = whole(px(margins.left()));
    const int top = whole(px(margins.top()));
    const int width = whole(px(paper.width() - margins.left() - margins.right()));
    const int height = whole(px(paper.height() - margins.top() - margins.bottom()));
    return QRect(left, top, std::max(width, 0), std::max(height, 0));
}

std::int32_t QtPrinter::pageWidthPx() const { return printableRectPx().width(); }
std::int32_t QtPrinter::pageHeightPx() const { return printableRectPx().height(); }
std::int32_t QtPrinter::dpiX() const { return dpi_; }
std::int32_t QtPrinter::dpiY() const { return dpi_; }
std::int32_t QtPrinter::widthMm() const {
    const QMarginsF margins = marginsMm();
    return static_cast<std::int32_t>(std::lround(paperMm().width() - margins.left() - margins.right()));
}
std::int32_t QtPrinter::heightMm() const {
    const QMarginsF margins = marginsMm();
    return static_cast<std::int32_t>(std::lround(paperMm().height() - margins.top() - margins.bottom()));
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
    return onGuiThread([&] {
        QPageSetupDialog dialog(printer_.get());
        if (dialog.exec() != QDialog::Accepted) return false;
        if (!virtual_) takeQueueSettings(false);
        return true;
    });
}

bool QtPrinter::printDialog() {
    return onGuiThread([&] {
        if (virtual_) {
            const QString folder = QFileDialog::getExistingDirectory(nullptr, "PRINT TO PDF FILES IN FOLDER",
                                                                     QString::fromStdString(outputFolder_));
            if (folder.isEmpty()) return false;
            outputFolder_ = folder.toStdString();
            return true;
        }
        QPrintDialog dialog(printer_.get());
        if (dialog.exec() != QDialog::Accepted) return false;
        // The dialog may have changed the printer or its paper: take that queue's resolution and
        // margins for the paper chosen.
        takeQueueSettings(false);
        return true;
    });
}

void QtPrinter::printPage(const RgbImage& page, const std::string& jobName) {
    if (virtual_) {
        printToPdf(page, jobName);
        return;
    }
    printer_->setDocName(QString::fromStdString(jobName));
    QPainter painter;
    if (!painter.begin(printer_.get())) throw Failure("The printer " + name() + " did not accept the job.");
    // Thin stencil lines and small text must reach the paper as they are: no JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    if (!page.empty()) painter.drawImage(printableRectPx().topLeft(), qimageView(page));
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
        painter.setRenderHint(QPainter::LosslessImageRendering);
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
