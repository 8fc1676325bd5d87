#include "fileio/WriteWhole.h"

#include "fileio/Faults.h"
#include "fileio/FileError.h"
#include "fileio/Folders.h"
#include "fileio/Internal.h"
#include "fileio/TemporaryFolder.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

namespace fileio {

using internal::lastError;

namespace {

// Keeps a write to `fd`, a pipe whose reader has left, from raising SIGPIPE, which would end the
// process unless it ignores the signal. Where the system has a switch for it on the open file
// (internal::setQuietPipe), it is held set while the object lives (internal::QuietPipeHold). The
// signal is also held back for the thread, and one the writes raised is taken off before it is
// let through again: elsewhere that alone keeps it, where no other thread of the process takes it.
// The write fails with EPIPE all the same.
class PipeSignalHeld {
public:
    explicit PipeSignalHeld(int fd) : m_quiet(fd) {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_before);
        sigset_t pending;
        m_wasPending = sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    }
    ~PipeSignalHeld() {
        if (m_raised && !m_wasPending) {
            internal::takePendingPipeSignal(m_pipe);
        }
        pthread_sigmask(SIG_SETMASK, &m_before, nullptr);
    }
    PipeSignalHeld(const PipeSignalHeld&) = delete;
    PipeSignalHeld& operator=(const PipeSignalHeld&) = delete;
    void raised() { m_raised = true; }

private:
    internal::QuietPipeHold m_quiet; // set back after the signal is let through again
    sigset_t m_pipe;
    sigset_t m_before;
    bool m_wasPending = false;
    bool m_raised = false;
};

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The new file being written to replace an entry: where it lies (the entry's folder, or a folder
// of the player's own made beside the entry) and its descriptor. Whatever ends the write, an
// exception included, the file made under its name and the folder made for it go with the object.
struct Temporary {
    TemporaryFolder own;
    int folder = -1;
    std::string name;
    Descriptor file;
    bool named = false; // the name leads to the file made, which is not yet renamed

    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    // Left anything only as an exception unwinds, which may be an allocation that failed: where
    // the clean-up throws as well, what is left goes by calls that allocate nothing.
    ~Temporary() {
        try {
            discard();
        } catch (...) {
            if (named) {
                ::unlinkat(folder, name.c_str(), 0);
                named = false;
            }
            own.removeEmpty();
        }
    }

    // Removes the file made under its name, and the folder made for it.
    void discard() {
        if (named) {
            if (!injectedFault(Call::remove, folder)) {
                ::unlinkat(folder, name.c_str(), 0);
            }
            named = false;
        }
        if (own.made()) {
            own.remove();
        }
    }
};

// Makes the new file beside the entry, in the folder of status `info`, its user's alone.
std::error_code makeTemporary(const Entry& entry, const struct stat& info, Temporary& made) {
    const std::string prefix = "." + entry.name() + ".";
    if (othersMayRename(info)) {
        // A file made there could be renamed away and another put under its name between its
        // making and its rename: it is made in a folder that only the player may change.
        std::error_code error;
        made.own = TemporaryFolder(entry.folder(), prefix, ".tmp", error);
        if (error) {
            return error;
        }
        made.folder = made.own.descriptor();
    } else {
        made.folder = entry.folder();
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        made.name =
            made.own.made() ? entry.name() : prefix + internal::randomHex(TemporaryFolder::digits) + ".tmp";
        if (const std::error_code injected = injectedFault(Call::makeFile, made.folder)) {
            return injected;
        }
        made.file.reset(::openat(made.folder, made.name.c_str(),
                                 O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600));
        if (made.file) {
            made.named = true;
            return {};
        }
        if (errno != EEXIST || made.own.made()) {
            return lastError();
        }
    }
    return std::make_error_code(std::errc::file_exists);
}

// The file that gathers the content of a node written in place: one of no name, which needs no
// folder of the node's (a node's, such as /dev, may take no new file) and leaves nothing behind.
// Where the system makes none, a file made in a folder of the player's own, made for it in TMPDIR,
// and unnamed at once with its folder: no other user reaches it, and nothing is left.
std::error_code gather(Temporary& made) {
    std::error_code error;
    made.file = internal::unnamedFile(error);
    if (error != std::errc::function_not_supported) {
        return error;
    }
    const char* variable = std::getenv("TMPDIR");
    const Entry parent(variable != nullptr && *variable != '\0' ? variable : "/tmp");
    const Descriptor folder(parent.error() ? -1 : parent.open(O_RDONLY | O_DIRECTORY));
    if (!folder) {
        return parent.error() ? parent.error() : lastError();
    }
    // The layer's own scratch, which no caller sees, as a file of no name is.
    const internal::FaultsHeld held;
    TemporaryFolder own(folder.get(), "fileio-", "", error);
    const char* name = "content";
    if (!error) {
        made.file.reset(::openat(own.descriptor(), name,
                                 O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600));
        error = made.file && ::unlinkat(own.descriptor(), name, 0) == 0 ? own.remove() : lastError();
    }
    if (error) {
        made.file.reset();
        own.remove();
    }
    return error;
}

// Gives the new file the owner (where the player may: root may give any, another user only a
// group of their own) and the permission bits of the file of status `old` it replaces, set-ID and
// sticky bits dropped; without one, 0666 less the umask, as a file made by opening it gets.
std::error_code takeOwnerAndMode(int fd, const struct stat* old) {
    mode_t mode = 0666 & ~currentUmask();
    if (old != nullptr) {
        struct stat made {};
        if (::fstat(fd, &made) != 0) {
            return lastError();
        }
        // Owner first: a change of owner clears the set-ID bits.
        if ((made.st_uid != old->st_uid || made.st_gid != old->st_gid) &&
            ::fchown(fd, old->st_uid, old->st_gid) != 0) {
            static_cast<void>(::fchown(fd, uid_t(-1), old->st_gid));
        }
        mode = old->st_mode & 0777;
    }
    return ::fchmod(fd, mode) == 0 ? std::error_code() : lastError();
}

// Puts the new file in the entry's place, in one step; for a file that must be new, only where no
// entry stands.
std::error_code putInPlace(const Entry& entry, Temporary& made, bool mustBeNew) {
    if (const std::error_code injected = injectedFault(Call::rename, entry.folder())) {
        return injected;
    }
    if (!mustBeNew) {
        return ::renameat(made.folder, made.name.c_str(), entry.folder(), entry.name().c_str()) == 0
                   ? std::error_code()
                   : lastError();
    }
    return internal::renameWithoutReplacing(made.folder, made.name, entry.folder(), entry.name(), false);
}

// Whether the entry of status `info` is written in place: a node that is no regular file, or a file
// only the system can reach (a /proc link to an open file), which has no folder to be replaced in.
bool inPlace(const Entry& entry, const struct stat& info) {
    return !S_ISREG(info.st_mode) || entry.isOpenFile();
}

// A time of a status to the nanosecond: its modification time, or its change time.
struct timespec modifiedAt(const struct stat& info) {
#if defined(__APPLE__)
    return info.st_mtimespec;
#else
    return info.st_mtim;
#endif
}

struct timespec changedAt(const struct stat& info) {
#if defined(__APPLE__)
    return info.st_ctimespec;
#else
    return info.st_ctim;
#endif
}

bool operator==(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Why the file to be written over is not the one read (WriteOptions::asRead): its status `now`, or
// none (`exists` false).
std::error_code whyNotAsRead(const WriteOptions& options, bool exists, const struct stat& now) {
    return options.asRead == nullptr || (exists && isAsRead(now, *options.asRead))
               ? std::error_code()
               : make_error_code(FileError::notAsRead);
}

// What may be written at the entry: its folder's and its own status (`exists` false where none
// stands), or why not.
std::error_code lookAt(const Entry& entry, const WriteOptions& options, struct stat& folder, struct stat& old,
                       bool& exists) {
    if (entry.error()) {
        return entry.error();
    }
    if (entry.folder() < 0) {
        return options.asRead != nullptr ? make_error_code(FileError::notAsRead) : entry.missing();
    }
    if (!entry.folderStatus(folder)) {
        return lastError();
    }
    exists = entry.status(old);
    if (!exists && errno != ENOENT) {
        return lastError();
    }
    if (const std::error_code changed = whyNotAsRead(options, exists, old)) {
        return changed;
    }
    if (!exists) {
        return {};
    }
    if (S_ISDIR(old.st_mode)) {
        return std::make_error_code(std::errc::is_a_directory);
    }
    if (options.mustBeNew) {
        return std::make_error_code(std::errc::file_exists);
    }
    const bool special = inPlace(entry, old);
    if (special && !options.inPlace) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    // A node that is written in place is not removed: the sticky rule does not reach it.
    return whyNotWritten(folder, old, options.owners, !special);
}

} // namespace

bool isAsRead(const struct stat& now, const struct stat& read) {
    return sameNode(now, read) &&
           (!S_ISREG(read.st_mode) || (now.st_size == read.st_size && modifiedAt(now) == modifiedAt(read) &&
                                       changedAt(now) == changedAt(read)));
}

Writer textWriter(const std::string& text) {
    return [&text](int fd) { return writeAll(fd, text.data(), text.size()); };
}

std::error_code writeWhole(const Entry& entry, const Writer& write, const WriteOptions& options) {
    struct stat folder {};
    struct stat old {};
    bool exists = false;
    if (const std::error_code refused = lookAt(entry, options, folder, old, exists)) {
        return refused;
    }
    const bool special = exists && inPlace(entry, old);
    std::error_code failure;
    // A node is opened before anything is made, so that nothing is written for a FIFO that no
    // process reads: it takes the content as it stands, for replacing it would put a plain file
    // where the system or another program expects the node.
    Descriptor node;
    if (special) {
        node = openInPlace(entry, options.owners, failure);
        struct stat opened {};
        if (!failure && options.asRead != nullptr) {
            failure = ::fstat(node.get(), &opened) != 0 ? lastError() : whyNotAsRead(options, true, opened);
        }
        if (failure) {
            return failure;
        }
    }
    Temporary made;
    failure = special ? gather(made) : makeTemporary(entry, folder, made);
    if (!failure) {
        failure = write(made.file.get());
    }
    if (!failure && special) {
        failure = copyAll(made.file.get(), node.get());
        if (!node.reset() && !failure) {
            failure = lastError();
        }
    } else if (!failure) {
        failure = takeOwnerAndMode(made.file.get(), exists ? &old : nullptr);
        if (!failure && ::fsync(made.file.get()) != 0) {
            failure = lastError();
        }
        // The file read may have been changed or put aside while the new one was written.
        if (!failure && options.asRead != nullptr) {
            struct stat now {};
            const bool stands = entry.status(now);
            failure = !stands && errno != ENOENT ? lastError() : whyNotAsRead(options, stands, now);
        }
        if (!failure) {
            failure = putInPlace(entry, made, options.mustBeNew);
        }
        if (!failure) {
            made.named = false;
        }
    }
    made.discard();
    return failure;
}

std::error_code checkWritable(const Entry& entry, const WriteOptions& options) {
    struct stat folder {};
    struct stat old {};
    bool exists = false;
    if (const std::error_code refused = lookAt(entry, options, folder, old, exists)) {
        return refused;
    }
    if (exists && inPlace(entry, old)) {
        return {};
    }
    Temporary made;
    const std::error_code failure = makeTemporary(entry, folder, made);
    made.discard();
    return failure;
}

Descriptor openInPlace(const Entry& entry, Owners owners, std::error_code& error) {
    error.clear();
    struct stat info {};
    if (entry.error()) {
        error = entry.error();
        return {};
    }
    if (!entry.status(info)) {
        error = lastError();
        return {};
    }
    const bool held = S_ISREG(info.st_mode) && entry.isOpenFile();
    if ((S_ISREG(info.st_mode) && !held) || S_ISDIR(info.st_mode)) {
        // Written into, a regular file would keep its old end where the new content is shorter.
        error = std::make_error_code(std::errc::invalid_argument);
        return {};
    }
    Descriptor node = entry.openFile(O_WRONLY, owners, error);
    // Opened without waiting for a reader; written, as any writer, at the pace its reader reads.
    const int flags = error ? 0 : ::fcntl(node.get(), F_GETFL);
    if (!error &&
        (flags < 0 || ::fcntl(node.get(), F_SETFL, (flags & ~O_NONBLOCK) | (held ? O_APPEND : 0)) != 0)) {
        error = lastError();
        return {};
    }
    return node;
}

std::error_code writeAll(int fd, const char* data, std::size_t size) {
    std::size_t allowed = size;
    const std::error_code cut = injectedFault(Call::write, -1, &allowed);
    allowed = std::min(allowed, size);
    PipeSignalHeld held(fd);
    for (std::size_t written = 0; written < allowed;) {
        const ssize_t n = ::write(fd, data + written, allowed - written);
        if (n < 0 && errno == EPIPE) {
            held.raised();
        }
        if (n < 0 && errno != EINTR) {
            return lastError();
        }
        if (n > 0) {
            written += std::size_t(n);
        }
    }
    return allowed < size ? (cut ? cut : std::make_error_code(std::errc::io_error)) : std::error_code();
}

std::error_code copyAll(int source, int fd) {
    std::vector<char> buffer(1 << 16);
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(source, buffer.data(), buffer.size(), at);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got < 0 ? lastError() : std::error_code();
        }
        at += got;
        if (const std::error_code failure = writeAll(fd, buffer.data(), std::size_t(got))) {
            return failure;
        }
    }
}

