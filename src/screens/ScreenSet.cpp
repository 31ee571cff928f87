#include "screens/ScreenSet.h"

#include <QWidget>

#include "app/ActionGuard.h"
#include "screens/ChangeColorsScreen.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/EnhanseUnit.h"
#include "screens/InfoWindows.h"
#include "screens/InkChartScreen.h"
#include "screens/LongStep.h"
#include "screens/MergeScreen.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/PrintingScreen.h"
#include "screens/ResizeForm.h"
#include "screens/ScreenLook.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/SplashScreen.h"
#include "screens/TribalScreen.h"
#include "screens/Viewers.h"
#include "screens/ViewersOnTop.h"

namespace dg {

namespace {

constexpr Qt::WindowFlags kWorkingScreenFlags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// Changing a window's flags hides it, so a visible window is shown again afterwards.
void setFlagsKeepingVisibility(QWidget* window, Qt::WindowFlags flags) {
    if (window->windowFlags() == flags) return;
    const bool visible = window->isVisible();
    window->setWindowFlags(flags);
    if (visible) window->show();
}

}  // namespace

ScreenSet::ScreenSet(Platform& platform_, std::function<void()> endApplication)
    : platform(platform_),
      workflow(platform_),
      state(workflow.state),
      pictures(workflow.pictures),
      endApplication_(std::move(endApplication)) {
    splash = std::make_unique<TForm1>(*this);
    sourceViewer = std::make_unique<TForm002>(*this);
    resultViewer = std::make_unique<TForm003>(*this);
    selectTask = std::make_unique<TForm001>(*this);
    outputSize = std::make_unique<TForm004>(*this);
    channels = std::make_unique<TForm019>(*this);
    previewViewer = std::make_unique<TForm010>(*this);
    tribal = std::make_unique<TForm005>(*this);
    resize = std::make_unique<TForm027>();
    separation = std::make_unique<TForm021>(*this);
    colorMatching = std::make_unique<TForm023>(*this);
    options = std::make_unique<TForm028>(*this);
    printing = std::make_unique<TForm029>(*this);
    merge = std::make_unique<TForm020>(*this);
    enhance = std::make_unique<Tenhance>(*this);
    changeColors = std::make_unique<TForm022>(*this);
    inkChart = std::make_unique<TForm024>(*this);
    warning = std::make_unique<TWarning>();
    about = std::make_unique<TAbout>(platform.shell);
    description = std::make_unique<TDescription>();
    terms = std::make_unique<TTerms>();
    selectTaskHelp = std::make_unique<THelp001>();
    outputSizeHelp = std::make_unique<Thelp004>();
    tribalHelp = std::make_unique<Thelp005>();
    channelsHelp = std::make_unique<Thelp019>();
    separationHelp = std::make_unique<Thelp021>();
    colorMatchingHelp = std::make_unique<Thelp023>();
    optionsHelp = std::make_unique<Thelp028>();
    printingHelp = std::make_unique<Thelp029>();
    enhanceHelp = std::make_unique<ThelpEnhance>();
    changeColorsHelp = std::make_unique<ThelpChange>();
    mergeHelp = std::make_unique<ThelpMerge>();
    wireHelpClosing();
    wireWorkflow();
    // Owned by the SOURCE viewer, the last of the three to go.
    new ViewersOnTop({sourceViewer.get(), resultViewer.get(), previewViewer.get()}, windows(),
                     sourceViewer.get());
    // Given now, while every one of them is hidden: changing a visible window's buttons
    // would make it flicker when the first picture comes in.
    giveTitleBarButtons();
}

ScreenSet::~ScreenSet() {
    // The home screen's on-show and on-hide actions refer to the viewers: it goes first.
    selectTask.reset();
}

void ScreenSet::start() { splash->showSplash(); }

std::vector<QWidget*> ScreenSet::windows() const {
    return {splash.get(),
            sourceViewer.get(),
            resultViewer.get(),
            selectTask.get(),
            outputSize.get(),
            channels.get(),
            previewViewer.get(),
            tribal.get(),
            resize.get(),
            separation.get(),
            colorMatching.get(),
            options.get(),
            printing.get(),
            merge.get(),
            enhance.get(),
            changeColors.get(),
            inkChart.get(),
            warning.get(),
            about.get(),
            description.get(),
            terms.get(),
            selectTaskHelp.get(),
            outputSizeHelp.get(),
            tribalHelp.get(),
            channelsHelp.get(),
            separationHelp.get(),
            colorMatchingHelp.get(),
            optionsHelp.get(),
            printingHelp.get(),
            enhanceHelp.get(),
            changeColorsHelp.get(),
            mergeHelp.get()};
}

void ScreenSet::wireHelpClosing() {
    // The tribal and enhance helps were opened from screens that put the viewers away; they
    // come back only when the user returns to TRIBAL CREATION.
    const auto backToTribal = [this] {
        if (!tribal->isVisible()) return;
        sourceViewer->show();
        resultViewer->show();
    };
    QObject::connect(tribalHelp.get(), &InfoWindow::closed, tribal.get(), backToTribal);
    QObject::connect(enhanceHelp.get(), &InfoWindow::closed, tribal.get(), backToTribal);
    QObject::connect(changeColorsHelp.get(), &InfoWindow::closed, sourceViewer.get(),
                     [this] { sourceViewer->show(); });
}

void ScreenSet::endApplication() {
    if (endApplication_) endApplication_();
}

void ScreenSet::askToEndApplication() {
    // "No" leaves the user where they were.
    if (workflow.mayEnd()) endApplication();
}

bool ScreenSet::guard(const std::function<void()>& action) { return runGuarded(platform.dialogs, action); }

bool ScreenSet::runLong(const QString& name, const std::function<void()>& step, bool cancellable) {
    return runLongStep(workflow, name, cancellable, [&](StepProgress&) { step(); });
}

QWidget* ScreenSet::window(Window w) const {
    switch (w) {
        case Window::SourceViewer:
            return sourceViewer.get();
        case Window::ResultViewer:
            return resultViewer.get();
        case Window::PreviewViewer:
            return previewViewer.get();
        case Window::SelectTaskHelp:
            return selectTaskHelp.get();
        case Window::OutputSizeHelp:
            return outputSizeHelp.get();
        case Window::TribalHelp:
            return tribalHelp.get();
        case Window::ChannelsHelp:
            return channelsHelp.get();
        case Window::SeparationHelp:
            return separationHelp.get();
        case Window::ColorMatchingHelp:
            return colorMatchingHelp.get();
        case Window::OptionsHelp:
            return optionsHelp.get();
        case Window::PrintingHelp:
            return printingHelp.get();
        case Window::EnhanceHelp:
            return enhanceHelp.get();
        case Window::MergeHelp:
            return mergeHelp.get();
        case Window::Description:
            return description.get();
        case Window::About:
            return about.get();
        case Window::Terms:
            return terms.get();
    }
    return nullptr;
}

QWidget* ScreenSet::helpOf(QWidget* screen) const {
    const std::pair<QWidget*, QWidget*> helps[] = {{selectTask.get(), selectTaskHelp.get()},
                                                   {outputSize.get(), outputSizeHelp.get()},
                                                   {tribal.get(), tribalHelp.get()},
                                                   {channels.get(), channelsHelp.get()},
                                                   {separation.get(), separationHelp.get()},
                                                   {colorMatching.get(), colorMatchingHelp.get()},
                                                   {options.get(), optionsHelp.get()},
                                                   {printing.get(), printingHelp.get()},
                                                   {enhance.get(), enhanceHelp.get()},
                                                   {changeColors.get(), changeColorsHelp.get()},
                                                   {merge.get(), mergeHelp.get()}};
    for (const auto& [s, help] : helps)
        if (s == screen) return help;
    return nullptr;
}

void ScreenSet::show(Window w) {
    if (w == Window::About) about->setPicture(selectTask->logo());
    window(w)->show();
}

void ScreenSet::hide(Window w) { window(w)->hide(); }

void ScreenSet::showPreview(const RgbImage& picture) {
    pictures.preview = picture;
    previewViewer->showPicture();
}

MergeDialog& ScreenSet::mergeDialog() { return *merge; }

void ScreenSet::goToSelectTask(QWidget* current) {
    if (current != nullptr) {
        current->hide();
        if (QWidget* help = helpOf(current)) help->hide();
    }
    previewViewer->hide();
    sourceViewer->hide();
    resultViewer->hide();
    selectTask->show();
}

void ScreenSet::go(Move move, QWidget* current) {
    // The screen the step ran on, and its help, make way.
    const auto leave = [&] {
        if (current == nullptr) return;
        current->hide();
        if (QWidget* help = helpOf(current)) help->hide();
    };
    switch (move) {
        case Move::SplashDone:
            splash->hide();
            sourceViewer->hide();
            resultViewer->hide();
            selectTask->show();
            return;
        case Move::IntakeStarted:
            selectTask->hide();
            return;
        case Move::IntakeCancelled:
            sourceViewer->hide();
            resultViewer->hide();
            selectTask->show();
            return;
        case Move::IntakeArrived:
            resultViewer->hide();
            selectTask->hide();
            sourceViewer->show();
            return;
        case Move::OutputSizeForSingleFile:
            sourceViewer->show();
            selectTask->hide();
            resultViewer->hide();
            outputSize->show();
            return;
        case Move::OutputSizeShown:
            outputSize->show();
            return;
        case Move::SingleFilePrinting:
            leave();
            previewViewer->hide();
            resultViewer->hide();
            printing->show();
            return;
        case Move::ColourReduction:
            leave();
            previewViewer->hide();
            sourceViewer->hide();
            resultViewer->hide();
            if (state.task == TaskMode::CreateTribalTattoo) sourceViewer->show();
            return;
        case Move::RouteFailed:
            for (QWidget* w :
                 {static_cast<QWidget*>(outputSize.get()), static_cast<QWidget*>(separation.get()),
                  static_cast<QWidget*>(tribal.get()), static_cast<QWidget*>(channels.get())})
                w->hide();
            goToSelectTask(nullptr);
            return;
        case Move::ReductionCancelled:
            for (QWidget* w :
                 {static_cast<QWidget*>(separation.get()), static_cast<QWidget*>(tribal.get()),
                  static_cast<QWidget*>(channels.get()), static_cast<QWidget*>(resultViewer.get())})
                w->hide();
            sourceViewer->show();
            outputSize->show();
            return;
        case Move::SeparationShown:
            separation->show();
            return;
        case Move::TribalShown:
            tribal->show();
            return;
        case Move::ChannelsShown:
            channels->show();
            return;
        case Move::ProjectOpened:
            leave();
            channels->show();
            return;
        case Move::ProjectNotOpened:
            goToSelectTask(channels.get());
            return;
        case Move::SeparationNext:
        case Move::TribalNext:
            leave();
            sourceViewer->hide();
            resultViewer->hide();
            previewViewer->hide();
            channels->show();
            return;
        case Move::SeparationToEnhance:
            leave();
            enhance->show();
            enhance->SpinEdit7.step();
            return;
        case Move::TribalToEnhance:
            current->hide();
            sourceViewer->hide();
            resultViewer->hide();
            previewViewer->hide();
            enhance->chooseTrueColor();
            enhance->SpinEdit7.step();
            enhance->show();
            return;
        case Move::TribalHelp:
            tribalHelp->show();
            sourceViewer->hide();
            resultViewer->hide();
            return;
        case Move::EnhanceBack:
            enhanceHelp->hide();
            enhance->hide();
            previewViewer->hide();
            if (state.task == TaskMode::CreateTribalTattoo) {
                tribal->show();
                sourceViewer->show();
                resultViewer->show();
            } else if (state.task == TaskMode::TattooIn23Colors) {
                separation->show();
            }
            return;
        case Move::ChannelsNext:
            leave();
            sourceViewer->hide();
            resultViewer->hide();
            previewViewer->hide();
            colorMatching->enter();
            return;
        case Move::ChannelsMergeStarted:
            previewViewer->hide();
            return;
        case Move::ChannelsMergeDone:
            channels->show();
            mergeHelp->hide();
            sourceViewer->hide();
            resultViewer->hide();
            previewViewer->hide();
            return;
        case Move::ChannelsToChangeColors:
            previewViewer->hide();
            channels->hide();
            sourceViewer->show();
            changeColors->show();
            changeColors->raise();
            return;
        case Move::ChangeColorsOk:
            channels->show();
            sourceViewer->hide();
            previewViewer->hide();
            return;
        case Move::ChangeColorsBack:
            changeColorsHelp->hide();
            sourceViewer->hide();
            previewViewer->hide();
            channels->show();
            return;
        case Move::MergeOfferAnswered:
            // PREVIEW and the help were raised above the dialog while it was on screen.
            for (QWidget* w :
                 {static_cast<QWidget*>(previewViewer.get()), static_cast<QWidget*>(mergeHelp.get())}) {
                if (w->windowModality() == Qt::NonModal) continue;
                const bool visible = w->isVisible();
                w->hide();
                w->setWindowModality(Qt::NonModal);
                if (visible) w->show();
            }
            return;
        case Move::MergeHelp:
            // Shown above the modal dialog, so that it can be read and closed.
            if (current->isVisible() && !mergeHelp->isVisible())
                mergeHelp->setWindowModality(Qt::ApplicationModal);
            mergeHelp->show();
            mergeHelp->raise();
            return;
        case Move::MergePreview:
            if (current->isVisible() && !previewViewer->isVisible())
                previewViewer->setWindowModality(Qt::ApplicationModal);
            return;
        case Move::ChangeColorsHelp:
            changeColorsHelp->show();
            changeColorsHelp->raise();
            return;
        case Move::ColorMatchingBack:
            leave();
            channels->show();
            return;
        case Move::OptionsBack:
            leave();
            previewViewer->hide();
            channels->show();
            return;
        case Move::ColorMatchingNext:
            leave();
            options->show();
            return;
        case Move::InkChart:
            inkChart->show();
            inkChart->raise();
            return;
        case Move::OptionsNext:
            leave();
            previewViewer->hide();
            sourceViewer->hide();
            resultViewer->hide();
            printing->show();
            return;
        case Move::OptionsWarning:
            warning->show();
            return;
        case Move::PreviewClosed:
            previewViewer->hide();
            return;
    }
}

void ScreenSet::wireWorkflow() {
    // The viewers repaint when their picture is new: SOURCE on its refresh, RESULT when the
    // tribal design is recomputed (other steps change them only while they are hidden).
    workflow.listen([this](Change what) {
        if (what == Change::SourceColours) sourceViewer->refresh();
        if (what == Change::Tribal) resultViewer->update();
    });
}

void ScreenSet::colourWorkingScreens() {
    for (QWidget* w : {static_cast<QWidget*>(sourceViewer.get()), static_cast<QWidget*>(resultViewer.get()),
                       static_cast<QWidget*>(previewViewer.get()), static_cast<QWidget*>(channels.get()),
                       static_cast<QWidget*>(separation.get()), static_cast<QWidget*>(colorMatching.get()),
                       static_cast<QWidget*>(inkChart.get()), static_cast<QWidget*>(options.get()),
                       static_cast<QWidget*>(printing.get())})
        look::setBackground(w, look::kWorkingBackground);
}

void ScreenSet::giveTitleBarButtons() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             outputSize.get(),        channels.get(),     tribal.get(),       separation.get(),
             colorMatching.get(),     options.get(),      printing.get(),     merge.get(),
             enhance.get(),           changeColors.get(), inkChart.get(),     selectTaskHelp.get(),
             outputSizeHelp.get(),    tribalHelp.get(),   channelsHelp.get(), separationHelp.get(),
             colorMatchingHelp.get(), optionsHelp.get(),  printingHelp.get(), enhanceHelp.get(),
             changeColorsHelp.get(),  mergeHelp.get()})
        setFlagsKeepingVisibility(w, kWorkingScreenFlags);
}

}  // namespace dg
