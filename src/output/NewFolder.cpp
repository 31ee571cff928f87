#include "output/NewFolder.h"

namespace dg {

NewFolderResult createNewFolder(FileSystem& files, const std::string& path) {
    if (files.exists(path)) return NewFolderResult::AlreadyThere;
    files.createFolder(path);
    return NewFolderResult::Created;
}

}  // namespace dg
