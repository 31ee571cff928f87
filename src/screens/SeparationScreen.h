#pragma once

#include <QSlider>
#include <QWidget>
#include <array>

#include "imaging/RgbImage.h"
#include "separation/ChannelModel.h"
#include "separation/Separation.h"
#include "separation/Thresholds.h"

class QLabel;
class QPushButton;

namespace dg {

class PictureBox;
class ScreenSet;

// A threshold slider that marks its highlighted range along the groove (display only).
class RangeSlider : public QSlider {
    Q_OBJECT
public:
    explicit RangeSlider(QWidget* parent = nullptr);

    void setHighlight(int low, int high);
    int highlightLow() const { return low_; }
    int highlightHigh() const { return high_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int low_ = 0;
    int high_ = 0;
};

// COLOR REDUCTION AND SEPARATION: sixteen threshold sliders sort every pixel of the SOURCE
// copy into 23 channels; NEXT hands the result to the channels screen. The screen shows the
// run's separation and sends every slider move to it.
//
// Dragging a slider separates the whole picture each time (counts, mean colours, the
// result), but the 23 mask tiles are thumbnails made from the classification of the sampled
// pixels: a full-size mask is made only when the user opens it in PREVIEW. Each thumbnail
// is exactly what the full mask would show in its tile.
class TForm021 : public QWidget {
    Q_OBJECT
public:
    explicit TForm021(ScreenSet& screens);

    // The sliders' thresholds as they stand.
    SeparationThresholds thresholds() const;
    // Mask k (1..23) at full size, made now from the SOURCE copy and the last thresholds; 0 x 0
    // when the channel is empty or the masks were emptied.
    RgbImage fullMask(int k) const;
    // What tile k shows (a thumbnail of mask k), and the two frames.
    const RgbImage& tileThumbnail(int k) const { return tiles_[static_cast<std::size_t>(k - 1)]; }
    const RgbImage& resultThumbnail() const { return resultThumb_; }
    const RgbImage& sourceThumbnail() const { return sourceThumb_; }

    static constexpr int kFrameWidth = 185;
    static constexpr int kFrameHeight = 161;
    static constexpr int kTileWidth = 110;
    static constexpr int kTileHeight = 96;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QWidget* buildGroup(const char* name, const char* caption, const QColor& frame, const QColor& font,
                        std::initializer_list<int> channels, std::initializer_list<int> sliders);
    void showSeparation();
    void refreshPictures();
    void setSliders(const SeparationThresholds& t);
    void next();
    void back();
    void enhanceSource();
    void restoreOriginal();
    void previewMask(int k);

    ScreenSet& screens_;
    bool settingSliders_ = false;

    std::array<RangeSlider*, kThresholdCount> sliders_{};
    std::array<RgbImage, kChannelCount> tiles_;
    std::array<PictureBox*, kChannelCount> tileBoxes_{};
    std::array<QLabel*, kChannelCount> percentages_{};
    std::array<QLabel*, kChannelCount> percentSigns_{};
    RgbImage sourceThumb_;
    RgbImage resultThumb_;
    PictureBox* sourceFrame_ = nullptr;
    PictureBox* resultFrame_ = nullptr;
};

}  // namespace dg
