#include "fileio/System.h"

#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Internal.h"
#include "fileio/Rules.h"
#include "fileio/TemporaryFolder.h"

#include <unistd.h>
#ifdef ZELVANE_FILEIO_LINUX
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#endif

#include <cstdio>
#include <cstdlib>

namespace fileio {
namespace internal {

namespace {

// The bits of `kept` that the node of status `now` has, and `added`; `before` receives its bits.
mode_t modeFrom(const struct stat& now, mode_t kept, mode_t added, mode_t* before) {
    if (before != nullptr) {
        *before = now.st_mode & 07777;
    }
    return (now.st_mode & kept & 07777) | added;
}

} // namespace

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

std::error_code changeModeUnread(const Entry& entry, const struct stat& info, mode_t kept, mode_t added,
                                 mode_t* before) {
    // Held without reading it, and changed through the process's own link of /proc to it.
    struct stat now = info;
    std::error_code error;
    const Descriptor node =
        entry.openLookedAt(O_PATH | (S_ISDIR(info.st_mode) ? O_DIRECTORY : 0), now, error);
    if (error) {
        return error;
    }
    const mode_t mode = modeFrom(now, kept, added, before);
    return ::chmod(("/proc/self/fd/" + std::to_string(node.get())).c_str(), mode) == 0 ? std::error_code()
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
    // Made in a folder of the player's own that no one else may enter, made for it in TMPDIR and
    // removed at once: no other user reaches the file, and nothing is left once it is closed.
    const char* variable = std::getenv("TMPDIR");
    const Entry parent(variable != nullptr && *variable != '\0' ? variable : "/tmp");
    const Descriptor folder(parent.error() ? -1 : parent.open(O_RDONLY | O_DIRECTORY));
    if (!folder) {
        error = parent.error() ? parent.error() : lastError();
        return {};
    }
    // The layer's own scratch, as Linux's file of no name is.
    const FaultsHeld held;
    TemporaryFolder own(folder.get(), "fileio-", "", error);
    if (error) {
        return {};
    }
    const char* name = "content";
    Descriptor file(::openat(own.descriptor(), name,
                             O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600));
    if (!file || ::unlinkat(own.descriptor(), name, 0) != 0) {
        error = lastError();
    }
    const std::error_code removed = own.remove();
    if (!error) {
        error = removed;
    }
    return error ? Descriptor() : std::move(file);
}

std::error_code changeModeUnread(const Entry& entry, const struct stat& info, mode_t kept, mode_t added,
                                 mode_t* before) {
    // No descriptor holds a node without reading it: the mode is set by its name, only where no
    // other user may put another node under that name, and only while the node is the one looked
    // at, before and after.
    struct stat folder {};
    if (!entry.folderStatus(folder)) {
        return lastError();
    }
    if (entry.isOpenFile() || othersMayRename(folder)) {
        return FileError::notReadable;
    }
    struct stat now {};
    if (!entry.status(now)) {
        return lastError();
    }
    if (!sameNode(now, info) || S_ISLNK(now.st_mode)) {
        return FileError::changed;
    }
    const mode_t mode = modeFrom(now, kept, added, before);
    if (::fchmodat(entry.folder(), entry.name().c_str(), mode, 0) != 0) {
        return lastError();
    }
    struct stat after {};
    if (!entry.status(after)) {
        return lastError();
    }
    return sameNode(after, info) ? std::error_code() : make_error_code(FileError::changed);
}

bool onProc(int) {
    return false;
}

#endif

std::error_code renameWithoutReplacing(int fromFolder, const std::string& from, int toFolder,
                                       const std::string& to, bool isFolder) {
#ifdef ZELVANE_FILEIO_LINUX
    // In one step that fails where an entry has appeared, so that no entry made meanwhile is
    // replaced; a file system that lacks that step takes a file as below.
    if (::renameat2(fromFolder, from.c_str(), toFolder, to.c_str(), RENAME_NOREPLACE) == 0) {
        return {};
    }
    if (errno != EINVAL || isFolder) {
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
    if (::linkat(fromFolder, from.c_str(), toFolder, to.c_str(), 0) != 0) {
        return lastError();
    }
    ::unlinkat(fromFolder, from.c_str(), 0);
    return {};
}

} // namespace internal
} // namespace fileio
