#include "screens/OptionsScreen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>
#include <QVBoxLayout>

#include "output/WhiteEdgeMask.h"
#include "platform/Dialogs.h"
#include "screens/ArrowSpinBox.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"

namespace dg {

namespace {

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    return look::button(caption, name, parent, 40);
}

template <class Box>
Box* option(const QString& caption, const char* name, bool ticked) {
    auto* box = new Box(caption);
    box->setObjectName(name);
    box->setChecked(ticked);
    return box;
}

QGroupBox* group(const QString& title, QWidget* parent) { return new QGroupBox(title, parent); }

using look::whiteCaptions;

}  // namespace

TForm028::TForm028(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm028");
    setWindowTitle("OPTIONS");
    placeAsWorkingScreen(this);
    buildControls();
}

void TForm028::buildControls() {
    const OutputOptions defaults;
    createStencil_ = option<QCheckBox>(" CREATE STENCIL", "createStencil", defaults.createStencil);
    mirrorStencil_ = option<QCheckBox>("  MIRROR STENCIL <-->  / Flip horizontally /", "mirrorStencil",
                                       defaults.mirrorStencil);
    stencilInColors_ = option<QRadioButton>("STENCIL IN COLORS", "stencilInColors", !defaults.stencilInBlack);
    stencilInBlack_ = option<QRadioButton>("STENCIL IN BLACK", "stencilInBlack", defaults.stencilInBlack);
    auto* stencilColours = new QButtonGroup(this);
    stencilColours->addButton(stencilInColors_);
    stencilColours->addButton(stencilInBlack_);

    masked_ = option<QCheckBox>("MASKED / Remove White from the edges  /", "masked", false);
    depthCaption_ = new QLabel("DEPTH");
    depthCaption_->setObjectName("depthCaption");
    depth_ = new QSlider(Qt::Horizontal);
    depth_->setObjectName("depth");
    depth_->setRange(kDepthField.minimum, kDepthField.maximum);
    depth_->setValue(defaults.depth);
    depth_->setTickPosition(QSlider::TicksBelow);
    depth_->setTickInterval(5);
    preview_ = button("PREVIEW", "preview", this);
    legend_ = new QLabel("    **  = CLEAR    ");
    legend_->setObjectName("legend");
    look::setBackground(legend_, QColor(redOf(kClearKey), greenOf(kClearKey), blueOf(kClearKey)));

    printColorMatching_ =
        option<QCheckBox>("PRINT COLOR MATCHING", "printColorMatching", defaults.printColorMatching);
    printResult_ = option<QCheckBox>("PRINT THE RESULT", "printResult", defaults.printResult);
    adjustmentCorners_ = option<QCheckBox>(" ADD ADJUSTMENT  CORNERS TO THE  IMAGE", "adjustmentCorners",
                                           defaults.adjustmentCorners);
    cornerWidth_ =
        new ArrowSpinBox(kCornerWidthField.minimum, kCornerWidthField.maximum, defaults.cornerWidth, this);
    cornerWidth_->setObjectName("cornerWidth");
    cornerSize_ =
        new ArrowSpinBox(kCornerSizeField.minimum, kCornerSizeField.maximum, defaults.cornerSize, this);
    cornerSize_->setObjectName("cornerSize");

    whiteCaptions(this);
    QPalette legendPalette = legend_->palette();
    legendPalette.setColor(QPalette::WindowText, Qt::black);
    legend_->setPalette(legendPalette);

    auto* top = new QVBoxLayout(this);
    auto* title = new QLabel("OPTIONS");
    title->setStyleSheet("font-size: 20pt; font-weight: bold; color: white;");
    top->addWidget(title);
    auto* columns = new QHBoxLayout;
    top->addLayout(columns, 1);

    auto* stencilGroup = group("STENCIL", this);
    auto* stencilColumn = new QVBoxLayout(stencilGroup);
    stencilColumn->addWidget(createStencil_);
    stencilColumn->addWidget(mirrorStencil_);
    stencilColumn->addWidget(stencilInColors_);
    stencilColumn->addWidget(stencilInBlack_);
    stencilColumn->addStretch(1);

    auto* maskGroup = group("BACKGROUND", this);
    auto* maskColumn = new QVBoxLayout(maskGroup);
    maskColumn->addWidget(masked_);
    auto* depthRow = new QHBoxLayout;
    depthRow->addWidget(depthCaption_);
    depthRow->addWidget(depth_, 1);
    maskColumn->addLayout(depthRow);
    auto* previewRow = new QHBoxLayout;
    previewRow->addWidget(preview_);
    previewRow->addWidget(legend_);
    previewRow->addStretch(1);
    maskColumn->addLayout(previewRow);
    maskColumn->addStretch(1);

    auto* pagesGroup = group("PAGES", this);
    auto* pagesGrid = new QGridLayout(pagesGroup);
    pagesGrid->addWidget(printColorMatching_, 0, 0, 1, 4);
    pagesGrid->addWidget(printResult_, 1, 0, 1, 4);
    pagesGrid->addWidget(adjustmentCorners_, 2, 0, 1, 4);
    auto* widthCaption = new QLabel("WIDTH");
    auto* sizeCaption = new QLabel("SIZE");
    pagesGrid->addWidget(widthCaption, 3, 0);
    pagesGrid->addWidget(cornerWidth_, 3, 1);
    pagesGrid->addWidget(sizeCaption, 3, 2);
    pagesGrid->addWidget(cornerSize_, 3, 3);
    pagesGrid->setRowStretch(4, 1);

    columns->addWidget(stencilGroup, 1);
    columns->addWidget(maskGroup, 1);
    columns->addWidget(pagesGroup, 1);
    top->addStretch(2);

    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    auto* backButton = button("<< BACK", "back", this);
    auto* help = button("HELP", "help", this);
    auto* exitButton = button("Exit", "exit", this);
    auto* nextButton = button("NEXT >>", "next", this);
    buttons->addWidget(backButton);
    buttons->addWidget(help);
    buttons->addWidget(exitButton);
    buttons->addStretch(1);
    buttons->addWidget(nextButton);

    for (QWidget* w : std::initializer_list<QWidget*>{depthCaption_, depth_, preview_, legend_}) w->hide();

    connect(createStencil_, &QCheckBox::toggled, this, &TForm028::createStencilClick);
    connect(masked_, &QCheckBox::toggled, this, &TForm028::maskedClick);
    connect(stencilInBlack_, &QRadioButton::toggled, this, [this](bool ticked) {
        if (ticked) screens_.go(Move::OptionsWarning);
    });
    connect(preview_, &QPushButton::clicked, this, [this] { screens_.guard([this] { preview(); }); });
    connect(backButton, &QPushButton::clicked, this, &TForm028::back);
    connect(help, &QPushButton::clicked, this, [this] { screens_.show(Window::OptionsHelp); });
    connect(exitButton, &QPushButton::clicked, this, [this] { screens_.askToEndApplication(); });
    connect(nextButton, &QPushButton::clicked, this, [this] { screens_.guard([this] { next(); }); });
}

