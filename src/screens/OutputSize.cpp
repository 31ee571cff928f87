#include "screens/OutputSize.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

#include "app/OutputSizeRules.h"
#include "app/TaskSelectionRules.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"

namespace dg {

namespace {

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    return look::button(caption, name, parent, 40);
}

QLabel* boardLine(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->hide();
    return label;
}

}  // namespace

TForm004::TForm004(ScreenSet& screens) : QWidget(nullptr), screens_(screens) {
    setObjectName("TForm004");
    setWindowTitle("OUTPUT SIZE AND RESOLUTION");
    placeAsWorkingScreen(this);
    look::setBackground(this, look::kLightBackground);
    buildControls();
    SpinEdit9.bind([this] { resizeRoute(); });
    SpinEdit10.bind([this] { tribalRoute(); });
    screens_.workflow.listen([this](Change what) {
        if (what == Change::OutputSize) showOutputSize();
        if (what == Change::Unit) showUnit();
    });
    showOutputSize();
}

void TForm004::buildControls() {
    const WorkflowState& state = screens_.state;
    SpinEdit1 = new ArrowSpinBox(kDpiField.minimum, kDpiField.maximum, state.outputDpi, this);
    SpinEdit2 =
        new ArrowSpinBox(kWidthWholeField.minimum, kWidthWholeField.maximum, state.outputWidthWhole, this);
    SpinEdit3 = new ArrowSpinBox(kHundredthsField.minimum, kHundredthsField.maximum,
                                 state.outputWidthHundredths, this);
    SpinEdit4 =
        new ArrowSpinBox(kHeightWholeField.minimum, kHeightWholeField.maximum, state.outputHeightWhole, this);
    SpinEdit5 = new ArrowSpinBox(kHundredthsField.minimum, kHundredthsField.maximum,
                                 state.outputHeightHundredths, this);
    Workflow& workflow = screens_.workflow;
    const std::array<std::tuple<ArrowSpinBox*, const char*, void (Workflow::*)(std::int32_t)>, 5> fields{
        {{SpinEdit1, "SpinEdit1", &Workflow::setDpi},
         {SpinEdit2, "SpinEdit2", &Workflow::setWidthWhole},
         {SpinEdit3, "SpinEdit3", &Workflow::setWidthHundredths},
         {SpinEdit4, "SpinEdit4", &Workflow::setHeightWhole},
         {SpinEdit5, "SpinEdit5", &Workflow::setHeightHundredths}}};
    for (const auto& [field, name, set] : fields) {
        field->setObjectName(name);
        field->setMinimumWidth(70);
        connect(field, &QSpinBox::valueChanged, this,
                [this, &workflow, set = set](int v) { screens_.guard([&] { (workflow.*set)(v); }); });
    }

    auto* top = new QVBoxLayout(this);
    auto* banner = new QLabel(this);
    banner->setObjectName("banner");
    banner->setPixmap(look::picture("banner", 990, 90));
    top->addWidget(banner);

    auto* columns = new QHBoxLayout;
    top->addLayout(columns, 1);

    // The left column stays clear below the top so the SOURCE viewer can float there.
    auto* left = new QVBoxLayout;
    columns->addLayout(left);
    auto* dpiGroup = new QGroupBox("OUTPUT  RESOLUTION IN DOTS PER INCH", this);
    dpiGroup->setFixedWidth(290);
    auto* dpiRow = new QHBoxLayout(dpiGroup);
    dpiRow->addWidget(SpinEdit1);
    dpiRow->addWidget(new QLabel(" / DPI /"));
    dpiRow->addStretch(1);
    left->addWidget(dpiGroup);
    auto* fit = button("Fit to Page Width", "fitToPageWidth", this);
    left->addWidget(fit);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    columns->addLayout(right, 1);
    auto* sizeGroup = new QGroupBox("SELECT OUTPUT SIZE AND RESOLUTION", this);
    auto* sizeGrid = new QGridLayout(sizeGroup);
    auto* heading = new QLabel("FINAL IMAGE SIZE");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    sizeGrid->addWidget(heading, 0, 0, 1, 5);
    sizeGrid->addWidget(new QLabel("WIDTH"), 1, 0);
    sizeGrid->addWidget(SpinEdit2, 1, 1);
    sizeGrid->addWidget(new QLabel("."), 1, 2);
    sizeGrid->addWidget(SpinEdit3, 1, 3);
    widthUnit_ = new QLabel("Centimeters");
    widthUnit_->setObjectName("widthUnit");
    sizeGrid->addWidget(widthUnit_, 1, 4);
    heightCaption_ = new QLabel("HEIGHT");
    heightCaption_->setObjectName("heightCaption");
    sizeGrid->addWidget(heightCaption_, 2, 0);
    sizeGrid->addWidget(SpinEdit4, 2, 1);
    sizeGrid->addWidget(new QLabel("."), 2, 2);
    sizeGrid->addWidget(SpinEdit5, 2, 3);
    heightUnit_ = new QLabel("Centimeters");
    heightUnit_->setObjectName("heightUnit");
    sizeGrid->addWidget(heightUnit_, 2, 4);
    preserveAspect_ = new QCheckBox("Preserve Aspect Ratio", sizeGroup);
    preserveAspect_->setObjectName("PreserveAspectRatio");
    preserveAspect_->setChecked(screens_.state.preserveAspect);
    sizeGrid->addWidget(preserveAspect_, 3, 0, 1, 5);
    sizeGrid->setColumnStretch(5, 1);

    auto* textsGroup = new QGroupBox("OUTPUT / IMAGE SIZE /", this);
    auto* textsGrid = new QGridLayout(textsGroup);
    widthText_ = new QLabel;
    widthText_->setObjectName("outputWidthText");
    heightText_ = new QLabel;
    heightText_->setObjectName("outputHeightText");
    textsGrid->addWidget(widthText_, 0, 0);
    textsGrid->addWidget(new QLabel("WIDTH"), 0, 1);
    textsGrid->addWidget(heightText_, 1, 0);
    textsGrid->addWidget(new QLabel("HEIGHT"), 1, 1);
    textsGrid->setColumnStretch(2, 1);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeGroup, 3);
    sizeRow->addWidget(textsGroup, 2);
    right->addLayout(sizeRow);

    auto* board = new QGroupBox("Message Board", this);
    board->setObjectName("messageBoard");
    auto* boardColumn = new QVBoxLayout(board);
    printerWarning_ = boardLine(kExceedsPrinterAreaText, "printerAreaWarning", board);
    printerWarning_->setStyleSheet("color: rgb(200, 0, 0); font-weight: bold;");
    tooSmall_ = boardLine(kTooSmallText, "tooSmallMessage", board);
    tooLarge_ = boardLine(kTooLargeText, "tooLargeMessage", board);
    widthRange_ = boardLine("", "widthRange", board);
    andBetween_ = boardLine("AND BETWEEN ", "andBetween", board);
    heightRange_ = boardLine("", "heightRange", board);
    additionally_ = boardLine(kAdditionallyText, "additionally", board);
    closeForResizer_ =
        button("Close : I will RESIZE WITH EXTERNAL RESIZER ", "closeForExternalResizer", board);
    closeForResizer_->hide();
    for (QWidget* w : {static_cast<QWidget*>(printerWarning_), static_cast<QWidget*>(tooSmall_),
                       static_cast<QWidget*>(tooLarge_), static_cast<QWidget*>(widthRange_),
                       static_cast<QWidget*>(andBetween_), static_cast<QWidget*>(heightRange_),
                       static_cast<QWidget*>(additionally_), static_cast<QWidget*>(closeForResizer_)})
        boardColumn->addWidget(w);
    boardColumn->addStretch(1);
    right->addWidget(board, 1);

    auto* buttons = new QHBoxLayout;
    right->addLayout(buttons);
    auto* backButton = button("<< BACK", "back", this);
    auto* help = button("HELP", "help", this);
    nextColorReduction_ = button("NEXT: COLOR REDUCTION>> ", "nextColorReduction", this);
    nextSingleFile_ = button("NEXT >>", "nextSingleFile", this);
    buttons->addWidget(backButton);
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(nextColorReduction_);
    buttons->addWidget(nextSingleFile_);

    connect(preserveAspect_, &QCheckBox::toggled, this,
            [this](bool on) { screens_.guard([&] { screens_.workflow.setPreserveAspect(on); }); });
    connect(fit, &QPushButton::clicked, this,
            [this] { screens_.guard([&] { screens_.workflow.fitToPageWidth(); }); });
    connect(backButton, &QPushButton::clicked, this, &TForm004::back);
    connect(help, &QPushButton::clicked, this, [this] { screens_.show(Window::OutputSizeHelp); });
    connect(closeForResizer_, &QPushButton::clicked, this, [this] { screens_.askToEndApplication(); });
    connect(nextSingleFile_, &QPushButton::clicked, this, [this] {
        screens_.guard([&] {
            screens_.workflow.requireOutputPixels();
            nextSingleFileClick();
        });
    });
    connect(nextColorReduction_, &QPushButton::clicked, this, [this] {
        // Checked before the route hides anything: the user stays here to change the size.
        if (!screens_.guard([&] { screens_.workflow.requireOutputPixels(); })) return;
        // The route hid this screen first; one that failed on its way (out of memory while
        // scaling, say) must not leave the user with no window, or with a half-entered one.
        if (!screens_.guard([&] { nextColorReductionClick(); })) screens_.go(Move::RouteFailed);
    });
}

