#include "screens/ArrowSpinBox.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>

namespace dg {

namespace {

// A sign and up to nine digits: a number an int holds, however far outside the range.
const QRegularExpression& wholeNumber() {
    static const QRegularExpression pattern("^[+-]?[0-9]{0,9}$");
    return pattern;
}

}  // namespace

ArrowSpinBox::ArrowSpinBox(int minimum, int maximum, int initial, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(initial);
    // Without keyboard tracking the value changes once, when the typed text is committed,
    // and not with every key on the way to it.
    setKeyboardTracking(false);
}

QValidator::State ArrowSpinBox::validate(QString& input, int& pos) const {
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Invalid) return state;
    // A number beyond the range may still be typed; fixup clamps it when it is committed.
    return wholeNumber().match(input.trimmed()).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

void ArrowSpinBox::fixup(QString& input) const {
    bool ok = false;
    const long long typed = input.trimmed().toLongLong(&ok);
    // Nothing but a sign, or nothing at all: left as it is, so the value stays as it was.
    if (!ok) return;
    input = QString::number(std::clamp<long long>(typed, minimum(), maximum()));
}

}  // namespace dg
