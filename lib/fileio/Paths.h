// What the layer does with a whole path, walked as Entry walks it: each missing folder down it
// made, and each folder up from it looked at.
#pragma once

#include "fileio/Descriptor.h"
#include "fileio/Entry.h"

#include <string>
#include <system_error>

namespace fileio {

// Makes the folder `path` names and each missing folder on its way, in one walk from the root (the
// working folder for a relative path) that holds each folder it reaches and makes a missing one in
// the folder held (Entry::makeFolder), following a link only where the rules do. A folder that
// stands is no error. With Entry::Folders::players, each name is walked as that walk says (the
// folders on a link's way taken only where the rules take them), and each folder the names lead
// to, found or made, is taken only where it is the player's or root's, as it is held
// (FileError::notPlayersFolder).
std::error_code makeFolders(const std::string& path, Entry::Folders folders = Entry::Folders::any);
// The same from the open folder `top` (an absolute path from the root): answers the last folder,
// held, or none with `error` saying why. Where a folder was not taken (FileError::notPlayersFolder),
// `refused` (where given) receives that folder's path as the walk met it, its links resolved:
// relative to `top` ("" for `top` itself) until a link leads to the root; otherwise it is cleared.
Descriptor makeFolders(int top, const std::string& path, Entry::Folders folders, std::error_code& error,
                       std::string* refused = nullptr);

// The path `path` that a walk from the folder named `folder` met (Entry::path()), named from where
// `folder` is named from: an absolute one as it is, an empty one the folder itself.
std::string namedFrom(const std::string& folder, const std::string& path);

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
