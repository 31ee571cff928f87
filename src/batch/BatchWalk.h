#pragma once

#include <deque>
#include <functional>
#include <ostream>
#include <string>

#include "batch/BatchOptions.h"
#include "platform/Platform.h"

namespace dg {

// The wizard's dialogs without a person: the save dialog answers with the names the command
// line gave, every message goes to a stream, every question is answered Yes.
class BatchDialogs : public Dialogs {
public:
    explicit BatchDialogs(std::ostream& out) : out_(out) {}
    std::deque<std::string> saveAnswers;

    std::optional<std::string> openPicture(const std::string&) override { return std::nullopt; }
    std::optional<std::string> openProject() override { return std::nullopt; }
    std::optional<std::string> saveAs() override;
    void message(const std::string& text) override { out_ << text << '\n'; }
    bool askYesNo(const std::string& text) override;
    void setBusy(bool) override {}

private:
    std::ostream& out_;
};

// Runs the default walk of the chosen task on one picture through the same core steps the
// wizard's screens take, then saves, exports and prints as asked. Messages (the wizard's
// message boxes) go to the platform's dialogs; `progress` hears the name of each step.
// Returns the exit code: 0 done, 1 a step failed or was refused.
int runBatch(const BatchOptions& options, Printer& printer, FileSystem& files, std::ostream& messages,
             const std::function<void(const std::string&)>& progress);

}  // namespace dg
