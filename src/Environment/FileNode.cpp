#include "Environment/FileNode.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zelvane {

namespace {

// As many links as the system itself follows before it gives up on a loop.
constexpr int linkLimit = 40;

GSErrCode errorOf(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ErrNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return ErrPermission;
    default:
        return ErrIO;
    }
}

// Whether the process's user is of the group, as its primary group or a supplementary one.
bool inGroup(gid_t group) {
    if (group == ::getegid()) {
        return true;
    }
    std::vector<gid_t> groups(std::size_t(std::max(::getgroups(0, nullptr), 0)));
    const int listed = groups.empty() ? 0 : ::getgroups(int(groups.size()), groups.data());
    return listed > 0 && std::find(groups.begin(), groups.begin() + listed, group) != groups.begin() + listed;
}

std::string folderOf(std::string const& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".")
           : slash == 0               ? std::string("/")
                                      : path.substr(0, slash);
}

// Puts the names of path in front of parts, leaving out empty ones.
void pushParts(std::deque<std::string>& parts, std::string const& path) {
    std::vector<std::string> names;
    for (std::size_t from = 0; from <= path.size();) {
        std::size_t slash = std::min(path.find('/', from), path.size());
        if (slash > from) {
            names.push_back(path.substr(from, slash - from));
        }
        from = slash + 1;
    }
    parts.insert(parts.begin(), names.begin(), names.end());
}

// The entry of that name in the folder.
std::string joined(std::string const& folder, std::string const& name) {
    return folder + (folder.size() > 1 ? "/" : "") + name;
}

// Whether users other than the process's may add, rename or remove entries of the folder: its
// owner is another user than the process's or root, or its group or others may write it.
bool othersMayWrite(std::string const& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return true;
    }
    const uid_t me = ::geteuid();
    return (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 || (info.st_uid != me && info.st_uid != 0);
}

} // namespace

FileNode::FileNode(std::string const& path) {
    // Walked a name at a time from the root, each link on the way (at the file or at a folder
    // above it) followed only as the rule above allows, so that the path found has no link left.
    if (path.empty()) {
        return;
    }
    std::deque<std::string> parts;
    pushParts(parts, path);
    if (path[0] != '/') {
        char here[PATH_MAX + 1];
        if (::getcwd(here, sizeof here) == nullptr) {
            return;
        }
        pushParts(parts, here);
    }
    const uid_t me = ::geteuid();
    std::string at = "/";
    std::string name;
    for (int hops = 0; !parts.empty();) {
        const std::string part = parts.front();
        const bool last = parts.size() == 1;
        if (part == "." || part == "..") {
            // A name that is a folder's own is no file's.
            if (last) {
                return;
            }
            at = part == "." ? at : folderOf(at);
            parts.pop_front();
            continue;
        }
        const std::string entry = joined(at, part);
        struct stat info {};
        const bool found = ::lstat(entry.c_str(), &info) == 0;
        if (!found || !S_ISLNK(info.st_mode)) {
            if (last) {
                name = part;
                break;
            }
            // A folder on the way that is missing, or is no folder, leads nowhere.
            if (!found || !S_ISDIR(info.st_mode)) {
                return;
            }
            at = entry;
            parts.pop_front();
            continue;
        }
        if (++hops > linkLimit) {
            return;
        }
        if (info.st_uid != me && info.st_uid != 0 && othersMayWrite(at)) {
            m_refused = true;
            return;
        }
        std::vector<char> target(PATH_MAX + 1);
        ssize_t length = ::readlink(entry.c_str(), target.data(), PATH_MAX);
        if (length <= 0) {
            return;
        }
        std::string next(target.data(), std::size_t(length));
        parts.pop_front();
        if (next[0] == '/') {
            at = "/";
        }
        pushParts(parts, next);
    }
    if (name.empty()) {
        return;
    }
    m_path = joined(at, name);
    struct stat info {};
    if (::lstat(m_path.c_str(), &info) == 0) {
        m_exists = true;
        m_mode = info.st_mode;
        m_owner = info.st_uid;
        m_group = info.st_gid;
    }
}

bool FileNode::isFolder() const {
    return m_exists && S_ISDIR(m_mode);
}

bool FileNode::isSpecial() const {
    return m_exists && !S_ISREG(m_mode) && !S_ISDIR(m_mode);
}

bool FileNode::isFifo() const {
    return m_exists && S_ISFIFO(m_mode);
}

bool FileNode::mayWrite() const {
    if (!m_exists) {
        return true;
    }
    const uid_t me = ::geteuid();
    const bool written =
        m_owner == me ? (m_mode & S_IWUSR) != 0 : (m_mode & (inGroup(m_group) ? S_IWGRP : S_IWOTH)) != 0;
    if (!written) {
        return false;
    }
    // In a sticky folder only the file's owner or the folder's may remove the file, which a
    // rename over it does.
    struct stat folder {};
    return m_owner == me || (::stat(folderOf(m_path).c_str(), &folder) == 0 &&
                             ((folder.st_mode & S_ISVTX) == 0 || folder.st_uid == me));
}

