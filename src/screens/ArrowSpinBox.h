#pragma once

#include <QSpinBox>

namespace dg {

// A whole-number field that changes by its arrows (one step at a time), by a typed number or
// from code. A typed number counts only when it is committed, by Enter or when the field loses
// focus; it is clamped into the field's range then, as the arrows never leave it. Text that
// is not a number gives the value back as it was.
class ArrowSpinBox : public QSpinBox {
    Q_OBJECT
public:
    ArrowSpinBox(int minimum, int maximum, int initial, QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

}  // namespace dg
