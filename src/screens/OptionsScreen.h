#pragma once

#include <QWidget>

namespace dg {

class ScreenSet;

// The OPTIONS screen (page composition). Created hidden at start-up with its caption; its controls come with
// its own work.
class TForm028 : public QWidget {
    Q_OBJECT
public:
    explicit TForm028(ScreenSet& screens);

private:
    [[maybe_unused]] ScreenSet& screens_;
};

}  // namespace dg
