#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dg {

// What a helper program may use. The program runs as a child process in a process group of
// its own; the kernel holds it to the memory and file-size limits, and the parent kills the
// group when the wall-clock time is up, so it ends by itself whatever the input makes it do.
struct ProcessLimits {
    double seconds = 8;                      // wall clock, and CPU time
    std::uint64_t memoryBytes = 1ull << 30;  // address space
    std::uint64_t fileBytes = 1ull << 31;    // largest file it may write
};

struct ProcessOutcome {
    bool timedOut = false;
    int exitCode = -1;  // -1 when it ended by a signal
    int signal = 0;     // the signal that ended it, if one did
    // What it wrote to standard output and standard error, together, up to 64 KB; it never
    // reaches the terminal.
    std::string output;
};

// Runs `arguments` (the program, found on PATH, then its arguments) in `folder`, with
// standard input from /dev/null. Throws Failure when the program cannot be started, naming
// `programDescription` ("Ghostscript (gs), which draws PostScript pictures").
ProcessOutcome runBounded(const std::vector<std::string>& arguments, const std::string& folder,
                          const ProcessLimits& limits, const std::string& programDescription);

// A folder of its own for a helper's files, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace dg
