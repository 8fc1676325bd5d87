// The file rules, each in one place: whose entries a folder's other users may have put there,
// which links are followed, what the player may read, write and replace. The player is the
// process's effective user. The permission bits decide for root too: a file made read-only, or
// another user's, is not to be written over just because root could.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <system_error>

namespace fileio {

// Whose entries a use takes as the player's. In a folder that users other than the player may
// write, another user's entry may have been put there to be read as the player's, or to receive
// what the player writes.
enum class Owners {
    player,  // only the player's and root's entries
    anyUser, // another user's regular file too, where every user of the machine is to change the
             // same file (the shared preferences); their links, FIFOs and devices still not
};

// As many links as the system itself follows before it gives up on a loop.
constexpr int linkLimit = 40;

// Whether two statuses are of one node: the same device and inode.
bool sameNode(const struct stat& a, const struct stat& b);

// Whether `owner` is the player or root, whose entries no other user may have put anywhere.
bool isPlayerOrRoot(uid_t owner);

// Whether the player is of the group, as its primary group or a supplementary one.
bool inGroup(gid_t group);

// Whether users other than the player may add, rename or remove entries of the folder of status
// `folder`: its owner is another user than the player or root, or its group or others may write
// it.
bool othersMayWrite(const struct stat& folder);

// Whether users other than the player (and root) may rename or remove the player's entries in the
// folder: its owner is another user than the player or root, or its group or others may write it
// and it is not sticky. A file made there could be exchanged for another between two uses of its
// name.
bool othersMayRename(const struct stat& folder);

// Why users other than the player (and root) may rename entries in the folder of status `folder`
// ("it belongs to user N", "any user may write in it and it is not sticky"...); empty where they
// may not.
std::string whyOthersMayRename(const struct stat& folder);

// Whether the entry of status `entry` in the folder of status `folder` may be taken as the
// player's (followed as a link, read, written): the player or root owns it, or no other user may
// write the folder to put it there; with Owners::anyUser, any user's regular file too.
bool mayTake(const struct stat& folder, const struct stat& entry, Owners owners = Owners::player);

// Whether the player may read, or write, a node of status `entry` as its permission bits say: the
// owner's, the group's or the others' bits, as the system picks them for a user other than root.
bool bitsLetRead(const struct stat& entry);
bool bitsLetWrite(const struct stat& entry);

// Why the entry of status `entry` in the folder of status `folder` may not be taken, read or
// written by the player (as above): FileError::notOwned, notReadable or notWritable, and with
// `replacing` (a new file renamed over it, which its content is then lost to) what whyNotRemoved
// says too. No error where it may.
std::error_code whyNotRead(const struct stat& folder, const struct stat& entry, Owners owners);
std::error_code whyNotWritten(const struct stat& folder, const struct stat& entry, Owners owners,
                              bool replacing);

// Why the entry of status `entry` may not be renamed or removed from the folder of status `folder`:
// another user's entry where the rules do not take it (FileError::notOwned), or another user's
// in a sticky folder that is not the player's either (FileError::notReplaceable). The entry's own
// permission bits do not decide it: its folder does, as the system decides. No error where it may.
std::error_code whyNotRemoved(const struct stat& folder, const struct stat& entry, Owners owners);

// Why the folder of status `folder`, taken by its name to hold the player's files (the host's own
// folders, an add-on's preference folder, a folder a scenario names), may not: another user's,
// whatever folder holds it (FileError::notPlayersFolder). The player's or root's may.
std::error_code whyNotPlayersFolder(const struct stat& folder);

// What an entry of the mode is, in a message: "a folder", "a FIFO", "a socket", "a device", "a
// link" or "a file".
std::string kindOf(mode_t mode);

} // namespace fileio
