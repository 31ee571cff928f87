#pragma once

#include <QWidget>

namespace dg {

class ScreenSet;

// The chart of the primary inks. Created hidden at start-up with its caption; its controls come with its own
// work.
class TForm024 : public QWidget {
    Q_OBJECT
public:
    explicit TForm024(ScreenSet& screens);

private:
    [[maybe_unused]] ScreenSet& screens_;
};

}  // namespace dg
