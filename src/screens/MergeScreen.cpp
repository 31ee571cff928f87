#include "screens/MergeScreen.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "platform/qt/QtImage.h"
#include "screens/ScreenGeometry.h"
#include "screens/ScreenLook.h"
#include "screens/ScreenSet.h"

namespace dg {

// A picture of the merge screen, scaled down to fit its box; a click opens it in PREVIEW.
// It shows whatever picture it points at when it paints.
class MergePicture : public QWidget {
public:
    MergePicture(const char* name, QWidget* parent) : QWidget(parent) { setObjectName(name); }

    void setPicture(const RgbImage* picture) {
        picture_ = picture;
        update();
    }
    const RgbImage* picture() const { return picture_; }
    std::function<void()> onClick;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (picture_ == nullptr || picture_->empty()) return;
        const QSize fitted = QSize(picture_->width(), picture_->height()).scaled(size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(QPoint(0, 0), fitted.expandedTo(QSize(1, 1))), qimageView(*picture_));
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
            onClick();
    }

private:
    const RgbImage* picture_ = nullptr;
};

namespace {

constexpr int kChoiceWidth = 280;
constexpr int kChoiceHeight = 26;

QColor qcolor(ColorValue c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }
ColorValue colorValue(const QColor& c) { return makeColor(c.red(), c.green(), c.blue()); }

void paint(QWidget* w, const QColor& face, const QColor& text) {
    QPalette palette = w->palette();
    // Buttons (the choices) fill their background from the Button role.
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

QLabel* label(const QString& text, const char* name, QWidget* parent, QRect where) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(where);
    return l;
}

using look::button;

}  // namespace

TForm020::TForm020(ScreenSet& screens) : screens_(screens) {
    setObjectName("TForm020");
    setWindowTitle("MERGE COLORS/CHANNELS");
    placeAsWorkingScreen(this);
    buildControls();
}

TForm020::~TForm020() = default;

void TForm020::buildControls() {
    label("<<< HIGH PRESENTED COLORS    ", "highHeading", this, {10, 8, 280, 20});
    label("    LOW PRESENTED COLORS >>>", "lowHeading", this, {300, 8, 280, 20});
    label("<< SELECT A COLOR", "selectHint", this, {600, 40, 200, 20});

    auto* choicePanel = new QWidget(this);
    choicePanel->setObjectName("choices");
    choicePanel->setGeometry(0, 30, 600, 420);
    for (int n = 1; n <= kChannelCount; ++n) {
        auto* choice = new QCheckBox(choicePanel);
        choice->setObjectName(QString("CheckBox%1").arg(n));
        // Until the sequence places it, a choice stands in the row of its channel number.
        choice->setGeometry(n <= 12 ? 10 : 300, 30 * ((n - 1) % 12), kChoiceWidth, kChoiceHeight);
        choice->hide();
        connect(choice, &QCheckBox::toggled, this, [this, n](bool on) { choiceToggled(n, on); });
        choices_[static_cast<std::size_t>(n - 1)] = choice;

        auto* caption = new QLabel("0", this);
        caption->setObjectName(QString("countCaption%1").arg(n));
        caption->hide();
        countCaptions_[static_cast<std::size_t>(n - 1)] = caption;
    }

    color1Swatch_ = label("COLOR 1", "color1Swatch", this, {600, 70, 160, 60});
    color1Swatch_->setAlignment(Qt::AlignCenter);
    color1Swatch_->setFrameShape(QFrame::Box);
    color1Swatch_->hide();
    color2Swatch_ = label("COLOR 2", "color2Swatch", this, {780, 70, 160, 60});
    color2Swatch_->setAlignment(Qt::AlignCenter);
    // The screen's background is the offered colour too: a broad frame in the caption's
    // colour keeps the box apart from it.
    for (QLabel* swatch : {color1Swatch_, color2Swatch_}) {
        swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
        swatch->setLineWidth(3);
    }

    label("REPLACE WITH  COLOR:", "replaceCaption", this, {600, 140, 200, 20});
    replaceColor1_ = new QRadioButton("COLOR 1", this);
    replaceColor1_->setObjectName("replaceColor1");
    replaceColor1_->setGeometry(600, 162, 100, 22);
    replaceColor1_->setChecked(true);
    replaceColor2_ = new QRadioButton("COLOR 2", this);
    replaceColor2_->setObjectName("replaceColor2");
    replaceColor2_->setGeometry(710, 162, 100, 22);

    label("BEFORE", "beforeCaption", this, {600, 192, 190, 18});
    before_ = new MergePicture("before", this);
    before_->setGeometry(600, 212, 190, 190);
    label("AFTER", "afterCaption", this, {800, 192, 190, 18});
    after_ = new MergePicture("after", this);
    after_->setGeometry(800, 212, 190, 190);

    label("Click For Preview", "previewCaption", this, {600, 412, 250, 18});
    chosenPreview_ = new MergePicture("chosenPreview", this);
    chosenPreview_->setGeometry(600, 432, 120, 120);
    chosenPreview_->hide();
    offeredPreview_ = new MergePicture("offeredPreview", this);
    offeredPreview_->setGeometry(730, 432, 120, 120);
    for (MergePicture* p : {before_, after_, chosenPreview_, offeredPreview_})
        p->onClick = [this, p] { preview(p->picture()); };

    label("FINAL COLORS:", "finalColorsCaption", this, {10, 470, 110, 22});
    finalColors_ = label("0", "finalColors", this, {120, 470, 60, 22});

    auto* find = button("AUTOMATIC FIND", "automaticFind", this, {10, 510, 150, 40});
    ok_ = button("OK", "ok", this, {170, 510, 100, 40});
    ok_->setEnabled(false);
    auto* skip = button("SKIP", "skip", this, {280, 510, 100, 40});
    auto* finish = button("FINISH ", "finish", this, {390, 510, 100, 40});
    auto* help = button("Help", "help", this, {500, 510, 80, 40});
    connect(find, &QPushButton::clicked, this, [this] { automaticFindClick(); });
    connect(ok_, &QPushButton::clicked, this, [this] { okClick(); });
    connect(skip, &QPushButton::clicked, this, [this] { skipClick(); });
    connect(finish, &QPushButton::clicked, this, [this] { finishClick(); });
    connect(help, &QPushButton::clicked, this, [this] { helpClick(); });
}