OutputOptions TForm028::options() const {
    OutputOptions o;
    o.createStencil = createStencil_->isChecked();
    o.mirrorStencil = mirrorStencil_->isChecked();
    o.stencilInBlack = stencilInBlack_->isChecked();
    o.masked = masked_->isChecked();
    o.depth = depth_->value();
    o.printColorMatching = printColorMatching_->isChecked();
    o.printResult = printResult_->isChecked();
    o.adjustmentCorners = adjustmentCorners_->isChecked();
    o.cornerWidth = cornerWidth_->value();
    o.cornerSize = cornerSize_->value();
    return o;
}

void TForm028::createStencilClick(bool ticked) {
    if (!ticked) {
        // Back to the defaults, so the next stencil starts from them.
        mirrorStencil_->setChecked(false);
        stencilInColors_->setChecked(true);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{mirrorStencil_, stencilInColors_, stencilInBlack_})
        w->setVisible(ticked);
}

void TForm028::maskedClick(bool ticked) {
    for (QWidget* w : std::initializer_list<QWidget*>{depthCaption_, depth_, preview_, legend_})
        w->setVisible(ticked);
}

void TForm028::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Showing the screen again, not the desktop restoring a minimised window.
    if (!event->spontaneous()) masked_->setChecked(false);
}

void TForm028::preview() { screens_.showPreview(maskingPreview(screens_.pictures.source, depth_->value())); }

void TForm028::next() {
    {
        BusyPointer busy(screens_.platform.dialogs);
        const OutputOptions chosen = options();
        screens_.runLong(
            "Composing the pages", [&] { screens_.workflow.compose(chosen); }, false);
    }
    screens_.go(Move::OptionsNext, this);
}

void TForm028::back() { screens_.go(Move::OptionsBack, this); }

void TForm028::closeEvent(QCloseEvent* event) {
    event->ignore();
    back();
}

}  // namespace dg
