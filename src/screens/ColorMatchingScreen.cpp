#include "screens/ColorMatchingScreen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <cmath>

#include "formats/Bmp.h"
#include "output/PortraitPrint.h"
#include "platform/FileSystem.h"
#include "screens/PictureBox.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "separation/ColorMatching.h"

namespace dg {

namespace {

constexpr int kRowLeft = 10;
constexpr int kPageLeft = 505;
constexpr int kPageTop = 56;

using look::button;

QColor qcolor(ColorValue c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

std::string fileNameOnly(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TForm023::TForm023(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm023");
    setWindowTitle("COLOR MATCHING");
    placeAsWorkingScreen(this);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    setPalette(palette);
    buildControls();
}

void TForm023::buildControls() {
    auto* header = new QLabel(kColorMatchingHeader, this);
    header->setObjectName("header");
    header->setStyleSheet("font-weight: bold;");
    header->setGeometry(kRowLeft, 30, 480, 20);

    for (int n = 1; n <= kChannelCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        const int y = 56 + 20 * (n - 1);
        auto* box = new QCheckBox(this);
        box->setObjectName(QString("CheckBox%1").arg(n));
        // Read-only: the row reports the channels screen's tick, the user cannot change it.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
        box->setAutoFillBackground(true);
        box->setGeometry(kRowLeft, y, 150, 18);
        box->hide();
        auto* rgb = new QLabel(this);
        rgb->setObjectName(QString("rgbText%1").arg(n));
        rgb->setGeometry(kRowLeft + 180, y, 130, 18);
        rgb->hide();
        auto* hex = new QLabel(this);
        hex->setObjectName(QString("hexText%1").arg(n));
        hex->setGeometry(kRowLeft + 330, y, 130, 18);
        hex->hide();
        rowBoxes_[i] = box;
        rgbTexts_[i] = rgb;
        hexTexts_[i] = hex;
    }

    pageBox_ = new PictureBox(screens_.workflow.matching.page, this);
    pageBox_->setObjectName("Image1");
    pageBox_->setGeometry(kPageLeft, kPageTop, kColorMatchingPageWidth, kColorMatchingPageHeight);

    mixingList_ = new QListWidget(this);
    mixingList_->setObjectName("mixingList");
    mixingList_->setGeometry(kRowLeft, 530, 480, 120);

    auto* save = button("Save color matching as ..BMP", "saveAsBmp", this, {kPageLeft, 545, 250, 40});
    auto* print =
        button(" Print color matching", "printColorMatching", this, {kPageLeft + 255, 545, 250, 40});
    auto* chart =
        button("Show all primary colors for mixing", "showInkChart", this, {kPageLeft, 590, 505, 40});
    auto* back = button("<< BACK", "back", this, {kRowLeft, 665, 120, 40});
    auto* help = button("HELP", "help", this, {kRowLeft + 130, 665, 120, 40});
    auto* close = button("Close", "close", this, {kRowLeft + 260, 665, 120, 40});
    auto* next = button("NEXT >>", "next", this, {kPageLeft + 340, 665, 165, 40});

    connect(save, &QPushButton::clicked, this, [this] { screens_.guard([this] { saveAsBmp(); }); });
    connect(print, &QPushButton::clicked, this, [this] { screens_.guard([this] { printColorMatching(); }); });
    connect(chart, &QPushButton::clicked, this, [this] { screens_.guard([this] { showInkChart(); }); });
    connect(back, &QPushButton::clicked, this, &TForm023::back);
    connect(help, &QPushButton::clicked, this, [this] { screens_.show(Window::ColorMatchingHelp); });
    connect(close, &QPushButton::clicked, this, &TForm023::closeToSelectTask);
    connect(next, &QPushButton::clicked, this, &TForm023::next);
}

void TForm023::enter() {
    screens_.workflow.matchColours();
    const ColorMatching& matching = screens_.workflow.matching;
    mixingList_->clear();
    for (int n = 1; n <= kChannelCount; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        const ColorMatchingRow& row = matching.rows[i];
        QCheckBox* box = rowBoxes_[i];
        box->setChecked(false);
        box->hide();
        rgbTexts_[i]->hide();
        hexTexts_[i]->hide();
        QPalette palette = box->palette();
        if (row.boxColor != kNoColor) {
            palette.setColor(QPalette::Window, qcolor(row.boxColor));
            palette.setColor(QPalette::Button, qcolor(row.boxColor));
        }
        rgbTexts_[i]->setText(QString::fromStdString(row.rgbText));
        hexTexts_[i]->setText(QString::fromStdString(row.hexText));
        if (row.shown) {
            box->setText(QString::fromStdString(row.caption));
            palette.setColor(QPalette::WindowText, qcolor(row.captionColor));
            palette.setColor(QPalette::ButtonText, qcolor(row.captionColor));
            box->setChecked(true);
            box->show();
            rgbTexts_[i]->show();
            hexTexts_[i]->show();
        }
        box->setPalette(palette);
        mixingList_->addItem(QString::fromStdString(matching.mixingList[i]));
    }
    pageBox_->update();
    show();
}

void TForm023::saveAsBmp() {
    Dialogs& dialogs = screens_.platform.dialogs;
    FileSystem& files = screens_.platform.files;
    const auto chosen = dialogs.saveAs();
    if (!chosen) return;
    // The extension is always added, also to a name that already ends in it.
    const std::string path = *chosen + ".bmp";
    if (files.exists(path) &&
        !dialogs.askYesNo("Do you really want to replace " + fileNameOnly(path) + " ?")) {
        dialogs.message("Not Saved! Please Save Again With Another File Name! ");
        return;
    }
    // The page prints stretched over a portrait page, so that is its size on paper.
    const Printer& printer = screens_.platform.printer;
    const bool landscape = printer.orientation() == Orientation::Landscape;
    const double widthMm = landscape ? printer.heightMm() : printer.widthMm();
    const double heightMm = landscape ? printer.widthMm() : printer.heightMm();
    const RgbImage& page = screens_.workflow.matching.page;
    std::vector<std::uint8_t> file = encodeBmp(page);
    if (widthMm > 0 && heightMm > 0)
        setBmpPixelsPerMetre(file, static_cast<std::uint32_t>(std::lround(page.width() * 1000.0 / widthMm)),
                             static_cast<std::uint32_t>(std::lround(page.height() * 1000.0 / heightMm)));
    files.writeFile(path, file);
}

void TForm023::printColorMatching() {
    printStretchedPortrait(screens_.workflow.matching.page, screens_.platform.printer,
                           screens_.platform.dialogs, "COLOR MATCHING");
}

void TForm023::showInkChart() { screens_.go(Move::InkChart); }

void TForm023::back() { screens_.go(Move::ColorMatchingBack, this); }

void TForm023::next() { screens_.go(Move::ColorMatchingNext, this); }

void TForm023::closeToSelectTask() { screens_.goToSelectTask(this); }

void TForm023::closeEvent(QCloseEvent* event) {
    event->ignore();
    back();
}

}  // namespace dg
