// What the layer does with a whole path, walked as Entry walks it: each missing folder down it
// made, and each folder up from it looked at.
#pragma once

#include <string>
#include <system_error>

namespace fileio {

// Makes the folder `path` names and each missing folder above it, each through the folder above it
// (Entry::makeFolder), following a link only where the rules do. A folder that stands is no error.
std::error_code makeFolders(const std::string& path);

// A folder in which, or in a folder above which, users other than the player and root may rename
// entries, and so exchange a folder made there for one of theirs: which folder and why, or none.
struct Exposure {
    std::string folder; // its path, links resolved
    std::string why;    // empty where no such folder is
    explicit operator bool() const { return !why.empty(); }
};
// Looks at the folder `path` (reached as Entry reaches it) and every folder above it; one that
// cannot be reached is exposed, and `why` says why.
Exposure othersMayRenameIn(const std::string& path);

} // namespace fileio
