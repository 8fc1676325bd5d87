#include "fileio/Rules.h"

#include "fileio/FileError.h"

#include <unistd.h>

#include <algorithm>
#include <vector>

namespace fileio {
namespace {

// The bit of `entry`'s mode that the system checks for the player: the owner's, the group's or the
// others' (`user` is S_IRUSR or S_IWUSR).
bool bitLets(const struct stat& entry, mode_t user) {
    if (entry.st_uid == ::geteuid()) {
        return (entry.st_mode & user) != 0;
    }
    return (entry.st_mode & (inGroup(entry.st_gid) ? user >> 3 : user >> 6)) != 0;
}

} // namespace

bool sameNode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool isPlayerOrRoot(uid_t owner) {
    return owner == ::geteuid() || owner == 0;
}

bool inGroup(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    std::vector<gid_t> groups(std::size_t(std::max(::getgroups(0, nullptr), 0)));
    const int listed = groups.empty() ? 0 : ::getgroups(int(groups.size()), groups.data());
    return listed > 0 && std::find(groups.begin(), groups.begin() + listed, group) != groups.begin() + listed;
}

bool othersMayWrite(const struct stat& folder) {
    return !isPlayerOrRoot(folder.st_uid) || (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

bool othersMayRename(const struct stat& folder) {
    return !whyOthersMayRename(folder).empty();
}

bool mayTake(const struct stat& folder, const struct stat& entry, Owners owners) {
    return isPlayerOrRoot(entry.st_uid) || (owners == Owners::anyUser && S_ISREG(entry.st_mode)) ||
           !othersMayWrite(folder);
}

bool bitsLetRead(const struct stat& entry) {
    return bitLets(entry, S_IRUSR);
}

bool bitsLetWrite(const struct stat& entry) {
    return bitLets(entry, S_IWUSR);
}

std::error_code whyNotRead(const struct stat& folder, const struct stat& entry, Owners owners) {
    if (!mayTake(folder, entry, owners)) {
        return FileError::notOwned;
    }
    return bitsLetRead(entry) ? std::error_code() : make_error_code(FileError::notReadable);
}

std::error_code whyNotWritten(const struct stat& folder, const struct stat& entry, Owners owners,
                              bool replacing) {
    if (!mayTake(folder, entry, owners)) {
        return FileError::notOwned;
    }
    if (!bitsLetWrite(entry)) {
        return FileError::notWritable;
    }
    return replacing ? whyNotRemoved(folder, entry, owners) : std::error_code();
}

std::error_code whyNotRemoved(const struct stat& folder, const struct stat& entry, Owners owners) {
    if (!mayTake(folder, entry, owners)) {
        return FileError::notOwned;
    }
    // In a sticky folder only the entry's owner or the folder's may rename or remove the entry.
    const uid_t self = ::geteuid();
    if ((folder.st_mode & S_ISVTX) != 0 && entry.st_uid != self && folder.st_uid != self) {
        return FileError::notReplaceable;
    }
    return {};
}

std::error_code whyNotPlayersFolder(const struct stat& folder) {
    return isPlayerOrRoot(folder.st_uid) ? std::error_code() : make_error_code(FileError::notPlayersFolder);
}

std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "a folder";
    }
    if (S_ISFIFO(mode)) {
        return "a FIFO";
    }
    if (S_ISSOCK(mode)) {
        return "a socket";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "a device";
    }
    return S_ISLNK(mode) ? "a link" : "a file";
}

std::string whyOthersMayRename(const struct stat& folder) {
    const bool sticky = (folder.st_mode & S_ISVTX) != 0;
    if (!isPlayerOrRoot(folder.st_uid)) {
        return "it belongs to user " + std::to_string(folder.st_uid);
    }
    if ((folder.st_mode & S_IWOTH) != 0 && !sticky) {
        return "any user may write in it and it is not sticky";
    }
    if ((folder.st_mode & S_IWGRP) != 0 && !sticky) {
        return "its group may write in it and it is not sticky";
    }
    return "";
}

} // namespace fileio
