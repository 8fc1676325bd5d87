#include "fileio/System.h"

#include "fileio/LastError.h"
#include "fileio/Rules.h"

#include <unistd.h>
#ifdef ZELVANE_FILEIO_LINUX
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace fileio {
namespace internal {

#ifdef ZELVANE_FILEIO_LINUX

void takePendingPipeSignal(const sigset_t& pipe) {
    const timespec none{0, 0};
    while (::sigtimedwait(&pipe, nullptr, &none) < 0 && errno == EINTR) {
    }
}

Descriptor unnamedFile(std::error_code& error) {
    Descriptor file(::memfd_create("fileio", MFD_CLOEXEC));
    error = file ? std::error_code() : lastError();
    return file;
}

std::error_code changeHeldMode(int held, mode_t mode) {
    // Through the process's own link of /proc to it.
    return ::chmod(("/proc/self/fd/" + std::to_string(held)).c_str(), mode) == 0 ? std::error_code()
                                                                                 : lastError();
}

bool onProc(int folder) {
    struct statfs info {};
    return ::fstatfs(folder, &info) == 0 && info.f_type == PROC_SUPER_MAGIC;
}

#else

void takePendingPipeSignal(const sigset_t& pipe) {
    // Waited for only where pending, so that the wait returns at once.
    sigset_t pending;
    int taken = 0;
    if (::sigpending(&pending) == 0 && ::sigismember(&pending, SIGPIPE) == 1) {
        ::sigwait(&pipe, &taken);
    }
}

Descriptor unnamedFile(std::error_code& error) {
    error = std::make_error_code(std::errc::function_not_supported);
    return {};
}

std::error_code changeHeldMode(int, mode_t) {
    return std::make_error_code(std::errc::function_not_supported);
}

bool onProc(int) {
    return false;
}

#endif

int setQuietPipe(int fd, int quiet) {
#if defined(F_SETNOSIGPIPE) && defined(F_GETNOSIGPIPE)
    const int was = ::fcntl(fd, F_GETNOSIGPIPE);
    return was >= 0 && ::fcntl(fd, F_SETNOSIGPIPE, quiet) == 0 ? int(was != 0) : -1;
#else
    (void)fd;
    (void)quiet;
    return -1;
#endif
}

namespace {

// A node's quiet holds under way, and a descriptor of each of its open files that a hold found
// not quiet, to set back once none is left.
struct QuietHolds {
    std::size_t count = 0;
    std::vector<Descriptor> toSetBack;
};

// Every thread's holds, by node; the switch is set and the count changed under one lock, so
// that no hold sets the switch back as another sets it.
std::mutex quietLock;
std::map<std::pair<dev_t, ino_t>, QuietHolds>& quietHolds() {
    static std::map<std::pair<dev_t, ino_t>, QuietHolds> holds;
    return holds;
}

} // namespace

QuietPipeHold::QuietPipeHold(int fd, QuietPipeSwitch change) : m_change(change) {
#if !defined(F_SETNOSIGPIPE)
    // The system has no such switch: nothing to hold, count or set back.
    if (change == setQuietPipe) {
        return;
    }
#endif
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return;
    }
    const std::lock_guard<std::mutex> lock(quietLock);
    const int was = change(fd, 1);
    if (was < 0) {
        return;
    }
    m_device = info.st_dev;
    m_node = info.st_ino;
    m_counted = true;
    QuietHolds& holds = quietHolds()[{m_device, m_node}];
    ++holds.count;
    if (was == 0) {
        // Kept for the node's last hold to set back; set back at once where none can be kept.
        Descriptor kept(::fcntl(fd, F_DUPFD_CLOEXEC, 0));
        kept ? holds.toSetBack.push_back(std::move(kept)) : (void)change(fd, 0);
    }
}

QuietPipeHold::~QuietPipeHold() {
    if (!m_counted) {
        return;
    }
    const std::lock_guard<std::mutex> lock(quietLock);
    const auto holds = quietHolds().find({m_device, m_node});
    if (holds == quietHolds().end() || --holds->second.count > 0) {
        return;
    }
    for (const Descriptor& kept : holds->second.toSetBack) {
        m_change(kept.get(), 0);
    }
    quietHolds().erase(holds);
}

std::error_code renameWithoutReplacing(int fromFolder, const std::string& from, int toFolder,
                                       const std::string& to, bool isFolder) {
    // In one step that fails where an entry has appeared, so that no entry made meanwhile is
    // replaced; a file system that lacks that step takes the way below.
#if defined(ZELVANE_FILEIO_LINUX)
    if (::renameat2(fromFolder, from.c_str(), toFolder, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    if (errno != EINVAL || isFolder) {
        return lastError();
    }
#elif defined(RENAME_EXCL)
    if (::renameatx_np(fromFolder, from.c_str(), toFolder, to.c_str(), RENAME_EXCL) == 0) {
        return {};
    }
    if (errno != ENOTSUP && errno != EINVAL) {
        return lastError();
    }
#endif
    if (isFolder) {
        // A folder takes no second link: it is renamed only where no entry stands. One that
        // appears meanwhile is replaced by rename(2) only where it is an empty folder, never a file
        // or a folder that holds anything.
        struct stat standing {};
        if (::fstatat(toFolder, to.c_str(), &standing, AT_SYMLINK_NOFOLLOW) == 0) {
            return std::make_error_code(std::errc::file_exists);
        }
        if (errno != ENOENT) {
            return lastError();
        }
        return ::renameat(fromFolder, from.c_str(), toFolder, to.c_str()) == 0 ? std::error_code()
                                                                               : lastError();
    }
    // A second link made only where no entry stands, then the first removed.
    struct stat moved {};
    if (::fstatat(fromFolder, from.c_str(), &moved, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::linkat(fromFolder, from.c_str(), toFolder, to.c_str(), 0) != 0) {
        return lastError();
    }
    if (::unlinkat(fromFolder, from.c_str(), 0) == 0) {
        return {};
    }
    // The entry keeps its old name alone: the new one is removed while it still leads to the entry.
    const std::error_code failed = lastError();
    struct stat named {};
    if (::fstatat(toFolder, to.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && sameNode(named, moved)) {
        ::unlinkat(toFolder, to.c_str(), 0);
    }
    return failed;
}

} // namespace internal
} // namespace fileio
