#pragma once

#include <QWidget>

namespace dg {

class ScreenSet;

// The colour-matching screen. Created hidden at start-up with its caption; its controls come with its own
// work.
class TForm023 : public QWidget {
    Q_OBJECT
public:
    explicit TForm023(ScreenSet& screens);

private:
    [[maybe_unused]] ScreenSet& screens_;
};

}  // namespace dg
