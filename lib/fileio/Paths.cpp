#include "fileio/Paths.h"

#include "fileio/Descriptor.h"
#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Folders.h"
#include "fileio/Internal.h"
#include "fileio/Rules.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace fileio {

std::error_code makeFolders(const std::string& path, Entry::Folders folders) {
    std::error_code error;
    makeFolders(AT_FDCWD, path, folders, error);
    return error;
}

std::string namedFrom(const std::string& folder, const std::string& path) {
    if (path.empty()) {
        return folder;
    }
    if (folder.empty() || path[0] == '/') {
        return path;
    }
    return folder + (folder == "/" ? "" : "/") + path;
}

Descriptor makeFolders(int top, const std::string& path, Entry::Folders folders, std::error_code& error,
                       std::string* refused) {
    error.clear();
    if (refused != nullptr) {
        refused->clear();
    }
    if (path.empty()) {
        error = std::make_error_code(std::errc::no_such_file_or_directory);
        return {};
    }
    Descriptor at(path[0] == '/'    ? ::open("/", internal::searchFlags)
                  : top == AT_FDCWD ? ::open(".", internal::searchFlags)
                                    : ::fcntl(top, F_DUPFD_CLOEXEC, 0));
    // Where the folder held lies, as the walk met it.
    std::string held = path[0] == '/' ? "/" : "";
    // Where the walk from the folder held refused a folder, or the folder `entry` leads to, as it
    // is held, is not taken.
    auto notTaken = [&held, refused](const std::string& where) {
        if (refused != nullptr) {
            *refused = namedFrom(held, where);
        }
        return make_error_code(FileError::notPlayersFolder);
    };
    const std::vector<std::string> names = internal::namesOf(path);
    for (std::size_t i = 0; at && i < names.size(); ++i) {
        if (names[i] == "..") {
            at.reset(::openat(at.get(), "..", internal::searchFlags));
            held = namedFrom(held, "..");
            continue;
        }
        // Each name walked from the folder held, a link followed under the rules. Whose the folder
        // found or made is, is asked of the folder as it is held, below.
        const Entry entry(at.get(), names[i], Entry::follow, folders);
        error = entry.error()         ? entry.error()
                : entry.folder() < 0  ? entry.missing()
                : entry.name() == "." ? std::error_code()
                                      : Entry(entry.folder(), entry.name()).makeFolder();
        // Something else than a folder on the way is no folder to go through.
        if (error == std::errc::file_exists && i + 1 < names.size()) {
            error = std::make_error_code(std::errc::not_a_directory);
        }
        if (error == FileError::notPlayersFolder) {
            error = notTaken(entry.path()); // the walk names the folder it refused
        }
        if (error) {
            return {};
        }
        // Checked as it is held: a folder put at the name since the look is the one taken or not.
        Descriptor next(entry.open(internal::searchFlags));
        struct stat info {};
        if (!next || ::fstat(next.get(), &info) != 0) {
            error = internal::lastError();
            return {};
        }
        if (folders == Entry::Folders::players && whyNotPlayersFolder(info)) {
            error = notTaken(entry.path());
            return {};
        }
        at = std::move(next);
        held = namedFrom(held, entry.path());
    }
    if (!at) {
        error = internal::lastError();
    }
    return at;
}

Exposure othersMayRenameIn(const std::string& path) {
    const Entry named(path);
    Exposure exposure{named.path().empty() ? path : named.path(), ""};
    const Descriptor folder(named.error() || named.folder() < 0 ? -1 : named.open(internal::searchFlags));
    std::error_code error = named.error()        ? named.error()
                            : named.folder() < 0 ? named.missing()
                            : !folder            ? internal::lastError()
                                                 : std::error_code();
    if (!error) {
        // Up from the folder by its own parents, which are where its links led.
        bool first = true;
        error = walkUp(folder.get(), [&exposure, &first](int, const struct stat& info) {
            if (!first) {
                exposure.folder = internal::parentOf(exposure.folder);
            }
            first = false;
            exposure.why = whyOthersMayRename(info);
            return !exposure;
        });
    }
    if (error) {
        exposure.why = error.message();
    }
    if (!exposure) {
        exposure.folder.clear();
    }
    return exposure;
}

} // namespace fileio
