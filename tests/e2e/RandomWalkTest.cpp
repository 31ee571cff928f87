// The whole program clicked at random, the way an impatient user clicks: every step picks one
// visible, enabled control of a visible window (or closes a window by its title bar), the file
// and printer dialogs answer at random, and the merge screen's offers are answered at random
// while its own event loop runs. After every step no exception may have left an action, some
// window must be on screen, and the sanitizers of the dev build watch the whole run.
//
// A failure prints the seed and the step log (DG_RANDOM_WALK_LOG prints it always).
// DG_RANDOM_WALK="seed:steps[,seed:steps...]" replays or explores other walks through
// RandomWalkFromTheEnvironment.Walks.

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <typeinfo>
#include <vector>

#include "WalkSupport.h"
#include "imaging/Failure.h"
#include "platform/FileSystem.h"
#include "screens/InfoWindows.h"
#include "screens/MergeScreen.h"
#include "screens/OutputSize.h"
#include "screens/PictureBox.h"
#include "screens/PrintingScreen.h"
#include "screens/ScreenSet.h"
#include "screens/SelectTask.h"
#include "screens/SplashScreen.h"
#include "screens/Viewers.h"
#include "support/ImageCompare.h"

#if defined(__SANITIZE_ADDRESS__)
#define DG_WALK_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DG_WALK_SANITIZED 1
#endif
#endif
#ifdef DG_WALK_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace dg::test {
namespace {

namespace fs = std::filesystem;

const std::string kClipArt = std::string(DG_FIXTURES) + "/separation/signal-flag-delta.bmp";

// The log of the walk that runs now: printed when a sanitizer ends the process mid-walk.
std::vector<std::string>* liveLog = nullptr;
std::uint32_t liveSeed = 0;
void printLiveLog() {
    if (liveLog == nullptr) return;
    std::fprintf(stderr, "random walk, seed %u, steps so far:\n", liveSeed);
    for (const std::string& line : *liveLog) std::fprintf(stderr, "%s\n", line.c_str());
}
// Qt's own warnings during a walk: an exception passing through an event loop shows up here.
std::function<void(const QString&)> qtWarning;
void qtMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg && qtWarning) qtWarning(text);
}

class Dice {
public:
    void seed(std::uint32_t s) { rng_.seed(s); }
    int below(std::size_t n) { return static_cast<int>(rng_() % static_cast<std::uint32_t>(n)); }
    int between(int low, int high) { return low + below(static_cast<std::size_t>(high - low + 1)); }
    bool oneIn(int n) { return below(static_cast<std::size_t>(n)) == 0; }
    // An index into weights, with the chance of each in proportion to its weight.
    std::size_t weighted(const std::vector<int>& weights) {
        int total = 0;
        for (int w : weights) total += w;
        int roll = below(static_cast<std::size_t>(total));
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (roll < weights[i]) return i;
            roll -= weights[i];
        }
        return weights.size() - 1;
    }

private:
    std::mt19937 rng_;
};

// File dialogs and questions answered by the walk.
class WalkDialogs : public fake::FakeDialogs {
public:
    std::function<std::optional<std::string>(const char*)> choose;
    std::function<bool(const std::string&)> yesNo;
    std::function<void(const std::string&)> shown;

    std::optional<std::string> openPicture(const std::string& filter) override {
        lastPictureFilter = filter;
        return chosen(choose("open picture"));
    }
    std::optional<std::string> openProject() override { return chosen(choose("open project")); }
    std::optional<std::string> saveAs() override { return chosen(choose("save as")); }
    void message(const std::string& text) override {
        messages.push_back(text);
        shown(text);
    }
    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        return yesNo(text);
    }

private:
    std::optional<std::string> chosen(std::optional<std::string> answer) {
        if (answer && files != nullptr && !folderOf(*answer).empty())
            files->setCurrentFolder(folderOf(*answer));
        return answer;
    }
};

// A printer whose dialogs answer at random and whose paper sometimes runs out.
class WalkPrinter : public fake::FakePrinter {
public:
    std::function<bool(const char*)> coin;
    int printed = 0;

