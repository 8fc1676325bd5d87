// Folders as the layer reaches them through descriptors held: listed, walked down at any depth,
// emptied, and walked up through their own parents. Nothing here follows a path.
#pragma once

#include "fileio/Descriptor.h"
#include "fileio/Rules.h"

#include <sys/stat.h>

#include <functional>
#include <string>
#include <system_error>
#include <vector>

namespace fileio {

// The names of the entries of the open folder `folder`, "." and ".." left out, sorted; read
// through a description of its own, so that the folder's stays where it was.
std::error_code listNames(int folder, std::vector<std::string>& names);

// An entry met on a walk down a tree: its open folder and that folder's status, its name, its path
// below the top folder ("a/b/name") and its own status (a link's own, never followed).
struct TreeEntry {
    int folder;
    const struct stat& folderStatus;
    const std::string& name;
    const std::string& path;
    const struct stat& status;
};

// What a walk does after an entry.
enum class Step {
    next,  // on to the next entry
    enter, // into the entry, a folder, then on
    stop,  // ends the walk
};

// A walk down a tree. `found` sees each entry of a folder, in the order of their names, and
// answers what next; for Step::enter it may open the folder to walk into `inner` itself (a link's
// target, say), and otherwise the entry is opened as a folder from its folder, never following a
// link. `left` sees each folder entered once its entries are walked, with why it could not be
// opened or listed where it could not, and answers Step::next or Step::stop. A folder already
// being walked (reached again through a link) is left at once, as one without end
// (std::errc::too_many_symbolic_link_levels).
struct TreeWalk {
    std::function<Step(const TreeEntry& entry, Descriptor& inner)> found;
    std::function<Step(const TreeEntry& entry, const std::error_code& error)> left;
};

// Walks the tree of the open folder `top`, which stays open; answers why `top` could not be listed.
std::error_code walkTree(int top, const TreeWalk& walk);

// Removes what the open folder `folder` holds, at any depth, each entry reached from its folder's
// descriptor and each folder opened without following a link. In a folder that users other than
// the player may write, an entry the rules do not take (mayTake with `owners`) is kept, and the
// folders holding it too (FileError::notOwned). Answers the first failure; the rest is still
// removed. The descriptor stays open.
std::error_code removeContents(int folder, Owners owners = Owners::player);
// Removes what the open folder `folder` holds as removeContents does, but keeps every entry of a
// user other than the player and root, whatever folder holds it: for a folder of the player's that
// may have been open to other users for a while and private again since.
std::error_code removeOwnContents(int folder);

// Visits the open folder `folder` and each folder above it up to the root, each reached through
// its own parent (where its links led, not a path's): `visit` receives each, held open, with its
// status, and answers false to stop. Answers why a folder on the way could not be reached.
std::error_code walkUp(int folder, const std::function<bool(int held, const struct stat& status)>& visit);

// Whether the open folder `folder` is the open folder `outer` or lies below it.
bool liesWithin(int folder, int outer);

} // namespace fileio