Descriptor makeFile(const Entry& entry, std::error_code& error) {
    error.clear();
    if (entry.error()) {
        error = entry.error();
        return {};
    }
    if (entry.folder() < 0) {
        error = entry.missing();
        return {};
    }
    if ((error = injectedFault(Call::makeFile, entry.folder()))) {
        return {};
    }
    Descriptor made(entry.open(O_RDWR | O_CREAT | O_EXCL | O_NOCTTY, 0666));
    if (!made) {
        error = lastError();
    }
    return made;
}

bool isLeftoverOf(const std::string& name, const std::string& of) {
    const std::string head = "." + of + ".";
    if (name.size() <= head.size() || name.compare(0, head.size(), head) != 0) {
        return false;
    }
    const std::string rest = name.substr(head.size());
    auto all = [](const std::string& text, int (*test)(int)) {
        return !text.empty() &&
               std::all_of(text.begin(), text.end(), [test](char c) { return test((unsigned char)c) != 0; });
    };
    if (rest.size() > 4 && rest.compare(rest.size() - 4, 4, ".tmp") == 0) {
        return all(rest.substr(0, rest.size() - 4), isxdigit);
    }
    return rest.compare(0, 3, "tmp") == 0 && all(rest.substr(3), isdigit);
}

namespace {

// Whether the open folder `folder` holds nothing but what a write leaves in the private folder it
// makes: at most the new file, named `name`, a regular file of the player's; `held` says whether
// that file is there.
bool holdsOnlyATemporary(int folder, const std::string& name, bool& held) {
    std::vector<std::string> names;
    if (listNames(folder, names) || names.size() > 1) {
        return false;
    }
    struct stat info {};
    held = !names.empty();
    return !held || (names[0] == name && ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                     S_ISREG(info.st_mode) && info.st_uid == ::geteuid());
}

// Whether `name` is the name of the private folder writeWhole makes for the file `of`: ".OF.", as
// many hexadecimal digits as a TemporaryFolder's name holds, and ".tmp".
bool isOwnFolderOf(const std::string& name, const std::string& of) {
    const std::size_t digits = TemporaryFolder::digits;
    return isLeftoverOf(name, of) && name.size() == of.size() + digits + 6 &&
           name.compare(name.size() - 4, 4, ".tmp") == 0;
}

// Removes the entry `name` of the open folder `folder`, as a folder with `how` AT_REMOVEDIR.
bool removeLeftover(int folder, const std::string& name, int how) {
    return !injectedFault(Call::remove, folder) && ::unlinkat(folder, name.c_str(), how) == 0;
}

} // namespace

