#include "fileio/Folders.h"

#include "fileio/Descriptor.h"
#include "fileio/Entry.h"
#include "fileio/Faults.h"
#include "fileio/Internal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace fileio {

using internal::lastError;

std::error_code listNames(int folder, std::vector<std::string>& names) {
    names.clear();
    DIR* listing = ::fdopendir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (listing == nullptr) {
        return lastError();
    }
    errno = 0;
    while (const dirent* found = ::readdir(listing)) {
        const std::string name = found->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    const std::error_code error = errno != 0 ? lastError() : std::error_code();
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    return error;
}

std::error_code makeFolders(const std::string& path) {
    const Entry entry(path);
    if (entry.error()) {
        return entry.error();
    }
    if (entry.folder() < 0) {
        // A folder above is missing: made first, and the path walked again through it.
        const std::size_t slash = path.find_last_not_of('/') == std::string::npos
                                      ? std::string::npos
                                      : path.rfind('/', path.find_last_not_of('/'));
        const std::string above = slash == std::string::npos ? "" : slash == 0 ? "/" : path.substr(0, slash);
        if (entry.missing() != std::errc::no_such_file_or_directory || above.empty() || above == path) {
            return entry.missing();
        }
        if (const std::error_code error = makeFolders(above)) {
            return error;
        }
        return Entry(path).makeFolder();
    }
    return entry.makeFolder();
}

bool liesWithin(int folder, int outer) {
    struct stat top {};
    if (::fstat(outer, &top) != 0) {
        return false;
    }
    Descriptor at(::fcntl(folder, F_DUPFD_CLOEXEC, 0));
    for (struct stat info{}; at && ::fstat(at.get(), &info) == 0;) {
        if (info.st_dev == top.st_dev && info.st_ino == top.st_ino) {
            return true;
        }
        Descriptor up(::openat(at.get(), "..", internal::searchFlags));
        struct stat above {};
        if (!up || ::fstat(up.get(), &above) != 0 ||
            (above.st_dev == info.st_dev && above.st_ino == info.st_ino)) {
            return false;
        }
        at = std::move(up);
    }
    return false;
}

std::error_code removeContents(int folder) {
    // Read whole before anything is removed, which could change what the folder still lists.
    std::vector<std::string> names;
    std::error_code failure = listNames(folder, names);
    if (failure) {
        return failure;
    }
    for (const std::string& name : names) {
        std::error_code removed = injectedFault(Call::remove, folder);
        if (!removed && ::unlinkat(folder, name.c_str(), 0) != 0) {
            removed = lastError();
            if (removed == std::errc::is_a_directory || removed == std::errc::operation_not_permitted) {
                // A folder, opened without following a link: one swapped for a link meanwhile
                // goes as the link.
                Descriptor inner(
                    ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
                removed = !inner ? lastError() : removeContents(inner.get());
                if (!removed && ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) != 0) {
                    removed = lastError();
                }
            }
        }
        if (removed && !failure) {
            failure = removed;
        }
    }
    return failure;
}

} // namespace fileio
