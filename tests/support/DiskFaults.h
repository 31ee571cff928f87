#pragma once

#include <string>

namespace dg::test {

// While it lives, no file of this process may grow past `bytes`: a write beyond fails with
// "File too large", as a disk that fills up half-way through a file does, without a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long before_;
    void (*oldHandler_)(int);
};

// True when this process writes into a folder that has no write permission (it runs as root
// with its usual capabilities), so read-only folders protect nothing from it.
bool writesPastPermissions(const std::string& folder);

}  // namespace dg::test
