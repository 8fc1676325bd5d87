#include "sim/TemporaryFolder.h"

#include "sim/Escaped.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <utility>
#include <vector>

namespace sim {
namespace {

// Removes what the open folder `folder` holds, and closes it. Each entry is reached from its
// folder's descriptor, and a folder is opened without following a link, so that a folder swapped
// for a link while the tree is removed leads nowhere else.
bool removeEntries(int folder) {
    DIR* entries = ::fdopendir(folder);
    if (entries == nullptr) {
        ::close(folder);
        return false;
    }
    // Read whole before anything is removed, which could change what the folder still lists.
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(entries)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(std::move(name));
        }
    }
    const int fd = ::dirfd(entries);
    bool removed = true;
    for (const std::string& name : names) {
        if (::unlinkat(fd, name.c_str(), 0) == 0) {
            continue;
        }
        if (errno != EISDIR && errno != EPERM) {
            removed = false;
            continue;
        }
        const int inner = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        removed =
            inner >= 0 && removeEntries(inner) && ::unlinkat(fd, name.c_str(), AT_REMOVEDIR) == 0 && removed;
    }
    ::closedir(entries);
    return removed;
}

void closeOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

} // namespace

std::filesystem::path TemporaryFolder::defaultParent() {
    const char* variable = std::getenv("TMPDIR");
    const std::filesystem::path named = variable != nullptr && *variable != '\0' ? variable : "/tmp";
    std::error_code error;
    // Absolute, since the host takes a relative path from a current folder of its own.
    const std::filesystem::path folder = std::filesystem::canonical(named, error);
    const std::string what = "TMPDIR " + escaped(named.string());
    if (error) {
        throw std::runtime_error(what + ": " + error.message());
    }
    // Only the entry's owner, the folder's or root may rename an entry of a sticky folder; every
    // folder on the way is owned by this process's user or root, so every entry on it too.
    const uid_t self = ::geteuid();
    for (std::filesystem::path at = folder;; at = at.parent_path()) {
        struct stat info {};
        if (::stat(at.c_str(), &info) != 0) {
            throw std::runtime_error(what + ": " + escaped(at.string()) + ": " +
                                     std::generic_category().message(errno));
        }
        const bool sticky = (info.st_mode & S_ISVTX) != 0;
        std::string why;
        if (info.st_uid != self && info.st_uid != 0) {
            why = "it belongs to user " + std::to_string(info.st_uid);
        } else if ((info.st_mode & S_IWOTH) != 0 && !sticky) {
            why = "any user may write in it and it is not sticky";
        } else if ((info.st_mode & S_IWGRP) != 0 && !sticky) {
            why = "its group may write in it and it is not sticky";
        }
        if (!why.empty()) {
            throw std::runtime_error(what + ": another user may rename entries in " + escaped(at.string()) +
                                     ": " + why);
        }
        if (at == at.parent_path()) {
            return folder;
        }
    }
}

TemporaryFolder::TemporaryFolder(const std::filesystem::path& parent, std::string_view prefix) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(parent, error);
    auto fail = [&](int code) {
        closeOpen(m_folder);
        closeOpen(m_parent);
        throw std::runtime_error("cannot make a folder in " + escaped(parent.string()) + ": " +
                                 std::generic_category().message(code));
    };
    if (error) {
        fail(error.value());
    }
    m_parent = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_parent < 0) {
        fail(errno);
    }
    // mkdtemp makes the folder with mode 0700, under a name no entry had.
    std::string made = (folder / (std::string(prefix) + "XXXXXX")).string();
    if (::mkdtemp(made.data()) == nullptr) {
        fail(errno);
    }
    m_path = made;
    const std::string name = m_path.filename().string();
    m_folder = ::openat(m_parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (m_folder < 0 || ::fstat(m_folder, &info) != 0) {
        const int code = errno;
        ::unlinkat(m_parent, name.c_str(), AT_REMOVEDIR);
        fail(code);
    }
    m_device = info.st_dev;
    m_inode = info.st_ino;
}

TemporaryFolder::TemporaryFolder(TemporaryFolder&& other) noexcept
    : m_path(std::move(other.m_path)), m_parent(std::exchange(other.m_parent, -1)),
      m_folder(std::exchange(other.m_folder, -1)), m_device(other.m_device), m_inode(other.m_inode) {}

TemporaryFolder::~TemporaryFolder() {
    closeOpen(m_folder);
    closeOpen(m_parent);
}

std::string TemporaryFolder::remove() {
    if (m_folder < 0) {
        return "";
    }
    const std::string name = m_path.filename().string();
    struct stat now {};
    const bool inPlace = ::fstatat(m_parent, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
                         now.st_dev == m_device && now.st_ino == m_inode;
    // A description of its own, so that the folder's is not read to its end.
    const int contents = ::openat(m_folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool emptied = contents >= 0 && removeEntries(contents);
    const bool removed = inPlace && emptied && ::unlinkat(m_parent, name.c_str(), AT_REMOVEDIR) == 0;
    const int code = errno;
    closeOpen(m_folder);
    closeOpen(m_parent);
    if (removed) {
        return "";
    }
    return "cannot remove the temporary folder " + escaped(m_path.string()) + ": " +
           (!inPlace  ? "its name leads to another entry now"
            : emptied ? std::generic_category().message(code)
                      : "some of what it holds is left");
}

} // namespace sim
