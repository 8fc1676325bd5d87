#include "OwnFiles.h"

#include "fileio/Descriptor.h"
#include "fileio/Entry.h"
#include "fileio/Rules.h"

#include <dirent.h>
#include <fcntl.h>

#include <algorithm>
#include <cerrno>

namespace hostsim {

std::error_code makeFolders(const std::filesystem::path& path) {
    const fileio::Entry entry(path.string());
    if (entry.error()) {
        return entry.error();
    }
    if (entry.folder() < 0) {
        // A folder above is missing: made first, and the path walked again through it.
        const std::filesystem::path above = path.parent_path();
        if (entry.missing() != std::errc::no_such_file_or_directory || above.empty() || above == path) {
            return entry.missing();
        }
        if (const std::error_code error = makeFolders(above)) {
            return error;
        }
        return fileio::Entry(path.string()).makeFolder();
    }
    return entry.makeFolder();
}

std::error_code listNames(int folder, std::vector<std::string>& names) {
    names.clear();
    // The layer lists no folder: its names are read through a descriptor of the folder held, of
    // its own so that the held one's position stays, and nothing is followed.
    DIR* listing = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (listing == nullptr) {
        return std::error_code(errno, std::generic_category());
    }
    errno = 0;
    while (const dirent* found = ::readdir(listing)) {
        const std::string name = found->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    const std::error_code error(errno, std::generic_category());
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    return error;
}

std::filesystem::path followedPath(const std::filesystem::path& path, std::error_code& error) {
    const fileio::Entry entry(path.string());
    error = entry.error();
    return entry.path();
}

bool statusOf(const std::filesystem::path& path, struct stat& info) {
    const fileio::Entry entry(path.string());
    return !entry.error() && entry.status(info);
}

std::string notAFile(const std::filesystem::path& path) {
    struct stat info {};
    return statusOf(path, info) && !S_ISREG(info.st_mode) ? fileio::kindOf(info.st_mode) : "";
}

} // namespace hostsim
