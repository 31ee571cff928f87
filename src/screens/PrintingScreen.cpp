#include "screens/PrintingScreen.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/qt/QtImage.h"
#include "screens/ArrowSpinBox.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"

namespace dg {

namespace {

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    return look::button(caption, name, parent, 36);
}

QCheckBox* entryBox(const QString& caption, const QString& name) {
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    box->hide();
    return box;
}

QGroupBox* group(const QString& title, QWidget* parent) { return new QGroupBox(title, parent); }

using look::whiteCaptions;

constexpr HorizontalAlign kColumns[] = {HorizontalAlign::Left, HorizontalAlign::Centre,
                                        HorizontalAlign::Right};
constexpr VerticalAlign kRows[] = {VerticalAlign::Top, VerticalAlign::Middle, VerticalAlign::Bottom};

}  // namespace

Thumbnail::Thumbnail(const RgbImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {}

void Thumbnail::refresh() {
    // A full-size design is shrunk once here, not on every paint.
    shrunk_ = picture_.empty()
                  ? QImage()
                  : qimageView(picture_).scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    update();
}

void Thumbnail::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!shrunk_.isNull()) painter.drawImage(QPoint(0, 0), shrunk_);
}

void Thumbnail::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

TForm029::TForm029(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm029");
    setWindowTitle("PRINTING ");
    placeAsWorkingScreen(this);
    buildControls();
    whiteCaptions(this);
    screens_.workflow.listen([this](Change what) {
        if (what == Change::Pages) showPages();
    });
}

