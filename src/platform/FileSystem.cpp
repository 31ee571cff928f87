#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include "imaging/Failure.h"

namespace dg {

namespace {

[[noreturn]] void failWithErrno(const std::string& what, const std::string& path, int error) {
    throw Failure(what + " " + path + ": " + std::strerror(error));
}

}  // namespace

std::string LocalFileSystem::currentFolder() const {
    std::string buffer(4096, '\0');
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) failWithErrno("Cannot read the current folder", "", errno);
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(std::strlen(buffer.c_str()));
    return buffer;
}

void LocalFileSystem::setCurrentFolder(const std::string& path) {
    if (::chdir(path.c_str()) != 0) failWithErrno("Cannot open the folder", path, errno);
}

bool LocalFileSystem::exists(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool LocalFileSystem::isFolder(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void LocalFileSystem::removeMade(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

void LocalFileSystem::createFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0777) != 0) failWithErrno("Cannot create the folder", path, errno);
}

std::vector<std::uint8_t> LocalFileSystem::readFile(const std::string& path) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) failWithErrno("Cannot open", path, errno);
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            failWithErrno("Cannot read", path, error);
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
    ::close(fd);
    return bytes;
}

void FileSystem::writeFilePieces(const std::string& path,
                                 const std::vector<std::span<const std::uint8_t>>& pieces) {
    std::vector<std::uint8_t> bytes;
    for (const auto& piece : pieces) bytes.insert(bytes.end(), piece.begin(), piece.end());
    writeFile(path, bytes);
}

void LocalFileSystem::writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    LocalFileSystem::writeFilePieces(path, {std::span<const std::uint8_t>(bytes)});
}

namespace {

// Files from this size on are written past the page cache (see writeDirect).
constexpr std::size_t kDirectWriteMin = std::size_t{8} << 20;
constexpr std::size_t kDirectChunk = std::size_t{8} << 20;
constexpr std::size_t kDirectAlign = 4096;

// Writes all of [p, p + n) at the file's offset; a short write goes on where it stopped.
void writeAll(int fd, const std::uint8_t* p, std::size_t n, const std::string& path) {
    while (n > 0) {
        const ssize_t done = ::write(fd, p, n);
        if (done < 0) {
            if (errno == EINTR) continue;
            failWithErrno("Cannot write", path, errno);
        }
        p += done;
        n -= static_cast<std::size_t>(done);
    }
}

// The pieces in system calls of up to IOV_MAX pieces each.
void writeGathered(int fd, const std::vector<std::span<const std::uint8_t>>& pieces,
                   const std::string& path) {
    std::vector<iovec> batch;
    std::size_t next = 0;     // the first piece not yet written in full
    std::size_t skipped = 0;  // bytes of pieces[next] already written
    while (next < pieces.size()) {
        batch.clear();
        for (std::size_t i = next; i < pieces.size() && batch.size() < IOV_MAX; ++i) {
            const std::size_t offset = i == next ? skipped : 0;
            if (pieces[i].size() == offset) continue;
            batch.push_back(
                {const_cast<std::uint8_t*>(pieces[i].data() + offset), pieces[i].size() - offset});
        }
        if (batch.empty()) break;
        const ssize_t n = ::writev(fd, batch.data(), static_cast<int>(batch.size()));
        if (n < 0) {
            if (errno == EINTR) continue;
            failWithErrno("Cannot write", path, errno);
        }
        auto written = static_cast<std::size_t>(n);
        while (next < pieces.size() && written >= pieces[next].size() - skipped) {
            written -= pieces[next].size() - skipped;
            skipped = 0;
            ++next;
        }
        skipped += written;
    }
}

#ifdef O_DIRECT
struct FreeMemory {
    void operator()(std::uint8_t* p) const { std::free(p); }
};

void stopDirect(int fd, const std::string& path) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_DIRECT) != 0) failWithErrno("Cannot write", path, errno);
}

