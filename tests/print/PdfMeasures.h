#pragma once

// Measuring printed PDF pages with poppler's tools.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <sstream>
#include <string>
#include <utility>

namespace dg::test {

// Runs a command and gives its standard output; with `exitCode`, its exit code and its
// standard error after the output.
inline std::string run(const QString& program, const QStringList& arguments, int* exitCode = nullptr) {
    QProcess process;
    if (exitCode != nullptr) process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(120000);
    if (exitCode != nullptr) *exitCode = process.exitCode();
    return process.readAllStandardOutput().toStdString();
}

// The dark area of a grey PGM page: left, top, right, bottom (inclusive), in pixels.
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};
inline Box darkBox(const std::string& pgm) {
    std::istringstream in(pgm);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    const auto* pixels =
        reinterpret_cast<const unsigned char*>(pgm.data()) + static_cast<std::size_t>(in.tellg());
    Box box;
    for (int y = 0; y < height; ++y) {
        const auto* row = pixels + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            if (row[x] >= 128) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

// The first page's size in points, from pdfinfo.
inline std::pair<double, double> pageSizePt(const std::string& pdf) {
    const std::string info = run("pdfinfo", {QString::fromStdString(pdf)});
    const std::size_t at = info.find("Page size:");
    if (at == std::string::npos) return {0, 0};
    double w = 0, h = 0;
    std::istringstream(info.substr(at + 10)) >> w;
    std::istringstream(info.substr(info.find(" x ", at) + 3)) >> h;
    return {w, h};
}

}  // namespace dg::test