void TForm029::buildControls() {
    auto* top = new QVBoxLayout(this);

    messageLine_ = new QWidget(this);
    messageLine_->setObjectName("messageLine");
    look::setBackground(messageLine_, QColor(255, 255, 0));
    QPalette messagePalette = messageLine_->palette();
    messagePalette.setColor(QPalette::WindowText, Qt::black);
    messageLine_->setPalette(messagePalette);
    auto* messageRow = new QHBoxLayout(messageLine_);
    auto* messageCaption = new QLabel("Message:");
    QFont bold = messageCaption->font();
    bold.setBold(true);
    messageCaption->setFont(bold);
    messageText_ = new QLabel;
    messageText_->setObjectName("messageText");
    messageText_->setWordWrap(true);
    messageRow->addWidget(messageCaption);
    messageRow->addWidget(messageText_, 1);
    messageLine_->hide();
    top->addWidget(messageLine_);

    auto* columns = new QHBoxLayout;
    top->addLayout(columns, 1);

    // The page entries.
    auto* pagesGroup = group("PAGES", this);
    auto* pagesGrid = new QGridLayout(pagesGroup);
    stencilEntry_ = entryBox(kStencilCaption, "stencilEntry");
    resultEntry_ = entryBox(kResultCaption, "resultEntry");
    colorMatchingEntry_ = entryBox(kColorMatchingCaption, "colorMatchingEntry");
    pagesGrid->addWidget(stencilEntry_, 0, 0);
    pagesGrid->addWidget(resultEntry_, 1, 0);
    pagesGrid->addWidget(colorMatchingEntry_, 2, 0);
    for (int n = 1; n <= kChannelCount; ++n) {
        QCheckBox* box = entryBox(QString(), QString("channelEntry%1").arg(n));
        channelEntries_[static_cast<std::size_t>(n - 1)] = box;
        const int slot = n + 2;
        pagesGrid->addWidget(box, slot % 13, slot / 13);
    }
    pagesGrid->setRowStretch(13, 1);
    auto* checkAllButton = button("Check all", "checkAll", this);
    auto* uncheckAllButton = button("Uncheck all", "uncheckAll", this);
    pagesGrid->addWidget(checkAllButton, 14, 0);
    pagesGrid->addWidget(uncheckAllButton, 14, 1);
    columns->addWidget(pagesGroup, 3);

    // The thumbnails.
    auto* thumbsColumn = new QVBoxLayout;
    stencilThumbnail_ = new Thumbnail(screens_.workflow.stencil, this);
    stencilThumbnail_->setObjectName("stencilThumbnail");
    stencilThumbnail_->setFixedSize(180, 180);
    stencilThumbnail_->hide();
    resultThumbnail_ = new Thumbnail(screens_.workflow.resultThumbnail, this);
    resultThumbnail_->setObjectName("resultThumbnail");
    resultThumbnail_->setFixedSize(180, 180);
    resultThumbnail_->hide();
    thumbsColumn->addWidget(stencilThumbnail_);
    thumbsColumn->addWidget(resultThumbnail_);
    thumbsColumn->addStretch(1);
    columns->addLayout(thumbsColumn);

    // Placement, label and corners.
    auto* settingsColumn = new QVBoxLayout;
    auto* alignGroup = group("PRINT ALIGN", this);
    auto* alignGrid = new QGridLayout(alignGroup);
    align_ = new QButtonGroup(this);
    align_->setExclusive(true);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            auto* cell = new QToolButton;
            cell->setObjectName(QString("align%1%2").arg(c).arg(r));
            cell->setCheckable(true);
            cell->setFixedSize(40, 40);
            alignGrid->addWidget(cell, r, c);
            align_->addButton(cell, 3 * r + c);
        }
    }
    align_->button(4)->setChecked(true);
    settingsColumn->addWidget(alignGroup);

    const PageSettings defaults;
    auto* labelGroup = group("LABEL", this);
    auto* labelRow = new QHBoxLayout(labelGroup);
    labelOnTop_ = new QCheckBox(" PRINT  LABEL ON TOP");
    labelOnTop_->setObjectName("labelOnTop");
    fontSize_ = new ArrowSpinBox(kLabelPointsField.minimum, kLabelPointsField.maximum, defaults.labelPoints);
    fontSize_->setObjectName("fontSize");
    labelRow->addWidget(labelOnTop_);
    labelRow->addWidget(new QLabel("Font Size"));
    labelRow->addWidget(fontSize_);
    settingsColumn->addWidget(labelGroup);

    auto* cornersGroup = group("CORNERS", this);
    auto* cornersGrid = new QGridLayout(cornersGroup);
    pageCorners_ = new QCheckBox(" ADD ADJUSTMENT  CORNERS TO THE  PAGE");
    pageCorners_->setObjectName("pageCorners");
    cornerWidth_ = new ArrowSpinBox(kPageCornerWidthField.minimum, kPageCornerWidthField.maximum,
                                    defaults.cornerWidthMm, this);
    cornerWidth_->setObjectName("cornerWidth");
    cornerSize_ = new ArrowSpinBox(kPageCornerSizeField.minimum, kPageCornerSizeField.maximum,
                                   defaults.cornerSizeMm, this);
    cornerSize_->setObjectName("cornerSize");
    cornersGrid->addWidget(pageCorners_, 0, 0, 1, 3);
    cornersGrid->addWidget(new QLabel("Corner width"), 1, 0);
    cornersGrid->addWidget(cornerWidth_, 1, 1);
    cornersGrid->addWidget(new QLabel("mm"), 1, 2);
    cornersGrid->addWidget(new QLabel("Corner size"), 2, 0);
    cornersGrid->addWidget(cornerSize_, 2, 1);
    cornersGrid->addWidget(new QLabel("mm"), 2, 2);
    settingsColumn->addWidget(cornersGroup);

    auto* printButton = button("Print checked", "printChecked", this);
    settingsColumn->addWidget(printButton);

    auto* exportGroup = group("SAVE CHECKED PAGES", this);
    auto* exportGrid = new QGridLayout(exportGroup);
    asJpeg_ = new QRadioButton("As  JPEG");
    asJpeg_->setObjectName("asJpeg");
    asJpeg_->setChecked(true);
    asBmp_ = new QRadioButton("As BMP");
    asBmp_->setObjectName("asBmp");
    openTarget_ = new QCheckBox("OPEN TARGET");
    openTarget_->setObjectName("openTarget");
    auto* exportButton = button("Save checked as virtual printer...", "saveChecked", this);
    exportGrid->addWidget(asJpeg_, 0, 0);
    exportGrid->addWidget(asBmp_, 0, 1);
    exportGrid->addWidget(openTarget_, 0, 2);
    exportGrid->addWidget(exportButton, 1, 0, 1, 3);
    settingsColumn->addWidget(exportGroup);

    saveProject_ = button("Save project as ...", "saveProject", this);
    settingsColumn->addWidget(saveProject_);
    settingsColumn->addStretch(1);
    columns->addLayout(settingsColumn, 2);

    auto* buttons = new QHBoxLayout;
    top->addLayout(buttons);
    auto* closeButton = button("CLOSE", "close", this);
    auto* help = button("HELP", "help", this);
    auto* exitButton = button("EXIT", "exit", this);
    buttons->addWidget(closeButton);
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(exitButton);

    const auto wireEntry = [this](QCheckBox* box, PageEntry& entry) {
        connect(box, &QCheckBox::toggled, this, [this, &entry](bool ticked) { entryToggled(entry, ticked); });
    };
    PageEntries& entries = screens_.workflow.entries;
    wireEntry(stencilEntry_, entries.stencil);
    wireEntry(resultEntry_, entries.result);
    wireEntry(colorMatchingEntry_, entries.colorMatching);
    for (int n = 1; n <= kChannelCount; ++n)
        wireEntry(channelEntries_[static_cast<std::size_t>(n - 1)], entries.channel(n));

    connect(stencilThumbnail_, &Thumbnail::clicked, this,
            [this] { screens_.showPreview(screens_.workflow.stencil); });
    connect(resultThumbnail_, &Thumbnail::clicked, this,
            [this] { screens_.showPreview(screens_.workflow.resultThumbnail); });
    connect(checkAllButton, &QPushButton::clicked, this, &TForm029::checkAll);
    connect(uncheckAllButton, &QPushButton::clicked, this, &TForm029::uncheckAll);
    connect(printButton, &QPushButton::clicked, this,
            [this] { screens_.guard([this] { printCheckedPages(); }); });
    connect(exportButton, &QPushButton::clicked, this,
            [this] { screens_.guard([this] { saveCheckedPages(); }); });
    connect(saveProject_, &QPushButton::clicked, this,
            [this] { screens_.guard([this] { saveProjectAs(); }); });
    connect(closeButton, &QPushButton::clicked, this, &TForm029::closeToSelectTask);
    connect(help, &QPushButton::clicked, this, [this] { screens_.show(Window::PrintingHelp); });
    connect(exitButton, &QPushButton::clicked, this, [this] { screens_.askToEndApplication(); });
}

