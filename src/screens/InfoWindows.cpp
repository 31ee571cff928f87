#include "screens/InfoWindows.h"

#include <QCloseEvent>
#include <QFile>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "imaging/Failure.h"
#include "platform/Shell.h"

namespace dg {

namespace {

QPlainTextEdit* makeTextBox(const QString& text, QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName("textBox");
    box->setReadOnly(true);
    box->setPlainText(text);
    return box;
}

QPushButton* makeCloseButton(const QString& caption, InfoWindow* window) {
    auto* button = new QPushButton(caption, window);
    button->setObjectName("closeButton");
    // Through close(), so that the button and the title bar take the same way out.
    QObject::connect(button, &QPushButton::clicked, window, &QWidget::close);
    return button;
}

}  // namespace

QString fixedText(const QString& textName) {
    QFile file(":/text/" + textName);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure("The text " + textName.toStdString() + " is missing from the program.");
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith('\n')) text.chop(1);
    return text;
}

InfoWindow::InfoWindow(const QString& caption, QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(caption);
    // Closing a help or information window must never end the program, even when it is the
    // last window on the desktop.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void InfoWindow::closeEvent(QCloseEvent* event) {
    // close() on a window that is already hidden still delivers the event; only a window the
    // user actually had in front of them is "closed".
    const bool wasVisible = isVisible();
    event->accept();
    if (wasVisible) {
        hide();
        emit closed();
    }
}

TextWindow::TextWindow(const QString& caption, const QString& closeCaption, const QString& textName,
                       QWidget* parent)
    : InfoWindow(caption, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = makeCloseButton(closeCaption, this);
    bar->setMinimumHeight(28);
    layout->addWidget(bar);
    textBox_ = makeTextBox(fixedText(textName), this);
    layout->addWidget(textBox_, 1);
}

QString TextWindow::text() const { return textBox_->toPlainText(); }

HelpWindow::HelpWindow(const QString& textName, QWidget* parent)
    : TextWindow("Help", "Close", textName, parent) {
    setGeometry(0, 0, 1024, 733);
}

THelp001::THelp001(QWidget* parent) : HelpWindow("help001.txt", parent) { setObjectName("THelp001"); }
Thelp004::Thelp004(QWidget* parent) : HelpWindow("help004.txt", parent) { setObjectName("Thelp004"); }
Thelp005::Thelp005(QWidget* parent) : HelpWindow("help005.txt", parent) { setObjectName("Thelp005"); }
Thelp019::Thelp019(QWidget* parent) : HelpWindow("help019.txt", parent) { setObjectName("Thelp019"); }
Thelp021::Thelp021(QWidget* parent) : HelpWindow("help021.txt", parent) { setObjectName("Thelp021"); }
Thelp023::Thelp023(QWidget* parent) : HelpWindow("help023.txt", parent) { setObjectName("Thelp023"); }
Thelp028::Thelp028(QWidget* parent) : HelpWindow("help028.txt", parent) { setObjectName("Thelp028"); }
Thelp029::Thelp029(QWidget* parent) : HelpWindow("help029.txt", parent) { setObjectName("Thelp029"); }
ThelpEnhance::ThelpEnhance(QWidget* parent) : HelpWindow("helpEnhance.txt", parent) {
    setObjectName("ThelpEnhance");
}
ThelpChange::ThelpChange(QWidget* parent) : HelpWindow("helpChange.txt", parent) {
    setObjectName("ThelpChange");
}
ThelpMerge::ThelpMerge(QWidget* parent) : HelpWindow("helpMerge.txt", parent) { setObjectName("ThelpMerge"); }

TDescription::TDescription(QWidget* parent) : TextWindow("Description", "CLOSE", "description.txt", parent) {
    setObjectName("TDescription");
    setGeometry(0, 0, 1024, 733);
}

TTerms::TTerms(QWidget* parent) : TextWindow("Terms And Conditions", "Close", "terms.txt", parent) {
    setObjectName("TTerms");
    setGeometry(0, 0, 1024, 733);
}

TWarning::TWarning(QWidget* parent) : InfoWindow("Warning", parent) {
    setObjectName("TWarning");
    setGeometry(243, 129, 559, 369);
    auto* layout = new QVBoxLayout(this);
    textBox_ = makeTextBox(fixedText("warning.txt"), this);
    // Larger than the other texts, and the seven lines kept as they are written.
    QFont font = textBox_->font();
    font.setPointSize(12);
    textBox_->setFont(font);
    textBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(textBox_, 1);
    layout->addWidget(makeCloseButton("Close", this));
}

QString TWarning::text() const { return textBox_->toPlainText(); }

TAbout::TAbout(Shell& shell, QWidget* parent) : InfoWindow("About", parent), shell_(shell) {
    setObjectName("TAbout");
    setGeometry(300, 180, 420, 400);
    auto* layout = new QVBoxLayout(this);

    auto* name = new QLabel("Dermagraph", this);
    name->setObjectName("programName");
    QFont nameFont = name->font();
    nameFont.setPointSize(20);
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);

    auto* version = new QLabel("V 1.0.", this);
    version->setObjectName("version");
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);

    picture_ = new QLabel(this);
    picture_->setObjectName("picture");
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setMinimumSize(200, 160);
    layout->addWidget(picture_, 1);

    auto* maker = new QLabel("Dermagraph Software", this);
    maker->setAlignment(Qt::AlignCenter);
    layout->addWidget(maker);

    // A flat button rather than a rich-text label: the link must go through the Shell service
    // (which tests replace), never straight to the desktop from the widget.
    auto* link = new QPushButton(makerLink, this);
    link->setObjectName("link");
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet("color: blue; text-decoration: underline;");
    connect(link, &QPushButton::clicked, this, [this] { shell_.openLink(makerLink); });
    layout->addWidget(link);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(makeCloseButton("Close", this));
    row->addStretch(1);
    layout->addLayout(row);
}

void TAbout::setPicture(const QPixmap& picture) {
    // A large logo is shown smaller so that the window keeps its size.
    const QSize room(380, 240);
    if (picture.width() > room.width() || picture.height() > room.height())
        picture_->setPixmap(picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        picture_->setPixmap(picture);
}

}  // namespace dg
