#include "Sandbox.h"

#include "fileio/Entry.h"
#include "fileio/Paths.h"
#include "fileio/Rules.h"
#include "sim/Escaped.h"
#include "sim/Files.h"
#include "sim/ReadFile.h"

#include <fcntl.h>

#include <cerrno>
#include <stdexcept>
#include <utility>

namespace hostsim {
namespace {

// Throws when another user may rename entries in `folder` or a folder above it.
void checkNotExposed(const std::filesystem::path& folder, const std::string& cannot) {
    const fileio::Exposure exposure = fileio::othersMayRenameIn(folder.string());
    if (exposure) {
        throw std::runtime_error(cannot + "another user may rename entries in " +
                                 sim::escaped(exposure.folder) + ": " + exposure.why);
    }
}

} // namespace

Sandbox::Sandbox(std::filesystem::path path, fileio::Descriptor folder, const struct stat& info)
    : m_path(std::move(path)), m_folder(std::move(folder)), m_device(info.st_dev), m_inode(info.st_ino) {}

Sandbox Sandbox::given(const std::filesystem::path& path) {
    const sim::OwnFileCalls own;
    const std::string cannot = "cannot use the sandbox " + sim::escaped(path.string()) + ": ";
    std::filesystem::path existing;
    {
        const fileio::Entry entry(path.string());
        struct stat info {};
        if (entry.error()) {
            throw std::runtime_error(cannot + entry.error().message());
        }
        if (entry.status(info) && !S_ISDIR(info.st_mode)) {
            throw std::runtime_error(cannot + "it is not a folder");
        }
        // Nothing is made in a folder that is refused: the nearest one that stands is looked at first.
        existing = std::filesystem::path(entry.path()).parent_path();
        while (!sim::statusOf(existing, info) && existing.has_relative_path()) {
            existing = existing.parent_path();
        }
    }
    checkNotExposed(existing, cannot);
    if (const std::error_code error = fileio::makeFolders(path)) {
        throw std::runtime_error(cannot + error.message());
    }
    Sandbox held = hold(path, cannot);
    // Again for the folders just made, which the umask may have left open to others.
    checkNotExposed(held.m_path.parent_path(), cannot);
    return held;
}

Sandbox Sandbox::made(const std::filesystem::path& path) {
    return hold(path, "cannot use the temporary sandbox " + sim::escaped(path.string()) + ": ");
}

Sandbox Sandbox::hold(const std::filesystem::path& path, const std::string& cannot) {
    const fileio::Entry entry(path.string());
    if (entry.error()) {
        throw std::runtime_error(cannot + entry.error().message());
    }
    fileio::Descriptor folder(entry.open(O_RDONLY | O_DIRECTORY));
    struct stat info {};
    if (!folder || ::fstat(folder.get(), &info) != 0) {
        throw std::runtime_error(cannot + std::generic_category().message(errno));
    }
    return Sandbox(entry.path(), std::move(folder), info);
}

std::string Sandbox::moved() const {
    const fileio::Entry entry(m_path.string());
    struct stat info {};
    if (!entry.error() && entry.status(info) && S_ISDIR(info.st_mode) && info.st_dev == m_device &&
        info.st_ino == m_inode) {
        return "";
    }
    return "the sandbox " + sim::escaped(m_path.string()) +
           " no longer leads to the folder the scenario played in: it was moved, removed or exchanged "
           "during the play";
}

} // namespace hostsim
