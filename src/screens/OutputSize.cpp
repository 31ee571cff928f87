#include "screens/OutputSize.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app/OutputSizeRules.h"
#include "app/TaskSelectionRules.h"
#include "imaging/CountColors.h"
#include "imaging/Failure.h"
#include "imaging/Numbers.h"
#include "imaging/Scaling.h"
#include "screens/ChannelsScreen.h"
#include "screens/InfoWindows.h"
#include "screens/PrintingScreen.h"
#include "screens/ResizeForm.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "screens/SelectTask.h"
#include "screens/SeparationScreen.h"
#include "screens/TribalScreen.h"
#include "screens/Viewers.h"

namespace dg {

namespace {

int toField(std::int64_t v) {
    // The field clamps into its own range; this only keeps the number an int on the way.
    return static_cast<int>(
        std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

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

double mediaSize(const std::string& text) {
    double v = 0;
    return parseNumber(text, v) ? v : 0.0;
}

}  // namespace

ArrowSpinBox::ArrowSpinBox(int minimum, int maximum, int initial, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(initial);
    lineEdit()->setReadOnly(true);
    setKeyboardTracking(false);
}

TForm004::TForm004(ScreenSet& screens) : QWidget(nullptr), screens_(screens) {
    setObjectName("TForm004");
    setWindowTitle("OUTPUT SIZE AND RESOLUTION");
    placeAsWorkingScreen(this);
    look::setBackground(this, look::kLightBackground);
    buildControls();
    SpinEdit6.bind([this] { recompute(); });
    SpinEdit9.bind([this] { resizeRoute(); });
    SpinEdit10.bind([this] { tribalRoute(); });
    SpinEdit11.bind([this] { resamplingStep(); });
    storeFields();
    const bool preserve = preserveAspect_->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(SpinEdit4), static_cast<QWidget*>(SpinEdit5),
                       static_cast<QWidget*>(heightCaption_), static_cast<QWidget*>(heightUnit_)})
        w->setEnabled(!preserve);
}

void TForm004::buildControls() {
    const WorkflowState& state = screens_.state;
    SpinEdit1 = new ArrowSpinBox(70, 160, state.outputDpi, this);
    SpinEdit2 = new ArrowSpinBox(1, 60, state.outputWidthWhole, this);
    SpinEdit3 = new ArrowSpinBox(0, 99, state.outputWidthHundredths, this);
    SpinEdit4 = new ArrowSpinBox(0, 60, state.outputHeightWhole, this);
    SpinEdit5 = new ArrowSpinBox(0, 99, state.outputHeightHundredths, this);
    const std::array<std::pair<ArrowSpinBox*, const char*>, 5> fields{{{SpinEdit1, "SpinEdit1"},
                                                                       {SpinEdit2, "SpinEdit2"},
                                                                       {SpinEdit3, "SpinEdit3"},
                                                                       {SpinEdit4, "SpinEdit4"},
                                                                       {SpinEdit5, "SpinEdit5"}}};
    for (const auto& [field, name] : fields) {
        field->setObjectName(name);
        field->setMinimumWidth(70);
        connect(field, &QSpinBox::valueChanged, this, [this] { screens_.guard([&] { fieldChanged(); }); });
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
            [this](bool on) { screens_.guard([&] { preserveAspectClick(on); }); });
    connect(fit, &QPushButton::clicked, this, [this] { screens_.guard([&] { fitToPageWidth(); }); });
    connect(backButton, &QPushButton::clicked, this, &TForm004::back);
    connect(help, &QPushButton::clicked, this, [this] { screens_.help004->show(); });
    connect(closeForResizer_, &QPushButton::clicked, this, [this] { screens_.endApplication(); });
    connect(nextSingleFile_, &QPushButton::clicked, this, [this] {
        screens_.guard([&] {
            requirePixels();
            nextSingleFileClick();
        });
    });
    connect(nextColorReduction_, &QPushButton::clicked, this, [this] {
        // Checked before the route hides anything: the user stays here to change the size.
        if (!screens_.guard([&] { requirePixels(); })) return;
        if (screens_.guard([&] { nextColorReductionClick(); })) return;
        // The route hid this screen first; one that failed on its way (out of memory while
        // scaling, say) must not leave the user with no window, or with a half-entered one.
        for (QWidget* w :
             {static_cast<QWidget*>(screens_.form021.get()), static_cast<QWidget*>(screens_.form005.get()),
              static_cast<QWidget*>(screens_.form019.get())})
            w->hide();
        screens_.goToSelectTask(nullptr, nullptr);
    });
}

void TForm004::storeFields() {
    WorkflowState& state = screens_.state;
    state.outputDpi = SpinEdit1->value();
    state.outputWidthWhole = SpinEdit2->value();
    state.outputWidthHundredths = SpinEdit3->value();
    state.outputHeightWhole = SpinEdit4->value();
    state.outputHeightHundredths = SpinEdit5->value();
    state.preserveAspect = preserveAspect_->isChecked();
}

void TForm004::fieldChanged() {
    storeFields();
    SpinEdit6.step();
}

void TForm004::deriveHeightFromWidth() {
    const RgbImage& source = screens_.pictures.source;
    const auto height = deriveHeight(SpinEdit2->value(), SpinEdit3->value(), source.width(), source.height());
    if (!height) return;
    // Each change recomputes at once, nested; a repeated derivation finds the values set.
    SpinEdit4->setValue(toField(height->whole));
    SpinEdit5->setValue(toField(height->hundredths));
}

void TForm004::recompute() {
    if (preserveAspect_->isChecked()) deriveHeightFromWidth();
    storeFields();

    WorkflowState& state = screens_.state;
    state.outputWidthText = sizeText(state.outputWidthWhole, state.outputWidthHundredths);
    state.outputHeightText = sizeText(state.outputHeightWhole, state.outputHeightHundredths);
    widthText_->setText(QString::fromStdString(state.outputWidthText));
    heightText_->setText(QString::fromStdString(state.outputHeightText));

    OutputSizeInputs in;
    in.unit = state.unit;
    in.dpi = state.outputDpi;
    in.widthWhole = state.outputWidthWhole;
    in.widthHundredths = state.outputWidthHundredths;
    in.heightWhole = state.outputHeightWhole;
    in.heightHundredths = state.outputHeightHundredths;
    in.sourceWidth = screens_.pictures.source.width();
    in.sourceHeight = screens_.pictures.source.height();
    in.mediaWidth = mediaSize(state.mediaWidth);
    in.mediaHeight = mediaSize(state.mediaHeight);
    const OutputSizeVerdict verdict = evaluateOutputSize(in);

    state.exceedsPrinterArea = verdict.exceedsPrinterArea;
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

void TForm004::preserveAspectClick(bool ticked) {
    screens_.state.preserveAspect = ticked;
    for (QWidget* w : {static_cast<QWidget*>(SpinEdit4), static_cast<QWidget*>(SpinEdit5),
                       static_cast<QWidget*>(heightCaption_), static_cast<QWidget*>(heightUnit_)})
        w->setEnabled(!ticked);
    if (ticked) deriveHeightFromWidth();
}

void TForm004::fitToPageWidth() {
    const WorkflowState& state = screens_.state;
    // The width always takes the page width; the height follows the picture's proportions,
    // or, when those are not kept, takes the page height.
    double mw = 0;
    if (!parseNumber(state.mediaWidth, mw)) return;
    const HeightFields width = splitUnits(mw);
    SpinEdit2->setValue(toField(width.whole));
    SpinEdit3->setValue(toField(width.hundredths));
    if (preserveAspect_->isChecked()) {
        deriveHeightFromWidth();
        return;
    }
    double mh = 0;
    if (!parseNumber(state.mediaHeight, mh)) return;
    const HeightFields height = splitUnits(mh);
    SpinEdit4->setValue(toField(height.whole));
    SpinEdit5->setValue(toField(height.hundredths));
}

void TForm004::requirePixels() const {
    const WorkflowState& state = screens_.state;
    // Only a length under one whole unit can come to less than half a pixel; sizes that make
    // no picture at all for other reasons are the route's to report.
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

void TForm004::resamplingStep() {
    RgbImage& result = screens_.pictures.result;
    if (screens_.pictures.source.empty()) {
        result.clear();
        return;
    }
    const BusyPointer busy(screens_.platform.dialogs);
    dg::resamplingStep(screens_.pictures.source, result, screens_.state.resampleFilter);
}

void TForm004::scaleInto(RgbImage& destination) {
    PictureBuffers& pictures = screens_.pictures;
    const PixelSize size = outputPixelSize(screens_.state);
    pictures.result.reset(size.width, size.height);
    destination.reset(size.width, size.height);
    if (isEnlarging(size, pictures.source)) {
        screens_.state.resampleFilter = 2;  // "Hermite"
        SpinEdit11.step();
        // An empty SOURCE leaves RESULT empty and the destination blank.
        if (!pictures.result.empty()) destination = pictures.result;
    } else {
        plainStretch(pictures.source, destination);
    }
}

void TForm004::passOnPrinterWarning() {
    screens_.form029->hideMessageLine();
    if (screens_.state.exceedsPrinterArea) screens_.form029->showMessageLine(kExceedsPrinterAreaText);
}

void TForm004::scaleSourcePicture() {
    PictureBuffers& pictures = screens_.pictures;
    screens_.form003->hide();
    scaleInto(pictures.preview);
    pictures.result.clear();
    passOnPrinterWarning();
    pictures.source = std::move(pictures.preview);
    pictures.preview.clear();
    pictures.result.reset(pictures.source.width(), pictures.source.height());
}

void TForm004::nextSingleFileClick() {
    screens_.help004->hide();
    screens_.form010->hide();
    screens_.form029->setSaveProjectVisible(false);
    screens_.form003->hide();
    RgbImage& after = screens_.form019->channelSet.after;
    scaleInto(after);
    screens_.form029->resultThumbnail = after;
    screens_.form029->offerResultOnly();
    screens_.pictures.result.clear();
    screens_.form029->show();
    passOnPrinterWarning();
    hide();
}

void TForm004::nextColorReductionClick() {
    screens_.help004->hide();
    screens_.form010->hide();
    screens_.form029->setSaveProjectVisible(true);
    hide();
    screens_.form002->hide();
    screens_.form003->hide();
    const TaskMode task = screens_.state.task;
    if (task == TaskMode::CreateTribalTattoo) screens_.form002->show();
    // An old project hides UNDO on the channels screen; a new design has it again.
    screens_.form019->setUndoVisible(true);
    if (task == TaskMode::TattooIn23Colors) {
        screens_.form019->setEditPanelEnabled(true);
        SpinEdit9.step();
    } else if (task == TaskMode::CreateTribalTattoo) {
        screens_.form019->setEditPanelEnabled(false);
        SpinEdit10.step();
    }
    screens_.form021->resetPictureFrames();
}

void TForm004::resizeRoute() {
    if (screens_.state.task != TaskMode::TattooIn23Colors) return;
    hide();
    screens_.form027->SpinEdit3.step();
    const RgbImage& source = screens_.pictures.source;
    // Fewer than 24 colours need no reduction: straight to the channels screen.
    if (CountColors(source) < 24) {
        TForm019& channels = *screens_.form019;
        channels.channelSet.before = source;
        channels.hideAfterPicture();
        channels.SpinEdit000.step();
        return;
    }
    TForm021& separation = *screens_.form021;
    separation.sourceCopy = source;
    separation.SpinEdit0.step();
    separation.SpinEdit4.step();
    separation.show();
}

void TForm004::tribalRoute() {
    if (screens_.state.task != TaskMode::CreateTribalTattoo) return;
    scaleSourcePicture();
    screens_.form005->show();
    screens_.form005->enter();
}

void TForm004::back() { screens_.goToSelectTask(this, screens_.help004.get()); }

void TForm004::closeEvent(QCloseEvent* event) {
    event->ignore();
    back();
}

void TForm004::setUnitCaptions(const QString& word) {
    widthUnit_->setText(word);
    heightUnit_->setText(word);
}

void TForm004::offerNextButtons(bool singleFile) {
    nextSingleFile_->setVisible(singleFile);
    nextColorReduction_->setVisible(!singleFile);
}

void TForm004::setUnit(MeasuringUnit unit) { screens_.form001->tickUnit(unit); }
void TForm004::setPreserveAspect(bool preserve) { preserveAspect_->setChecked(preserve); }
void TForm004::setDpi(std::int32_t dpi) { SpinEdit1->setValue(dpi); }
void TForm004::setWidthWhole(std::int32_t value) { SpinEdit2->setValue(value); }
void TForm004::setWidthHundredths(std::int32_t value) { SpinEdit3->setValue(value); }
void TForm004::setHeightWhole(std::int32_t value) { SpinEdit4->setValue(value); }
void TForm004::setHeightHundredths(std::int32_t value) { SpinEdit5->setValue(value); }

}  // namespace dg
