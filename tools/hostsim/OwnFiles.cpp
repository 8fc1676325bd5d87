#include "OwnFiles.h"

#include "fileio/Entry.h"
#include "fileio/Rules.h"

namespace hostsim {

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