void TForm004::showOutputSize() {
    const WorkflowState& state = screens_.state;
    {
        const QSignalBlocker blockDpi(SpinEdit1), blockWidth(SpinEdit2), blockWidthHundredths(SpinEdit3),
            blockHeight(SpinEdit4), blockHeightHundredths(SpinEdit5), blockAspect(preserveAspect_);
        SpinEdit1->setValue(state.outputDpi);
        SpinEdit2->setValue(state.outputWidthWhole);
        SpinEdit3->setValue(state.outputWidthHundredths);
        SpinEdit4->setValue(state.outputHeightWhole);
        SpinEdit5->setValue(state.outputHeightHundredths);
        preserveAspect_->setChecked(state.preserveAspect);
    }
    for (QWidget* w : {static_cast<QWidget*>(SpinEdit4), static_cast<QWidget*>(SpinEdit5),
                       static_cast<QWidget*>(heightCaption_), static_cast<QWidget*>(heightUnit_)})
        w->setEnabled(!state.preserveAspect);
    widthText_->setText(QString::fromStdString(state.outputWidthText));
    heightText_->setText(QString::fromStdString(state.outputHeightText));

    const OutputSizeVerdict& verdict = screens_.workflow.outputSizeVerdict();
    printerWarning_->setVisible(verdict.exceedsPrinterArea);
    const bool ranged = verdict.message != RangeMessage::None;
    tooSmall_->setVisible(verdict.message == RangeMessage::TooSmall);
    tooLarge_->setVisible(verdict.message == RangeMessage::TooLarge);
    additionally_->setVisible(verdict.additionally);
    widthRange_->setText(QString("%1 AND %2 PIXELS WIDTH").arg(verdict.minWidth).arg(verdict.maxWidth));
    heightRange_->setText(QString("%1 AND %2 PIXELS HEIGHT").arg(verdict.minHeight).arg(verdict.maxHeight));
    widthRange_->setVisible(ranged);
    andBetween_->setVisible(ranged);
    heightRange_->setVisible(ranged);
    closeForResizer_->setVisible(ranged);
}

