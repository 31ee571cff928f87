#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/OutputSizeRules.h"
#include "app/StepTrigger.h"
#include "app/WorkflowState.h"
#include "imaging/RgbImage.h"
#include "imaging/Tribal.h"
#include "output/OptionsComposition.h"
#include "output/PageEntries.h"
#include "output/PageExport.h"
#include "output/PageLayout.h"
#include "output/PagePictures.h"
#include "platform/Platform.h"
#include "project/OutputSettingsTarget.h"
#include "project/ProjectReader.h"
#include "separation/ChangeColors.h"
#include "separation/ChannelModel.h"
#include "separation/ChannelSetBuild.h"
#include "separation/ColorMatching.h"
#include "separation/Merge.h"
#include "separation/Separation.h"

namespace dg {

// What changed in a run, for the views that show it.
enum class Change {
    Printer,          // the printer's page, resolution, media size or orientation
    Unit,             // the measuring unit
    OutputSize,       // the output size fields, their texts or the Message Board's verdict
    SourceColours,    // the SOURCE picture's colour count (its viewer's caption)
    Separation,       // the thresholds, the separation result and its masks
    ChannelsRebuilt,  // the channel set made afresh from BEFORE
    Channels,         // the channel set edited (ticks, merges, colours)
    Tribal,           // the tribal method, its sliders or its result
    ChangeColors,     // the CHANGE COLORS working picture or the colours under the pointer
    ChannelsOffer,    // what the channels screen offers (editing, UNDO) for the next design
    Pages,            // the printing screen's message line, page entries and thumbnails
};

// Pictures with fewer colours than this go straight to the channels: no reduction is needed.
inline constexpr std::int64_t kReductionColours = 24;

// Where the colour task goes after scaling.
enum class ColourRoute { Separation, Channels };

// The tribal sliders' range and their position before any nudge.
inline constexpr int kTribalSliderMinimum = 0;
inline constexpr int kTribalSliderMaximum = 256;  // 257 positions: at 256 even a byte of 255 is below
inline constexpr int kTribalSliderInitial = 100;
inline constexpr int kTribalEntryMethod = 8;

// The screen resolution at which a label's points become pixels when no screen is at hand.
inline constexpr int kDefaultScreenDpi = 96;

// Asked before the run ends with work that no saved project holds.
inline constexpr const char* kQuitWithoutSavingQuestion = "Quit without saving the project?";

// The state of one run of the program and the steps that change it. The wizard's screens show
// this state and call these steps; the batch command calls the same steps in the order the
// screens would. A step either completes or throws with the user's message.
class Workflow : public OutputSettingsTarget {
public:
    explicit Workflow(Platform& platform);

    Platform& platform;
    WorkflowState state;
    PictureBuffers pictures;
    // Whether the front end shows pictures (the viewers, the printing screen's thumbnails).
    // Without them the pictures only they show (the blank RESULT of the scaling, RESULT and the
    // result's thumbnail after composing) are never made: the largest designs need the room.
    bool showsPictures = true;

    // Views hear about every change they show.
    void listen(std::function<void(Change)> listener);
    // While a step runs off the window's thread, its changes are kept and told afterwards, in
    // order, when `releaseChanges` is called on the window's thread.
    void holdChanges() { holdingChanges_ = true; }
    void releaseChanges();

    // ---- Task, printer and unit (SELECT TASK) ---------------------------------------------
    void chooseTask(TaskMode task) { state.task = task; }
    // Reads the printer's page, resolution and media size into the state.
    void readPrinter();
    // Ticks a unit: the unit is locked from then on and the media size is read in it.
    void setUnit(MeasuringUnit unit) override;
    void setOrientation(Orientation orientation);

    // ---- Intake ---------------------------------------------------------------------------
    // Open picture: empties the intake picture, asks for a file and decodes it. Whether a
    // picture arrived.
    bool openPicture();
    // Paste: the clipboard's bitmap becomes the intake picture. Whether there was one.
    bool pasteClipboard();
    // Reads a picture file into the intake picture, as the batch command names it.
    void readIntake(const std::string& path);
    // A picture named when the program started: the next open picture takes it in instead of
    // asking the dialog, once.
    void holdPicture(std::string path) { heldPicture_ = std::move(path); }
    const std::optional<std::string>& heldPicture() const { return heldPicture_; }
    // The intake picture becomes the SOURCE picture.
    void takeIntoSource();
    // Automatic page rotation: the page turned to suit the SOURCE picture, when asked for.
    void autoRotate();
    // The output settings stored in a PROJECT.CSP of the current folder, then the height from
    // the width.
    void restoreOutputSettings();
    // Counts the SOURCE picture's colours for its viewer's caption.
    void refreshSourceColours();
    std::int64_t sourceColours() const { return sourceColours_; }