void removeLeftovers(const Entry& entry) {
    if (entry.error() || entry.folder() < 0) {
        return;
    }
    std::vector<std::string> names;
    if (listNames(entry.folder(), names)) {
        return;
    }
    const uid_t self = ::geteuid();
    for (const std::string& name : names) {
        if (!isLeftoverOf(name, entry.name())) {
            continue;
        }
        // Another user's, in a folder other users may write, may be their own write under way.
        struct stat info {};
        if (::fstatat(entry.folder(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 || info.st_uid != self) {
            continue;
        }
        if (S_ISREG(info.st_mode)) {
            removeLeftover(entry.folder(), name, 0);
            continue;
        }
        // A folder goes only as a write leaves its private folder, named and made as it makes one:
        // any other folder of that name, and whatever else one holds, is someone's, and stays.
        const bool own = S_ISDIR(info.st_mode) && isOwnFolderOf(name, entry.name());
        Descriptor inner(
            own ? ::openat(entry.folder(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC)
                : -1);
        struct stat now {};
        bool held = false;
        if (!inner || ::fstat(inner.get(), &now) != 0 || !sameNode(now, info) || now.st_uid != self ||
            (now.st_mode & 07777) != 0700 || !holdsOnlyATemporary(inner.get(), entry.name(), held)) {
            continue;
        }
        if (!held || removeLeftover(inner.get(), entry.name(), 0)) {
            removeLeftover(entry.folder(), name, AT_REMOVEDIR);
        }
    }
}

} // namespace fileio
