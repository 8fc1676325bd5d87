#include "TemporarySandbox.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace hostsim {
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

} // namespace

std::filesystem::path makeTemporarySandbox(std::error_code& error) {
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) {
        return {};
    }
    std::string name = (folder / "hostsim-XXXXXX").string();
    // mkdtemp makes the folder with mode 0700, under a name no entry had.
    if (::mkdtemp(name.data()) == nullptr) {
        error = std::error_code(errno, std::generic_category());
        return {};
    }
    // The host takes a relative path from its own current folder, where a relative TMPDIR is not.
    return std::filesystem::absolute(name, error);
}

bool removeTree(const std::filesystem::path& path) {
    const int folder = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    return folder >= 0 && removeEntries(folder) && ::rmdir(path.c_str()) == 0;
}

} // namespace hostsim
