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

    void okClick();
    void cancelClick();
    void helpClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The working picture and the colours under the pointer, as the run holds them.
    void showWorking();
    void leave();

    ScreenSet& screens_;
    QScrollArea* scrollArea_ = nullptr;
    PictureBox* Image1 = nullptr;
    QLabel* originalColor_ = nullptr;
    QLabel* resultColor_ = nullptr;
    bool leaving_ = false;  // OK or CANCEL is putting the screen away
};

}  // namespace dg
