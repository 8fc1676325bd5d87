#include "Environment/FileNode.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
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

std::string folderOf(std::string const& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".")
           : slash == 0               ? std::string("/")
                                      : path.substr(0, slash);
}

std::string nameOf(std::string const& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens a file without following a link or waiting on a FIFO, and checks that it is the regular
// file of one link it should be; -1 when it is not.
int openRegular(std::string const& path, struct stat& info) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1)) {
        ::close(fd);
        fd = -1;
    }
    return fd;
}

} // namespace

FileNode::FileNode(std::string const& path) {
    std::string current = path;
    for (int hops = 0; hops <= linkLimit; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            break;
        }
        if (hops == linkLimit) {
            return;
        }
        std::vector<char> target(PATH_MAX + 1);
        ssize_t length = ::readlink(current.c_str(), target.data(), PATH_MAX);
        if (length <= 0) {
            return;
        }
        std::string next(target.data(), std::size_t(length));
        current = next[0] == '/' ? next : folderOf(current) + "/" + next;
    }
    char folder[PATH_MAX + 1];
    std::string name = nameOf(current);
    if (name.empty() || name == "." || name == ".." ||
        ::realpath(folderOf(current).c_str(), folder) == nullptr) {
        return;
    }
    m_path = std::string(folder) + (folder[1] != 0 ? "/" : "") + name;
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

bool FileNode::takeTemporary(std::string const& temporary) {
    struct stat info {};
    int fd = openRegular(temporary, info);
    if (fd < 0) {
        return false;
    }
    bool taken = info.st_size == 0 && ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    if (taken) {
        m_temporaryDevice = info.st_dev;
        m_temporaryInode = info.st_ino;
        m_temporaryMode = info.st_mode & 07777;
    }
    ::close(fd);
    return taken;
}

bool FileNode::finishTemporary(std::string const& temporary) const {
    struct stat info {};
    int fd = openRegular(temporary, info);
    if (fd < 0) {
        return false;
    }
    bool same = info.st_dev == m_temporaryDevice && info.st_ino == m_temporaryInode;
    mode_t mode = m_temporaryMode;
    if (same && m_exists) {
        // Only a privileged process may give a file away; any process may give it a group of its
        // own. A change of owner clears the set-ID bits, so the mode follows it.
        if ((info.st_uid != m_owner || info.st_gid != m_group) && ::fchown(fd, m_owner, m_group) != 0) {
            (void)::fchown(fd, uid_t(-1), m_group);
        }
        mode = m_mode & 07777;
    }
    bool finished = same && ::fchmod(fd, mode) == 0;
    ::close(fd);
    return finished;
}

GSErrCode FileNode::writeInPlace(std::string const& source) const {
    int in = ::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0) {
        return errorOf(errno);
    }
    // A FIFO waits here for its reader, as any writer of one does.
    int out = ::open(m_path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (out < 0) {
        int error = errno;
        ::close(in);
        return errorOf(error);
    }
    int failure = 0;
    std::vector<char> buffer(16384);
    for (;;) {
        ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            failure = got < 0 ? errno : 0;
            break;
        }
        for (ssize_t done = 0; done < got && failure == 0;) {
            ssize_t put = ::write(out, buffer.data() + done, std::size_t(got - done));
            if (put < 0 && errno != EINTR) {
                failure = errno;
            } else if (put > 0) {
                done += put;
            }
        }
        if (failure != 0) {
            break;
        }
    }
    if (::close(out) != 0 && failure == 0) {
        failure = errno;
    }
    ::close(in);
    return failure == 0 ? NoError : errorOf(failure);
}

} // namespace zelvane
