#include "batch/BatchWalk.h"

#include <exception>
#include <new>

#include "app/Workflow.h"
#include "batch/BatchPlatform.h"
#include "imaging/Failure.h"
#include "platform/FileSystem.h"
#include "project/ProjectFolder.h"

namespace dg {

namespace {

// The output-size screen's fields as the user types them, after the intake has restored and
// derived what it does.
void typeOutputSize(const BatchOptions& o, Workflow& run) {
    if (o.dpi) run.setDpi(*o.dpi);
    if (o.width) {
        run.setWidthWhole(o.width->first);
        run.setWidthHundredths(o.width->second);
    }
    if (!o.keepAspect) run.setPreserveAspect(false);
    if (o.height) {
        run.setHeightWhole(o.height->first);
        run.setHeightHundredths(o.height->second);
    }
}

// From the picture to the channels screen, by the task's route.
void designChannels(const BatchOptions& o, Workflow& run,
                    const std::function<void(const std::string&)>& step) {
    step("scaling to the output size");
    run.requireOutputPixels();
    if (o.task == TaskMode::CreateTribalTattoo) {
        run.enterReduction();
        step("making the tribal design");
        if (o.method) run.chooseTribalMethod(*o.method);
        for (int i = 0; i < 3; ++i)
            if (const auto& v = o.sliders[static_cast<std::size_t>(i)]) run.setTribalSlider(i, *v);
        run.tribalNext();
    } else if (run.enterReduction() == ColourRoute::Separation) {
        step("separating colours");
        for (const auto& [slider, value] : o.thresholdMoves) run.moveThreshold(slider, value);
        run.separationNext();
    }
}

}  // namespace

int runBatch(const BatchOptions& o, Printer& printer, FileSystem& machineFiles, std::ostream& messages,
             const std::function<void(const std::string&)>& report, StepProgress* stepProgress) {
    const ProgressScope scope(stepProgress);
    RunFolderFiles files(machineFiles);
    BatchDialogs dialogs(messages, files);
    NoClipboard clipboard;
    NoShell shell;
    Platform platform{printer, clipboard, dialogs, files, shell};
    Workflow run(platform);
    run.showsPictures = false;
    // The step under way, for the message when memory runs out.
    std::string current;
    const auto step = [&current, &report, stepProgress](const std::string& name) {
        current = name;
        if (stepProgress != nullptr) stepProgress->restart();
        report(name);
    };
    try {
        run.chooseTask(o.task);
        run.readPrinter();
        if (o.unit) run.setUnit(*o.unit);
        // A project may be named by its folder as well as by its PROJECT.CSP.
        const bool projectFolder = o.task == TaskMode::PrintOldProject && files.isFolder(o.picture);
        dialogs.openAnswers.push_back(projectFolder ? joinPath(o.picture, kDescriptorFileName) : o.picture);
        if (o.task == TaskMode::PrintOldProject) {
            step("opening the project " + o.picture);
            if (run.openProject() != OpenProjectOutcome::Opened)
                throw Failure(o.picture + " is not a project that can be opened.");
        } else {
            step("reading " + o.picture);
            if (!run.openPicture()) throw Failure(o.picture + " holds no picture.");
            run.takeIntoSource();
            run.restoreOutputSettings();
            run.recomputeOutputSize();
            typeOutputSize(o, run);
            if (o.task == TaskMode::PrintSingleFile) {
                step("scaling to the output size");
                run.requireOutputPixels();
                run.scaleSingleFile();
            } else {
                designChannels(o, run, step);
            }
        }
        if (o.task != TaskMode::PrintSingleFile) {
            for (const int n : o.untick) run.tickChannel(n, false);
            if (o.saveChannels) {
                step("saving the project " + *o.saveChannels);
                dialogs.saveAnswers.push_back(*o.saveChannels);
                if (!run.saveChannelsProject()) return 1;
            }
            run.channelsNext();
            step("matching colours");
            run.matchColours();
            step("composing the pages");
            run.compose(o.output);
        }
        if (o.exportName) {
            step("exporting the pages");
            dialogs.saveAnswers.push_back(*o.exportName);
            ExportSettings exportSettings;
            exportSettings.fileType = o.exportType;
            if (!run.exportPages(o.page, exportSettings, o.screenDpi)) return 1;
        }
        if (o.save) {
            step("saving the project " + *o.save);
            dialogs.saveAnswers.push_back(*o.save);
            if (!run.savePrintingProject()) return 1;
        }
        if (o.print) {
            step("printing");
            run.printPages(o.page);
            // A printed page loses its tick: a tick left means the run stopped.
            if (run.pagesLeft()) return 1;
        }
        return 0;
    } catch (const std::bad_alloc&) {
        dialogs.message("Not enough memory while " + current + ": a smaller output size or DPI needs less.");
        return 1;
    } catch (const std::exception& failure) {
        dialogs.message(failure.what());
        return 1;
    }
}

}  // namespace dg
