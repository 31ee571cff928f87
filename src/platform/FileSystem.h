#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace dg {

// Files and folders. Failures throw Failure with the system's own error text.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The process's current folder (the folder of the last file chosen in a dialog).
    virtual std::string currentFolder() const = 0;
    virtual void setCurrentFolder(const std::string& path) = 0;

    virtual bool exists(const std::string& path) const = 0;  // a file or a folder
    virtual bool isFolder(const std::string& path) const = 0;
    // Creates one folder level; the parent must exist.
    virtual void createFolder(const std::string& path) = 0;

    virtual std::vector<std::uint8_t> readFile(const std::string& path) const = 0;
    // Writes the whole file, replacing it; a short write (a full disk) is an error.
    virtual void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) = 0;
    // Writes the pieces one after another as one file, as writeFile does with their bytes
    // joined; a large picture file is written from the picture's own rows this way, without
    // a copy of it in memory. This one joins them and calls writeFile.
    virtual void writeFilePieces(const std::string& path,
                                 const std::vector<std::span<const std::uint8_t>>& pieces);
    // Removes a file or an empty folder that this run made (a cancelled save's); what is not
    // there, or cannot be removed, is left as it is.
    virtual void removeMade(const std::string& path) = 0;
};

// The real file system of this machine (POSIX calls; the current folder is the process's).
class LocalFileSystem : public FileSystem {
public:
    std::string currentFolder() const override;
    void setCurrentFolder(const std::string& path) override;
    bool exists(const std::string& path) const override;
    bool isFolder(const std::string& path) const override;
    void createFolder(const std::string& path) override;
    std::vector<std::uint8_t> readFile(const std::string& path) const override;
    void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) override;
    void writeFilePieces(const std::string& path,
                         const std::vector<std::span<const std::uint8_t>>& pieces) override;
    void removeMade(const std::string& path) override;
};

// Joins a folder and a name with one path separator.
std::string joinPath(const std::string& folder, const std::string& name);
// The folder part of a path ("" when there is none).
std::string folderOf(const std::string& path);

}  // namespace dg
