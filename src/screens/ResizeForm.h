#pragma once

#include <QWidget>

namespace dg {

class ScreenSet;

// Holds the RESIZE action of the 23-colour task; never shown. Created hidden at start-up with its caption;
// its controls come with its own work.
class TForm027 : public QWidget {
    Q_OBJECT
public:
    explicit TForm027(ScreenSet& screens);

private:
    [[maybe_unused]] ScreenSet& screens_;
};

}  // namespace dg
