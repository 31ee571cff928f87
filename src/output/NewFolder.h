#pragma once

#include <string>

#include "platform/FileSystem.h"

namespace dg {

// Saving never writes into an existing project or pages folder.
inline constexpr const char* kFolderExistsWarning =
    "WARNING: NOT SAVED. DIRECTORY EXSIST.  Please use another name for your project.";

enum class NewFolderResult { Created, AlreadyThere };

// Creates the folder unless something of that name is already there (a folder or a file).
// A folder that cannot be created (or a name the file system cannot hold) throws Failure with
// the system's error, so the user does not walk away believing the work is saved.
NewFolderResult createNewFolder(FileSystem& files, const std::string& path);

}  // namespace dg
