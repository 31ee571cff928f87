#pragma once

#include <string>

namespace dg {

class Shell {
public:
    virtual ~Shell() = default;
    // Opens a folder in the desktop's file manager.
    virtual void openFolder(const std::string& path) = 0;
    // Opens a link in the desktop's browser.
    virtual void openLink(const std::string& url) = 0;
};

}  // namespace dg
