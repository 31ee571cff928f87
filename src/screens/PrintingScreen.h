#pragma once

#include <QWidget>

namespace dg {

class ScreenSet;

// The printing screen. Created hidden at start-up with its caption; its controls come with its own work.
class TForm029 : public QWidget {
    Q_OBJECT
public:
    explicit TForm029(ScreenSet& screens);

private:
    [[maybe_unused]] ScreenSet& screens_;
};

}  // namespace dg
