#include "sim/ReplaceFile.h"

#include "sim/FileEntry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <random>
#include <vector>

namespace sim {
namespace {

std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

bool inGroup(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(std::size_t(std::max(count, 0)));
    const int listed = ::getgroups(int(groups.size()), groups.data());
    return listed > 0 && std::find(groups.begin(), groups.begin() + listed, group) != groups.begin() + listed;
}

// Whether the user may write a file of status `info` as its permission bits say, the owner's, the
// group's or the others' as the system picks them for a user other than root. Root would pass the
// system's check, yet a file made read-only, or another user's, is not to be written over.
bool mayWrite(const struct stat& info) {
    if (info.st_uid == ::geteuid()) {
        return (info.st_mode & S_IWUSR) != 0;
    }
    return (info.st_mode & (inGroup(info.st_gid) ? S_IWGRP : S_IWOTH)) != 0;
}

// The status of the entry to replace, in `old` (`exists` false where there is none), or why it is
// not to be replaced: a link not followed, a missing folder, a file the user may not write, or
// another user's in a sticky folder, from which the rename would remove it only for its owner.
std::error_code replaceable(const FileEntry& entry, struct stat& old, bool& exists) {
    if (entry.error()) {
        return entry.error();
    }
    if (entry.folder() < 0) {
        return entry.missing();
    }
    exists = entry.status(old);
    if (!exists) {
        return errno == ENOENT ? std::error_code() : lastError();
    }
    if (!mayWrite(old)) {
        return FileError::notWritable;
    }
    struct stat folder {};
    if (::fstat(entry.folder(), &folder) != 0) {
        return lastError();
    }
    const uid_t self = ::geteuid();
    if ((folder.st_mode & S_ISVTX) != 0 && old.st_uid != self && folder.st_uid != self) {
        return FileError::notReplaceable;
    }
    return {};
}

// A new file beside the entry, named as the framework names its own: hidden, beside the file,
// ending in ".tmp". Answers its descriptor and sets `name`, or -1 with errno set.
int makeTemporary(const FileEntry& entry, std::string& name) {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::mt19937_64 random(std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                           (std::uint64_t(::getpid()) << 32));
    std::uniform_int_distribution<std::size_t> letter(0, sizeof letters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix(6, ' ');
        for (char& c : suffix) {
            c = letters[letter(random)];
        }
        name = "." + entry.name() + "." + suffix + ".tmp";
        const int fd = ::openat(entry.folder(), name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// Gives the new file `fd` the permissions of the file of status `old` it replaces, and its owner
// where the user may (root may give any, another user only a group of their own). Without such a
// file it is readable as the user's umask allows, as a file made by opening it is. Setuid, setgid
// and sticky bits are not carried over to a text the file did not hold.
std::error_code takeMode(int fd, const struct stat* old) {
    if (old != nullptr && S_ISREG(old->st_mode)) {
        // Ownership first: a change of owner clears the permission bits' setuid and setgid.
        if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
            static_cast<void>(::fchown(fd, old->st_uid, old->st_gid) == 0 ||
                              ::fchown(fd, ::geteuid(), old->st_gid) == 0);
        }
        return ::fchmod(fd, old->st_mode & 0777) == 0 ? std::error_code() : lastError();
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return ::fchmod(fd, 0666 & ~mask) == 0 ? std::error_code() : lastError();
}

// A file being made to replace an entry: the entry's status and the new file beside it.
struct Replacement {
    struct stat old {};
    bool exists = false;
    std::string temporary; // its name in the entry's folder
    int fd = -1;
};

// Checks that the entry may be replaced (replaceable) and makes the file beside it; answers why not.
std::error_code startReplacing(const FileEntry& entry, Replacement& made) {
    if (std::error_code refused = replaceable(entry, made.old, made.exists)) {
        return refused;
    }
    made.fd = makeTemporary(entry, made.temporary);
    return made.fd < 0 ? lastError() : std::error_code();
}

std::error_code replaceEntry(const FileEntry& entry, const std::string& text) {
    Replacement made;
    if (std::error_code refused = startReplacing(entry, made)) {
        return refused;
    }
    const int fd = made.fd;
    const std::string& temporary = made.temporary;
    std::error_code failure = takeMode(fd, made.exists ? &made.old : nullptr);
    if (!failure) {
        failure = writeAll(fd, text);
    }
    if (::close(fd) != 0 && !failure) {
        failure = lastError();
    }
    if (!failure &&
        ::renameat(entry.folder(), temporary.c_str(), entry.folder(), entry.name().c_str()) != 0) {
        failure = lastError();
    }
    if (failure) {
        ::unlinkat(entry.folder(), temporary.c_str(), 0);
    }
    return failure;
}

int openEntryInPlace(const FileEntry& entry, std::error_code& error) {
    if (entry.error()) {
        error = entry.error();
        return -1;
    }
    struct stat info {};
    const bool fifo = entry.status(info) && S_ISFIFO(info.st_mode);
    // Without O_NONBLOCK a FIFO's open waits for a reader, for ever where none comes.
    const int fd = entry.open(O_WRONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = errno == ENXIO && fifo ? make_error_code(FileError::noReader) : lastError();
        return -1;
    }
    if (::fstat(fd, &info) != 0) {
        error = lastError();
    } else if (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) {
        // Changed since it was looked at: written into, a regular file would keep its old end.
        error = std::make_error_code(std::errc::invalid_argument);
    } else {
        // Open now, the writes may wait for a slow reader as any writer's do.
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            error = lastError();
        }
    }
    if (error) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::error_code writeEntryInPlace(const FileEntry& entry, const std::string& text) {
    std::error_code failure;
    const int fd = openEntryInPlace(entry, failure);
    if (fd < 0) {
        return failure;
    }
    failure = writeAll(fd, text);
    if (::close(fd) != 0 && !failure) {
        failure = lastError();
    }
    return failure;
}

} // namespace

std::filesystem::path followedPath(std::filesystem::path path, std::error_code& error) {
    const FileEntry entry(path);
    error = entry.error();
    return error ? std::filesystem::path() : entry.path();
}

std::error_code writeFile(const std::filesystem::path& path, const std::string& text) {
    const FileEntry entry(path);
    if (entry.error()) {
        return entry.error();
    }
    struct stat info {};
    const bool exists = entry.status(info);
    if (exists && S_ISDIR(info.st_mode)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    // A node that is not a regular file is the system's or another program's: replacing it would
    // put a plain file where they expect the node.
    return exists && !S_ISREG(info.st_mode) ? writeEntryInPlace(entry, text) : replaceEntry(entry, text);
}

std::error_code replaceFile(const std::filesystem::path& path, const std::string& text) {
    return replaceEntry(FileEntry(path), text);
}

std::error_code checkReplaceable(const std::filesystem::path& path) {
    const FileEntry entry(path);
    Replacement made;
    if (std::error_code refused = startReplacing(entry, made)) {
        return refused;
    }
    ::close(made.fd);
    ::unlinkat(entry.folder(), made.temporary.c_str(), 0);
    return {};
}

std::error_code makeNewFile(const std::filesystem::path& path, const std::string& text) {
    const FileEntry entry(path);
    if (entry.error()) {
        return entry.error();
    }
    const int fd = entry.open(O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY, 0666);
    if (fd < 0) {
        return lastError();
    }
    struct stat made {};
    std::error_code failure = ::fstat(fd, &made) == 0 ? writeAll(fd, text) : lastError();
    if (::close(fd) != 0 && !failure) {
        failure = lastError();
    }
    // A file cut short is removed, while its name still leads to the file made.
    struct stat now {};
    if (failure && entry.status(now) && now.st_dev == made.st_dev && now.st_ino == made.st_ino) {
        ::unlinkat(entry.folder(), entry.name().c_str(), 0);
    }
    return failure;
}

int openInPlace(const std::filesystem::path& path, std::error_code& error) {
    return openEntryInPlace(FileEntry(path), error);
}

std::error_code writeAll(int fd, const std::string& text) {
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno != EINTR) {
            return lastError();
        }
        if (n > 0) {
            written += std::size_t(n);
        }
    }
    return {};
}

std::error_code writeInPlace(const std::filesystem::path& path, const std::string& text) {
    return writeEntryInPlace(FileEntry(path), text);
}

} // namespace sim
