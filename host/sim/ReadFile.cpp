#include "sim/ReadFile.h"

#include "fileio/Entry.h"
#include "fileio/ReadWhole.h"
#include "fileio/Rules.h"
#include "sim/Files.h"

#include <sys/stat.h>

namespace sim {

bool statusOf(const std::filesystem::path& path, struct stat& info) {
    const fileio::Entry entry(path);
    return !entry.error() && entry.status(info);
}

std::string notAFile(const std::filesystem::path& path) {
    struct stat info {};
    return statusOf(path, info) && !S_ISREG(info.st_mode) ? fileio::kindOf(info.st_mode) : "";
}

std::error_code readFile(const std::filesystem::path& path, std::string& text, std::uintmax_t limit) {
    OwnFileCalls own;
    return fileio::readWhole(fileio::Entry(path), text, limit);
}

} // namespace sim
