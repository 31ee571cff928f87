#pragma once

#include <QString>
#include <QWidget>

#include "imaging/RgbImage.h"
#include "output/PageEntries.h"

namespace dg {

class ScreenSet;

// PRINTING: the 26 page entries, their placement on the printer page, printing, page export
// and the project save.
class TForm029 : public QWidget {
    Q_OBJECT
public:
    explicit TForm029(ScreenSet& screens);

    // The result thumbnail (a copy of the AFTER picture before masking and corners).
    RgbImage resultThumbnail;

    // The yellow "Message:" line: hidden, or shown with a text.
    void hideMessageLine();
    void showMessageLine(const QString& text);
    // "Save project as ..." is hidden in the single-file task.
    void setSaveProjectVisible(bool visible);
    // Fills the entries and the thumbnails from what OPTIONS composed, then refreshes the
    // check boxes.
    void setEntries(const PageEntries& entries, bool showStencilThumbnail, bool showResultThumbnail);
    // The single-file task: every entry unticked and hidden but RESULT, ticked and shown;
    // the result thumbnail shown.
    void offerResultOnly();
    const PageEntries& entries() const { return entries_; }

private:
    ScreenSet& screens_;
    PageEntries entries_;
};

}  // namespace dg