void TForm004::showUnit() {
    widthUnit_->setText(unitWord(screens_.state.unit));
    heightUnit_->setText(unitWord(screens_.state.unit));
}

void TForm004::nextSingleFileClick() {
    screens_.workflow.scaleSingleFile();
    screens_.go(Move::SingleFilePrinting, this);
}

void TForm004::nextColorReductionClick() {
    screens_.go(Move::ColourReduction, this);
    const TaskMode task = screens_.state.task;
    if (task == TaskMode::TattooIn23Colors)
        SpinEdit9.step();
    else if (task == TaskMode::CreateTribalTattoo)
        SpinEdit10.step();
}

void TForm004::resizeRoute() {
    if (screens_.state.task != TaskMode::TattooIn23Colors) return;
    ColourRoute route = ColourRoute::Separation;
    if (!screens_.runLong("Reducing the colours", [&] { route = screens_.workflow.enterReduction(); })) {
        screens_.go(Move::ReductionCancelled);
        return;
    }
    screens_.go(route == ColourRoute::Channels ? Move::ChannelsShown : Move::SeparationShown);
}

void TForm004::tribalRoute() {
    if (screens_.state.task != TaskMode::CreateTribalTattoo) return;
    if (!screens_.runLong("Preparing the tribal design", [&] { screens_.workflow.enterReduction(); })) {
        screens_.go(Move::ReductionCancelled);
        return;
    }
    screens_.go(Move::TribalShown);
}

void TForm004::back() { screens_.goToSelectTask(this); }

void TForm004::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showUnit();
    const bool singleFile = offersSingleFileNext(screens_.state.task);
    nextSingleFile_->setVisible(singleFile);
    nextColorReduction_->setVisible(!singleFile);
}

void TForm004::closeEvent(QCloseEvent* event) {
    event->ignore();
    back();
}

}  // namespace dg