void TForm020::message(const std::string& text) { screens_.platform.dialogs.message(text); }

MergeDecision TForm020::offer(const MergeOffer& offer) {
    offer_ = &offer;
    answered_ = false;
    decision_ = MergeDecision{MergeAnswer::Close, 0, offer.mode};

    // The screen as the sequence prepares it: OK disabled, the choices, C2 as background.
    ok_->setEnabled(false);
    finalColors_->setText(QString::number(offer.finalColors));
    untickAll();
    for (int n = 1; n <= kChannelCount; ++n) {
        const MergeChoice& c = offer.choices[static_cast<std::size_t>(n - 1)];
        QCheckBox* choice = choices_[static_cast<std::size_t>(n - 1)];
        choice->setVisible(c.shown);
        if (!c.shown) continue;
        choice->setText(QString::fromStdString(c.caption));
        paint(choice, qcolor(c.color), qcolor(c.textColor));
        if (c.placed) choice->setGeometry(c.left, c.top, kChoiceWidth, kChoiceHeight);
    }
    background_ = qcolor(offer.color);
    // The captions on the screen stay readable on the offered colour.
    look::setBackground(this, background_);
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, qcolor(choiceTextColor(offer.color)));
    setPalette(palette);
    setReplaceMode(offer.mode);

    // Refresh, as the sequence has just done it on the masks.
    showCountCaptions(offer.set);
    ok_->show();
    chosenPreview_->hide();
    chosenPreview_->setPicture(nullptr);
    showColor2(offer.color);
    color1Swatch_->hide();
    before_->setPicture(&offer.before);
    after_->setPicture(&offer.after);
    offeredPreview_->setPicture(&offer.preview);

    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    emit offerShown(offer.channel);
    if (!answered_) loop_.exec();

    // The offer's pictures belong to the sequence; keep nothing that points into them.
    hide();
    before_->setPicture(nullptr);
    after_->setPicture(nullptr);
    offeredPreview_->setPicture(nullptr);
    chosenPreview_->setPicture(nullptr);
    offer_ = nullptr;
    screens_.go(Move::MergeOfferAnswered);
    return decision_;
}

void TForm020::sequenceStarting() {
    finishFlag = false;
    after.clear();
}

void TForm020::sequenceEnded(const ChannelSet& set) {
    showCountCaptions(set);
    ok_->show();
    chosenPreview_->hide();
    showColor2(offeredColour_);
    after = set.after;
    after_->setPicture(&after);
    untickAll();
}

