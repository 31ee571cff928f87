#pragma once

#include <QWidget>

namespace dg {

class ScreenSet;

// Changing colours. Created hidden at start-up with its caption; its controls come with its own work.
class TForm022 : public QWidget {
    Q_OBJECT
public:
    explicit TForm022(ScreenSet& screens);

private:
    [[maybe_unused]] ScreenSet& screens_;
};

}  // namespace dg
