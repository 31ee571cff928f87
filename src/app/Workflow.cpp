#include "app/Workflow.h"

#include <algorithm>
#include <limits>
#include <tuple>

#include "app/OutputSizeRules.h"
#include "app/TaskSelectionRules.h"
#include "formats/PictureReaders.h"
#include "imaging/CountColors.h"
#include "imaging/Enhance.h"
#include "imaging/Failure.h"
#include "imaging/Numbers.h"
#include "imaging/Progress.h"
#include "imaging/Scaling.h"
#include "output/Printing.h"
#include "project/ProjectFolder.h"
#include "separation/ColorMatching.h"
#include "separation/Thresholds.h"

namespace dg {

namespace {

std::int32_t toField(std::int64_t v) {
    // The field clamps into its own range; this only keeps the number an int on the way.
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

double mediaSize(const std::string& text) {
    double v = 0;
    return parseNumber(text, v) ? v : 0.0;
}

}  // namespace

Workflow::Workflow(Platform& platform_)
    : platform(platform_),
      dpi_(kDpiField.minimum, kDpiField.maximum, state.outputDpi),
      widthWhole_(kWidthWholeField.minimum, kWidthWholeField.maximum, state.outputWidthWhole),
      widthHundredths_(kHundredthsField.minimum, kHundredthsField.maximum, state.outputWidthHundredths),
      heightWhole_(kHeightWholeField.minimum, kHeightWholeField.maximum, state.outputHeightWhole),
      heightHundredths_(kHundredthsField.minimum, kHundredthsField.maximum, state.outputHeightHundredths) {
    for (BoundedValue* field : {&dpi_, &widthWhole_, &widthHundredths_, &heightWhole_, &heightHundredths_})
        field->bind([this] {
            storeFields();
            recomputeOutputSize();
        });
    storeFields();
}

void Workflow::listen(std::function<void(Change)> listener) { listeners_.push_back(std::move(listener)); }

void Workflow::changed(Change what) {
    if (holdingChanges_) {
        if (heldChanges_.empty() || heldChanges_.back() != what) heldChanges_.push_back(what);
        return;
    }
    for (const auto& listener : listeners_) listener(what);
}

void Workflow::releaseChanges() {
    holdingChanges_ = false;
    const std::vector<Change> held = std::move(heldChanges_);
    heldChanges_.clear();
    for (const Change what : held) changed(what);
}

// ---- Printer and unit ---------------------------------------------------------------------

void Workflow::readPrinter() {
    Printer& printer = platform.printer;
    state.orientation = printer.orientation();
    state.printerPageWidthPx = printer.pageWidthPx();
    state.printerPageHeightPx = printer.pageHeightPx();
    state.printerDpi = printer.dpiX();
    const MediaSizeTexts media = mediaSizeTexts(state.unit, printer.widthMm(), printer.heightMm());
    state.mediaWidth = media.width;
    state.mediaHeight = media.height;
    changed(Change::Printer);
}

void Workflow::setUnit(MeasuringUnit unit) {
    // Ticking the unit already ticked changes nothing, as a tick box that is already ticked.
    if (state.unit == unit) return;
    state.unitLocked = true;
    state.unit = unit;
    readPrinter();
    changed(Change::Unit);
}

void Workflow::setOrientation(Orientation orientation) {
    platform.printer.setOrientation(orientation);
    readPrinter();
}

// ---- Intake -------------------------------------------------------------------------------

bool Workflow::openPicture() {
    pictures.intake.clear();
    if (heldPicture_) return openHeldPicture();
    const auto path = platform.dialogs.openPicture(pictureDialogFilter());
    if (!path) return false;
    {
        BusyPointer busy(platform.dialogs);
        pictures.intake = readPicture(*path);
    }
    return !pictures.intake.empty();
}

bool Workflow::openHeldPicture() {
    // Taken once, even when it cannot be read: the next open asks the dialog again.
    const std::string path = std::move(*heldPicture_);
    heldPicture_.reset();
    {
        BusyPointer busy(platform.dialogs);
        pictures.intake = readPicture(path);
    }
    // Its folder becomes the current folder, as choosing the file in the dialog makes it: a
    // PROJECT.CSP beside it restores the output size.
    const std::string folder = folderOf(path);
    if (!folder.empty()) platform.files.setCurrentFolder(folder);
    return !pictures.intake.empty();
}

bool Workflow::pasteClipboard() {
    // Checked again here: the clipboard may have changed since the last poll.
    if (!platform.clipboard.hasBitmap()) return false;
    pictures.intake = platform.clipboard.bitmap();
    return true;
}

void Workflow::readIntake(const std::string& path) { pictures.intake = readPicture(path); }

void Workflow::autoRotate() {
    if (!state.autoRotate) return;
    const Orientation o = orientationForPicture(pictures.source.width(), pictures.source.height());
    if (o != platform.printer.orientation()) setOrientation(o);
}

void Workflow::takeIntoSource() {
    pictures.source.clear();
    pictures.source = pictures.intake;
    unsavedWork_ = state.task != TaskMode::PrintSingleFile;
}

void Workflow::restoreOutputSettings() {
    const RgbImage& source = pictures.source;
    restoreOutputSettingsOnIntake(platform.files, state, *this, source.width(), source.height());
}

void Workflow::refreshSourceColours() {
    sourceColours_ = CountColors(pictures.source);
    changed(Change::SourceColours);
}

// ---- Output size --------------------------------------------------------------------------

void Workflow::storeFields() {
    state.outputDpi = dpi_.value();
    state.outputWidthWhole = widthWhole_.value();
    state.outputWidthHundredths = widthHundredths_.value();
    state.outputHeightWhole = heightWhole_.value();
    state.outputHeightHundredths = heightHundredths_.value();
}

void Workflow::setPreserveAspect(bool preserve) {
    if (state.preserveAspect == preserve) return;
    state.preserveAspect = preserve;
    changed(Change::OutputSize);
    if (preserve) deriveHeightFromWidth();
}

void Workflow::setDpi(std::int32_t dpi) { dpi_.set(dpi); }
void Workflow::setWidthWhole(std::int32_t value) { widthWhole_.set(value); }
void Workflow::setWidthHundredths(std::int32_t value) { widthHundredths_.set(value); }
void Workflow::setHeightWhole(std::int32_t value) { heightWhole_.set(value); }
void Workflow::setHeightHundredths(std::int32_t value) { heightHundredths_.set(value); }

void Workflow::deriveHeightFromWidth() {
    const RgbImage& source = pictures.source;
    const auto height =
        deriveHeight(widthWhole_.value(), widthHundredths_.value(), source.width(), source.height());
    if (!height) return;
    // Each change recomputes at once, nested; a repeated derivation finds the values set.
    setHeightWhole(toField(height->whole));
    setHeightHundredths(toField(height->hundredths));
}

void Workflow::recomputeOutputSize() {
    if (state.preserveAspect) deriveHeightFromWidth();
    storeFields();
    state.outputWidthText = sizeText(state.outputWidthWhole, state.outputWidthHundredths);
    state.outputHeightText = sizeText(state.outputHeightWhole, state.outputHeightHundredths);

    OutputSizeInputs in;
    in.unit = state.unit;
    in.dpi = state.outputDpi;
    in.widthWhole = state.outputWidthWhole;
    in.widthHundredths = state.outputWidthHundredths;
    in.heightWhole = state.outputHeightWhole;
    in.heightHundredths = state.outputHeightHundredths;
    in.sourceWidth = pictures.source.width();
    in.sourceHeight = pictures.source.height();
    in.mediaWidth = mediaSize(state.mediaWidth);
    in.mediaHeight = mediaSize(state.mediaHeight);
    verdict_ = evaluateOutputSize(in);
    state.exceedsPrinterArea = verdict_.exceedsPrinterArea;
    changed(Change::OutputSize);
}

void Workflow::fitToPageWidth() {
    // The width always takes the page width; the height follows the picture's proportions,
    // or, when those are not kept, takes the page height.
    double mw = 0;
    if (!parseNumber(state.mediaWidth, mw)) return;
    const HeightFields width = splitUnits(mw);
    setWidthWhole(toField(width.whole));
    setWidthHundredths(toField(width.hundredths));
    if (state.preserveAspect) {
        deriveHeightFromWidth();
        return;
    }
    double mh = 0;
    if (!parseNumber(state.mediaHeight, mh)) return;
    const HeightFields height = splitUnits(mh);
    setHeightWhole(toField(height.whole));
    setHeightHundredths(toField(height.hundredths));
}

void Workflow::requireOutputPixels() const {
    // Only a length under one whole unit can come to less than half a pixel; sizes that make
    // no picture at all for other reasons are the scaling's to report.
    const auto noPixels = [&](std::int32_t whole, std::int32_t hundredths) {
        return whole == 0 && hundredths >= 0 && outputPixels(0, hundredths, state.outputDpi, state.unit) == 0;
    };
    const bool noColumns = noPixels(state.outputWidthWhole, state.outputWidthHundredths);
    if (!noColumns && !noPixels(state.outputHeightWhole, state.outputHeightHundredths)) return;
    const auto length = [](std::int32_t whole, std::int32_t hundredths) {
        return shortestText(static_cast<double>(whole) + static_cast<double>(hundredths) / 100.0);
    };
    throw Failure("The output size of " + length(state.outputWidthWhole, state.outputWidthHundredths) +
                  " x " + length(state.outputHeightWhole, state.outputHeightHundredths) + " " +
                  unitWord(state.unit) + " at " + std::to_string(state.outputDpi) +
                  " DPI is less than one pixel " + (noColumns ? "wide" : "high") +
                  ". Please choose a larger size.");
}

// ---- Scaling and routes -------------------------------------------------------------------

void Workflow::passOnPrinterWarning() {
    printerMessage_ = state.exceedsPrinterArea ? kExceedsPrinterAreaText : "";
    changed(Change::Pages);
}

void Workflow::scaleTo(RgbImage& destination) {
    const PixelSize size = outputPixelSize(state);
    // Resampling a picture up takes long enough for the busy pointer.
    std::optional<BusyPointer> busy;
    if (isEnlarging(size, pictures.source) && !pictures.source.empty()) busy.emplace(platform.dialogs);
    scaleInto(pictures.source, size, pictures.result, destination, state.resampleFilter);
}

void Workflow::scaleSource() {
    // A new design: the channels will not be a reopened project's.
    reopenedProject = false;
    channelEditing = state.task == TaskMode::TattooIn23Colors;
    changed(Change::ChannelsOffer);
    RgbImage scaled;
    scaleTo(scaled);
    pictures.result.clear();
    passOnPrinterWarning();
    pictures.source = std::move(scaled);
    if (showsPictures) pictures.result.reset(pictures.source.width(), pictures.source.height());
}

ColourRoute Workflow::colourRoute() const {
    return CountColors(pictures.source) < kReductionColours ? ColourRoute::Channels : ColourRoute::Separation;
}

void Workflow::channelsFromSource() {
    // The blank RESULT of the scaling serves no one on the way to the channels.
    pictures.result.clear();
    channels.before = pictures.source;
    reductionSkipped = true;
    rebuildChannels();
}

ColourRoute Workflow::enterReduction() {
    // What the step may change, kept to be put back; the channels are moved aside, not copied.
    auto undoable = std::tie(pictures.source, pictures.result, reopenedProject, channelEditing, reductionSkipped,
                             undoOffered, mergeOffered, changeColorsOffered, thresholds_, tribalMethod_,
                             tribalRecomputes_, tribalSliders_, tribalEntryCopy, lastRebuild_);
    const auto kept = std::apply([](const auto&... value) { return std::make_tuple(value...); }, undoable);
    ChannelSet previousChannels;
    ColourRoute route = ColourRoute::Separation;
    try {
        stepCheckpoint(0);
        scaleSource();
        stepCheckpoint(0.5);
        if (state.task == TaskMode::CreateTribalTattoo) {
            enterTribal();
        } else {
            route = colourRoute();
            stepCheckpoint(0.6);
            if (route == ColourRoute::Channels) {
                std::swap(previousChannels, channels);
                channelsFromSource();
            } else {
                enterSeparation();
            }
        }
        stepCheckpoint(1);
    } catch (const Cancelled&) {
        undoable = kept;
        separationCopy.clear();
        separationBackup.clear();
        separationResult.clear();
        separator_ = Separator();
        masksEmptied_ = true;
        if (route == ColourRoute::Channels) channels = std::move(previousChannels);
        throw;
    }
    return route;
}

void Workflow::scaleSingleFile() {
    scaleTo(channels.after);
    resultThumbnail = showsPictures ? channels.after : RgbImage();
    // Every entry unticked and hidden but RESULT, ticked and shown.
    entries = PageEntries{};
    entries.result.shown = entries.result.ticked = true;
    showStencilThumbnail = false;
    showResultThumbnail = true;
    pictures.result.clear();
    passOnPrinterWarning();
}

// ---- Separation ---------------------------------------------------------------------------

bool Workflow::enterSeparation() {
    separationCopy = pictures.source;
    const bool raised = thresholds_.lightGrey < thresholds_.white && thresholds_.white < 255;
    thresholds_ = thresholdsOnEnter(thresholds_);
    separate();
    separationBackup = pictures.source;
    return raised;
}

void Workflow::moveThreshold(int slider, int value) {
    std::array<int, kThresholdCount> values = thresholdValues(thresholds_);
    values[static_cast<std::size_t>(slider)] = value;
    thresholds_ = clampThresholds(thresholdsFromValues(values));
    separate();
    unsavedWork_ = true;
}

void Workflow::separate() {
    const SeparationResult& r = separator_.separate(separationCopy, thresholds_);
    copyPixels(r.result, separationResult);
    masksEmptied_ = false;
    changed(Change::Separation);
}

RgbImage Workflow::separationMask(int k) const {
    if (masksEmptied_ || separator_.classifier() == nullptr) return {};
    return dg::separationMask(separationCopy, *separator_.classifier(), k);
}

void Workflow::restoreOriginal() {
    separationCopy = separationBackup;
    pictures.source = separationBackup;
    separate();
    unsavedWork_ = true;
}

void Workflow::releaseSeparation() {
    separationResult.clear();
    masksEmptied_ = true;
    separator_ = Separator();
    changed(Change::Separation);
}

void Workflow::separationNext() {
    // What only the separation screen needs is given back before the channels are made: the
    // largest design's channels need every byte.
    separationBackup.clear();
    separationCopy.clear();
    pictures.result.clear();
    masksEmptied_ = true;
    separator_ = Separator();
    channels.before = std::move(separationResult);
    separationResult.clear();
    changed(Change::Separation);
    rebuildChannels();
}

// ---- Tribal -------------------------------------------------------------------------------

namespace {

// The nudges move slider 1 by one step purely for its change event: each change recomputes,
// and the last one wins. Each gives the positions the slider takes in turn.
std::vector<int> nudgeOnChoosing(int v) {
    std::vector<int> steps;
    if (v < kTribalSliderMaximum) steps.push_back(++v);
    if (v >= kTribalSliderMaximum) steps.push_back(--v);
    return steps;
}

std::vector<int> nudgeOnOriginal(int v) {
    std::vector<int> steps;
    if (v > kTribalSliderMinimum) steps.push_back(--v);
    if (v < kTribalSliderMaximum) steps.push_back(++v);
    return steps;
}

std::vector<int> nudgeOnEnhance(int v) {
    std::vector<int> steps;
    if (v < kTribalSliderMaximum - 1) steps.push_back(++v);
    if (v > kTribalSliderMaximum - 2) steps.push_back(--v);
    return steps;
}

}  // namespace

void Workflow::recomputeTribal() {
    makeTribal(pictures.source, tribalMethod_, tribalSliders_, pictures.result);
    ++tribalRecomputes_;
    changed(Change::Tribal);
}

void Workflow::setTribalSlider(int index, int value) {
    value = std::clamp(value, kTribalSliderMinimum, kTribalSliderMaximum);
    std::int32_t& slider =
        index == 0 ? tribalSliders_.t1 : (index == 1 ? tribalSliders_.t2 : tribalSliders_.t3);
    if (slider == value) return;
    slider = value;
    recomputeTribal();
    unsavedWork_ = true;
}

void Workflow::nudge(const std::vector<int>& steps) {
    for (const int v : steps) setTribalSlider(0, v);
}

void Workflow::chooseTribalMethod(int method) {
    if (method == tribalMethod_) return;
    tribalMethod_ = method;
    changed(Change::Tribal);
    nudge(nudgeOnChoosing(tribalSliders_.t1));
}

void Workflow::enterTribal() {
    pictures.result.reset(pictures.source.width(), pictures.source.height());
    // Chosen afresh, so that the choice runs even when Method 8 was the method already chosen.
    tribalMethod_ = 0;
    chooseTribalMethod(kTribalEntryMethod);
    nudge(nudgeOnChoosing(tribalSliders_.t1));
    tribalEntryCopy = pictures.source;
}

void Workflow::tribalOriginal() {
    pictures.source = tribalEntryCopy;
    nudge(nudgeOnOriginal(tribalSliders_.t1));
    refreshSourceColours();
}

void Workflow::nudgeAfterEnhance() { nudge(nudgeOnEnhance(tribalSliders_.t1)); }

void Workflow::tribalNext() {
    tribalEntryCopy.clear();
    // The design moves on to the channels; RESULT is not shown on their way.
    channels.before = std::move(pictures.result);
    pictures.result.clear();
    rebuildChannels();
}

// ---- Channels -----------------------------------------------------------------------------

RebuildSummary Workflow::rebuildChannels() {
    beforeRebuild();
    return rebuilt(rebuildChannelSet(channels));
}

void Workflow::beforeRebuild() {
    // The separation's masks are not needed once its result is in the channels.
    masksEmptied_ = true;
    changed(Change::Separation);
}

const RebuildSummary& Workflow::rebuilt(const RebuildSummary& summary) {
    lastRebuild_ = summary;
    undoOffered = false;
    mergeOffered = changeColorsOffered = true;
    changed(Change::ChannelsRebuilt);
    return lastRebuild_;
}

ChannelCount Workflow::tickChannel(int n, bool ticked) {
    const ChannelCount count = setChannelChecked(channels, n, ticked);
    unsavedWork_ = true;
    changed(Change::Channels);
    return count;
}

MergeOutcome Workflow::mergeChannels(MergeDialog& dialog) {
    pictures.result = channels.before;
    dialog.sequenceStarting();
    undoOffered = true;
    const MergeOutcome outcome = dg::mergeChannels(channels, dialog);
    recheckChannelSet(channels);
    channels.after = composeMergeAfter(channels);
    mergeOffered = false;
    changeColorsOffered = true;
    reductionSkipped = false;
    // Even with nothing merged the sequence ticks again every channel still shown.
    unsavedWork_ = true;
    dialog.sequenceEnded(channels);
    changed(Change::Channels);
    return outcome;
}

void Workflow::undoChannels() {
    channels.before = pictures.result;
    rebuildChannels();
    unsavedWork_ = true;
}

void Workflow::channelsNext() {
    if (!recountChannelSet(channels).nextEnabled) throw Failure("No channel is left ticked.");
    beforeRebuild();
    rebuilt(channelSetNext(channels));
    pictures.result.clear();
}

bool Workflow::saveChannelsProject() {
    const bool saved = saveProject(channelsScreenProject(pictures.source, channels), state, platform.dialogs,
                                   platform.files);
    if (saved) unsavedWork_ = false;
    return saved;
}

// ---- Change colours -----------------------------------------------------------------------

void Workflow::enterChangeColors() {
    pictures.result = channels.before;
    changeColorsWorking = channels.after.width() > 0 ? channels.after : channels.before;
    undoOffered = true;
    changed(Change::ChangeColors);
}

void Workflow::pointAt(int x, int y) {
    if (state.task != TaskMode::TattooIn23Colors) return;
    pointerX_ = x;
    pointerY_ = y;
    swatches_ = changeColorsSwatches(pictures.source, changeColorsWorking, x, y);
    changed(Change::ChangeColors);
}

void Workflow::changeAtPointer() {
    if (state.task != TaskMode::TattooIn23Colors) return;
    if (changeColors(changeColorsWorking, pictures.source, pointerX_, pointerY_) > 0)
        changed(Change::ChangeColors);
}

void Workflow::acceptChangeColors() {
    channels.before = changeColorsWorking;
    rebuildChannels();
    changeColorsWorking.clear();
    undoOffered = true;
    unsavedWork_ = true;
    changed(Change::Channels);
}

void Workflow::cancelChangeColors() {
    changeColorsWorking.clear();
    changeColorsOffered = true;
    changed(Change::Channels);
}

void Workflow::matchColours() { matching = colorMatching(channels); }

// ---- Options and printing -----------------------------------------------------------------

void Workflow::compose(const OutputOptions& options) {
    ComposedOutput composed = composeOutput(channels, pictures.source, stencil, options);
    stencilMade = options.createStencil;
    // The stencil's outline replaced the SOURCE picture; the result is what the RESULT
    // viewer holds now.
    if (options.createStencil && showsPictures) pictures.result = channels.after;
    resultThumbnail = showsPictures ? std::move(composed.resultThumbnail) : RgbImage();
    entries = composed.entries;
    showStencilThumbnail = composed.showStencilThumbnail;
    showResultThumbnail = composed.showResultThumbnail;
    unsavedWork_ = true;
    changed(Change::Pages);
}

PagePictures Workflow::pagePictures() const {
    return PagePictures{stencil, channels.after, matching.page, &channels};
}

void Workflow::printPages(const PageSettings& page) {
    printChecked(entries, pagePictures(), state, page, platform.printer, platform.dialogs);
}

bool Workflow::exportPages(const PageSettings& page, const ExportSettings& settings, int screenDpi) {
    return exportCheckedPages(entries, pagePictures(), state, page, settings, screenDpi, platform);
}

bool Workflow::savePrintingProject() {
    // A reopened project has no intake picture of its own: its SOURCE is what it saves.
    const RgbImage& taken = state.task == TaskMode::PrintOldProject ? pictures.source : pictures.intake;
    const bool saved =
        saveProject(printingScreenProject(taken, pictures.source, channels, stencilMade ? &stencil : nullptr),
                    state, platform.dialogs, platform.files);
    if (saved) unsavedWork_ = false;
    return saved;
}

bool Workflow::pagesLeft() const { return entries.anyTicked(); }

// ---- Enhance ------------------------------------------------------------------------------

const RgbImage& Workflow::openEnhance() {
    // ORIGINAL needs something to go back to, whatever the enhance screen does.
    if (state.task == TaskMode::CreateTribalTattoo && tribalEntryCopy.empty())
        tribalEntryCopy = pictures.source;
    enhanceCancelCopy_ = pictures.source;
    if (state.task == TaskMode::TattooIn23Colors) pictures.source = separationCopy;
    return pictures.source;
}

void Workflow::acceptEnhance(RgbImage working) {
    enhanceCancelCopy_.clear();
    unsavedWork_ = true;
    if (state.task == TaskMode::CreateTribalTattoo) {
        pictures.source = std::move(working);
        refreshSourceColours();
        nudgeAfterEnhance();
    } else if (state.task == TaskMode::TattooIn23Colors) {
        if (separationBackup.empty()) separationBackup = working;
        separationCopy = std::move(working);
        separate();
    }
}

void Workflow::cancelEnhance() {
    pictures.source = std::move(enhanceCancelCopy_);
    enhanceCancelCopy_.clear();
    if (state.task == TaskMode::TattooIn23Colors) separate();
}

// ---- Old project --------------------------------------------------------------------------

OpenProjectOutcome Workflow::openProject() {
    OpenedProject opened = dg::openProject(platform.dialogs, platform.files, state, *this, pictures.source);
    if (opened.outcome != OpenProjectOutcome::Opened) return opened.outcome;
    channels.before = opened.result;
    pictures.source = std::move(opened.result);
    reopenedProject = true;
    changed(Change::ChannelsOffer);
    rebuildChannels();
    // What was just opened is saved as it is.
    unsavedWork_ = false;
    return opened.outcome;
}

// ---- Ending the run -----------------------------------------------------------------------

bool Workflow::mayEnd() { return !unsavedWork_ || platform.dialogs.askYesNo(kQuitWithoutSavingQuestion); }

}  // namespace dg
