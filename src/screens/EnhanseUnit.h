#pragma once

#include <QWidget>

namespace dg {

class ScreenSet;

// The enhance screen. Created hidden at start-up with its caption; its controls come with its own work.
class Tenhance : public QWidget {
    Q_OBJECT
public:
    explicit Tenhance(ScreenSet& screens);

private:
    [[maybe_unused]] ScreenSet& screens_;
};

}  // namespace dg
