#include "output/NewFolder.h"

#include "imaging/Failure.h"

namespace dg {

NewFolderResult createNewFolder(FileSystem& files, const std::string& path) {
    // The system would take the name only up to a NUL and save somewhere else than asked.
    if (path.find('\0') != std::string::npos) {
        throw Failure("The name contains a character that folder names cannot hold.");
    }
    if (files.exists(path)) return NewFolderResult::AlreadyThere;
    files.createFolder(path);
    return NewFolderResult::Created;
}

}  // namespace dg
