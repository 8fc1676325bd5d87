#include "sim/TemporaryFolder.h"

#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Paths.h"
#include "fileio/Rules.h"
#include "fileio/TemporaryFolder.h"
#include "sim/Escaped.h"
#include "sim/Files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace sim {
namespace {

std::string errnoMessage() {
    return std::generic_category().message(errno);
}

} // namespace

std::filesystem::path TemporaryFolder::defaultParent() {
    const char* variable = std::getenv("TMPDIR");
    const std::string named = variable != nullptr && *variable != '\0' ? variable : "/tmp";
    const std::string what = "TMPDIR " + escaped(named);
    // Absolute and its links resolved, since the host takes a relative path from a current folder
    // of its own.
    const fileio::Entry folder(named);
    struct stat info {};
    if (folder.error()) {
        throw std::runtime_error(what + ": " + folder.error().message());
    }
    if (!folder.status(info)) {
        throw std::runtime_error(what + ": " + errnoMessage());
    }
    if (!S_ISDIR(info.st_mode)) {
        throw std::runtime_error(what + ": it is " + fileio::kindOf(info.st_mode) + ", not a folder");
    }
    if (const fileio::Exposure exposure = fileio::othersMayRenameIn(folder.path())) {
        throw std::runtime_error(what + ": another user may rename entries in " + escaped(exposure.folder) +
                                 ": " + exposure.why);
    }
    return folder.path();
}

TemporaryFolder::TemporaryFolder(const std::filesystem::path& parent, std::string_view prefix) {
    OwnFileCalls own;
    const fileio::Entry named(parent);
    std::error_code error = named.error();
    const fileio::Descriptor folder(error ? -1 : named.open(O_RDONLY | O_DIRECTORY));
    if (!error && !folder) {
        error = std::error_code(errno, std::generic_category());
    }
    if (!error) {
        m_folder = std::make_unique<fileio::TemporaryFolder>(folder.get(), std::string(prefix), "", error);
    }
    if (error) {
        throw std::runtime_error("cannot make a folder in " + escaped(parent.string()) + ": " +
                                 error.message());
    }
    m_path = std::filesystem::path(named.path()) / m_folder->name();
}

TemporaryFolder::TemporaryFolder(TemporaryFolder&& other) noexcept = default;

TemporaryFolder::~TemporaryFolder() = default;

std::string TemporaryFolder::remove() {
    return remove(false);
}

std::string TemporaryFolder::removeGivenAway() {
    return remove(true);
}

std::string TemporaryFolder::remove(bool givenAway) {
    if (m_folder == nullptr) {
        return "";
    }
    OwnFileCalls own;
    const std::error_code error = m_folder->remove(givenAway ? fileio::TemporaryFolder::Others::removed
                                                             : fileio::TemporaryFolder::Others::kept);
    if (error == fileio::FileError::notOwned) {
        // The folder is the player's: it is kept for what another user put in it.
        return "the temporary folder " + escaped(m_path.string()) +
               " is kept: it holds another user's entries, which are not removed";
    }
    return error ? "cannot remove the temporary folder " + escaped(m_path.string()) + ": " + error.message()
                 : "";
}

} // namespace sim
