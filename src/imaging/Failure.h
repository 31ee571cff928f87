#pragma once

#include <stdexcept>
#include <string>

namespace dg {

// A failed operation. The message is the text the user sees in the message box that the
// screen's action guard shows; the action that was running ends there.
class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace dg
