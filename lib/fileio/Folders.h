// Folders as the layer reaches them: listed through a descriptor held, and made one by one down a
// path, each through the folder above it.
#pragma once

#include <string>
#include <system_error>
#include <vector>

namespace fileio {

// The names of the entries of the open folder `folder`, "." and ".." left out, sorted; read
// through a description of its own, so that the folder's stays where it was.
std::error_code listNames(int folder, std::vector<std::string>& names);

// Makes the folder `path` names and each missing folder above it, each through the folder above it
// (Entry::makeFolder), following a link only where the rules do. A folder that stands is no error.
std::error_code makeFolders(const std::string& path);

// Removes what the open folder `folder` holds, at any depth, each entry reached from its folder's
// descriptor and each folder opened without following a link; answers the first failure. The
// descriptor stays open.
std::error_code removeContents(int folder);

// Whether the open folder `folder` is the open folder `outer` or lies below it, found by going up
// from it through its own parents (where its links led, not a path's).
bool liesWithin(int folder, int outer);

} // namespace fileio
