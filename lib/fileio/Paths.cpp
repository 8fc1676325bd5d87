#include "fileio/Paths.h"

#include "fileio/Descriptor.h"
#include "fileio/Entry.h"
#include "fileio/Folders.h"
#include "fileio/Internal.h"
#include "fileio/Rules.h"

namespace fileio {

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
