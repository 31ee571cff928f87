#include "screens/ArrowSpinBox.h"

#include <QLineEdit>

namespace dg {

ArrowSpinBox::ArrowSpinBox(int minimum, int maximum, int initial, QWidget* parent) : QSpinBox(parent) {
    setRange(minimum, maximum);
    setValue(initial);
    lineEdit()->setReadOnly(true);
    setKeyboardTracking(false);
}

}  // namespace dg
