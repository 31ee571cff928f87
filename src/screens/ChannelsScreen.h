#pragma once

#include <QWidget>
#include <array>

#include "app/StepTrigger.h"
#include "separation/ChannelModel.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace dg {

class PictureBox;
class ScreenSet;

// CHANNELS / COLORS: the channel set of the current design, its BEFORE and AFTER pictures
// and one tile per channel. The tiles always show the run's channel set: every rebuild, tick
// and merge brings the tiles, the check boxes and the captions in line with it.
class TForm019 : public QWidget {
    Q_OBJECT
public:
    explicit TForm019(ScreenSet& screens);

    StepTrigger SpinEdit000;  // rebuild from BEFORE, then show this screen

    // The editing buttons: "MERGE CHANNELS" (the merge sequence with the merge screen) and
    // "CHANGE COLORS" (hands AFTER to the change-colours screen).
    void mergeChannelsClick();
    void changeColorsClick();

    // What tile N shows: a thumbnail of channel N's mask.
    const RgbImage& tileThumbnail(int n) const { return tiles_[static_cast<std::size_t>(n - 1)]; }

    static constexpr int kTileWidth = 82;
    static constexpr int kTileHeight = 72;
    static constexpr int kPictureWidth = 230;
    static constexpr int kPictureHeight = 200;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    // The channel set as the run holds it; after a rebuild, the BEFORE count too.
    void showChannels(bool rebuilt);
    // The editing buttons the run offers.
    void showOffer();
    void syncTiles();
    void refreshPictures();
    void checkBoxChange(int n, bool ticked);
    void undo();
    void next();
    void back();
    void saveProjectAs();

    ScreenSet& screens_;
    bool syncing_ = false;

    std::array<RgbImage, kChannelCount> tiles_;
    std::array<PictureBox*, kChannelCount> tileBoxes_{};
    std::array<QLabel*, kChannelCount> percentages_{};
    std::array<QLabel*, kChannelCount> percentSigns_{};
    std::array<QCheckBox*, kChannelCount> checkBoxes_{};
    std::array<QLabel*, kChannelCount> numbers_{};
    std::array<QLabel*, kChannelCount> swatches_{};
    RgbImage beforeThumb_;
    RgbImage afterThumb_;
    PictureBox* before_ = nullptr;
    PictureBox* after_ = nullptr;
    QLabel* beforeCount_ = nullptr;
    QLabel* beforeColors_ = nullptr;
    QLabel* afterCount_ = nullptr;
    QLabel* afterColors_ = nullptr;
    QWidget* editPanel_ = nullptr;
    QPushButton* changeColors_ = nullptr;
    QPushButton* mergeChannels_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* next_ = nullptr;
};

}  // namespace dg
