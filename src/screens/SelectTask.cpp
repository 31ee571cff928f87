#include "screens/SelectTask.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/TaskSelectionRules.h"
#include "project/ProjectReader.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"

namespace dg {

namespace {

constexpr std::array<TaskMode, 4> kTasks{TaskMode::PrintSingleFile, TaskMode::PrintOldProject,
                                         TaskMode::TattooIn23Colors, TaskMode::CreateTribalTattoo};
constexpr std::array<const char*, 4> kTaskNames{"PrintSingleFile", "PrintOldProject", "TattooIn23Colors",
                                                "CreateTribalTattoo"};

using look::button;

QLabel* value(const QString& text, const char* name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

TForm001::TForm001(ScreenSet& screens) : QWidget(nullptr), screens_(screens) {
    setObjectName("TForm001");
    setWindowTitle("SELECT TASK");
    placeAsWorkingScreen(this);
    buildControls();

    SpinEdit000.bind([this] { startAction(); });
    SpinEdit1.bind([this] { intakeRouting(); });
    SpinEdit2.bind([this] { autoRotate(); });
    SpinEdit3.bind([this] { SpinEdit4.step(); });
    SpinEdit4.bind([this] { routeByTask(); });
    SpinEdit5.bind([this] { prepareOutputSize(true); });
    SpinEdit6.bind([this] { prepareOutputSize(false); });
    SpinEdit7.bind([this] { prepareOutputSize(false); });
    SpinEdit8.bind([this] { prepareOutputSize(false); });
    SpinEdit9.bind([this] { restoreAndDerive(); });
    SpinEdit10.bind([this] { showOutputSize(); });
    SpinEdit11.bind([this] { openProjectAction(); });
    screens_.workflow.listen([this](Change what) {
        if (what == Change::Printer) showPrinter();
        if (what == Change::Unit) showUnit();
    });

    clipboardPoll.setObjectName("clipboardPoll");
    clipboardPoll.setInterval(10);
    connect(&clipboardPoll, &QTimer::timeout, this, &TForm001::ClipboardPollTimer);

    SpinEdit000.step();
    show();
}

void TForm001::buildControls() {
    logo_ = look::picture("logo", 240, 160);

    auto* top = new QVBoxLayout(this);
    auto* banner = new QLabel(this);
    banner->setObjectName("banner");
    banner->setPixmap(look::picture("banner", 990, 90));
    top->addWidget(banner);

    auto* middle = new QHBoxLayout;
    top->addLayout(middle, 1);

    // The tasks, each caption with its marker to the left.
    auto* tasks = new QGroupBox("SELECT TASK", this);
    tasks->setObjectName("taskGroup");
    auto* taskGrid = new QGridLayout(tasks);
    const QPixmap marker = look::picture("marker", 28, 28);
    for (std::size_t i = 0; i < kTasks.size(); ++i) {
        auto* m = new QLabel(tasks);
        m->setObjectName(QString(kTaskNames[i]) + "Marker");
        m->setPixmap(marker);
        m->setFixedSize(28, 28);
        auto* caption = new QPushButton(taskCaption(kTasks[i]), tasks);
        caption->setObjectName(QString(kTaskNames[i]) + "Caption");
        caption->setFlat(true);
        caption->setStyleSheet("text-align: left; font-weight: bold; padding: 6px;");
        const TaskMode task = kTasks[i];
        connect(caption, &QPushButton::clicked, this,
                [this, task] { screens_.guard([&] { chooseTask(task); }); });
        taskGrid->addWidget(m, static_cast<int>(i), 0);
        taskGrid->addWidget(caption, static_cast<int>(i), 1);
        taskMarkers_[i] = m;
        taskCaptions_[i] = caption;
    }
    openProject_ = button("NEXT : OPEN PROJECT >>", "openProject", tasks);
    taskGrid->addWidget(openProject_, 4, 1);
    taskGrid->setRowStretch(5, 1);
    middle->addWidget(tasks, 3);

    auto* centre = new QVBoxLayout;
    middle->addLayout(centre, 3);

    auto* units = new QGroupBox("MEASURING IN", this);
    auto* unitRow = new QHBoxLayout(units);
    inches_ = new QCheckBox("Inches", units);
    inches_->setObjectName("Inches");
    centimeters_ = new QCheckBox("Centimeters", units);
    centimeters_->setObjectName("Centimeters");
    centimeters_->setChecked(true);
    unitRow->addWidget(inches_);
    unitRow->addWidget(centimeters_);
    centre->addWidget(units);

    auto* printer = new QGroupBox("PRINTER SETUP", this);
    auto* grid = new QGridLayout(printer);
    auto* heading = new QLabel("Current printer settings", printer);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    heading->setFont(headingFont);
    grid->addWidget(heading, 0, 0, 1, 3);
    pageWidthPx_ = value("", "pageWidthPx");
    pageHeightPx_ = value("", "pageHeightPx");
    resolution_ = value("", "resolution");
    mediaWidth_ = value("", "mediaWidth");
    mediaHeight_ = value("", "mediaHeight");
    mediaWidthUnit_ = new QLabel("Centimeters");
    mediaWidthUnit_->setObjectName("mediaWidthUnit");
    mediaHeightUnit_ = new QLabel("Centimeters");
    mediaHeightUnit_->setObjectName("mediaHeightUnit");
    grid->addWidget(new QLabel("Media Width :"), 1, 0);
    grid->addWidget(pageWidthPx_, 1, 1);
    grid->addWidget(new QLabel("Pixels"), 1, 2);
    grid->addWidget(new QLabel("Media Height :"), 2, 0);
    grid->addWidget(pageHeightPx_, 2, 1);
    grid->addWidget(new QLabel("Pixels"), 2, 2);
    grid->addWidget(new QLabel("Resolutions"), 3, 0);
    grid->addWidget(resolution_, 3, 1);
    grid->addWidget(new QLabel("DPI"), 3, 2);
    grid->addWidget(new QLabel("Media Width:"), 4, 0);
    grid->addWidget(mediaWidth_, 4, 1);
    grid->addWidget(mediaWidthUnit_, 4, 2);
    grid->addWidget(new QLabel("Media Height:"), 5, 0);
    grid->addWidget(mediaHeight_, 5, 1);
    grid->addWidget(mediaHeightUnit_, 5, 2);
    auto* setup = button("PRINTER SETUP...", "printerSetup", printer);
    grid->addWidget(setup, 6, 0, 1, 3);
    portrait_ = new QCheckBox("Portrait", printer);
    portrait_->setObjectName("Portrait");
    landscape_ = new QCheckBox("Landscape", printer);
    landscape_->setObjectName("Landscape");
    autoRotate_ = new QCheckBox("Automatic page rotation /portrait vs landscape/", printer);
    autoRotate_->setObjectName("AutomaticPageRotation");
    grid->addWidget(portrait_, 7, 0);
    grid->addWidget(landscape_, 7, 1, 1, 2);
    grid->addWidget(autoRotate_, 8, 0, 1, 3);
    centre->addWidget(printer);
    centre->addStretch(1);

    auto* right = new QVBoxLayout;
    middle->addLayout(right, 2);
    auto* help = button("HELP", "help", this);
    auto* description = button("DESCRIPTION", "description", this);
    auto* about = button("About", "about", this);
    auto* terms = button("Terms And Conditions", "terms", this);
    auto* printers = new QPushButton(this);
    printers->setObjectName("printerList");
    printers->setToolTip("Installed printers");
    printers->setIcon(QIcon(look::picture("printers", 64, 48)));
    printers->setIconSize(QSize(64, 48));
    look::setFace(printers, look::kSkyBlue);
    auto* version = new QLabel("V 1.0.", this);
    version->setObjectName("version");
    version->setFrameShape(QFrame::Panel);
    version->setAlignment(Qt::AlignCenter);
    for (QWidget* w :
         {static_cast<QWidget*>(help), static_cast<QWidget*>(description), static_cast<QWidget*>(about),
          static_cast<QWidget*>(terms), static_cast<QWidget*>(printers)})
        right->addWidget(w);
    right->addStretch(1);
    right->addWidget(version);

    auto* bottom = new QHBoxLayout;
    top->addLayout(bottom);
    openImage_ = button("NEXT :  OPEN IMAGE  >>", "openImage", this);
    paste_ = button("PASTE", "paste", this);
    auto* exitButton = button("EXIT", "exit", this);
    for (QPushButton* b : {openImage_, paste_, exitButton}) b->setMinimumHeight(44);
    bottom->addWidget(openImage_, 2);
    bottom->addWidget(paste_, 1);
    bottom->addStretch(1);
    bottom->addWidget(exitButton, 1);

    connect(inches_, &QCheckBox::toggled, this,
            [this](bool on) { screens_.guard([&] { unitBoxChanged(centimeters_, on); }); });
    connect(centimeters_, &QCheckBox::toggled, this,
            [this](bool on) { screens_.guard([&] { unitBoxChanged(inches_, on); }); });
    connect(portrait_, &QCheckBox::toggled, this,
            [this](bool on) { screens_.guard([&] { orientationBoxChanged(landscape_, on); }); });
    connect(landscape_, &QCheckBox::toggled, this,
            [this](bool on) { screens_.guard([&] { orientationBoxChanged(portrait_, on); }); });
    connect(autoRotate_, &QCheckBox::toggled, this, [this](bool on) { screens_.state.autoRotate = on; });
    connect(setup, &QPushButton::clicked, this, [this] { screens_.guard([&] { printerSetupClick(); }); });
    connect(printers, &QPushButton::clicked, this, [this] { screens_.guard([&] { printerListClick(); }); });
    connect(openImage_, &QPushButton::clicked, this, &TForm001::openImageClick);
    connect(paste_, &QPushButton::clicked, this, &TForm001::pasteClick);
    connect(openProject_, &QPushButton::clicked, this, [this] {
        screens_.guard([&] { SpinEdit11.step(); });
        screens_.hide(Window::SelectTaskHelp);
    });
    connect(help, &QPushButton::clicked, this, [this] { screens_.show(Window::SelectTaskHelp); });
    connect(description, &QPushButton::clicked, this, [this] { screens_.show(Window::Description); });
    connect(about, &QPushButton::clicked, this, [this] { screens_.show(Window::About); });
    connect(terms, &QPushButton::clicked, this, [this] { screens_.show(Window::Terms); });
    connect(exitButton, &QPushButton::clicked, this, [this] { screens_.askToEndApplication(); });
}

void TForm001::startAction() {
    // No maximise button on the home screen.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    openProject_->hide();
    look::setBackground(this, look::kLightBackground);
    chooseTask(screens_.state.task);

    // Shown until the printer has been read.
    resolution_->setText("300");
    mediaWidth_->setText("21");
    mediaHeight_->setText("29.7");
    pageWidthPx_->setText("1984");
    pageHeightPx_->setText("1683");

    screens_.workflow.readPrinter();
}

void TForm001::chooseTask(TaskMode task) {
    screens_.workflow.chooseTask(task);
    for (std::size_t i = 0; i < kTasks.size(); ++i) taskMarkers_[i]->setVisible(kTasks[i] == task);
    const bool project = task == TaskMode::PrintOldProject;
    openProject_->setVisible(project);
    openImage_->setVisible(!project);
    paste_->setVisible(!project);
}

void TForm001::showPrinter() {
    const WorkflowState& state = screens_.state;
    (state.orientation == Orientation::Portrait ? portrait_ : landscape_)->setChecked(true);
    pageWidthPx_->setText(QString::number(state.printerPageWidthPx));
    pageHeightPx_->setText(QString::number(state.printerPageHeightPx));
    resolution_->setText(QString::number(state.printerDpi));
    mediaWidth_->setText(QString::fromStdString(state.mediaWidth));
    mediaHeight_->setText(QString::fromStdString(state.mediaHeight));
    mediaWidthUnit_->setText(unitWord(state.unit));
    mediaHeightUnit_->setText(unitWord(state.unit));
}

void TForm001::showUnit() {
    inches_->setEnabled(!screens_.state.unitLocked);
    centimeters_->setEnabled(!screens_.state.unitLocked);
    (screens_.state.unit == MeasuringUnit::Inches ? inches_ : centimeters_)->setChecked(true);
}

void TForm001::unitBoxChanged(QCheckBox* other, bool ticked) {
    // The box that changed decides; the other takes the opposite state (its own reaction then
    // finds this box already as it should be).
    other->setChecked(!ticked);
    screens_.workflow.setUnit(inches_->isChecked() ? MeasuringUnit::Inches : MeasuringUnit::Centimeters);
    showUnit();
}

void TForm001::orientationBoxChanged(QCheckBox* other, bool ticked) {
    other->setChecked(!ticked);
    if (portrait_->isChecked())
        screens_.workflow.setOrientation(Orientation::Portrait);
    else if (landscape_->isChecked())
        screens_.workflow.setOrientation(Orientation::Landscape);
    else
        screens_.workflow.readPrinter();
}

void TForm001::printerSetupClick() {
    if (!screens_.platform.printer.setupDialog()) return;
    screens_.workflow.readPrinter();
}

void TForm001::printerListClick() {
    const std::vector<std::string> printers = screens_.platform.printer.installedPrinters();
    if (printers.empty()) {
        screens_.platform.dialogs.message(kNoPrinterMessage);
        return;
    }
    std::string list = "Installed printers:";
    for (const std::string& name : printers) list += "\n" + name;
    screens_.platform.dialogs.message(list);
}

void TForm001::openImageClick() {
    screens_.go(Move::IntakeStarted, this);
    const bool ok = screens_.guard([&] {
        if (screens_.workflow.openPicture()) SpinEdit1.step();
    });
    if (!ok)
        screens_.go(Move::RouteFailed);
    else if (screens_.pictures.intake.empty())
        screens_.go(Move::IntakeCancelled);
    screens_.hide(Window::SelectTaskHelp);
}

void TForm001::pasteClick() {
    // The clipboard may have been emptied since the last poll enabled the button.
    if (!screens_.platform.clipboard.hasBitmap()) return;
    screens_.go(Move::IntakeStarted, this);
    if (!screens_.guard([&] {
            if (screens_.workflow.pasteClipboard()) SpinEdit1.step();
        }))
        screens_.go(Move::RouteFailed);
    screens_.hide(Window::SelectTaskHelp);
}

void TForm001::ClipboardPollTimer() {
    const bool bitmap = screens_.platform.clipboard.hasBitmap();
    paste_->setEnabled(bitmap);
    look::setFace(paste_, bitmap ? look::kSkyBlue : look::kLightBackground);
}

void TForm001::intakeRouting() {
    screens_.colourWorkingScreens();
    if (screens_.pictures.intake.width() > 0 || screens_.pictures.intake.height() > 0) {
        screens_.workflow.takeIntoSource();
        screens_.go(Move::IntakeArrived, this);
        SpinEdit2.step();
    } else {
        screens_.go(Move::IntakeCancelled);
    }
    screens_.giveTitleBarButtons();
    screens_.workflow.refreshSourceColours();
}

void TForm001::autoRotate() {
    screens_.workflow.autoRotate();
    SpinEdit3.step();
}

void TForm001::routeByTask() {
    switch (routeTriggerFor(screens_.state.task)) {
        case 5:
            SpinEdit5.step();
            break;
        case 6:
            SpinEdit6.step();
            break;
        case 7:
            SpinEdit7.step();
            break;
        default:
            SpinEdit8.step();
            break;
    }
}

void TForm001::prepareOutputSize(bool singleFile) {
    if (singleFile) screens_.go(Move::OutputSizeForSingleFile, this);
    SpinEdit9.step();
}

void TForm001::restoreAndDerive() {
    screens_.workflow.restoreOutputSettings();
    SpinEdit10.step();
}

void TForm001::showOutputSize() {
    screens_.workflow.recomputeOutputSize();
    screens_.go(Move::OutputSizeShown);
}

void TForm001::openProjectAction() {
    if (screens_.state.task != TaskMode::PrintOldProject) return;
    try {
        const OpenProjectOutcome outcome = screens_.workflow.openProject();
        if (outcome == OpenProjectOutcome::Opened) screens_.go(Move::ProjectOpened, this);
        // The reader has said "Fife/s/ missing!"; the settings it applied stay.
        if (outcome == OpenProjectOutcome::ResultMissing) screens_.goToSelectTask(nullptr);
    } catch (...) {
        // A malformed descriptor or a damaged RESULT.bmp stops the reading where it is; what
        // was applied stays, and the user starts again from here once the message is read.
        screens_.go(Move::ProjectNotOpened);
        throw;
    }
}

void TForm001::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    clipboardPoll.start();
    ClipboardPollTimer();
}

void TForm001::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous()) return;
    clipboardPoll.stop();
}

void TForm001::closeEvent(QCloseEvent* event) {
    event->ignore();
    screens_.askToEndApplication();
}

}  // namespace dg
