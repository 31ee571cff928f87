#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
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

void LocalFileSystem::writeFilePieces(const std::string& path,
                                      const std::vector<std::span<const std::uint8_t>>& pieces) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) failWithErrno("Cannot create", path, errno);
    // Up to IOV_MAX pieces a call; a short write goes on from the first byte not written.
    std::vector<iovec> batch;
    std::size_t next = 0;     // the first piece not yet in a batch
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
            const int error = errno;
            ::close(fd);
            failWithErrno("Cannot write", path, error);
        }
        auto written = static_cast<std::size_t>(n);
        while (next < pieces.size() && written >= pieces[next].size() - skipped) {
            written -= pieces[next].size() - skipped;
            skipped = 0;
            ++next;
        }
        skipped += written;
    }
    // A full disk may only show up when the data is flushed.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
        const int error = errno;
        ::close(fd);
        failWithErrno("Cannot write", path, error);
    }
    if (::close(fd) != 0) failWithErrno("Cannot write", path, errno);
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