bool FileNode::isOwnFile(std::string const& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid();
}

bool FileNode::isAbsent(std::string const& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) != 0 && errno == ENOENT;
}

bool FileNode::isLink(std::string const& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool FileNode::changeMode(mode_t kept, mode_t added) const {
    if (m_path.empty()) {
        return false;
    }
    // Opened without following a link or waiting on a FIFO, and changed only when it is still a
    // regular file or a folder: a mode set by name could reach whatever a link put there names.
    int fd = ::open(m_path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    bool changed = ::fstat(fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) &&
                   ::fchmod(fd, (info.st_mode & kept & 07777) | added) == 0;
    ::close(fd);
    return changed;
}

GSErrCode FileNode::writeInPlace(int source) const {
    // A FIFO without a reader fails the open at once (ENXIO) instead of waiting for one for ever.
    int out = ::open(m_path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (out < 0) {
        return errorOf(errno);
    }
    int failure = 0;
    struct stat info {};
    int flags = ::fcntl(out, F_GETFL);
    if (::fstat(out, &info) != 0 || flags < 0) {
        failure = errno;
    } else if (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)) {
        // Changed since it was looked at: written into, a regular file would keep its old end.
        failure = EINVAL;
    } else if (::fcntl(out, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        // With a reader there, its reads pace the writes, as for any writer of a FIFO.
        failure = errno;
    }
    std::vector<char> buffer(16384);
    for (off_t at = 0; failure == 0;) {
        ssize_t got = ::pread(source, buffer.data(), buffer.size(), at);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            failure = got < 0 ? errno : 0;
            break;
        }
        at += got;
        for (ssize_t done = 0; done < got && failure == 0;) {
            ssize_t put = ::write(out, buffer.data() + done, std::size_t(got - done));
            if (put < 0 && errno != EINTR) {
                failure = errno;
            } else if (put > 0) {
                done += put;
            }
        }
    }
    if (::close(out) != 0 && failure == 0) {
        failure = errno;
    }
    return failure == 0 ? NoError : errorOf(failure);
}

FileIdentity FileIdentity::of(std::string const& path) {
    FileIdentity identity;
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink == 1) {
        identity.device = info.st_dev;
        identity.inode = info.st_ino;
        identity.size = info.st_size;
        identity.known = true;
    }
    return identity;
}

TemporaryFile::~TemporaryFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool TemporaryFile::make(std::string const& path, std::function<bool()> const& make) {
    // The host's file library makes files as the umask allows: for the moment of the making it
    // allows the user alone. The add-on runs on the host's one thread.
    const mode_t mask = ::umask(S_IRWXG | S_IRWXO);
    bool made = false;
    try {
        made = make();
    } catch (...) {
        ::umask(mask);
        throw;
    }
    ::umask(mask);
    if (!made) {
        return false;
    }
    // Opened without following a link or waiting on a FIFO, and taken only as the empty regular
    // file of one link that this process's user just made: another user cannot make such a file.
    int fd = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 || info.st_size != 0 ||
        info.st_uid != ::geteuid() || ::fchmod(fd, S_IRUSR | S_IWUSR) != 0) {
        ::close(fd);
        return false;
    }
    m_path = path;
    m_fd = fd;
    m_made.device = info.st_dev;
    m_made.inode = info.st_ino;
    m_made.known = true;
    m_newMode = 0666 & ~mask;
    return true;
}

bool TemporaryFile::isNamed() const {
    // The file made stays open, so no file made under the name meanwhile can take its inode.
    return m_fd >= 0 && FileIdentity::of(m_path) == m_made;
}

bool TemporaryFile::finish(FileNode const& entry) const {
    if (!isNamed()) {
        return false;
    }
    mode_t mode = m_newMode;
    struct stat info {};
    if (entry.exists() && ::fstat(m_fd, &info) == 0) {
        // Only a privileged process may give a file away; any process may give it a group of its
        // own. A change of owner clears the set-ID bits, so the mode follows it.
        if ((info.st_uid != entry.m_owner || info.st_gid != entry.m_group) &&
            ::fchown(m_fd, entry.m_owner, entry.m_group) != 0) {
            (void)::fchown(m_fd, uid_t(-1), entry.m_group);
        }
        // The content is new: no set-ID or sticky bit of the old file's carries over to it.
        mode = entry.m_mode & 0777;
    }
    return ::fchmod(m_fd, mode) == 0;
}

} // namespace zelvane
