#pragma once

#include <QMarginsF>
#include <QRect>
#include <QSizeF>
#include <memory>
#include <string>

#include "platform/Printer.h"

class QPrinter;
class QPrinterInfo;

namespace dg {

// The system's current printer through Qt's print support (CUPS). A queue is opened with
// what the print system says of it: its default paper, the resolution it prints at and the
// margins it cannot print on; pages are composed at that resolution for exactly that
// printable area and sent without lossy compression. When no printer is installed the
// program still works: the built-in virtual printer takes its place, an A4 page at 300 DPI
// that writes every print job as a one-page PDF file in a folder chosen in its print dialog,
// never overwriting an earlier job's file.
class QtPrinter : public Printer {
public:
    // The default installed printer, or the virtual printer when there is none.
    QtPrinter();
    // The virtual printer whatever is installed.
    static std::unique_ptr<QtPrinter> makeVirtual();
    // An installed printer by its queue name; Failure when there is none of that name.
    static std::unique_ptr<QtPrinter> forPrinter(const std::string& name);
    ~QtPrinter() override;
    QtPrinter(const QtPrinter&) = delete;
    QtPrinter& operator=(const QtPrinter&) = delete;

    bool isVirtual() const { return virtual_; }
    // Where the virtual printer writes its files (the print dialog changes it).
    const std::string& outputFolder() const { return outputFolder_; }
    void setOutputFolder(const std::string& folder) { outputFolder_ = folder; }
    // The file the virtual printer wrote for the last job; empty for a real printer.
    const std::string& lastOutputFile() const { return lastOutputFile_; }

    std::string name() const override;
    std::int32_t pageWidthPx() const override;
    std::int32_t pageHeightPx() const override;
    std::int32_t dpiX() const override;
    std::int32_t dpiY() const override;
    std::int32_t widthMm() const override;
    std::int32_t heightMm() const override;
    Orientation orientation() const override;
    void setOrientation(Orientation orientation) override;
    std::vector<std::string> installedPrinters() const override;
    bool setupDialog() override;
    bool printDialog() override;
    void printPage(const RgbImage& page, const std::string& jobName) override;

private:
    explicit QtPrinter(bool forceVirtual);
    explicit QtPrinter(const QPrinterInfo& info);
    void printToPdf(const RgbImage& page, const std::string& jobName);
    // Takes the queue's resolution and margins, and its default paper when asked to (a paper
    // the user chose in a dialog is kept).
    void takeQueueSettings(bool defaultPaper);
    // The paper in millimetres and its printable area, turned as the page is.
    QSizeF paperMm() const;
    QMarginsF marginsMm() const;
    QRect printableRectPx() const;

    std::unique_ptr<QPrinter> printer_;
    bool virtual_ = false;
    int dpi_ = 300;
    // The queue's margins on the upright paper, in millimetres.
    QMarginsF portraitMarginsMm_;
    std::string outputFolder_;
    std::string lastOutputFile_;
};

// The virtual printer's file for a job: the job name made safe as a file name, ".pdf", and
// " (2)", " (3)" ... when a file of that name exists already.
std::string pdfFileNameFor(const std::string& jobName, int attempt);

}  // namespace dg