    // ---- Output size ------------------------------------------------------------------------
    // Each field clamps into its range; a change recomputes the texts and the verdict, and,
    // with the proportions kept, derives the height from the width.
    void setPreserveAspect(bool preserve) override;
    void setDpi(std::int32_t dpi) override;
    void setWidthWhole(std::int32_t value) override;
    void setWidthHundredths(std::int32_t value) override;
    void setHeightWhole(std::int32_t value) override;
    void setHeightHundredths(std::int32_t value) override;
    // "Fit to Page Width".
    void fitToPageWidth();
    // The height that keeps the SOURCE picture's proportions.
    void deriveHeightFromWidth();
    // Recomputes the size texts and the verdict.
    void recomputeOutputSize();
    const OutputSizeVerdict& outputSizeVerdict() const { return verdict_; }
    // Refuses a size of less than one pixel in either direction, with the user's message.
    void requireOutputPixels() const;

    // ---- Scaling and routes -----------------------------------------------------------------
    // Brings the SOURCE picture to the output size (the 23-colour and tribal tasks).
    void scaleSource();
    // The colour task after scaling: straight to the channels with fewer than 24 colours.
    ColourRoute colourRoute() const;
    // The colour task's picture that needs no reduction: the SOURCE picture becomes the
    // channels' BEFORE picture, rebuilt.
    void channelsFromSource();
    // OUTPUT SIZE's "NEXT: COLOR REDUCTION>> " as one step: SOURCE scaled, then the separation
    // entered or the channels made (the colour task) or TRIBAL CREATION entered. Cancelled
    // (Cancelled thrown at a checkpoint), it puts back everything it changed and throws again.
    // Gives the colour task's route.
    ColourRoute enterReduction();
    // The single-file task: the scaled picture is the only page, RESULT.
    void scaleSingleFile();
    // The printing screen's message line: the printer-area warning when the size exceeds it.
    const std::string& printerMessage() const { return printerMessage_; }

    // ---- Separation -------------------------------------------------------------------------
    // The thresholds the separation screen's sliders show; they keep their values in a run.
    const SeparationThresholds& thresholds() const { return thresholds_; }
    // Entering: a copy of SOURCE to work on and a backup of it, the white threshold raised,
    // and a first separation. Returns whether the entry raised the white threshold.
    bool enterSeparation();
    // One slider moved (slider index in the screen's order), the others clamped as they give
    // way, then separated.
    void moveThreshold(int slider, int value);
    void separate();
    const SeparationResult& separation() const { return separator_.lastResult(); }
    const Separator& separator() const { return separator_; }
    bool separationMasksEmptied() const { return masksEmptied_; }
    // Mask k (1..23) at full size from the SOURCE copy and the last thresholds.
    RgbImage separationMask(int k) const;
    // RESTORE ORIGINAL: the SOURCE picture and its copy as they were on entry, separated again.
    void restoreOriginal();
    // Leaving for the enhance screen: the separation is released.
    void releaseSeparation();
    // NEXT: the result becomes the channels' BEFORE picture, rebuilt.
    void separationNext();

    RgbImage separationCopy;    // the SOURCE copy the separation works on
    RgbImage separationResult;  // the separation result
    RgbImage separationBackup;  // the SOURCE picture as it was on entry; emptied by NEXT

    // ---- Tribal -------------------------------------------------------------------------------
    // Entering: RESULT at SOURCE's size, Method 8 chosen afresh, the entry nudge; a copy of
    // SOURCE for ORIGINAL.
    void enterTribal();
    // Choosing a method (runs only for a method that is not chosen); its nudge follows.
    void chooseTribalMethod(int method);
    void setTribalSlider(int index, int value);
    int tribalMethod() const { return tribalMethod_; }
    const TribalSliders& tribalSliders() const { return tribalSliders_; }
    int tribalRecomputes() const { return tribalRecomputes_; }
    // ORIGINAL: back to the SOURCE picture of the entry.
    void tribalOriginal();
    // After the enhance screen's OK.
    void nudgeAfterEnhance();
    // NEXT: the tribal result becomes the channels' BEFORE picture, rebuilt.
    void tribalNext();

    RgbImage tribalEntryCopy;

    // ---- Channels -----------------------------------------------------------------------------
    ChannelSet channels;
    // Whether the channel set is a reopened project's (UNDO is not offered then).
    bool reopenedProject = false;
    // Whether the channels came from a picture that needed no reduction: AFTER's count is
    // not shown until a merge shows it.
    bool reductionSkipped = false;
    // Whether the channels' editing (MERGE CHANNELS, CHANGE COLORS, UNDO) is offered: set by
    // the last design scaled (the 23-colour task offers it, the tribal task does not); a
    // reopened project keeps what was set.
    bool channelEditing = true;
    // Rebuild from BEFORE.
    RebuildSummary rebuildChannels();
    const RebuildSummary& lastRebuild() const { return lastRebuild_; }
    ChannelCount tickChannel(int n, bool ticked);
    // MERGE CHANNELS: BEFORE is kept for UNDO (in RESULT); the dialog is offered the channels
    // one at a time; AFTER is the merged result, and only the channels still shown stay
    // ticked.
    MergeOutcome mergeChannels(MergeDialog& dialog);
    // UNDO: BEFORE from the picture kept before the last edit, rebuilt.
    void undoChannels();
    // NEXT: AFTER becomes BEFORE, rebuilt.
    void channelsNext();
    // Save project from the channels screen.
    bool saveChannelsProject();
    // What the channels screen offers: set by a rebuild (CHANGE COLORS and MERGE CHANNELS,
    // no UNDO) and by the edits since.
    bool undoOffered = false;
    bool mergeOffered = true;
    bool changeColorsOffered = true;

