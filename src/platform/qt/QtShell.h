#pragma once

#include "platform/Shell.h"

namespace dg {

// The desktop's file manager and browser, through Qt's desktop services.
class QtShell : public Shell {
public:
    void openFolder(const std::string& path) override;
    void openLink(const std::string& url) override;
};

}  // namespace dg
