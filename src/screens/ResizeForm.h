#pragma once

#include <QWidget>

namespace dg {

// The window that held the RESIZE action of the 23-colour task, which is now a step of the
// workflow; created in its place among the windows and never shown.
class TForm027 : public QWidget {
    Q_OBJECT
public:
    TForm027();
};

}  // namespace dg
