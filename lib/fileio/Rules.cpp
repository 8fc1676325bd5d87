#include "fileio/Rules.h"

#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Internal.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace fileio {
namespace {

bool trusted(uid_t owner) {
    return owner == ::geteuid() || owner == 0;
}

// The bit of `entry`'s mode that the system checks for the player: the owner's, the group's or the
// others' (`user` is S_IRUSR or S_IWUSR).
bool bitLets(const struct stat& entry, mode_t user) {
    if (entry.st_uid == ::geteuid()) {
        return (entry.st_mode & user) != 0;
    }
    return (entry.st_mode & (inGroup(entry.st_gid) ? user >> 3 : user >> 6)) != 0;
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

} // namespace

bool inGroup(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    std::vector<gid_t> groups(std::size_t(std::max(::getgroups(0, nullptr), 0)));
    const int listed = groups.empty() ? 0 : ::getgroups(int(groups.size()), groups.data());
    return listed > 0 && std::find(groups.begin(), groups.begin() + listed, group) != groups.begin() + listed;
}

bool othersMayWrite(const struct stat& folder) {
    return !trusted(folder.st_uid) || (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

bool othersMayRename(const struct stat& folder) {
    return !trusted(folder.st_uid) ||
           ((folder.st_mode & (S_IWGRP | S_IWOTH)) != 0 && (folder.st_mode & S_ISVTX) == 0);
}

bool mayTake(const struct stat& folder, const struct stat& entry, Owners owners) {
    return trusted(entry.st_uid) || (owners == Owners::anyUser && S_ISREG(entry.st_mode)) ||
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
    // In a sticky folder only the entry's owner or the folder's may remove the entry, which a
    // rename over it does.
    const uid_t self = ::geteuid();
    if (replacing && (folder.st_mode & S_ISVTX) != 0 && entry.st_uid != self && folder.st_uid != self) {
        return FileError::notReplaceable;
    }
    return {};
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

Exposure othersMayRenameIn(const std::string& path) {
    const Entry named(path);
    Exposure exposure{named.path().empty() ? path : named.path(), ""};
    Descriptor folder(named.error() || named.folder() < 0 ? -1 : named.open(internal::searchFlags));
    if (!folder) {
        const std::error_code error = named.error()        ? named.error()
                                      : named.folder() < 0 ? named.missing()
                                                           : internal::lastError();
        exposure.why = error.message();
        return exposure;
    }
    // Up from the folder by its own parents, which are where its links led.
    for (;;) {
        struct stat info {};
        if (::fstat(folder.get(), &info) != 0) {
            exposure.why = internal::lastError().message();
            return exposure;
        }
        const bool sticky = (info.st_mode & S_ISVTX) != 0;
        if (!trusted(info.st_uid)) {
            exposure.why = "it belongs to user " + std::to_string(info.st_uid);
        } else if ((info.st_mode & S_IWOTH) != 0 && !sticky) {
            exposure.why = "any user may write in it and it is not sticky";
        } else if ((info.st_mode & S_IWGRP) != 0 && !sticky) {
            exposure.why = "its group may write in it and it is not sticky";
        }
        if (exposure) {
            return exposure;
        }
        Descriptor up(::openat(folder.get(), "..", internal::searchFlags));
        struct stat above {};
        if (!up || ::fstat(up.get(), &above) != 0) {
            exposure.why = internal::lastError().message();
            return exposure;
        }
        if (above.st_dev == info.st_dev && above.st_ino == info.st_ino) {
            return Exposure{};
        }
        folder = std::move(up);
        exposure.folder = parentOf(exposure.folder);
    }
}

} // namespace fileio
