#pragma once

#include <QWidget>

#include "app/StepTrigger.h"

class QPushButton;

namespace dg {

class PictureBox;
class PictureView;
class ScreenSet;

// The SOURCE viewer: the picture being worked on, always on top, captioned with its number
// of colours after every refresh. It scrolls and zooms (PictureView); at first it shows the
// picture at one screen pixel per picture pixel from the top left.
class TForm002 : public QWidget {
    Q_OBJECT
public:
    explicit TForm002(ScreenSet& screens);

    // SOURCE refresh: "SOURCE : " + the number of colours + "  COLORS".
    void refresh();
    // A click on the picture opens it in PREVIEW, in the tribal task only.
    void Image1Click();

    PictureView& view() const { return *view_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    ScreenSet& screens_;
    PictureView* view_ = nullptr;
    PictureBox* Image1 = nullptr;
};

// The RESULT viewer: the current result, always on top, scrolling and zooming as SOURCE
// does. A click opens it in PREVIEW.
class TForm003 : public QWidget {
    Q_OBJECT
public:
    explicit TForm003(ScreenSet& screens);

    void Image1Click();

    PictureView& view() const { return *view_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    ScreenSet& screens_;
    PictureView* view_ = nullptr;
    PictureBox* Image1 = nullptr;
};

// The PREVIEW viewer: any picture the user clicks, over the whole desktop. A click on it or
// its close bar empties it and hides it.
class TForm010 : public QWidget {
    Q_OBJECT
public:
    explicit TForm010(ScreenSet& screens);

    // Shows the PREVIEW picture as it is now.
    void showPicture();
    void closePreview();

private:
    ScreenSet& screens_;
    PictureBox* Image1 = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace dg
