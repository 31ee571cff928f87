#pragma once

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QString>

class QWidget;
class QPushButton;

namespace dg::look {

// The program's colours.
inline const QColor kLightBackground{216, 228, 249};  // SELECT TASK, output size
inline const QColor kWorkingBackground{34, 82, 166};  // viewers and the working screens
inline const QColor kSkyBlue{166, 202, 240};          // the face of most buttons

void setBackground(QWidget* widget, const QColor& colour);
void setFace(QPushButton* button, const QColor& colour);
// The program's usual button: sky-blue face, its object name, at least `minimumHeight` high.
QPushButton* button(const QString& caption, const char* name, QWidget* parent, int minimumHeight = 0);
// The same button at a fixed place on its window.
QPushButton* button(const QString& caption, const char* name, QWidget* parent, const QRect& where);
// Captions in white on the dark background; the controls' own text and check marks keep
// their colours.
void whiteCaptions(QWidget* widget);

// One of the program's own pictures (resources/pictures/<name>.svg) at the given size.
QPixmap picture(const QString& name, int width, int height);

}  // namespace dg::look
