#pragma once

#include <QWidget>

#include "imaging/RgbImage.h"

class QCloseEvent;
class QLabel;
class QScrollArea;

namespace dg {

class PictureBox;
class ScreenSet;

// CHANGE COLORS: double click a colour of the working picture to give it the SOURCE colour.
class TForm022 : public QWidget {
    Q_OBJECT
public:
    explicit TForm022(ScreenSet& screens);

    RgbImage working;  // the working picture, at the output size

    // Shows the screen with the working picture the channels screen has just given it.
    void enter();

    // The SOURCE viewer forwards its pointer move and double click (23-colour task only).
    void pointerMoved(int x, int y);
    void changeAtPointer();

    void okClick();
    void cancelClick();
    void helpClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void leave();

    ScreenSet& screens_;
    QScrollArea* scrollArea_ = nullptr;
    PictureBox* Image1 = nullptr;
    QLabel* originalColor_ = nullptr;
    QLabel* resultColor_ = nullptr;
    int pointerX_ = 0;
    int pointerY_ = 0;
    bool leaving_ = false;  // OK or CANCEL is putting the screen away
};

}  // namespace dg
