#pragma once

#include <QWidget>

namespace dg {

class RgbImage;

// Shows one of the program's pictures at one screen pixel per picture pixel from the top
// left; reads the picture each time it paints, so it always shows the buffer as it is now.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(const RgbImage& picture, QWidget* parent = nullptr);

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const RgbImage& picture_;
    bool pressed_ = false;
};

}  // namespace dg
