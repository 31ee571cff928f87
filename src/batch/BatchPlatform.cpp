#include "batch/BatchPlatform.h"

#include <filesystem>

namespace dg {

std::optional<std::string> BatchDialogs::opened() {
    if (openAnswers.empty()) return std::nullopt;
    const std::filesystem::path path = std::filesystem::absolute(openAnswers.front());
    openAnswers.pop_front();
    files_.setCurrentFolder(path.parent_path().string());
    return path.string();
}

std::optional<std::string> BatchDialogs::saveAs() {
    if (saveAnswers.empty()) return std::nullopt;
    std::string name = saveAnswers.front();
    saveAnswers.pop_front();
    return name;
}

bool BatchDialogs::askYesNo(const std::string& text) {
    out_ << text << " Yes\n";
    return true;
}

}  // namespace dg
