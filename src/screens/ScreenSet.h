#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "app/WorkflowState.h"
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

// Every window of the program, created once at start-up in a fixed order and kept until the
// end of the run, with the workflow state and the picture buffers they share. Screens reach
// each other through this object.
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
    WorkflowState state;
    PictureBuffers pictures;

    // In the order of creation; the splash is the first.
    std::unique_ptr<TForm1> form1;      // splash; open picture and paste
    std::unique_ptr<TForm002> form002;  // SOURCE viewer
    std::unique_ptr<TForm003> form003;  // RESULT viewer
    std::unique_ptr<TForm001> form001;  // SELECT TASK
    std::unique_ptr<TForm004> form004;  // OUTPUT SIZE AND RESOLUTION
    std::unique_ptr<TForm019> form019;  // CHANNELS / COLORS
    std::unique_ptr<TForm010> form010;  // PREVIEW viewer
    std::unique_ptr<TForm005> form005;  // TRIBAL CREATION
    std::unique_ptr<TForm027> form027;  // the 23-colour RESIZE action, never shown
    std::unique_ptr<TForm021> form021;  // COLOR REDUCTION AND SEPARATION
    std::unique_ptr<TForm023> form023;  // COLOR MATCHING
    std::unique_ptr<TForm028> form028;  // OPTIONS
    std::unique_ptr<TForm029> form029;  // PRINTING
    std::unique_ptr<TForm020> form020;  // MERGE COLORS/CHANNELS
    std::unique_ptr<Tenhance> enhance;  // enhance
    std::unique_ptr<TForm022> form022;  // CHANGE COLORS
    std::unique_ptr<TForm024> form024;  // chart of the primary inks
    std::unique_ptr<TWarning> warning;
    std::unique_ptr<TAbout> about;
    std::unique_ptr<TDescription> description;
    std::unique_ptr<TTerms> terms;
    std::unique_ptr<THelp001> help001;
    std::unique_ptr<Thelp004> help004;
    std::unique_ptr<Thelp005> help005;
    std::unique_ptr<Thelp019> help019;
    std::unique_ptr<Thelp021> help021;
    std::unique_ptr<Thelp023> help023;
    std::unique_ptr<Thelp028> help028;
    std::unique_ptr<Thelp029> help029;
    std::unique_ptr<ThelpEnhance> helpEnhance;
    std::unique_ptr<ThelpChange> helpChange;
    std::unique_ptr<ThelpMerge> helpMerge;

    // Every window, in the order of creation.
    std::vector<QWidget*> windows() const;

    // Ends the run at once: no question, nothing saved.
    void endApplication();
    // Runs one user action; a failure shows its message and ends the action. False on failure.
    bool guard(const std::function<void()>& action);
    // The way back home: hide the current screen, its help, the three viewers; show SELECT TASK.
    void goToSelectTask(QWidget* current, QWidget* currentHelp);

    // After a picture intake: the dark background of the viewers and working screens, and
    // the close and minimise buttons (no maximise) of the working screens and their helps.
    void colourWorkingScreens();
    void giveTitleBarButtons();

private:
    void wireHelpClosing();

    std::function<void()> endApplication_;
};

}  // namespace dg
