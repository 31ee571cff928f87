#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "app/Workflow.h"
#include "platform/Platform.h"

class QWidget;

namespace dg {

class TForm1;
class TForm002;
class TForm003;
class TForm001;
class TForm004;
class TForm019;
class TForm010;
class TForm005;
class TForm027;
class TForm021;
class TForm023;
class TForm028;
class TForm029;
class TForm020;
class Tenhance;
class TForm022;
class TForm024;
class TWarning;
class TAbout;
class TDescription;
class TTerms;
class THelp001;
class Thelp004;
class Thelp005;
class Thelp019;
class Thelp021;
class Thelp023;
class Thelp028;
class Thelp029;
class ThelpEnhance;
class ThelpChange;
class ThelpMerge;

// Where a step leaves the user: the moves between windows, each decided here alone.
enum class Move {
    SplashDone,               // the splash's time is up: SELECT TASK
    IntakeStarted,            // SELECT TASK put away while a picture is asked for
    IntakeCancelled,          // no picture arrived: SELECT TASK again
    IntakeArrived,            // a picture arrived: SOURCE shown
    OutputSizeForSingleFile,  // the single-file task: SOURCE and the output-size screen
    OutputSizeShown,          // the intake chain's end: the output-size screen
    SingleFilePrinting,       // output size NEXT >> in the single-file task
    ColourReduction,          // output size NEXT: COLOR REDUCTION (the route picks what follows)
    RouteFailed,              // a route that failed on its way: SELECT TASK
    ReductionCancelled,       // COLOR REDUCTION cancelled: the output-size screen as it was
    SeparationShown,          // the route: COLOR REDUCTION AND SEPARATION
    TribalShown,              // the route: TRIBAL CREATION with SOURCE and RESULT
    ChannelsShown,            // CHANNELS / COLORS after a rebuild
    ProjectOpened,            // PRINT OLD PROJECT: the channels screen
    ProjectNotOpened,         // PRINT OLD PROJECT failed: SELECT TASK
    SeparationNext,           // separation NEXT: the channels follow
    SeparationToEnhance,      // ENHANCE SOURCE
    TribalNext,               // tribal NEXT: the channels follow
    TribalToEnhance,          // ENHANCE
    TribalHelp,               // the tribal help puts SOURCE and RESULT away
    EnhanceBack,              // enhance OK or CANCEL
    ChannelsNext,             // channels NEXT: COLOR MATCHING
    ChannelsMergeStarted,     // MERGE CHANNELS: PREVIEW put away
    ChannelsMergeDone,        // the merge sequence ended
    MergeOfferAnswered,       // an offer answered: PREVIEW and the help no longer above the dialog
    MergeHelp,                // the merge help, above the dialog on screen
    MergePreview,             // PREVIEW, above the dialog on screen
    ChannelsToChangeColors,   // CHANGE COLORS with SOURCE
    ChangeColorsOk,           // CHANGE COLORS OK: the channels screen
    ChangeColorsBack,         // CHANGE COLORS CANCEL or closed
    ChangeColorsHelp,         // its help, raised above it
    ColorMatchingBack,        // COLOR MATCHING << BACK: the channels screen
    ColorMatchingNext,        // COLOR MATCHING NEXT: OPTIONS
    InkChart,                 // the chart of the primary inks, raised
    OptionsBack,              // OPTIONS << BACK: the channels screen
    OptionsNext,              // OPTIONS NEXT: the printing screen
    OptionsWarning,           // "Masked" ticked: the warning
    PreviewClosed,            // PREVIEW put away
};

// Which help window, information window or viewer a screen asks for.
enum class Window {
    SourceViewer,
    ResultViewer,
    PreviewViewer,
    SelectTaskHelp,
    OutputSizeHelp,
    TribalHelp,
    ChannelsHelp,
    SeparationHelp,
    ColorMatchingHelp,
    OptionsHelp,
    PrintingHelp,
    EnhanceHelp,
    MergeHelp,
    Description,
    About,
    Terms,
};

// Every window of the program, created once at start-up in a fixed order and kept until the
// end of the run, and the one workflow they show. Screens never reach each other: they call
// the workflow's steps and ask this object for the move that follows.
class ScreenSet {
public:
    // endApplication ends the run at once (the program quits its event loop; tests count).
    ScreenSet(Platform& platform, std::function<void()> endApplication);
    ~ScreenSet();
    ScreenSet(const ScreenSet&) = delete;
    ScreenSet& operator=(const ScreenSet&) = delete;