void TForm020::showCountCaptions(const ChannelSet& set) {
    for (int n = 1; n <= kChannelCount; ++n) {
        QLabel* caption = countCaptions_[static_cast<std::size_t>(n - 1)];
        caption->setText(QString::number(set.counts[static_cast<std::size_t>(n - 1)]));
        const ColorValue c = set.colorOf(n);
        paint(caption, c == kNoColor ? QColor(Qt::white) : qcolor(c), Qt::black);
    }
}

void TForm020::showColor2(ColorValue offered) {
    // COLOR 2 is the offered channel's colour, taken from the channel, not from the window.
    offeredColour_ = offered;
    paint(color2Swatch_, qcolor(offered), qcolor(choiceTextColor(offered)));
}

int TForm020::tickedChoice() const {
    for (int n = 1; n <= kChannelCount; ++n)
        if (choices_[static_cast<std::size_t>(n - 1)]->isChecked()) return n;
    return 0;
}

ReplaceMode TForm020::replaceMode() const {
    return replaceColor2_->isChecked() ? ReplaceMode::Color2 : ReplaceMode::Color1;
}

void TForm020::setReplaceMode(ReplaceMode mode) {
    (mode == ReplaceMode::Color2 ? replaceColor2_ : replaceColor1_)->setChecked(true);
}

void TForm020::choiceToggled(int n, bool ticked) {
    if (ticked) {
        // At most one choice is ticked.
        for (int m = 1; m <= kChannelCount; ++m)
            if (m != n) choices_[static_cast<std::size_t>(m - 1)]->setChecked(false);
        ok_->setEnabled(true);
        const QColor colour =
            offer_ != nullptr ? qcolor(offer_->choices[static_cast<std::size_t>(n - 1)].color)
                              : choices_[static_cast<std::size_t>(n - 1)]->palette().color(QPalette::Window);
        paint(color1Swatch_, colour, qcolor(choiceTextColor(colorValue(colour))));
        color1Swatch_->show();
        if (offer_ != nullptr) chosenPreview_->setPicture(&offer_->set.channel(n).mask);
        chosenPreview_->show();
        return;
    }
    if (tickedChoice() == 0) {
        color1Swatch_->hide();
        // OK with nothing ticked would close the dialog as merged without merging anything.
        ok_->setEnabled(false);
    }
}

void TForm020::untickAll() {
    for (QCheckBox* choice : choices_) choice->setChecked(false);
    color1Swatch_->hide();
}

void TForm020::automaticFindClick() {
    if (offer_ == nullptr) return;
    const int found = automaticFind(offer_->choices, colorValue(background_));
    if (found == 0) return;
    const ColorValue colour = offer_->choices[static_cast<std::size_t>(found - 1)].color;
    for (int n = 1; n <= kChannelCount; ++n) {
        const MergeChoice& c = offer_->choices[static_cast<std::size_t>(n - 1)];
        if (c.shown && c.color == colour) choices_[static_cast<std::size_t>(n - 1)]->setChecked(true);
    }
}

void TForm020::okClick() {
    const int chosen = tickedChoice();
    if (chosen == 0 || offer_ == nullptr) return;
    decision_ = MergeDecision{MergeAnswer::Ok, chosen, replaceMode()};
    ok_->setEnabled(false);
    untickAll();
    setReplaceMode(ReplaceMode::Color1);
    answer(MergeAnswer::Ok);
}

void TForm020::skipClick() {
    ok_->setEnabled(false);
    untickAll();
    setReplaceMode(ReplaceMode::Color1);
    decision_ = MergeDecision{MergeAnswer::Skip, 0, ReplaceMode::Color1};
    answer(MergeAnswer::Skip);
}

void TForm020::finishClick() {
    finishFlag = true;
    decision_ = MergeDecision{MergeAnswer::Finish, 0, replaceMode()};
    answer(MergeAnswer::Finish);
}

void TForm020::helpClick() { screens_.go(Move::MergeHelp, this); }

void TForm020::preview(const RgbImage* picture) {
    if (picture == nullptr) return;
    screens_.go(Move::MergePreview, this);
    screens_.showPreview(*picture);
}

void TForm020::answer(MergeAnswer kind) {
    decision_.answer = kind;
    answered_ = true;
    hide();
    loop_.quit();
}

void TForm020::closeEvent(QCloseEvent* event) {
    // Closing the window answers the offer without OK; the replace mode stays as it is.
    if (offer_ != nullptr && !answered_) {
        decision_ = MergeDecision{MergeAnswer::Close, 0, replaceMode()};
        answered_ = true;
        loop_.quit();
    }
    event->accept();
}

}  // namespace dg
