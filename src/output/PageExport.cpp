#include "output/PageExport.h"

#include <algorithm>
#include <cstddef>
#include <exception>
#include <functional>
#include <system_error>
#include <thread>
#include <vector>

#include "formats/Bmp.h"
#include "formats/JpegWriter.h"
#include "imaging/Parallel.h"
#include "imaging/Progress.h"
#include "output/NewFolder.h"
#include "output/Printing.h"

namespace dg {

namespace {

std::string extension(PageFileType type) { return type == PageFileType::Bmp ? ".bmp" : ".jpeg"; }

struct PendingPage {
    std::string fileName;
    std::function<void(RgbImage&)> compose;  // into a page picture
};

// Every page is a whole printer page, so it claims the printer's resolution.
std::vector<std::uint8_t> encodePage(const RgbImage& page, PageFileType type, std::int32_t dpi) {
    return type == PageFileType::Bmp ? encodeBmp(page, dpi) : encodeJpeg(page, kPageJpegQuality, dpi);
}

// Pages are made one after another (each on all cores, and the label needs the UI thread's
// fonts), then encoded side by side, one page per worker, then written in order. The page
// pictures are reused from batch to batch. When a page fails, the pages before it are still
// written before the failure is passed on.
void writePages(const std::vector<PendingPage>& pages, PageFileType type, std::int32_t dpi,
                const std::string& folder, FileSystem& files) {
    const std::size_t batch = static_cast<std::size_t>(std::max(1, workerCount()));
    std::vector<RgbImage> composed(std::min(batch, pages.size()));
    for (std::size_t first = 0; first < pages.size(); first += batch) {
        stepCheckpoint(static_cast<double>(first) / static_cast<double>(pages.size()));
        const std::size_t count = std::min(batch, pages.size() - first);
        std::exception_ptr failure;
        std::size_t good = count;
        for (std::size_t k = 0; k < count; ++k) {
            try {
                pages[first + k].compose(composed[k]);
            } catch (...) {
                failure = std::current_exception();
                good = k;
                break;
            }
        }

        std::vector<std::vector<std::uint8_t>> encoded(good);
        std::vector<std::exception_ptr> errors(good);
        auto encodeOne = [&](std::size_t k) {
            try {
                encoded[k] = encodePage(composed[k], type, dpi);
            } catch (...) {
                errors[k] = std::current_exception();
            }
        };
        std::vector<std::thread> workers;
        for (std::size_t k = 1; k < good; ++k) {
            // Without a thread to spare, the page is encoded here; the bytes are the same.
            try {
                workers.emplace_back(encodeOne, k);
            } catch (const std::system_error&) {
                encodeOne(k);
            }
        }
        if (good > 0) encodeOne(0);
        for (auto& worker : workers) worker.join();
        for (std::size_t k = 0; k < good; ++k) {
            if (errors[k]) {
                failure = errors[k];
                good = k;
                break;
            }
        }

        for (std::size_t k = 0; k < good; ++k) {
            files.writeFile(joinPath(folder, pages[first + k].fileName), encoded[k]);
            encoded[k] = {};
        }
        if (failure) std::rethrow_exception(failure);
    }
}

bool runExport(const PageEntries& entries, const PagePictures& pictures, const OutputSettings& state,
               const PageSettings& settings, const ExportSettings& exportSettings, int screenDpi,
               Platform& platform) {
    Printer& printer = platform.printer;
    const PageFileType type = exportSettings.fileType;
    const PageDecoration decoration = pageDecoration(settings, printer.dpiY(), screenDpi);
    // The output size must be readable before anything is created.
    (void)outputSizeInPrinterPixels(state, printer.dpiY());

    const auto chosen = platform.dialogs.saveAs();
    if (!chosen) return false;
    const std::string folder = *chosen + kPagesFolderSuffix;
    if (createNewFolder(platform.files, folder) == NewFolderResult::AlreadyThere) {
        platform.dialogs.message(kFolderExistsWarning);
        return false;
    }

    std::vector<PendingPage> pages;
    if (entries.stencil.ticked) {
        const PagePlacement placement = placementFor(printer, state, settings);
        pages.push_back(
            {stencilPageFileName(type), [&pictures, placement, decoration, &entries](RgbImage& page) {
                 composePlacedPageInto(page, pictures.stencil, placement, decoration,
                                       entries.stencil.caption);
             }});
    }
    if (entries.colorMatching.ticked) {
        const PixelSize portrait = portraitPageSize(printer);
        pages.push_back({colorMatchingPageFileName(type), [&pictures, portrait](RgbImage& page) {
                             composeStretchedPageInto(page, pictures.colorMatching, portrait.width,
                                                      portrait.height);
                         }});
    }
    const PagePlacement placement = placementFor(printer, state, settings);
    if (entries.result.ticked) {
        pages.push_back(
            {resultPageFileName(type), [&pictures, placement, decoration, &entries](RgbImage& page) {
                 composePlacedPageInto(page, pictures.result, placement, decoration, entries.result.caption);
             }});
    }
    for (int n = 1; n <= kChannelCount; ++n) {
        if (!entries.channel(n).ticked) continue;
        pages.push_back(
            {channelPageFileName(n, type), [&pictures, placement, decoration, &entries, n](RgbImage& page) {
                 composePlacedPageInto(page, pictures.channelMask(n), placement, decoration,
                                       entries.channel(n).caption);
             }});
    }
    try {
        writePages(pages, type, printer.dpiY(), folder, platform.files);
    } catch (const Cancelled&) {
        // A cancelled export leaves no folder behind: the user saves again, under any name.
        for (const PendingPage& page : pages) platform.files.removeMade(joinPath(folder, page.fileName));
        platform.files.removeMade(folder);
        throw;
    }

    if (exportSettings.openTarget) platform.shell.openFolder(folder);
    platform.dialogs.message(kPagesSavedMessage + joinPath(folder, ""));
    return true;
}

}  // namespace

std::string stencilPageFileName(PageFileType type) { return "STENCILpage" + extension(type); }
std::string colorMatchingPageFileName(PageFileType type) { return "ColorMatchingPage" + extension(type); }
std::string resultPageFileName(PageFileType type) { return "RESULTpage" + extension(type); }
std::string channelPageFileName(int n, PageFileType type) {
    return std::to_string(n) + "page" + extension(type);
}

bool exportCheckedPages(const PageEntries& entries, const PagePictures& pictures, const OutputSettings& state,
                        const PageSettings& settings, const ExportSettings& exportSettings, int screenDpi,
                        Platform& platform) {
    // An empty folder and a success message would tell the user something was saved.
    if (!entries.anyTicked()) {
        platform.dialogs.message(kNoPageCheckedMessage);
        return false;
    }
    try {
        return runExport(entries, pictures, state, settings, exportSettings, screenDpi, platform);
    } catch (const Cancelled&) {
        throw;
    } catch (const std::exception& error) {
        platform.dialogs.message(std::string(kErrorPrefix) + error.what());
        return false;
    }
}

}  // namespace dg
