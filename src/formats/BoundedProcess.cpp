#include "formats/BoundedProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "imaging/Failure.h"

namespace dg {

namespace {

constexpr std::size_t kKeptOutput = 64 * 1024;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

// execv needs a path; searching PATH here keeps the child between fork and exec to calls
// that are safe in a forked copy of a threaded process.
std::string findOnPath(const std::string& program) {
    if (program.find('/') != std::string::npos) return program;
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

void limit(int resource, std::uint64_t value) {
    const rlimit r{static_cast<rlim_t>(value), static_cast<rlim_t>(value)};
    ::setrlimit(resource, &r);
}

// In the child: only async-signal-safe calls until exec.
[[noreturn]] void startChild(const std::string& program, const std::vector<char*>& argv,
                             const std::string& folder, const ProcessLimits& limits, int outputFd,
                             int errorFd) {
    ::setpgid(0, 0);
    limit(RLIMIT_AS, limits.memoryBytes);
    limit(RLIMIT_CPU, static_cast<std::uint64_t>(limits.seconds) + 1);
    limit(RLIMIT_FSIZE, limits.fileBytes);
    limit(RLIMIT_CORE, 0);
    ::signal(SIGXFSZ, SIG_DFL);
    ::signal(SIGPIPE, SIG_DFL);
    const int input = ::open("/dev/null", O_RDONLY);
    if (input < 0 || ::dup2(input, 0) < 0 || ::dup2(outputFd, 1) < 0 || ::dup2(outputFd, 2) < 0 ||
        ::chdir(folder.c_str()) != 0) {
        const int error = errno;
        [[maybe_unused]] const auto n = ::write(errorFd, &error, sizeof error);
        ::_exit(127);
    }
    ::execv(program.c_str(), argv.data());
    const int error = errno;
    [[maybe_unused]] const auto n = ::write(errorFd, &error, sizeof error);
    ::_exit(127);
}

}  // namespace

ProcessOutcome runBounded(const std::vector<std::string>& arguments, const std::string& folder,
                          const ProcessLimits& limits, const std::string& programDescription) {
    const std::string program = findOnPath(arguments.at(0));
    if (program.empty()) throw Failure(programDescription + " is not installed.");
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& a : copies) argv.push_back(a.data());
    argv.push_back(nullptr);

    int output[2];
    int exec[2];
    if (::pipe2(output, O_CLOEXEC) != 0) throw Failure(programDescription + " cannot be started.");
    Descriptor outputRead(output[0]), outputWrite(output[1]);
    if (::pipe2(exec, O_CLOEXEC) != 0) throw Failure(programDescription + " cannot be started.");
    Descriptor execRead(exec[0]), execWrite(exec[1]);

    const pid_t pid = ::fork();
    if (pid < 0) throw Failure(programDescription + " cannot be started: " + std::strerror(errno) + ".");
    if (pid == 0) startChild(program, argv, folder, limits, outputWrite.get(), execWrite.get());
    // Set it from this side too, so that the kill below finds the group whoever ran first.
    ::setpgid(pid, pid);
    outputWrite.reset();
    execWrite.reset();

    int startError = 0;
    ssize_t got;
    do got = ::read(execRead.get(), &startError, sizeof startError);
    while (got < 0 && errno == EINTR);
    ProcessOutcome outcome;
    if (got == static_cast<ssize_t>(sizeof startError)) {
        ::waitpid(pid, nullptr, 0);
        throw Failure(programDescription + " cannot be started: " + std::strerror(startError) + ".");
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(static_cast<std::int64_t>(limits.seconds * 1000));
    auto remaining = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    };
    bool open = true;
    int status = 0;
    bool ended = false;
    char buffer[4096];
    while (!ended) {
        const auto left = remaining();
        if (left <= 0) {
            outcome.timedOut = true;
            break;
        }
        if (open) {
            pollfd p{outputRead.get(), POLLIN, 0};
            const int ready = ::poll(&p, 1, static_cast<int>(std::min<std::int64_t>(left, 100)));
            if (ready > 0) {
                const ssize_t n = ::read(outputRead.get(), buffer, sizeof buffer);
                if (n > 0) {
                    // Keep reading past the kept part, so the child never blocks on a full pipe.
                    const std::size_t room = kKeptOutput - std::min(kKeptOutput, outcome.output.size());
                    outcome.output.append(buffer, std::min(room, static_cast<std::size_t>(n)));
                } else if (n == 0 || errno != EINTR) {
                    open = false;
                }
            }
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        // Look without reaping: while it is unreaped its id, and so its group's, stays ours.
        siginfo_t info{};
        if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid == pid) {
            ended = true;
        }
    }
    // Time up, or ended: nothing of its group may stay behind (a helper of its own, say).
    ::kill(-pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ended) return outcome;
    // Whatever it wrote just before it ended.
    while (open) {
        const ssize_t n = ::read(outputRead.get(), buffer, sizeof buffer);
        if (n <= 0) break;
        const std::size_t room = kKeptOutput - std::min(kKeptOutput, outcome.output.size());
        outcome.output.append(buffer, std::min(room, static_cast<std::size_t>(n)));
    }
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    return outcome;
}

ScratchFolder::ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dermagraph-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw Failure(std::string("Cannot make a folder for temporary files: ") + std::strerror(errno) + ".");
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace dg