    // ---- Change colours -----------------------------------------------------------------------
    // CHANGE COLORS: BEFORE is kept for UNDO (in RESULT) and AFTER (BEFORE when there is none)
    // is the working picture.
    void enterChangeColors();
    // The pointer over the SOURCE picture at (x, y), 23-colour task only: the two swatches.
    void pointAt(int x, int y);
    const ChangeColorsSwatches& swatches() const { return swatches_; }
    // A double click on the SOURCE picture or the working picture: the working colour at the
    // pointer becomes the SOURCE colour there (23-colour task only).
    void changeAtPointer();
    // OK: the working picture becomes BEFORE, rebuilt. CANCEL drops it.
    void acceptChangeColors();
    void cancelChangeColors();
    RgbImage changeColorsWorking;

    // ---- Colour matching ----------------------------------------------------------------------
    // Entering COLOR MATCHING: its rows, recipes and page, made from the ticked channels.
    void matchColours();
    ColorMatching matching;

    // ---- Options and printing -----------------------------------------------------------------
    RgbImage stencil;
    bool stencilMade = false;
    // The AFTER picture as it was before masking and corners: the result's thumbnail.
    RgbImage resultThumbnail;
    PageEntries entries;
    bool showStencilThumbnail = false;
    bool showResultThumbnail = false;
    // OPTIONS' NEXT: masking, stencil, corners and the page entries.
    void compose(const OutputOptions& options);
    PagePictures pagePictures() const;
    // Prints the ticked pages, one job each; a printed page loses its tick.
    void printPages(const PageSettings& page);
    // Writes the ticked pages as files; `screenDpi` turns the label's points into pixels.
    bool exportPages(const PageSettings& page, const ExportSettings& settings, int screenDpi);
    // Save project from the printing screen.
    bool savePrintingProject();
    // Whether any page is still ticked.
    bool pagesLeft() const;

    // ---- Enhance ------------------------------------------------------------------------------
    // Opening the enhance screen: the picture it starts from (in the colour task the SOURCE
    // copy, which becomes the SOURCE picture too); the SOURCE picture is kept for CANCEL.
    const RgbImage& openEnhance();
    // OK: the enhanced picture becomes the SOURCE picture (tribal task) or the separation's
    // copy, separated again (colour task).
    void acceptEnhance(RgbImage working);
    // CANCEL: the SOURCE picture as it was on opening; the colour task separates again.
    void cancelEnhance();

    // ---- Old project --------------------------------------------------------------------------
    // "NEXT : OPEN PROJECT >>": the descriptor applied, RESULT.bmp the new SOURCE and BEFORE,
    // rebuilt.
    OpenProjectOutcome openProject();

    // ---- Ending the run -----------------------------------------------------------------------
    // Whether there is work no saved project holds: a picture taken in for a task that saves
    // projects (a single-file print has nothing to save), or an edit of the design since the
    // project was opened or last saved.
    bool hasUnsavedWork() const { return unsavedWork_; }
    // Whether the run may end now: with unsaved work, only when the user agrees to lose it.
    bool mayEnd();

private:
    void changed(Change what);
    void setField(BoundedValue& field, std::int32_t value);
    void storeFields();
    void recomputeTribal();
    void beforeRebuild();
    const RebuildSummary& rebuilt(const RebuildSummary& summary);
    // The SOURCE picture at the output size into destination (RESULT is the resampler's).
    void scaleTo(RgbImage& destination);
    // The printing screen's message line: the printer-area warning when the size exceeds it.
    void passOnPrinterWarning();
    // Open picture with the picture held since start-up, as the dialog would have chosen it.
    bool openHeldPicture();
    void nudge(const std::vector<int>& steps);

    std::vector<std::function<void(Change)>> listeners_;
    bool holdingChanges_ = false;
    std::vector<Change> heldChanges_;
    std::int64_t sourceColours_ = 0;

    BoundedValue dpi_;
    BoundedValue widthWhole_;
    BoundedValue widthHundredths_;
    BoundedValue heightWhole_;
    BoundedValue heightHundredths_;
    OutputSizeVerdict verdict_;
    std::string printerMessage_;

    SeparationThresholds thresholds_;
    Separator separator_;
    bool masksEmptied_ = true;

    int tribalMethod_ = 0;
    TribalSliders tribalSliders_{kTribalSliderInitial, kTribalSliderInitial, kTribalSliderInitial};
    int tribalRecomputes_ = 0;

    RebuildSummary lastRebuild_;
    RgbImage enhanceCancelCopy_;
    int pointerX_ = 0;
    int pointerY_ = 0;
    ChangeColorsSwatches swatches_;

    std::optional<std::string> heldPicture_;
    bool unsavedWork_ = false;
};

}  // namespace dg
