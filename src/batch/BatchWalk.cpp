#include "batch/BatchWalk.h"

#include <algorithm>
#include <exception>
#include <new>
#include <string>

#include "app/OutputSizeRules.h"
#include "formats/PictureReaders.h"
#include "imaging/CountColors.h"
#include "imaging/Failure.h"
#include "imaging/Scaling.h"
#include "imaging/Tribal.h"
#include "output/Printing.h"
#include "project/ProjectFolder.h"
#include "separation/ChannelSetBuild.h"
#include "separation/ColorMatching.h"
#include "separation/Separation.h"
#include "separation/Thresholds.h"

namespace dg {

namespace {

// The label's points become pixels at the screen's resolution, as on the printing screen.
constexpr int kScreenDpi = 96;

// Pictures with fewer colours than this need no colour reduction.
constexpr std::int64_t kReductionColours = 24;

// The output-size screen's fields after the user typed the size: with the proportions kept,
// the height is derived from the width and clamped by its fields.
void setOutputSize(const BatchOptions& o, const RgbImage& source, WorkflowState& state) {
    state.unit = o.unit;
    state.outputDpi = o.dpi;
    state.outputWidthWhole = o.widthWhole;
    state.outputWidthHundredths = o.widthHundredths;
    state.preserveAspect = o.keepAspect;
    state.outputHeightWhole = o.heightWhole;
    state.outputHeightHundredths = o.heightHundredths;
    if (o.keepAspect) {
        if (const auto height =
                deriveHeight(o.widthWhole, o.widthHundredths, source.width(), source.height())) {
            state.outputHeightWhole =
                static_cast<std::int32_t>(std::clamp<std::int64_t>(height->whole, 0, 60));
            state.outputHeightHundredths =
                static_cast<std::int32_t>(std::clamp<std::int64_t>(height->hundredths, 0, 99));
        }
    }
    state.outputWidthText = sizeText(state.outputWidthWhole, state.outputWidthHundredths);
    state.outputHeightText = sizeText(state.outputHeightWhole, state.outputHeightHundredths);
}

// The separation screen: the entry raises the white threshold, then every slider move is
// clamped as the screen's cascade settles it.
RgbImage separateColours(const BatchOptions& o, const RgbImage& source) {
    SeparationThresholds t = thresholdsOnEnter(SeparationThresholds{});
    for (const auto& [slider, value] : o.thresholdMoves) {
        std::array<int, kThresholdCount> values = thresholdValues(t);
        values[static_cast<std::size_t>(slider)] = value;
        t = clampThresholds(thresholdsFromValues(values));
    }
    return separate(source, t).result;
}

class NoClipboard : public Clipboard {
public:
    bool hasBitmap() const override { return false; }
    RgbImage bitmap() const override { return {}; }
};

class NoShell : public Shell {
public:
    void openFolder(const std::string&) override {}
    void openLink(const std::string&) override {}
};

}  // namespace

std::optional<std::string> BatchDialogs::saveAs() {
    if (saveAnswers.empty()) return std::nullopt;
    std::string name = saveAnswers.front();
    saveAnswers.pop_front();
    return name;
}

bool BatchDialogs::askYesNo(const std::string& text) {
    out_ << text << " Yes\n";
    return true;
}

int runBatch(const BatchOptions& o, Printer& printer, FileSystem& files, std::ostream& messages,
             const std::function<void(const std::string&)>& report) {
    BatchDialogs dialogs(messages);
    NoClipboard clipboard;
    NoShell shell;
    Platform platform{printer, clipboard, dialogs, files, shell};
    // The step under way, for the message when memory runs out.
    std::string step;
    const auto progress = [&step, &report](const std::string& name) {
        step = name;
        report(name);
    };
    try {
        progress("reading " + o.picture);
        WorkflowState state;
        state.task = o.task;
        const RgbImage intake = readPicture(o.picture);
        RgbImage source = intake;
        setOutputSize(o, source, state);

        progress("scaling to the output size");
        ChannelSet channels;
        {
            RgbImage result;
            RgbImage scaled;
            RgbImage& destination = o.task == TaskMode::PrintSingleFile ? channels.after : scaled;
            const PixelSize size = outputPixelSize(state);
            // A design of no rows or columns would make a project that cannot be opened again.
            if (size.width < 1 || size.height < 1)
                throw Failure("The output size comes to " + std::to_string(size.width) + " x " +
                              std::to_string(size.height) + " pixels; choose a larger size.");
            scaleInto(source, size, result, destination, state.resampleFilter);
            if (o.task != TaskMode::PrintSingleFile) source = std::move(scaled);
        }

        PageEntries entries;
        RgbImage stencil;
        RgbImage colorMatchingPage;
        bool stencilMade = false;
        if (o.task == TaskMode::PrintSingleFile) {
            entries.result.shown = entries.result.ticked = true;
        } else {
            if (o.task == TaskMode::TattooIn23Colors) {
                if (CountColors(source) < kReductionColours) {
                    channels.before = source;
                } else {
                    progress("separating colours");
                    channels.before = separateColours(o, source);
                }
            } else {
                // TRIBAL CREATION: its NEXT hands the RESULT picture to the channels screen.
                progress("making the tribal design");
                const TribalSliders sliders{o.sliders[0], o.sliders[1], o.sliders[2]};
                makeTribal(source, o.method, sliders, channels.before);
            }
            progress("building the channels");
            rebuildChannelSet(channels);
            for (const int n : o.untick) setChannelChecked(channels, n, false);
            if (o.saveChannels) {
                progress("saving the project " + *o.saveChannels);
                dialogs.saveAnswers.push_back(*o.saveChannels);
                if (!saveProject(channelsScreenProject(source, channels), state, dialogs, platform.files))
                    return 1;
            }
            // The channels screen offers NEXT only while a channel is ticked.
            if (!recountChannelSet(channels).nextEnabled) throw Failure("No channel is left ticked.");
            channelSetNext(channels);

            progress("matching colours");
            colorMatchingPage = drawColorMatchingPage(colorMatching(channels));

            progress("composing the pages");
            const ComposedOutput composed = composeOutput(channels, source, stencil, o.output);
            entries = composed.entries;
            stencilMade = o.output.createStencil;
        }

        const PagePictures pictures{stencil, channels.after, colorMatchingPage,
                                    o.task == TaskMode::PrintSingleFile ? nullptr : &channels};
        if (o.exportName) {
            progress("exporting the pages");
            dialogs.saveAnswers.push_back(*o.exportName);
            ExportSettings exportSettings;
            exportSettings.fileType = o.exportType;
            if (!exportCheckedPages(entries, pictures, state, o.page, exportSettings, kScreenDpi, platform))
                return 1;
        }
        if (o.save) {
            progress("saving the project " + *o.save);
            dialogs.saveAnswers.push_back(*o.save);
            if (!saveProject(
                    printingScreenProject(intake, source, channels, stencilMade ? &stencil : nullptr), state,
                    dialogs, platform.files))
                return 1;
        }
        if (o.print) {
            progress("printing");
            printChecked(entries, pictures, state, o.page, platform.printer, dialogs);
            // A printed page loses its tick: a tick left means the run stopped.
            const bool left = entries.stencil.ticked || entries.result.ticked ||
                              entries.colorMatching.ticked ||
                              std::any_of(entries.channels.begin(), entries.channels.end(),
                                          [](const PageEntry& e) { return e.ticked; });
            if (left) return 1;
        }
        return 0;
    } catch (const std::bad_alloc&) {
        dialogs.message("Not enough memory while " + step + ": a smaller output size or DPI needs less.");
        return 1;
    } catch (const std::exception& failure) {
        dialogs.message(failure.what());
        return 1;
    }
}

}  // namespace dg
