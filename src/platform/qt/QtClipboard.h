#pragma once

#include <QMetaObject>
#include <optional>

#include "platform/Clipboard.h"

namespace dg {

// The system clipboard. SELECT TASK asks every 10 ms whether it holds a bitmap; on X11 each
// such question is a round trip to the clipboard's owner, so the answer is kept until the
// clipboard reports a change.
class QtClipboard : public Clipboard {
public:
    QtClipboard();
    ~QtClipboard() override;
    QtClipboard(const QtClipboard&) = delete;
    QtClipboard& operator=(const QtClipboard&) = delete;

    bool hasBitmap() const override;
    RgbImage bitmap() const override;

private:
    mutable std::optional<bool> hasBitmap_;
    QMetaObject::Connection changed_;
};

}  // namespace dg