    bool setupDialog() override {
        ++setupDialogsShown;
        if (!coin("printer setup: OK")) return false;
        if (coin("printer setup: turn the page"))
            currentOrientation =
                currentOrientation == Orientation::Portrait ? Orientation::Landscape : Orientation::Portrait;
        return true;
    }
    bool printDialog() override {
        ++printDialogsShown;
        return coin("print dialog: OK");
    }
    void printPage(const RgbImage& page, const std::string& jobName) override {
        ++jobsTried;
        if (page.empty()) throw Failure("an empty page was sent to the printer: " + jobName);
        if (coin("the printer jams")) throw Failure(failText);
        ++printed;
    }
};

// A picture as the clipboard would hold it: flat blocks, or a gradient of many colours.
RgbImage clipboardPicture(bool manyColours) {
    RgbImage picture(64, 40);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             manyColours
                                 ? makeColor(x * 4, y * 6, (x + y) * 2)
                                 : (x < 32 ? (y < 20 ? makeColor(200, 20, 20) : makeColor(20, 20, 200))
                                           : makeColor(255, 255, 255)));
    return picture;
}

// Gives up the process when a step or a merge offer makes no progress for a minute: a hang.
class Watchdog {
public:
    Watchdog() : thread_([this] { watch(); }) {}
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void tick(std::uint32_t seed, int step) {
        seed_ = seed;
        step_ = step;
        ++ticks_;
    }

private:
    void watch() {
        std::unique_lock<std::mutex> lock(mutex_);
        long seen = -1;
        while (!stop_) {
            if (wake_.wait_for(lock, std::chrono::seconds(60), [this] { return stop_; })) return;
            const long now = ticks_.load();
            if (now == seen) {
                std::fprintf(stderr, "random walk: seed %u hangs at step %d\n", seed_.load(), step_.load());
                std::abort();
            }
            seen = now;
        }
    }

