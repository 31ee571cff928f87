#pragma once

#include "platform/Printer.h"

namespace dg {

// A printer without its dialogs: every dialog is taken as confirmed, so pages go to the
// printer as it is set up. The batch command prints this way.
class AcceptingPrinter : public Printer {
public:
    explicit AcceptingPrinter(Printer& printer) : printer_(printer) {}
    std::string name() const override { return printer_.name(); }
    std::int32_t pageWidthPx() const override { return printer_.pageWidthPx(); }
    std::int32_t pageHeightPx() const override { return printer_.pageHeightPx(); }
    std::int32_t dpiX() const override { return printer_.dpiX(); }
    std::int32_t dpiY() const override { return printer_.dpiY(); }
    std::int32_t widthMm() const override { return printer_.widthMm(); }
    std::int32_t heightMm() const override { return printer_.heightMm(); }
    Orientation orientation() const override { return printer_.orientation(); }
    void setOrientation(Orientation o) override { printer_.setOrientation(o); }
    std::vector<std::string> installedPrinters() const override { return printer_.installedPrinters(); }
    bool setupDialog() override { return true; }
    bool printDialog() override { return true; }
    void printPage(const RgbImage& page, const std::string& jobName) override {
        printer_.printPage(page, jobName);
    }

private:
    Printer& printer_;
};

}  // namespace dg
