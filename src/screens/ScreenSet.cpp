#include "screens/ScreenSet.h"

#include <QWidget>

#include "app/ActionGuard.h"
#include "screens/ChangeColorsScreen.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/EnhanseUnit.h"
#include "screens/InfoWindows.h"
#include "screens/InkChartScreen.h"
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
    : platform(platform_), endApplication_(std::move(endApplication)) {
    form1 = std::make_unique<TForm1>(*this);
    form002 = std::make_unique<TForm002>(*this);
    form003 = std::make_unique<TForm003>(*this);
    form001 = std::make_unique<TForm001>(*this);
    form004 = std::make_unique<TForm004>(*this);
    form019 = std::make_unique<TForm019>(*this);
    form010 = std::make_unique<TForm010>(*this);
    form005 = std::make_unique<TForm005>(*this);
    form027 = std::make_unique<TForm027>(*this);
    form021 = std::make_unique<TForm021>(*this);
    form023 = std::make_unique<TForm023>(*this);
    form028 = std::make_unique<TForm028>(*this);
    form029 = std::make_unique<TForm029>(*this);
    form020 = std::make_unique<TForm020>(*this);
    enhance = std::make_unique<Tenhance>(*this);
    form022 = std::make_unique<TForm022>(*this);
    form024 = std::make_unique<TForm024>(*this);
    warning = std::make_unique<TWarning>();
    about = std::make_unique<TAbout>(platform.shell);
    description = std::make_unique<TDescription>();
    terms = std::make_unique<TTerms>();
    help001 = std::make_unique<THelp001>();
    help004 = std::make_unique<Thelp004>();
    help005 = std::make_unique<Thelp005>();
    help019 = std::make_unique<Thelp019>();
    help021 = std::make_unique<Thelp021>();
    help023 = std::make_unique<Thelp023>();
    help028 = std::make_unique<Thelp028>();
    help029 = std::make_unique<Thelp029>();
    helpEnhance = std::make_unique<ThelpEnhance>();
    helpChange = std::make_unique<ThelpChange>();
    helpMerge = std::make_unique<ThelpMerge>();
    wireHelpClosing();
    // Owned by the SOURCE viewer, the last of the three to go.
    new ViewersOnTop({form002.get(), form003.get(), form010.get()}, windows(), form002.get());
    // Given now, while every one of them is hidden: changing a visible window's buttons
    // would make it flicker when the first picture comes in.
    giveTitleBarButtons();
}

ScreenSet::~ScreenSet() {
    // The home screen's on-show and on-hide actions refer to the viewers: it goes first.
    form001.reset();
}

void ScreenSet::start() { form1->showSplash(); }

std::vector<QWidget*> ScreenSet::windows() const {
    return {form1.get(),      form002.get(),  form003.get(), form001.get(), form004.get(),
            form019.get(),    form010.get(),  form005.get(), form027.get(), form021.get(),
            form023.get(),    form028.get(),  form029.get(), form020.get(), enhance.get(),
            form022.get(),    form024.get(),  warning.get(), about.get(),   description.get(),
            terms.get(),      help001.get(),  help004.get(), help005.get(), help019.get(),
            help021.get(),    help023.get(),  help028.get(), help029.get(), helpEnhance.get(),
            helpChange.get(), helpMerge.get()};
}

void ScreenSet::wireHelpClosing() {
    // The tribal and enhance helps were opened from screens that put the viewers away; they
    // come back only when the user returns to TRIBAL CREATION.
    const auto backToTribal = [this] {
        if (!form005->isVisible()) return;
        form002->show();
        form003->show();
    };
    QObject::connect(help005.get(), &InfoWindow::closed, form005.get(), backToTribal);
    QObject::connect(helpEnhance.get(), &InfoWindow::closed, form005.get(), backToTribal);
    QObject::connect(helpChange.get(), &InfoWindow::closed, form002.get(), [this] { form002->show(); });
}

void ScreenSet::endApplication() {
    if (endApplication_) endApplication_();
}

bool ScreenSet::guard(const std::function<void()>& action) { return runGuarded(platform.dialogs, action); }

void ScreenSet::goToSelectTask(QWidget* current, QWidget* currentHelp) {
    if (current != nullptr) current->hide();
    if (currentHelp != nullptr) currentHelp->hide();
    form002->hide();
    form003->hide();
    form010->hide();
    form001->show();
}

void ScreenSet::colourWorkingScreens() {
    for (QWidget* w : {static_cast<QWidget*>(form002.get()), static_cast<QWidget*>(form003.get()),
                       static_cast<QWidget*>(form010.get()), static_cast<QWidget*>(form019.get()),
                       static_cast<QWidget*>(form021.get()), static_cast<QWidget*>(form023.get()),
                       static_cast<QWidget*>(form024.get()), static_cast<QWidget*>(form028.get()),
                       static_cast<QWidget*>(form029.get())})
        look::setBackground(w, look::kWorkingBackground);
}

void ScreenSet::giveTitleBarButtons() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             form004.get(), form019.get(),     form005.get(),    form021.get(),  form023.get(), form028.get(),
             form029.get(), form020.get(),     enhance.get(),    form022.get(),  form024.get(), help001.get(),
             help004.get(), help005.get(),     help019.get(),    help021.get(),  help023.get(), help028.get(),
             help029.get(), helpEnhance.get(), helpChange.get(), helpMerge.get()})
        setFlagsKeepingVisibility(w, kWorkingScreenFlags);
}

}  // namespace dg