    std::atomic<std::uint32_t> seed_{0};
    std::atomic<int> step_{0};
    std::atomic<long> ticks_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

struct WalkCase {
    std::uint32_t seed;
    int steps;
};

class RandomWalk : public ::testing::TestWithParam<WalkCase> {
protected:
    void SetUp() override {
        printer_.portraitWidthPx = 500;
        printer_.portraitHeightPx = 700;
        printer_.resolutionX = printer_.resolutionY = 100;
        printer_.portraitWidthMm = 127;
        printer_.portraitHeightMm = 178;
        printer_.coin = [this](const char* what) {
            const bool yes = std::string(what) == "the printer jams" ? dice_.oneIn(8) : !dice_.oneIn(4);
            if (std::string(what) != "the printer jams" || yes)
                note(std::string("   ") + what + (yes ? ": yes" : ": no"));
            return yes;
        };
        dialogs_.files = &files_;
        dialogs_.choose = [this](const char* kind) { return answer(kind); };
        dialogs_.yesNo = [this](const std::string& question) {
            const bool yes = dice_.oneIn(2);
            note("   asked \"" + question + "\": " + (yes ? "yes" : "no"));
            return yes;
        };
        dialogs_.shown = [this](const std::string& text) {
            note("   message \"" + text + "\"");
            // The guard shows any failure's text: one from the standard library is a fault
            // that slipped past the program's own checks.
            for (const char* marker :
                 {"::", "std::", "bad_", "stoi", "stol", "out_of_range", "invalid_argument"})
                if (text.find(marker) != std::string::npos)
                    fail("an internal error reached the user: " + text);
            // What the program saved it must be able to open again.
            if (openedSavedProjectAt_ == step_)
                fail("a project saved in the walk could not be opened: " + text);
        };
        files_.folder = folder_.path();
        // Damaged: the clip art cut off halfway through its rows.
        std::vector<std::uint8_t> bytes = bytesOf(kClipArt);
        bytes.resize(bytes.size() / 2);
        std::ofstream(damaged_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
#ifdef DG_WALK_SANITIZED
        __sanitizer_set_death_callback(printLiveLog);
#endif
        previousHandler_ = qInstallMessageHandler(qtMessages);
        qtWarning = [this](const QString& text) {
            // The offscreen platform's remarks on what it cannot do are no news.
            if (text.startsWith("This plugin does not support")) return;
            note("   Qt: " + text.toStdString());
            if (text.contains("exception", Qt::CaseInsensitive))
                fail("Qt saw an exception: " + text.toStdString());
        };
    }
    void TearDown() override {
        screens_.reset();
        qInstallMessageHandler(previousHandler_);
        qtWarning = nullptr;
        liveLog = nullptr;
    }

    void walk(std::uint32_t seed, int steps);

    void startProgram();
    void oneStep();
    // One action on `window`: a control of it, or closing it.
    void act(QWidget* window);
    void answerOffer(int channel);
    std::optional<std::string> answer(const char* kind);
    std::vector<std::string> savedProjects() const;
    std::vector<QWidget*> shownWindows() const;

    void note(const std::string& line) { log_.push_back(line); }
    void fail(const std::string& what) {
        failed_ = true;
        ADD_FAILURE() << "seed " << seed_ << ", step " << step_ << ": " << what;
    }

    struct Action {
        std::string label;
        int weight;
        std::function<void()> run;
    };
    std::vector<Action> actionsOf(QWidget* window);

    TempFolder folder_;
    WalkPrinter printer_;
    fake::FakeClipboard clipboard_;
    WalkDialogs dialogs_;
    fake::FakeFileSystem files_;
    fake::FakeShell shell_;
    Platform platform_{printer_, clipboard_, dialogs_, files_, shell_};
    std::unique_ptr<ScreenSet> screens_;
    int ended_ = 0;

    Dice dice_;
    std::uint32_t seed_ = 0;
    int step_ = 0;
    int offers_ = 0;  // in the step that runs now
    int offersInWalk_ = 0;
    int openedSavedProjectAt_ = -1;  // the step whose open-project dialog chose a saved project
    bool failed_ = false;
    std::vector<std::string> log_;
    std::vector<std::string> savedNames_;
    std::set<std::string> reached_;  // the windows the walk has seen on screen
    const std::string damaged_ = folder_.file("damaged.bmp");
    Watchdog watchdog_;
    QtMessageHandler previousHandler_ = nullptr;
};

std::string nameOf(const QWidget* w) {
    if (!w->objectName().isEmpty()) return w->objectName().toStdString();
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return '"' + b->text().toStdString() + '"';
    return w->metaObject()->className();
}

std::vector<QWidget*> RandomWalk::shownWindows() const {
    std::vector<QWidget*> shown;
    for (QWidget* w : screens_->windows())
        if (w->isVisible() && !w->isMinimized()) shown.push_back(w);
    return shown;
}

std::vector<std::string> RandomWalk::savedProjects() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder_.path()))
        if (fs::exists(entry.path() / "PROJECT.CSP")) found.push_back(entry.path() / "PROJECT.CSP");
    std::sort(found.begin(), found.end());
    return found;
}

std::optional<std::string> RandomWalk::answer(const char* kind) {
    struct Option {
        std::string label;
        std::optional<std::string> path;
        int weight;
    };
    std::vector<Option> options;
    const std::string what = kind;
    const std::vector<std::string> projects = savedProjects();
    if (what == "save as") {
        const std::string name = "walk " + std::to_string(savedNames_.size() + 1);
        options.push_back({name, folder_.file(name), 4});
        if (!savedNames_.empty()) {
            const std::string& used = savedNames_[static_cast<std::size_t>(dice_.below(savedNames_.size()))];
            options.push_back({used + " again", folder_.file(used), 2});
        }
        options.push_back({"cancel", std::nullopt, 2});
    } else {
        const bool project = what == "open project";
        options.push_back({"the photo", kWalkPhoto, project ? 1 : 2});
        options.push_back({"the clip art", kClipArt, project ? 1 : 4});
        options.push_back({"the damaged file", damaged_, 1});
        options.push_back({"cancel", std::nullopt, 2});
        if (!projects.empty()) {
            const std::string& csp = projects[static_cast<std::size_t>(dice_.below(projects.size()))];
            options.push_back(
                {fs::path(csp).parent_path().filename().string() + "/PROJECT.CSP", csp, project ? 6 : 1});
        }
    }
    std::vector<int> weights;
    for (const Option& o : options) weights.push_back(o.weight);
    const Option& chosen = options[dice_.weighted(weights)];
    if (what == "open project" && chosen.path && chosen.path->ends_with("/PROJECT.CSP"))
        openedSavedProjectAt_ = step_;
    if (what == "save as" && chosen.path && chosen.label.find(" again") == std::string::npos)
        savedNames_.push_back(chosen.label);
    note("   " + what + ": " + chosen.label);
    return chosen.path;
}

