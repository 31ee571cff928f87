#pragma once

#include <QWidget>

namespace dg {

class ScreenSet;

// Merging channels. Created hidden at start-up with its caption; its controls come with its own work.
class TForm020 : public QWidget {
    Q_OBJECT
public:
    explicit TForm020(ScreenSet& screens);

private:
    [[maybe_unused]] ScreenSet& screens_;
};

}  // namespace dg
