#include "fileio/Entry.h"

#include "fileio/Faults.h"
#include "fileio/FileError.h"
#include "fileio/Folders.h"
#include "fileio/Internal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <deque>
#include <vector>

namespace fileio {

using internal::lastError;
using internal::onProc;
using internal::parentOf;
using internal::searchFlags;

namespace {

// Puts the names of `path` in front of `parts`.
void pushParts(std::deque<std::string>& parts, const std::string& path) {
    const std::vector<std::string> names = internal::namesOf(path);
    parts.insert(parts.begin(), names.begin(), names.end());
}

std::string joined(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name; // below the folder a walk started from
    }
    return folder + (folder.size() > 1 ? "/" : "") + name;
}

// The folder above `at` as a path names it; `at` relative to a folder a walk started from ("" for
// that folder) names the one above it with "..".
std::string above(const std::string& at) {
    if (!at.empty() && at[0] == '/') {
        return parentOf(at);
    }
    const std::size_t slash = at.rfind('/');
    const std::string last = slash == std::string::npos ? at : at.substr(slash + 1);
    if (at.empty() || last == "..") {
        return joined(at, "..");
    }
    return slash == std::string::npos ? "" : at.substr(0, slash);
}

std::string workingFolder() {
    std::vector<char> buffer(PATH_MAX + 1);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return "";
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

std::string readLink(int folder, const std::string& name, std::error_code& error) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlinkat(folder, name.c_str(), buffer.data(), buffer.size());
        if (n < 0) {
            error = lastError();
            return "";
        }
        if (std::size_t(n) < buffer.size()) {
            return std::string(buffer.data(), std::size_t(n));
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The bits of `kept` that the node of status `now` has, and `added`; `before` receives its bits.
mode_t modeOf(const struct stat& now, mode_t kept, mode_t added, mode_t* before) {
    if (before != nullptr) {
        *before = now.st_mode & 07777;
    }
    return (now.st_mode & kept & 07777) | added;
}

} // namespace

std::vector<std::string> internal::namesOf(const std::string& path) {
    std::vector<std::string> names;
    for (std::size_t from = 0; from <= path.size();) {
        const std::size_t slash = std::min(path.find('/', from), path.size());
        if (slash > from && path.compare(from, slash - from, ".") != 0) {
            names.push_back(path.substr(from, slash - from));
        }
        from = slash + 1;
    }
    return names;
}

Entry::Entry(const std::string& path, Last last, Folders folders) : m_folders(folders) {
    m_error = path.empty() ? std::make_error_code(std::errc::no_such_file_or_directory)
                           : walk(AT_FDCWD, "", path, last);
    if (m_error) {
        m_folder.reset();
    }
}

Entry::Entry(int folder, const std::string& name) : m_path(name), m_name(name) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        m_error = std::make_error_code(std::errc::invalid_argument);
        return;
    }
    m_folder.reset(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    if (!m_folder) {
        m_error = lastError();
    }
}

Entry::Entry(int top, const std::string& path, Last last, Folders folders) : m_folders(folders) {
    m_error =
        path.empty() ? std::make_error_code(std::errc::no_such_file_or_directory) : walk(top, "", path, last);
    if (m_error) {
        m_folder.reset();
    }
}

std::error_code Entry::whyNotTaken(int held) const {
    if (m_folders != Folders::players) {
        return {};
    }
    struct stat folder {};
    struct stat entered {};
    if (::fstat(m_folder.get(), &folder) != 0 || (held >= 0 && ::fstat(held, &entered) != 0)) {
        return lastError();
    }
    if (held < 0) {
        return whyNotPlayersFolder(folder);
    }
    // Another user's folder, where other users may write, may have been put there to take the
    // player's files.
    return mayTake(folder, entered) ? std::error_code() : make_error_code(FileError::notPlayersFolder);
}

std::error_code Entry::whyExposed() const {
    if (m_folders != Folders::unexposed) {
        return {};
    }
    // A name looked up in a folder other users may rename entries in may lead elsewhere next.
    struct stat folder {};
    if (::fstat(m_folder.get(), &folder) != 0) {
        return lastError();
    }
    return othersMayRename(folder) ? make_error_code(FileError::exposedWay) : std::error_code();
}

std::error_code Entry::walk(int top, std::string at, const std::string& named, Last last) {
    std::deque<std::string> parts;
    pushParts(parts, named);
    if (named[0] == '/') {
        at = "/";
        m_folder.reset(::open("/", searchFlags));
    } else if (top != AT_FDCWD) {
        m_folder.reset(::fcntl(top, F_DUPFD_CLOEXEC, 0));
    } else {
        const std::string here = workingFolder();
        if (here.empty()) {
            return lastError();
        }
        pushParts(parts, here);
        at = "/";
        m_folder.reset(::open("/", searchFlags));
    }
    // The entry is named in the folder held: one that may not hold it is not taken.
    auto found = [this, &at](const std::string& name) {
        m_name = name;
        m_path = name == "." && !at.empty() ? at : joined(at, name);
        const std::error_code refused = whyNotTaken(-1);
        if (refused) {
            m_path = at;
            m_refusedItsFolder = true;
        }
        return refused;
    };
    for (int links = 0;;) {
        if (!m_folder) {
            return lastError();
        }
        if (parts.empty()) {
            return found(".");
        }
        const std::string part = parts.front();
        if (part == "..") {
            // The folder's own parent, where its links led, not the path's.
            m_folder.reset(::openat(m_folder.get(), "..", searchFlags));
            at = above(at);
            parts.pop_front();
            continue;
        }
        if (const std::error_code refused = whyExposed()) {
            m_path = at;
            return refused;
        }
        const bool isLast = parts.size() == 1;
        struct stat info {};
        const bool exists = ::fstatat(m_folder.get(), part.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
        if (!exists && errno != ENOENT) {
            return lastError();
        }
        if (isLast && (!exists || !S_ISLNK(info.st_mode) || last == keepLink)) {
            return found(part);
        }
        if (!exists || (!S_ISLNK(info.st_mode) && !S_ISDIR(info.st_mode))) {
            // Nothing lies below: what is named there is where the path leads.
            m_missing = exists ? ENOTDIR : ENOENT;
            for (const std::string& below : parts) {
                at = joined(at, below);
            }
            m_path = at;
            m_name = parts.back();
            m_folder.reset();
            return {};
        }
        if (S_ISDIR(info.st_mode)) {
            Descriptor inner(::openat(m_folder.get(), part.c_str(), searchFlags | O_NOFOLLOW));
            if (!inner) {
                return lastError();
            }
            if (const std::error_code refused = whyNotTaken(inner.get())) {
                m_path = joined(at, part);
                m_refusedItsFolder = parts.size() == 2; // only the entry's name is left below it
                return refused;
            }
            m_folder = std::move(inner);
            at = joined(at, part);
            parts.pop_front();
            continue;
        }
        if (++links > linkLimit) {
            return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        }
        // A link of /proc names an open file (a pipe, a socket, a file the process holds), not a
        // path: only the system can follow it, and only the process itself made it.
        if (isLast && onProc(m_folder.get())) {
            m_openFile = true;
            return found(part);
        }
        struct stat folder {};
        if (::fstat(m_folder.get(), &folder) != 0) {
            return lastError();
        }
        if (!mayTake(folder, info)) {
            return FileError::linkNotFollowed;
        }
        std::error_code error;
        const std::string target = readLink(m_folder.get(), part, error);
        if (error) {
            return error;
        }
        parts.pop_front();
        if (!target.empty() && target[0] == '/') {
            m_folder.reset(::open("/", searchFlags));
            at = "/";
        }
        pushParts(parts, target);
    }
}

std::error_code Entry::lookAt(struct stat& info, struct stat& folder) const {
    if (m_error) {
        return m_error;
    }
    return status(info) && folderStatus(folder) ? std::error_code() : lastError();
}

std::error_code Entry::missing() const {
    return m_missing != 0 ? std::error_code(m_missing, std::generic_category()) : std::error_code();
}

bool Entry::status(struct stat& info) const {
    if (!m_folder) {
        errno = m_missing != 0 ? m_missing : EBADF;
        return false;
    }
    return ::fstatat(m_folder.get(), m_name.c_str(), &info, m_openFile ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
}

bool Entry::folderStatus(struct stat& info) const {
    if (!m_folder) {
        errno = m_missing != 0 ? m_missing : EBADF;
        return false;
    }
    return ::fstat(m_folder.get(), &info) == 0;
}

int Entry::open(int flags, mode_t mode) const {
    if (!m_folder) {
        errno = m_missing != 0 ? m_missing : EBADF;
        return -1;
    }
    return ::openat(m_folder.get(), m_name.c_str(), flags | O_CLOEXEC | (m_openFile ? 0 : O_NOFOLLOW), mode);
}

Descriptor Entry::openLookedAt(int flags, struct stat& looked, std::error_code& error) const {
    error.clear();
    Descriptor node(open(flags));
    struct stat now {};
    if (!node || ::fstat(node.get(), &now) != 0) {
        error = lastError();
        return {};
    }
    if (!sameNode(now, looked)) {
        error = FileError::changed;
        return {};
    }
    looked = now;
    return node;
}

Descriptor Entry::openFile(int access, Owners owners, std::error_code& error) const {
    error.clear();
    struct stat before {};
    struct stat folder {};
    if ((error = lookAt(before, folder))) {
        return {};
    }
    if (S_ISDIR(before.st_mode)) {
        error = std::make_error_code(std::errc::is_a_directory);
        return {};
    }
    if (access != O_RDONLY) {
        error = whyNotWritten(folder, before, owners, false);
    }
    if (!error && access != O_WRONLY) {
        error = whyNotRead(folder, before, owners);
    }
    if (error) {
        return {};
    }
    // Without O_NONBLOCK a FIFO's open waits for its other end, for ever where none comes.
    Descriptor file = openLookedAt(access | O_NONBLOCK | O_NOCTTY, before, error);
    if (error == std::errc::no_such_device_or_address && S_ISFIFO(before.st_mode)) {
        error = FileError::noReader;
    }
    if (error) {
        return {};
    }
    // A FIFO stays without waiting: the process may be its only other end. Anything else waits as
    // usual once open.
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (!S_ISFIFO(before.st_mode) && (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)) {
        error = lastError();
        return {};
    }
    return file;
}

std::error_code Entry::changeMode(mode_t kept, mode_t added, mode_t* before, Owners owners) const {
    struct stat info {};
    struct stat folder {};
    if (const std::error_code missing = lookAt(info, folder)) {
        return missing;
    }
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    if (!mayTake(folder, info, owners)) {
        return FileError::notOwned;
    }
    // A second name of a file, in a folder others may write, may be another user's link to a file
    // of the player's elsewhere, made to have its mode changed (a system that does not keep users
    // from linking others' files lets them).
    if (S_ISREG(info.st_mode) && info.st_nlink > 1 && othersMayWrite(folder)) {
        return FileError::otherNames;
    }
    // Through a descriptor of the entry itself, and only while it is the entry looked at: a mode
    // set by name could reach whatever was put there since.
    const int kind = S_ISDIR(info.st_mode) ? O_DIRECTORY : 0;
    std::error_code error;
    Descriptor node = openLookedAt(O_RDONLY | O_NONBLOCK | O_NOCTTY | kind, info, error);
    if (error != std::errc::permission_denied) {
        return error                                                          ? error
               : ::fchmod(node.get(), modeOf(info, kept, added, before)) == 0 ? std::error_code()
                                                                              : lastError();
    }
    // One the player may not read is held without reading it, where the system can.
    if (internal::holdUnread != 0) {
        node = openLookedAt(internal::holdUnread | kind, info, error);
        return error ? error : internal::changeHeldMode(node.get(), modeOf(info, kept, added, before));
    }
    // Elsewhere by its name, never following a link: only the player's own entry (whose mode no
    // one else but root may change, and root reads any file), where no other user may rename it or
    // put another node under its name, and only while the node is the one looked at, before and
    // after. A system that cannot change a mode without following a link answers so.
    struct stat now {};
    if (m_openFile || info.st_uid != ::geteuid() || othersMayRename(folder)) {
        return FileError::notReadable;
    }
    if (!status(now)) {
        return lastError();
    }
    if (!sameNode(now, info) || S_ISLNK(now.st_mode)) {
        return FileError::changed;
    }
    const mode_t mode = modeOf(now, kept, added, before);
    if (::fchmodat(m_folder.get(), m_name.c_str(), mode, AT_SYMLINK_NOFOLLOW) != 0) {
        return lastError();
    }
    return status(now) && sameNode(now, info) ? std::error_code() : make_error_code(FileError::changed);
}

std::error_code Entry::remove(Owners owners) const {
    struct stat info {};
    struct stat folder {};
    if (const std::error_code missing = lookAt(info, folder)) {
        return missing;
    }
    const bool isFolder = S_ISDIR(info.st_mode);
    if (const std::error_code refused = whyNotRemoved(folder, info, owners)) {
        return refused;
    }
    if (const std::error_code injected = injectedFault(Call::remove, m_folder.get())) {
        return injected;
    }
    return ::unlinkat(m_folder.get(), m_name.c_str(), isFolder ? AT_REMOVEDIR : 0) == 0 ? std::error_code()
                                                                                        : lastError();
}

std::error_code Entry::removeTree(Owners owners) const {
    struct stat info {};
    struct stat folder {};
    if (const std::error_code missing = lookAt(info, folder)) {
        return missing;
    }
    if (S_ISDIR(info.st_mode)) {
        if (!mayTake(folder, info, owners)) {
            return FileError::notOwned;
        }
        // Emptied through a descriptor of the folder itself: one exchanged meanwhile is left alone.
        std::error_code failure;
        const Descriptor held = openLookedAt(O_RDONLY | O_DIRECTORY, info, failure);
        if (failure || (failure = removeContents(held.get(), owners))) {
            return failure;
        }
    }
    return remove(owners);
}

std::error_code Entry::renameTo(const std::string& name, bool replace) const {
    struct stat info {};
    struct stat folder {};
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        return std::make_error_code(std::errc::invalid_argument);
    }
    if (const std::error_code missing = lookAt(info, folder)) {
        return missing;
    }
    const bool isFolder = S_ISDIR(info.st_mode);
    if (const std::error_code refused = whyNotRemoved(folder, info, Owners::player)) {
        return refused;
    }
    // An entry renamed over loses its content: it must be one the player may write, and a folder
    // one the player may remove.
    struct stat target {};
    if (replace && ::fstatat(m_folder.get(), name.c_str(), &target, AT_SYMLINK_NOFOLLOW) == 0) {
        if (const std::error_code refused = S_ISDIR(target.st_mode)
                                                ? whyNotRemoved(folder, target, Owners::player)
                                                : whyNotWritten(folder, target, Owners::player, true)) {
            return refused;
        }
    }
    if (const std::error_code injected = injectedFault(Call::rename, m_folder.get())) {
        return injected;
    }
    const int at = m_folder.get();
    if (replace) {
        return ::renameat(at, m_name.c_str(), at, name.c_str()) == 0 ? std::error_code() : lastError();
    }
    return internal::renameWithoutReplacing(at, m_name, at, name, isFolder);
}

std::error_code Entry::linkTarget(std::string& target) const {
    target.clear();
    if (m_error) {
        return m_error;
    }
    if (!m_folder) {
        return missing();
    }
    std::error_code error;
    target = readLink(m_folder.get(), m_name, error);
    return error;
}

std::error_code Entry::makeFolder() const {
    if (m_error) {
        return m_error;
    }
    if (!m_folder) {
        return missing();
    }
    struct stat info {};
    // A folder is made only where none stands, so that only a folder made may fail as one.
    if (!status(info)) {
        if (errno != ENOENT) {
            return lastError();
        }
        if (const std::error_code injected = injectedFault(Call::makeFolder, m_folder.get())) {
            return injected;
        }
        if (::mkdirat(m_folder.get(), m_name.c_str(), 0777) == 0) {
            return {};
        }
        const std::error_code error = lastError();
        if (error != std::errc::file_exists || !status(info)) {
            return error;
        }
    }
    // An entry that stood there is taken as made only where it is whose the caller asked for:
    // another user's of any kind holds none of the player's files.
    if (m_folders == Folders::players) {
        if (const std::error_code refused = whyNotPlayersFolder(info)) {
            return refused;
        }
    }
    return S_ISDIR(info.st_mode) ? std::error_code() : std::make_error_code(std::errc::file_exists);
}

} // namespace fileio
