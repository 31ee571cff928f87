#pragma once

#include <QSpinBox>

namespace dg {

// A numeric field that changes only by its arrows (one step at a time) or from code.
class ArrowSpinBox : public QSpinBox {
    Q_OBJECT
public:
    ArrowSpinBox(int minimum, int maximum, int initial, QWidget* parent = nullptr);
};

}  // namespace dg
