#include "sim/FileEntry.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <deque>
#include <utility>
#include <vector>

namespace sim {
namespace {

class FileCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "sim file"; }
    std::string message(int value) const override {
        switch (FileError(value)) {
        case FileError::linkNotFollowed:
            return "it leads through another user's link in a folder other users may write, which is not "
                   "followed";
        case FileError::notWritable:
            return "its permissions do not let this user write it";
        case FileError::notReplaceable:
            return "it is another user's file in a sticky folder, where only its owner may replace it";
        case FileError::noReader:
            return "it is a FIFO that no process reads";
        }
        return "unknown file error " + std::to_string(value);
    }
    std::error_condition default_error_condition(int value) const noexcept override {
        return FileError(value) == FileError::noReader ? std::errc::no_such_device_or_address
                                                       : std::errc::permission_denied;
    }
};

// As the system gives up on a chain of links.
constexpr int linkLimit = 40;

void closeOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

int openRoot() {
    return ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
}

// Puts the parts of `path` in front of `parts`, leaving out the root and empty and "." parts.
void pushParts(std::deque<std::string>& parts, const std::filesystem::path& path) {
    std::vector<std::string> named;
    for (const std::filesystem::path& part : path.relative_path()) {
        if (!part.empty() && part != ".") {
            named.push_back(part.string());
        }
    }
    parts.insert(parts.begin(), named.begin(), named.end());
}

// Whether the link of status `link` in the open folder `folder` may be followed: the user or root
// made it, or no other user may write the folder to put it there.
bool mayFollow(int folder, const struct stat& link) {
    const uid_t self = ::geteuid();
    if (link.st_uid == self || link.st_uid == 0) {
        return true;
    }
    struct stat info {};
    return ::fstat(folder, &info) == 0 && (info.st_uid == self || info.st_uid == 0) &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool onProc(int folder) {
    struct statfs info {};
    return ::fstatfs(folder, &info) == 0 && info.f_type == PROC_SUPER_MAGIC;
}

std::string readLink(int folder, const std::string& name, std::error_code& error) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlinkat(folder, name.c_str(), buffer.data(), buffer.size());
        if (n < 0) {
            error = std::error_code(errno, std::generic_category());
            return "";
        }
        if (std::size_t(n) < buffer.size()) {
            return std::string(buffer.data(), std::size_t(n));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

const std::error_category& fileCategory() {
    static const FileCategory category;
    return category;
}

std::error_code make_error_code(FileError error) {
    return std::error_code(int(error), fileCategory());
}

FileEntry::FileEntry(const std::filesystem::path& named, bool followLast) {
    m_error = walk(named, followLast);
    if (m_error) {
        closeOpen(m_folder);
    }
}

std::error_code FileEntry::walk(const std::filesystem::path& named, bool followLast) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(named, error);
    if (error) {
        return error;
    }
    const auto lastError = [] { return std::error_code(errno, std::generic_category()); };
    std::deque<std::string> parts;
    pushParts(parts, absolute);
    std::filesystem::path at = "/";
    m_folder = openRoot();
    for (int links = 0;;) {
        if (m_folder < 0) {
            return lastError();
        }
        if (parts.empty()) {
            m_name = ".";
            m_path = at;
            return {};
        }
        const std::string part = parts.front();
        if (part == "..") {
            const int up = ::openat(m_folder, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
            ::close(m_folder);
            m_folder = up;
            at = at.parent_path();
            parts.pop_front();
            continue;
        }
        const bool last = parts.size() == 1;
        struct stat info {};
        const bool exists = ::fstatat(m_folder, part.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
        if (!exists && errno != ENOENT) {
            return lastError();
        }
        if (last && (!exists || !S_ISLNK(info.st_mode) || !followLast)) {
            m_name = part;
            m_path = at / part;
            return {};
        }
        if (!exists || (!S_ISLNK(info.st_mode) && !S_ISDIR(info.st_mode))) {
            // Nothing lies below: what is named there is where the path leads.
            m_missing = exists ? ENOTDIR : ENOENT;
            for (const std::string& below : parts) {
                at /= below;
            }
            m_path = at.lexically_normal();
            m_name = parts.back();
            closeOpen(m_folder);
            return {};
        }
        if (S_ISDIR(info.st_mode)) {
            const int next = ::openat(m_folder, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            ::close(m_folder);
            m_folder = next;
            at /= part;
            parts.pop_front();
            continue;
        }
        if (++links > linkLimit) {
            return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        }
        const std::string target = readLink(m_folder, part, error);
        if (error) {
            return error;
        }
        // A link of /proc to an open pipe or socket names no path: only the system can follow it,
        // and only the process itself made it.
        if (last && (target.empty() || target[0] != '/') && onProc(m_folder)) {
            m_openFile = true;
            m_name = part;
            m_path = at / part;
            return {};
        }
        if (!mayFollow(m_folder, info)) {
            return FileError::linkNotFollowed;
        }
        parts.pop_front();
        if (!target.empty() && target[0] == '/') {
            ::close(m_folder);
            m_folder = openRoot();
            at = "/";
        }
        pushParts(parts, target);
    }
}

FileEntry::FileEntry(FileEntry&& other) noexcept
    : m_path(std::move(other.m_path)), m_error(other.m_error), m_folder(std::exchange(other.m_folder, -1)),
      m_missing(other.m_missing), m_name(std::move(other.m_name)), m_openFile(other.m_openFile) {}

FileEntry::~FileEntry() {
    closeOpen(m_folder);
}

std::error_code FileEntry::missing() const {
    return m_missing != 0 ? std::error_code(m_missing, std::generic_category()) : std::error_code();
}

bool FileEntry::status(struct stat& info) const {
    if (m_folder < 0) {
        errno = m_missing != 0 ? m_missing : EBADF;
        return false;
    }
    return ::fstatat(m_folder, m_name.c_str(), &info, m_openFile ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
}

int FileEntry::open(int flags, mode_t mode) const {
    if (m_folder < 0) {
        errno = m_missing != 0 ? m_missing : EBADF;
        return -1;
    }
    return ::openat(m_folder, m_name.c_str(), flags | O_CLOEXEC | (m_openFile ? 0 : O_NOFOLLOW), mode);
}

} // namespace sim