void TForm029::entryToggled(PageEntry& entry, bool ticked) {
    if (!showingEntries_) entry.ticked = ticked;
}

void TForm029::showEntries() {
    showingEntries_ = true;
    const auto show = [](QCheckBox* box, const PageEntry& entry) {
        box->setText(QString::fromStdString(entry.caption));
        box->setChecked(entry.ticked);
        box->setVisible(entry.shown);
    };
    const PageEntries& entries = screens_.workflow.entries;
    show(stencilEntry_, entries.stencil);
    show(resultEntry_, entries.result);
    show(colorMatchingEntry_, entries.colorMatching);
    for (int n = 1; n <= kChannelCount; ++n) {
        QCheckBox* box = channelEntries_[static_cast<std::size_t>(n - 1)];
        const PageEntry& entry = entries.channel(n);
        show(box, entry);
        const ColorValue c = entry.color;
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText,
                         c == kNoColor ? QColor(Qt::white) : QColor(redOf(c), greenOf(c), blueOf(c)));
        box->setPalette(palette);
    }
    showingEntries_ = false;
}

void TForm029::showMessageLine(const QString& text) {
    messageText_->setText(text);
    messageLine_->setVisible(!text.isEmpty());
}

void TForm029::showPages() {
    const Workflow& workflow = screens_.workflow;
    showMessageLine(QString::fromStdString(workflow.printerMessage()));
    saveProject_->setVisible(screens_.state.task != TaskMode::PrintSingleFile);
    stencilThumbnail_->setVisible(workflow.showStencilThumbnail);
    resultThumbnail_->setVisible(workflow.showResultThumbnail);
    stencilThumbnail_->refresh();
    resultThumbnail_->refresh();
    showEntries();
}

const PageEntries& TForm029::entries() const { return screens_.workflow.entries; }

PageSettings TForm029::pageSettings() const {
    PageSettings s;
    const int cell = align_->checkedId();
    s.horizontal = kColumns[cell % 3];
    s.vertical = kRows[cell / 3];
    s.labelOnTop = labelOnTop_->isChecked();
    s.labelPoints = fontSize_->value();
    s.pageCorners = pageCorners_->isChecked();
    s.cornerWidthMm = cornerWidth_->value();
    s.cornerSizeMm = cornerSize_->value();
    return s;
}

ExportSettings TForm029::exportSettings() const {
    ExportSettings s;
    s.fileType = asBmp_->isChecked() ? PageFileType::Bmp : PageFileType::Jpeg;
    s.openTarget = openTarget_->isChecked();
    return s;
}

void TForm029::checkAll() {
    screens_.workflow.entries.checkAll();
    showEntries();
}

void TForm029::uncheckAll() {
    screens_.workflow.entries.uncheckAll();
    showEntries();
}

void TForm029::printCheckedPages() {
    // The ticks are the queue: whatever printed is unticked, also when a later job fails.
    // A cancel takes effect before the next page; the pages printed stay printed.
    const PageSettings settings = pageSettings();
    screens_.runLong("Printing", [&] { screens_.workflow.printPages(settings); });
    showEntries();
}

void TForm029::saveCheckedPages() {
    // The label's points become pixels at this screen's resolution.
    const PageSettings settings = pageSettings();
    const ExportSettings exporting = exportSettings();
    const int screenDpi = logicalDpiY();
    screens_.runLong("Saving the pages",
                     [&] { screens_.workflow.exportPages(settings, exporting, screenDpi); });
}

void TForm029::saveProjectAs() {
    screens_.runLong(
        "Saving the project", [&] { screens_.workflow.savePrintingProject(); }, false);
}

void TForm029::closeToSelectTask() { screens_.goToSelectTask(this); }

void TForm029::closeEvent(QCloseEvent* event) {
    event->ignore();
    closeToSelectTask();
}

}  // namespace dg
