#pragma once

#include <QString>
#include <QWidget>

class QCloseEvent;
class QLabel;
class QPlainTextEdit;
class QPixmap;
class QPushButton;

namespace dg {

class Shell;

// The common part of every information window: it is shown by one button elsewhere and goes
// away by its own close bar or button or by the title bar. Both ways end in closed(), so the
// screens that opened a window can bring back what they hid for it. Hiding the window from
// code (a screen leaving with NEXT or BACK) does not count as closing it.
class InfoWindow : public QWidget {
    Q_OBJECT
public:
    explicit InfoWindow(const QString& caption, QWidget* parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

// A window of fixed text: a close bar across the top and the read-only, scrollable text below.
class TextWindow : public InfoWindow {
    Q_OBJECT
public:
    // textName is the file under the program's ":/text/" resources.
    TextWindow(const QString& caption, const QString& closeCaption, const QString& textName,
               QWidget* parent = nullptr);

    QString text() const;

private:
    QPlainTextEdit* textBox_ = nullptr;
};

// Loads one of the program's fixed texts, without the final line break of the file. A text
// missing from the program is a fault of the build, reported as a failure.
QString fixedText(const QString& textName);

// A help window: caption "Help", covering the desktop, with a "Close" bar.
class HelpWindow : public TextWindow {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& textName, QWidget* parent = nullptr);
};

// One help window per working screen.
class THelp001 : public HelpWindow {  // SELECT TASK
    Q_OBJECT
public:
    explicit THelp001(QWidget* parent = nullptr);
};

class Thelp004 : public HelpWindow {  // OUTPUT SIZE AND RESOLUTION
    Q_OBJECT
public:
    explicit Thelp004(QWidget* parent = nullptr);
};

class Thelp005 : public HelpWindow {  // TRIBAL CREATION
    Q_OBJECT
public:
    explicit Thelp005(QWidget* parent = nullptr);
};

class Thelp019 : public HelpWindow {  // CHANNELS / COLORS
    Q_OBJECT
public:
    explicit Thelp019(QWidget* parent = nullptr);
};

class Thelp021 : public HelpWindow {  // COLOR REDUCTION AND SEPARATION
    Q_OBJECT
public:
    explicit Thelp021(QWidget* parent = nullptr);
};

class Thelp023 : public HelpWindow {  // COLOR MATCHING
    Q_OBJECT
public:
    explicit Thelp023(QWidget* parent = nullptr);
};

class Thelp028 : public HelpWindow {  // OPTIONS
    Q_OBJECT
public:
    explicit Thelp028(QWidget* parent = nullptr);
};

class Thelp029 : public HelpWindow {  // PRINTING
    Q_OBJECT
public:
    explicit Thelp029(QWidget* parent = nullptr);
};

class ThelpEnhance : public HelpWindow {  // enhance
    Q_OBJECT
public:
    explicit ThelpEnhance(QWidget* parent = nullptr);
};

class ThelpChange : public HelpWindow {  // CHANGE COLORS
    Q_OBJECT
public:
    explicit ThelpChange(QWidget* parent = nullptr);
};

class ThelpMerge : public HelpWindow {  // MERGE COLORS/CHANNELS
    Q_OBJECT
public:
    explicit ThelpMerge(QWidget* parent = nullptr);
};

// What the program does, opened by "DESCRIPTION" on SELECT TASK.
class TDescription : public TextWindow {
    Q_OBJECT
public:
    explicit TDescription(QWidget* parent = nullptr);
};

// The terms of use, opened by "Terms And Conditions" on SELECT TASK.
class TTerms : public TextWindow {
    Q_OBJECT
public:
    explicit TTerms(QWidget* parent = nullptr);
};

// The outline-colour warning, shown when the stencil is to be made in black.
class TWarning : public InfoWindow {
    Q_OBJECT
public:
    explicit TWarning(QWidget* parent = nullptr);

    QString text() const;

private:
    QPlainTextEdit* textBox_ = nullptr;
};

// Program name, version, the SELECT TASK logo and the maker's link.
class TAbout : public InfoWindow {
    Q_OBJECT
public:
    static constexpr const char* makerLink = "https://www.example.com/dermagraph";

    explicit TAbout(Shell& shell, QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);

private:
    Shell& shell_;
    QLabel* picture_ = nullptr;
};

}  // namespace dg