// A file opened with O_DIRECT: the pieces are gathered into an aligned chunk at a time, and
// each whole chunk goes from there to the disk without a copy in the page cache. Copying
// gigabytes of pictures into the page cache costs more than making them; the file is flushed
// to the disk before it counts as written anyway. The last, partial chunk is written through
// the page cache, and so is everything after a chunk the file system does not take directly.
void writeDirect(int fd, const std::vector<std::span<const std::uint8_t>>& pieces, const std::string& path) {
    void* memory = nullptr;
    if (::posix_memalign(&memory, kDirectAlign, kDirectChunk) != 0) throw std::bad_alloc();
    const std::unique_ptr<std::uint8_t, FreeMemory> chunk(static_cast<std::uint8_t*>(memory));
    bool direct = true;
    std::size_t filled = 0;
    const auto writeChunk = [&] {
        std::size_t done = 0;
        if (direct && filled == kDirectChunk) {
            ssize_t n;
            do {
                n = ::write(fd, chunk.get(), filled);
            } while (n < 0 && errno == EINTR);
            if (n < 0 && errno != EINVAL) failWithErrno("Cannot write", path, errno);
            if (n == static_cast<ssize_t>(filled)) {
                filled = 0;
                return;
            }
            done = n > 0 ? static_cast<std::size_t>(n) : 0;
        }
        if (direct) {
            stopDirect(fd, path);
            direct = false;
        }
        writeAll(fd, chunk.get() + done, filled - done, path);
        filled = 0;
    };
    for (const auto& piece : pieces) {
        const std::uint8_t* p = piece.data();
        std::size_t left = piece.size();
        while (left > 0) {
            const std::size_t take = std::min(left, kDirectChunk - filled);
            std::memcpy(chunk.get() + filled, p, take);
            filled += take;
            p += take;
            left -= take;
            if (filled == kDirectChunk) writeChunk();
        }
    }
    if (filled > 0) writeChunk();
}
#endif

// Where a file is written before it takes its name: a short hidden name in the same folder, so
// that the rename stays on one file system and a name near the length limit still fits.
std::string partName(const std::string& path) {
    static std::atomic<unsigned> next{0};
    return joinPath(folderOf(path),
                    ".dg-" + std::to_string(::getpid()) + "-" + std::to_string(next++) + ".part");
}

// Opens a new file for writing, past the page cache when it is large and the file system takes
// that (file systems without direct writes refuse the flag when the file is opened).
int openForWriting(const std::string& path, int flags, std::size_t total, bool& direct) {
    int fd = -1;
    direct = false;
#ifdef O_DIRECT
    if (total >= kDirectWriteMin) {
        fd = ::open(path.c_str(), flags | O_DIRECT, 0666);
        direct = fd >= 0;
    }
#else
    (void)total;
#endif
    if (fd < 0) fd = ::open(path.c_str(), flags, 0666);
    return fd;
}

// Writes the pieces to the open file, flushes them to the disk and closes it; a failure on
// the way also closes it.
void writeAndClose(int fd, bool direct, const std::vector<std::span<const std::uint8_t>>& pieces,
                   const std::string& path) {
    try {
#ifdef O_DIRECT
        if (direct) writeDirect(fd, pieces, path);
#else
        (void)direct;
#endif
        if (!direct) writeGathered(fd, pieces, path);
        // A full disk may only show up when the data is flushed.
        if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) failWithErrno("Cannot write", path, errno);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) failWithErrno("Cannot write", path, errno);
}

}  // namespace

// A file is written under a temporary name beside it and renamed into place once all of it is
// on the disk: a fault half-way (a full disk, a removed folder) leaves no cut-short file under
// the name, and a file being replaced stays as it was until the new one is whole. A file that
// may not be written to (read-only) is not replaced. Devices and links are written in place.
void LocalFileSystem::writeFilePieces(const std::string& path,
                                      const std::vector<std::span<const std::uint8_t>>& pieces) {
    std::size_t total = 0;
    for (const auto& piece : pieces) total += piece.size();
    struct stat old {};
    const bool exists = ::lstat(path.c_str(), &old) == 0;
    bool direct = false;
    if (exists && !S_ISREG(old.st_mode)) {
        const int fd = openForWriting(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, total, direct);
        if (fd < 0) failWithErrno("Cannot create", path, errno);
        writeAndClose(fd, direct, pieces, path);
        return;
    }
    if (exists) {
        const int probe = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (probe < 0) failWithErrno("Cannot create", path, errno);
        ::close(probe);
    }
    // A name left by an earlier run that ended half-way is passed over.
    std::string part;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        part = partName(path);
        fd = openForWriting(part, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, total, direct);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) failWithErrno("Cannot create", path, errno);
    if (exists) ::fchmod(fd, old.st_mode & 07777);
    try {
        writeAndClose(fd, direct, pieces, path);
    } catch (...) {
        ::unlink(part.c_str());
        throw;
    }
    if (::rename(part.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(part.c_str());
        failWithErrno("Cannot create", path, error);
    }
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return "";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace dg