std::vector<RandomWalk::Action> RandomWalk::actionsOf(QWidget* window) {
    std::vector<Action> actions;
    const std::string at = nameOf(window) + " ";
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (!c->isVisible() || !c->isEnabled() || c->window() != window) continue;
        const std::string name = at + nameOf(c);
        if (auto* b = qobject_cast<QAbstractButton*>(c)) {
            const QString id = b->objectName();
            const bool box =
                qobject_cast<QCheckBox*>(b) != nullptr || qobject_cast<QRadioButton*>(b) != nullptr;
            const int weight = id.startsWith("next") || id == "ok" || id == "openImage" || id == "paste" ||
                                       id == "openProject"
                                   ? 20
                               : id == "exit" || id == "closeForExternalResizer" ? 1
                               : box                                             ? 4
                                                                                 : 8;
            actions.push_back({name + " clicked", weight, [b] {
                                   if (qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b))
                                       QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
                                   else
                                       QTest::mouseClick(b, Qt::LeftButton);
                               }});
        } else if (auto* s = qobject_cast<QSlider*>(c)) {
            const int v = dice_.between(s->minimum(), s->maximum());
            actions.push_back({name + " = " + std::to_string(v), 6, [s, v] { s->setValue(v); }});
        } else if (auto* s = qobject_cast<QSpinBox*>(c)) {
            // The whole inches or centimetres of the output size stay small, so that every
            // picture of the walk is a few hundred pixels wide.
            const bool size = window == screens_->outputSize.get() &&
                              (s->objectName() == "SpinEdit2" || s->objectName() == "SpinEdit4");
            const int v = dice_.between(s->minimum(), size ? std::min(s->maximum(), 3) : s->maximum());
            actions.push_back({name + " = " + std::to_string(v), 6, [s, v] { s->setValue(v); }});
        } else if (auto* e = qobject_cast<QLineEdit*>(c)) {
            if (e->isReadOnly() || qobject_cast<QAbstractSpinBox*>(e->parentWidget()) != nullptr) continue;
            std::string typed = dice_.oneIn(3) ? "-" : "";
            for (int k = dice_.between(0, 2); k >= 0; --k) typed += static_cast<char>('0' + dice_.below(10));
            const bool leave = dice_.oneIn(2);
            actions.push_back(
                {name + " typed \"" + typed + "\"" + (leave ? ", then left" : ""), 4, [e, typed, leave] {
                     e->selectAll();
                     QTest::keyClicks(e, QString::fromStdString(typed));
                     if (leave) {
                         QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
                         QApplication::sendEvent(e, &out);
                     }
                 }});
        } else if (qobject_cast<PictureBox*>(c) != nullptr || qobject_cast<Thumbnail*>(c) != nullptr ||
                   std::string(typeid(*c).name()).find("MergePicture") != std::string::npos) {
            const QPoint p(dice_.below(static_cast<std::size_t>(std::max(1, c->width()))),
                           dice_.below(static_cast<std::size_t>(std::max(1, c->height()))));
            const int how = dice_.below(3);
            const std::string where = " at " + std::to_string(p.x()) + "," + std::to_string(p.y());
            if (how == 0) {
                actions.push_back(
                    {name + " clicked" + where, 2, [c, p] { QTest::mouseClick(c, Qt::LeftButton, {}, p); }});
            } else {
                actions.push_back(
                    {name + (how == 1 ? " double-clicked" : " pointed at, then double-clicked") + where, 2,
                     [c, p, how] {
                         if (how == 2) {
                             QMouseEvent move(QEvent::MouseMove, QPointF(p), c->mapToGlobal(QPointF(p)),
                                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                             QApplication::sendEvent(c, &move);
                         }
                         QTest::mouseDClick(c, Qt::LeftButton, {}, p);
                     }});
            }
        }
    }
    return actions;
}

