#include "support/DiskFaults.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

namespace dg::test {

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("getrlimit failed");
    before_ = limit.rlim_cur;
    // Without this the first write past the limit ends the process instead of failing.
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("setrlimit failed");
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = before_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler_);
}

bool writesPastPermissions(const std::string& folder) {
    const std::string probe = folder + "/.permission-probe";
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return false;
    ::chmod(folder.c_str(), 0555);
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(probe.c_str());
    }
    ::chmod(folder.c_str(), st.st_mode & 07777);
    return fd >= 0;
}

}  // namespace dg::test
