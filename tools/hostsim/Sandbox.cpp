#include "Sandbox.h"

#include "fileio/Entry.h"
#include "fileio/FileError.h"
#include "fileio/Folders.h"
#include "fileio/Paths.h"
#include "fileio/Rules.h"
#include "sim/Escaped.h"
#include "sim/Files.h"
#include "sim/ReadFile.h"
#include "sim/Sim.h"

#include <fcntl.h>

#include <cerrno>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

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

// Throws when the open sandbox `folder` holds, at the name of one of the host's folders, an entry
// the host would refuse part way through the play: another user's entry of any kind (a folder, a
// link, a file, a FIFO, a device), put there while the sandbox was open to others, which does not
// hold the player's files; or the player's link whose way passes through a folder in which other
// users may rename entries, or that leads to another user's folder (sim::openSpecialFolder).
void checkHostFolders(int folder, const std::filesystem::path& path, const std::string& cannot) {
    for (const std::string_view name : sim::specialFolderNames) {
        struct stat info {};
        if (!fileio::Entry(folder, std::string(name)).status(info)) {
            continue;
        }
        const std::string kind = S_ISDIR(info.st_mode) ? "" : ", " + fileio::kindOf(info.st_mode);
        const std::string named = cannot + "its folder " + sim::escaped((path / name).string()) + kind;
        if (const std::error_code error = fileio::whyNotPlayersFolder(info)) {
            throw std::runtime_error(named + ": " + error.message());
        }
        if (!S_ISLNK(info.st_mode)) {
            continue;
        }
        // Walked as the host walks it; a link leading out of the sandbox is left to checkSandbox.
        const fileio::Entry followed(folder, std::string(name), fileio::Entry::follow,
                                     fileio::Entry::Folders::unexposed);
        const std::string refused = sim::escaped((path / followed.path()).lexically_normal().string());
        if (followed.error() == fileio::FileError::exposedWay) {
            throw std::runtime_error(named + " through " + refused + ": " + followed.error().message());
        }
        std::error_code theirs;
        if (!followed.error() && followed.folder() >= 0 && fileio::liesWithin(followed.folder(), folder) &&
            followed.status(info) && (theirs = fileio::whyNotPlayersFolder(info))) {
            throw std::runtime_error(named + " to " + refused + ": " + theirs.message());
        }
    }
}

// The folders made for a sandbox, each held through the folder above it, so that a sandbox refused
// removes exactly what it made.
class MadeFolders {
public:
    // Makes each folder of `missing` in turn, from the folder `existing`; throws std::runtime_error
    // after `cannot`.
    void make(const std::filesystem::path& existing, const std::filesystem::path& missing,
              const std::string& cannot) {
        std::filesystem::path named = existing;
        fileio::Descriptor at(fileio::Entry(existing.string()).open(O_RDONLY | O_DIRECTORY));
        for (const std::filesystem::path& part : missing) {
            named /= part;
            const fileio::Entry entry(at.get(), part.string());
            struct stat info {};
            const bool stood = entry.status(info);
            std::error_code error = entry.error() ? entry.error()
                                    : stood       ? std::error_code()
                                                  : entry.makeFolder();
            fileio::Descriptor next(error ? -1 : entry.open(O_RDONLY | O_DIRECTORY));
            if (!error && (!next || ::fstat(next.get(), &info) != 0)) {
                error = std::error_code(errno, std::generic_category());
            }
            if (error) {
                throw std::runtime_error(cannot + "cannot make " + sim::escaped(named.string()) + ": " +
                                         error.message());
            }
            if (!stood) {
                m_made.push_back(Made{std::move(at), part.string(), named.string(), info});
            }
            at = std::move(next);
        }
    }

    // Removes the folders made, deepest first, each still the one made; answers what is left, in a
    // message that follows another.
    std::string remove() {
        std::string left;
        for (auto made = m_made.rbegin(); made != m_made.rend(); ++made) {
            const fileio::Entry entry(made->folder.get(), made->name);
            struct stat info {};
            std::error_code error = std::make_error_code(std::errc::no_such_file_or_directory);
            if (entry.status(info) && fileio::sameNode(info, made->status)) {
                error = entry.remove();
            }
            if (error && error != std::errc::no_such_file_or_directory) {
                left +=
                    "; the folder " + sim::escaped(made->path) + " made for it is left: " + error.message();
            }
        }
        m_made.clear();
        return left;
    }

private:
    struct Made {
        fileio::Descriptor folder; // the folder it was made in
        std::string name;
        std::string path;   // for the message
        struct stat status; // as made
    };
    std::vector<Made> m_made;
};

} // namespace

Sandbox::Sandbox(std::filesystem::path path, fileio::Descriptor folder, const struct stat& info)
    : m_path(std::move(path)), m_folder(std::move(folder)), m_held(info) {}

Sandbox Sandbox::given(const std::filesystem::path& path) {
    const sim::OwnFileCalls own;
    const std::string cannot = "cannot use the sandbox " + sim::escaped(path.string()) + ": ";
    std::filesystem::path existing;
    std::filesystem::path missing; // the folders to make below `existing`
    {
        const fileio::Entry entry(path.string());
        struct stat info {};
        if (entry.error()) {
            throw std::runtime_error(cannot + entry.error().message());
        }
        const bool stands = entry.status(info);
        if (stands && !S_ISDIR(info.st_mode)) {
            throw std::runtime_error(cannot + "it is not a folder");
        }
        // Nothing is made in a folder that is refused: the nearest one that stands is looked at first.
        existing = std::filesystem::path(entry.path()).parent_path();
        while (!sim::statusOf(existing, info) && existing.has_relative_path()) {
            existing = existing.parent_path();
        }
        if (!stands) {
            missing = std::filesystem::path(entry.path()).lexically_relative(existing);
        }
    }
    checkNotExposed(existing, cannot);
    MadeFolders made;
    try {
        made.make(existing, missing, cannot);
        Sandbox held = hold(path, cannot);
        // Again for the folders just made, which the umask may have left open to others.
        checkNotExposed(held.m_path.parent_path(), cannot);
        // The sandbox itself: another user could put a folder of theirs at the name of one the host
        // makes there, sticky or not, to receive the player's files.
        struct stat info {};
        if (::fstat(held.m_folder.get(), &info) == 0 && fileio::othersMayWrite(info)) {
            throw std::runtime_error(cannot + "users other than its own and root may write in it");
        }
        checkHostFolders(held.m_folder.get(), held.m_path, cannot);
        return held;
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(error.what() + made.remove());
    }
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
    if (!entry.error() && entry.status(info) && S_ISDIR(info.st_mode) && fileio::sameNode(info, m_held)) {
        return "";
    }
    return "the sandbox " + sim::escaped(m_path.string()) +
           " no longer leads to the folder the scenario played in: it was moved, removed or exchanged "
           "during the play";
}

} // namespace hostsim
