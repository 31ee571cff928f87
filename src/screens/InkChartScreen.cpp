#include "screens/InkChartScreen.h"

#include <QPushButton>

#include "output/PortraitPrint.h"
#include "screens/PictureBox.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"
#include "separation/InkChart.h"

namespace dg {

TForm024::TForm024(ScreenSet& screens) : chart(primaryInkChart()), screens_(screens) {
    setObjectName("TForm024");
    setWindowTitle("Form024");
    // A small window of its own over COLOR MATCHING, big enough for the chart and its buttons.
    setGeometry(300, 80, kInkChartWidth + 20, kInkChartHeight + 70);
    chartBox_ = new PictureBox(chart, this);
    chartBox_->setObjectName("Image1");
    chartBox_->setGeometry(10, 10, kInkChartWidth, kInkChartHeight);
    auto* printButton = new QPushButton("PRINT", this);
    printButton->setObjectName("print");
    look::setFace(printButton, look::kSkyBlue);
    printButton->setGeometry(10, kInkChartHeight + 20, 165, 40);
    auto* closeButton = new QPushButton("CLOSE WINDOW", this);
    closeButton->setObjectName("closeWindow");
    look::setFace(closeButton, look::kSkyBlue);
    closeButton->setGeometry(kInkChartWidth + 10 - 165, kInkChartHeight + 20, 165, 40);
    connect(printButton, &QPushButton::clicked, this, [this] { screens_.guard([this] { print(); }); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
}

void TForm024::print() {
    printStretchedPortrait(chart, screens_.platform.printer, screens_.platform.dialogs, "PRIMARY COLORS");
}

}  // namespace dg