void RandomWalk::act(QWidget* window) {
    std::vector<Action> actions = actionsOf(window);
    const bool closable = !window->windowFlags().testFlag(Qt::FramelessWindowHint);
    if (closable && (actions.empty() || dice_.oneIn(30))) {
        note(std::to_string(step_) + " " + nameOf(window) + " closed by its title bar");
        window->close();
        return;
    }
    if (actions.empty()) return;
    std::vector<int> weights;
    for (const Action& a : actions) weights.push_back(a.weight);
    const Action& chosen = actions[dice_.weighted(weights)];
    note(std::to_string(step_) + " " + chosen.label);
    chosen.run();
}

void RandomWalk::answerOffer(int channel) {
    TForm020* merge = screens_->merge.get();
    watchdog_.tick(seed_, step_);
    note("   merge offers channel " + std::to_string(channel));
    ++offersInWalk_;
    if (++offers_ > 200) {
        fail("the merge screen keeps offering channels");
        merge->close();
        return;
    }
    // An exception thrown here would pass through the dialog's event loop, so it is caught
    // where it happens.
    try {
        for (int k = dice_.below(4); k > 0 && merge->isVisible(); --k) {
            // While the dialog is modal, only it and the windows raised above it take input.
            std::vector<QWidget*> reachable{merge};
            for (QWidget* w : {static_cast<QWidget*>(screens_->previewViewer.get()),
                               static_cast<QWidget*>(screens_->mergeHelp.get())})
                if (w->isVisible() && w->windowModality() != Qt::NonModal) reachable.push_back(w);
            act(reachable[static_cast<std::size_t>(dice_.below(reachable.size()))]);
        }
        if (!merge->isVisible()) return;
        switch (dice_.weighted({5, 2, 3, 1, 1})) {
            case 0: {
                std::vector<QCheckBox*> shown;
                for (QCheckBox* b : merge->findChildren<QCheckBox*>())
                    if (b->isVisible() && b->objectName().startsWith("CheckBox")) shown.push_back(b);
                if (!shown.empty()) {
                    QCheckBox* b = shown[static_cast<std::size_t>(dice_.below(shown.size()))];
                    note("   merge: " + nameOf(b) + " ticked, then OK");
                    if (!b->isChecked()) QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
                }
                merge->okClick();
                break;
            }
            case 1:
                note("   merge: AUTOMATIC FIND, then OK");
                merge->automaticFindClick();
                merge->okClick();
                break;
            case 2:
                note("   merge: SKIP");
                merge->skipClick();
                break;
            case 3:
                note("   merge: FINISH");
                merge->finishClick();
                break;
            default:
                note("   merge: closed by its title bar");
                merge->close();
                break;
        }
        // OK without a choice that could be ticked does nothing; the user then skips.
        if (merge->isVisible()) {
            note("   merge: SKIP");
            merge->skipClick();
        }
    } catch (const std::exception& e) {
        fail(std::string("an exception left the merge screen: ") + e.what());
        merge->close();
    } catch (...) {
        fail("an exception left the merge screen");
        merge->close();
    }
}

void RandomWalk::startProgram() {
    screens_.reset();
    screens_ = std::make_unique<ScreenSet>(platform_, [this] { ++ended_; });
    TForm020* merge = screens_->merge.get();
    QObject::connect(
        merge, &TForm020::offerShown, merge, [this](int channel) { answerOffer(channel); },
        Qt::QueuedConnection);
    screens_->start();
    // The splash goes when the walk says so, not when the clock does, so that a seed replays.
    screens_->splash->Timer1.stop();
}

void RandomWalk::oneStep() {
    if (dice_.oneIn(30)) {
        const int what = dice_.below(3);
        clipboard_.picture = what == 0 ? RgbImage() : clipboardPicture(what == 2);
        note(std::to_string(step_) + " the clipboard now holds " +
             (what == 0   ? "no picture"
              : what == 1 ? "a flat picture"
                          : "a picture of many colours"));
        screens_->selectTask->ClipboardPollTimer();
        return;
    }
    // The splash covers SELECT TASK and has nothing to click: the user waits for it to go.
    if (screens_->splash->isVisible()) {
        note(std::to_string(step_) + " the splash time is up");
        screens_->splash->Timer1Timer();
        return;
    }
    const std::vector<QWidget*> shown = shownWindows();
    if (shown.empty()) return;
    act(shown[static_cast<std::size_t>(dice_.below(shown.size()))]);
}

