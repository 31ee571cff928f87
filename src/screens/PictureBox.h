#pragma once

#include <QPoint>
#include <QSize>
#include <QWidget>
#include <functional>

class QLabel;
class QScrollBar;
class QToolButton;

namespace dg {

class RgbImage;

// Shows one of the program's pictures from the top left, at one screen pixel per picture
// pixel unless a view zooms or scrolls it; reads the picture each time it paints, so it
// always shows the buffer as it is now.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(const RgbImage& picture, QWidget* parent = nullptr);

    // `scale` screen pixels per picture pixel; `offset` is how far the scaled picture is
    // scrolled, in screen pixels, from its top left.
    void setView(double scale, QPoint offset);
    double scale() const { return scale_; }
    QPoint offset() const { return offset_; }
    // The picture pixel under a point of the box (it may lie outside the picture).
    QPoint pictureAt(QPoint point) const;
    // A press moved further than the drag distance pans (panned) and is no click.
    void setPannable(bool pannable) { pannable_ = pannable; }

signals:
    void clicked();
    void doubleClicked();
    void panned(QPoint by);
    // The picture has another size than at the last paint.
    void pictureResized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const RgbImage& picture_;
    double scale_ = 1.0;
    QPoint offset_;
    QSize paintedSize_;
    bool pressed_ = false;
    bool pannable_ = false;
    bool dragging_ = false;
    QPoint lastPos_;
};

// The zoom levels of a picture view.
inline constexpr double kZoomStep = 1.4142135623730951;  // two steps double the scale
inline constexpr double kSmallestScale = 1.0 / 64;       // a 9600-pixel design in 150 pixels
inline constexpr double kLargestScale = 32.0;
// One step from `scale`, in (+1) or out (-1); steps that land on a power of the step land on it
// exactly, so zooming in twice from 100 % gives 200 %, not 200.00000000000003 %.
double zoomedScale(double scale, int steps);
// The largest scale at which the whole picture fits the area.
double fitScale(QSize picture, QSize area);
// The picture's size on the screen at a scale (a part of a pixel counts as a pixel).
QSize scaledSize(QSize picture, double scale);

// A picture box with scroll bars when the picture is larger than the box, and zoom: Ctrl +
// mouse wheel around the pointer, Ctrl+plus and Ctrl+minus, and a strip of buttons below:
// out, in, "Fit" (the whole picture), "100 %" (one picture pixel a screen pixel) and "True
// size" (the picture as large as it will be printed: the design's DPI against the display's
// pixels per inch). The strip shows once the picture is larger than the window or has been
// zoomed; until then a picture that fits is shown on the whole window. Dragging the picture scrolls it. It
// paints only the part on the screen, so a 9600 x 9600 design costs no more than a small one.
class PictureView : public QWidget {
    Q_OBJECT
public:
    // designDpi tells the design's printing resolution when "True size" is asked for.
    PictureView(const RgbImage& picture, std::function<int()> designDpi, QWidget* parent = nullptr);

    PictureBox* box() const { return box_; }
    double scale() const { return box_->scale(); }

    void zoomIn();
    void zoomOut();
    void fit();
    void actualPixels();
    void trueSize();
    // The scale becomes `scale`, keeping the picture point under `anchor` (a point of the
    // box) where it is.
    void zoomTo(double scale, QPoint anchor);

    // To be called when the picture may have a new size: the scroll bars follow.
    void pictureChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A turn of the wheel with the pointer at `pointer`, a point of the box.
    void turn(QWheelEvent* event, QPoint pointer);
    void layOut();
    void scrolled();
    QPoint centre() const;

    const RgbImage& picture_;
    std::function<int()> designDpi_;
    PictureBox* box_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
    QWidget* strip_ = nullptr;
    QLabel* level_ = nullptr;
    double scale_ = 1.0;
    // "Fit" holds while the window or the picture changes size, until another zoom.
    bool fitting_ = false;
    // Once zoomed, the buttons stay.
    bool zoomed_ = false;
    // Wheel turns smaller than a notch (touch pads) add up to whole steps.
    int wheelRemainder_ = 0;
};

}  // namespace dg
