#include "formats/EpsReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/BoundedProcess.h"
#include "formats/ByteOrder.h"
#include "formats/PictureLimits.h"
#include "imaging/Failure.h"

namespace dg {

namespace {

// Twice the PostScript point grid: line art stays crisp when it is printed at tattoo size.
constexpr int kDotsPerInch = 144;
constexpr const char* kGhostscript = "Ghostscript (gs), which draws PostScript pictures,";

// The PostScript part of the file: all of it, or the section the DOS binary header points at.
std::string postScriptOf(const std::uint8_t* data, std::size_t size) {
    if (size >= 30 && data[0] == 0xC5 && data[1] == 0xD0 && data[2] == 0xD3 && data[3] == 0xC6) {
        const std::uint64_t start = bytes::le32(data + 4);
        const std::uint64_t length = bytes::le32(data + 8);
        if (start < 30 || start > size || length > size - start) {
            throw Failure("The EPS file is damaged: its PostScript section lies outside the file.");
        }
        return std::string(reinterpret_cast<const char*>(data + start), static_cast<std::size_t>(length));
    }
    return std::string(reinterpret_cast<const char*>(data), size);
}

// Refuses a bounding box that would make a picture beyond the limits before Ghostscript
// draws it. Files without one are drawn on Ghostscript's default page.
void checkBoundingBox(const std::string& text) {
    const std::size_t searched = std::min<std::size_t>(text.size(), 64 * 1024);
    std::size_t at = 0;
    while (at < searched) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos) end = text.size();
        static const char kKey[] = "%%BoundingBox:";
        if (text.compare(at, sizeof kKey - 1, kKey) == 0) {
            double box[4];
            const std::string line = text.substr(at + sizeof kKey - 1, std::min<std::size_t>(end - at, 200));
            if (std::sscanf(line.c_str(), "%lf %lf %lf %lf", &box[0], &box[1], &box[2], &box[3]) == 4) {
                const double width = std::ceil((box[2] - box[0]) * kDotsPerInch / 72.0);
                const double height = std::ceil((box[3] - box[1]) * kDotsPerInch / 72.0);
                if (!(width >= 1 && height >= 1)) {
                    throw Failure("The EPS file is damaged: its bounding box is empty.");
                }
                checkPictureSize(static_cast<std::int64_t>(std::min(width, 1e15)),
                                 static_cast<std::int64_t>(std::min(height, 1e15)));
                return;
            }
        }
        at = end + 1;
    }
}

// Ghostscript's own report names the PostScript error ("Error: /undefined in foo").
std::string errorLineOf(const std::string& output) {
    const std::size_t at = output.find("Error: ");
    if (at == std::string::npos) return {};
    std::size_t end = output.find_first_of("\r\n", at);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(at + 7, std::min<std::size_t>(end - at - 7, 120));
    return line;
}

std::string megabytes(std::int64_t bytes) { return std::to_string(bytes / (1024 * 1024)) + " MB"; }

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", seconds);
    return text;
}

std::vector<std::uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The binary PPM that Ghostscript's ppmraw device writes.
RgbImage readDrawnPage(const std::vector<std::uint8_t>& file) {
    std::size_t at = 2;
    auto number = [&]() -> std::int64_t {
        while (at < file.size()) {
            if (file[at] == '#') {
                while (at < file.size() && file[at] != '\n') ++at;
            } else if (std::isspace(file[at])) {
                ++at;
            } else {
                break;
            }
        }
        std::int64_t value = 0;
        bool any = false;
        while (at < file.size() && file[at] >= '0' && file[at] <= '9' && value < (std::int64_t{1} << 40)) {
            value = value * 10 + (file[at++] - '0');
            any = true;
        }
        return any ? value : -1;
    };
    if (file.size() < 2 || file[0] != 'P' || file[1] != '6') {
        throw Failure("The PostScript picture draws no page.");
    }
    const std::int64_t width = number();
    const std::int64_t height = number();
    const std::int64_t maxValue = number();
    if (maxValue != 255 || at >= file.size()) throw Failure("The PostScript picture draws no page.");
    checkPictureSize(width, height);
    ++at;  // the one blank before the pixels
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    if ((file.size() - at) / rowBytes < static_cast<std::size_t>(height)) {
        throw Failure("The PostScript picture draws no page.");
    }
    RgbImage picture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        const std::uint8_t* in = file.data() + at + rowBytes * static_cast<std::size_t>(y);
        std::uint8_t* out = picture.row(y);
        for (std::int64_t x = 0; x < width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return picture;
}

}  // namespace

RgbImage decodeEps(const std::uint8_t* data, std::size_t size) {
    if (size == 0) throw Failure("The EPS file is empty.");
    const std::string postScript = postScriptOf(data, size);
    checkBoundingBox(postScript);

    const PictureLimits limits = pictureLimits();
    ScratchFolder folder;
    {
        std::ofstream out(folder.file("picture.eps"), std::ios::binary);
        out.write(postScript.data(), static_cast<std::streamsize>(postScript.size()));
        if (!out) throw Failure("Cannot write a temporary copy of the EPS file.");
    }
    ProcessLimits bounds;
    bounds.seconds = limits.drawingSeconds;
    bounds.memoryBytes = static_cast<std::uint64_t>(limits.drawingMemory);
    // The drawn page may be no larger than the largest picture, with room for its header.
    bounds.fileBytes = static_cast<std::uint64_t>(limits.maxPixels) * 3 + 4096;
    const std::vector<std::string> command = {"gs",
                                              "-q",
                                              "-dSAFER",
                                              "-dBATCH",
                                              "-dNOPAUSE",
                                              "-dNOPROMPT",
                                              "-dEPSCrop",
                                              "-dFirstPage=1",
                                              "-dLastPage=1",
                                              "-sDEVICE=ppmraw",
                                              "-r" + std::to_string(kDotsPerInch),
                                              "-dTextAlphaBits=4",
                                              "-dGraphicsAlphaBits=4",
                                              "-sOutputFile=page.ppm",
                                              "-f",
                                              "picture.eps"};
    const ProcessOutcome outcome = runBounded(command, folder.path(), bounds, kGhostscript);

    if (outcome.timedOut || outcome.signal == SIGXCPU) {
        throw Failure("The PostScript picture takes too long to draw (more than " +
                      secondsText(limits.drawingSeconds) +
                      " seconds); the file may be damaged or made to run for ever.");
    }
    const std::string error = errorLineOf(outcome.output);
    if (error.find("VMerror") != std::string::npos ||
        outcome.output.find("out of memory") != std::string::npos) {
        throw Failure("The PostScript picture needs more memory than a picture may use (" +
                      megabytes(limits.drawingMemory) + ").");
    }
    if (outcome.signal == SIGXFSZ) {
        throw Failure("The PostScript picture draws a page larger than a picture may be.");
    }
    if (!error.empty()) {
        throw Failure("The EPS file is damaged: its PostScript stops with the error \"" + error + "\".");
    }
    if (outcome.signal != 0 || outcome.exitCode != 0) {
        throw Failure("Ghostscript stopped without drawing the PostScript picture (" +
                      (outcome.signal != 0 ? "signal " + std::to_string(outcome.signal)
                                           : "exit code " + std::to_string(outcome.exitCode)) +
                      ").");
    }
    return readDrawnPage(readAll(folder.file("page.ppm")));
}

}  // namespace dg