void RandomWalk::walk(std::uint32_t seed, int steps) {
    // Every walk starts from the same world, so that a seed replays on its own.
    for (const auto& entry : fs::directory_iterator(folder_.path()))
        if (entry.path() != fs::path(damaged_)) fs::remove_all(entry.path());
    files_.folder = folder_.path();
    clipboard_.picture = RgbImage();
    printer_.currentOrientation = Orientation::Portrait;
    printer_.printed = 0;
    dialogs_.messages.clear();
    savedNames_.clear();
    ended_ = 0;
    offersInWalk_ = 0;
    openedSavedProjectAt_ = -1;
    seed_ = seed;
    dice_.seed(seed);
    log_.clear();
    liveLog = &log_;
    liveSeed = seed;
    failed_ = false;
    startProgram();
    std::size_t messages = 0;
    for (step_ = 1; step_ <= steps && !failed_; ++step_) {
        watchdog_.tick(seed_, step_);
        offers_ = 0;
        const int endedBefore = ended_;
        try {
            oneStep();
            QCoreApplication::processEvents();
        } catch (const std::exception& e) {
            fail(std::string("an exception escaped: ") + e.what());
        } catch (...) {
            fail("an exception escaped");
        }
        messages = dialogs_.messages.size();
        if (ended_ != endedBefore) {
            note("   the program ended; it starts again");
            startProgram();
        }
        const std::vector<QWidget*> shown = shownWindows();
        if (shown.empty()) fail("no window is visible");
        for (QWidget* w : shown) reached_.insert(nameOf(w));
        if (screens_->merge->isVisible()) fail("the merge screen is still on screen");
        for (QWidget* w : QApplication::topLevelWidgets()) {
            const std::vector<QWidget*> own = screens_->windows();
            if (w->isVisible() && std::find(own.begin(), own.end(), w) == own.end() &&
                w->windowType() != Qt::ToolTip && w->windowType() != Qt::Popup)
                fail("a window of no screen is visible: " + nameOf(w));
        }
    }
    if (failed_ || std::getenv("DG_RANDOM_WALK_LOG") != nullptr) {
        std::ostringstream out;
        for (const std::string& line : log_) out << line << "\n";
        std::fprintf(stderr, "random walk, seed %u:\n%s", seed, out.str().c_str());
    }
    std::string reached;
    for (const std::string& name : reached_) reached += " " + name;
    std::fprintf(stderr,
                 "random walk, seed %u: %d steps, %zu messages, %d runs ended, %d pages printed, %d merge "
                 "offers, seen:%s\n",
                 seed, step_ - 1, messages, ended_, printer_.printed, offersInWalk_, reached.c_str());
    reached_.clear();
    screens_.reset();
    liveLog = nullptr;
}

TEST_P(RandomWalk, NothingEscapesAndSomeWindowStaysOnScreen) { walk(GetParam().seed, GetParam().steps); }

INSTANTIATE_TEST_SUITE_P(Seeds, RandomWalk,
                         // Seeds whose walks reach the merge screen, printing and saved projects.
                         ::testing::Values(WalkCase{300, 1200}, WalkCase{309, 1200}, WalkCase{323, 1200},
                                           WalkCase{330, 1200}),
                         [](const ::testing::TestParamInfo<WalkCase>& info) {
                             return "Seed" + std::to_string(info.param.seed);
                         });

// Walks named in DG_RANDOM_WALK ("seed:steps,..."): replaying a failing seed, or exploring.
class RandomWalkFromTheEnvironment : public RandomWalk {};

TEST_F(RandomWalkFromTheEnvironment, Walks) {
    const char* walks = std::getenv("DG_RANDOM_WALK");
    if (walks == nullptr) GTEST_SKIP() << "DG_RANDOM_WALK names no walk";
    std::istringstream in(walks);
    std::string item;
    while (std::getline(in, item, ',')) {
        const auto colon = item.find(':');
        const auto seed = static_cast<std::uint32_t>(std::stoul(item.substr(0, colon)));
        const int steps = colon == std::string::npos ? 300 : std::stoi(item.substr(colon + 1));
        walk(seed, steps);
    }
}

}  // namespace
}  // namespace dg::test