    // The second step of start-up: the splash over SELECT TASK, gone after 10000 ms.
    void start();

    Platform& platform;
    Workflow workflow;
    WorkflowState& state;
    PictureBuffers& pictures;

    // In the order of creation; the splash is the first.
    std::unique_ptr<TForm1> splash;           // splash; open picture and paste
    std::unique_ptr<TForm002> sourceViewer;   // SOURCE viewer
    std::unique_ptr<TForm003> resultViewer;   // RESULT viewer
    std::unique_ptr<TForm001> selectTask;     // SELECT TASK
    std::unique_ptr<TForm004> outputSize;     // OUTPUT SIZE AND RESOLUTION
    std::unique_ptr<TForm019> channels;       // CHANNELS / COLORS
    std::unique_ptr<TForm010> previewViewer;  // PREVIEW viewer
    std::unique_ptr<TForm005> tribal;         // TRIBAL CREATION
    std::unique_ptr<TForm027> resize;         // never shown
    std::unique_ptr<TForm021> separation;     // COLOR REDUCTION AND SEPARATION
    std::unique_ptr<TForm023> colorMatching;  // COLOR MATCHING
    std::unique_ptr<TForm028> options;        // OPTIONS
    std::unique_ptr<TForm029> printing;       // PRINTING
    std::unique_ptr<TForm020> merge;          // MERGE COLORS/CHANNELS
    std::unique_ptr<Tenhance> enhance;        // enhance
    std::unique_ptr<TForm022> changeColors;   // CHANGE COLORS
    std::unique_ptr<TForm024> inkChart;       // chart of the primary inks
    std::unique_ptr<TWarning> warning;
    std::unique_ptr<TAbout> about;
    std::unique_ptr<TDescription> description;
    std::unique_ptr<TTerms> terms;
    std::unique_ptr<THelp001> selectTaskHelp;
    std::unique_ptr<Thelp004> outputSizeHelp;
    std::unique_ptr<Thelp005> tribalHelp;
    std::unique_ptr<Thelp019> channelsHelp;
    std::unique_ptr<Thelp021> separationHelp;
    std::unique_ptr<Thelp023> colorMatchingHelp;
    std::unique_ptr<Thelp028> optionsHelp;
    std::unique_ptr<Thelp029> printingHelp;
    std::unique_ptr<ThelpEnhance> enhanceHelp;
    std::unique_ptr<ThelpChange> changeColorsHelp;
    std::unique_ptr<ThelpMerge> mergeHelp;

    // Every window, in the order of creation.
    std::vector<QWidget*> windows() const;

    // Ends the run at once: no question, nothing saved.
    void endApplication();
    // The EXIT and Exit buttons, SELECT TASK's window close and the output-size screen's close
    // for an external resizer: the run ends, but with unsaved work only when the user agrees.
    void askToEndApplication();
    // Runs one user action; a failure shows its message and ends the action. False on failure.
    bool guard(const std::function<void()>& action);
    // A step that may take long, off the window's thread with a progress dialog (see
    // runLongStep): false when the user cancelled it.
    bool runLong(const QString& name, const std::function<void()>& step, bool cancellable = true);
    // The way back home: hide the current screen, its help, the three viewers; show SELECT TASK.
    void goToSelectTask(QWidget* current);
    // Shows, hides and raises the windows that follow a step; `current` is the screen the
    // step ran on.
    void go(Move move, QWidget* current = nullptr);
    void show(Window window);
    void hide(Window window);
    // PREVIEW with a picture, raised above the others.
    void showPreview(const RgbImage& picture);
    // The merge screen, as the dialog of the merge sequence.
    MergeDialog& mergeDialog();

    // After a picture intake: the dark background of the viewers and working screens, and
    // the close and minimise buttons (no maximise) of the working screens and their helps.
    void colourWorkingScreens();
    void giveTitleBarButtons();

private:
    void wireHelpClosing();
    void wireWorkflow();
    QWidget* window(Window window) const;
    QWidget* helpOf(QWidget* screen) const;

    std::function<void()> endApplication_;
};

}  // namespace dg
