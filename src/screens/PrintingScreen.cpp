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

#include "output/Printing.h"
#include "platform/qt/QtImage.h"
#include "project/ProjectFolder.h"
#include "screens/ChannelsScreen.h"
#include "screens/ColorMatchingScreen.h"
#include "screens/InfoWindows.h"
#include "screens/OptionsScreen.h"
#include "screens/OutputSize.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "screens/Viewers.h"

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
    stencilThumbnail_ = new Thumbnail(screens_.form028->stencil, this);
    stencilThumbnail_->setObjectName("stencilThumbnail");
    stencilThumbnail_->setFixedSize(180, 180);
    stencilThumbnail_->hide();
    resultThumbnail_ = new Thumbnail(resultThumbnail, this);
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
    fontSize_ = new QSpinBox;
    fontSize_->setObjectName("fontSize");
    fontSize_->setRange(8, 72);
    fontSize_->setValue(defaults.labelPoints);
    labelRow->addWidget(labelOnTop_);
    labelRow->addWidget(new QLabel("Font Size"));
    labelRow->addWidget(fontSize_);
    settingsColumn->addWidget(labelGroup);

    auto* cornersGroup = group("CORNERS", this);
    auto* cornersGrid = new QGridLayout(cornersGroup);
    pageCorners_ = new QCheckBox(" ADD ADJUSTMENT  CORNERS TO THE  PAGE");
    pageCorners_->setObjectName("pageCorners");
    cornerWidth_ = new ArrowSpinBox(1, 50, defaults.cornerWidthMm, this);
    cornerWidth_->setObjectName("cornerWidth");
    cornerSize_ = new ArrowSpinBox(1, 500, defaults.cornerSizeMm, this);
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
    wireEntry(stencilEntry_, entries_.stencil);
    wireEntry(resultEntry_, entries_.result);
    wireEntry(colorMatchingEntry_, entries_.colorMatching);
    for (int n = 1; n <= kChannelCount; ++n)
        wireEntry(channelEntries_[static_cast<std::size_t>(n - 1)], entries_.channel(n));

    connect(stencilThumbnail_, &Thumbnail::clicked, this, [this] {
        screens_.pictures.preview = screens_.form028->stencil;
        screens_.form010->showPicture();
    });
    connect(resultThumbnail_, &Thumbnail::clicked, this, [this] {
        screens_.pictures.preview = resultThumbnail;
        screens_.form010->showPicture();
    });
    connect(checkAllButton, &QPushButton::clicked, this, &TForm029::checkAll);
    connect(uncheckAllButton, &QPushButton::clicked, this, &TForm029::uncheckAll);
    connect(printButton, &QPushButton::clicked, this,
            [this] { screens_.guard([this] { printCheckedPages(); }); });
    connect(exportButton, &QPushButton::clicked, this,
            [this] { screens_.guard([this] { saveCheckedPages(); }); });
    connect(saveProject_, &QPushButton::clicked, this,
            [this] { screens_.guard([this] { saveProjectAs(); }); });
    connect(closeButton, &QPushButton::clicked, this, &TForm029::closeToSelectTask);
    connect(help, &QPushButton::clicked, this, [this] { screens_.help029->show(); });
    connect(exitButton, &QPushButton::clicked, this, [this] { screens_.endApplication(); });
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
    show(stencilEntry_, entries_.stencil);
    show(resultEntry_, entries_.result);
    show(colorMatchingEntry_, entries_.colorMatching);
    for (int n = 1; n <= kChannelCount; ++n) {
        QCheckBox* box = channelEntries_[static_cast<std::size_t>(n - 1)];
        const PageEntry& entry = entries_.channel(n);
        show(box, entry);
        const ColorValue c = entry.color;
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText,
                         c == kNoColor ? QColor(Qt::white) : QColor(redOf(c), greenOf(c), blueOf(c)));
        box->setPalette(palette);
    }
    showingEntries_ = false;
}

void TForm029::hideMessageLine() { messageLine_->hide(); }

void TForm029::showMessageLine(const QString& text) {
    messageText_->setText(text);
    messageLine_->show();
}

void TForm029::setSaveProjectVisible(bool visible) { saveProject_->setVisible(visible); }

void TForm029::setEntries(const PageEntries& entries, bool showStencilThumbnail, bool showResultThumbnail) {
    entries_ = entries;
    stencilThumbnail_->setVisible(showStencilThumbnail);
    resultThumbnail_->setVisible(showResultThumbnail);
    stencilThumbnail_->refresh();
    resultThumbnail_->refresh();
    showEntries();
}

void TForm029::offerResultOnly() {
    PageEntries single;
    single.result.shown = single.result.ticked = true;
    setEntries(single, false, true);
}

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

PagePictures TForm029::pictures() const {
    const ChannelSet& channels = screens_.form019->channelSet;
    return PagePictures{screens_.form028->stencil, channels.after, screens_.form023->page, &channels};
}

void TForm029::checkAll() {
    entries_.checkAll();
    showEntries();
}

void TForm029::uncheckAll() {
    entries_.uncheckAll();
    showEntries();
}

void TForm029::printCheckedPages() {
    // The ticks are the queue: whatever printed is unticked, also when a later job fails.
    printChecked(entries_, pictures(), screens_.state, pageSettings(), screens_.platform.printer,
                 screens_.platform.dialogs);
    showEntries();
}

void TForm029::saveCheckedPages() {
    exportCheckedPages(entries_, pictures(), screens_.state, pageSettings(), exportSettings(), logicalDpiY(),
                       screens_.platform);
}

void TForm029::saveProjectAs() {
    const ChannelSet& channels = screens_.form019->channelSet;
    const RgbImage* stencil = screens_.form028->stencilMade ? &screens_.form028->stencil : nullptr;
    // A reopened project did not start from the picture last taken in (that one, if any,
    // belongs to earlier work of this run), so its SOURCE picture stands in for it.
    const PictureBuffers& pictures = screens_.pictures;
    const RgbImage& taken =
        screens_.state.task == TaskMode::PrintOldProject ? pictures.source : pictures.intake;
    saveProject(printingScreenProject(taken, pictures.source, channels, stencil), screens_.state,
                screens_.platform.dialogs, screens_.platform.files);
}

void TForm029::closeToSelectTask() { screens_.goToSelectTask(this, screens_.help029.get()); }

void TForm029::closeEvent(QCloseEvent* event) {
    event->ignore();
    closeToSelectTask();
}

}  // namespace dg
