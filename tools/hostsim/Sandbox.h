// The folder the host plays in, held open from before the play until its report is written, so
// that a sandbox moved or exchanged meanwhile is found rather than taken for the one played in.
#pragma once

#include "fileio/Descriptor.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <string>

namespace hostsim {

class Sandbox {
public:
    // The folder `path` names (--sandbox), made where it is missing with the folders above it.
    // Throws std::runtime_error, saying why, when it is not a folder, cannot be made, is reached
    // through a link the file rules do not follow (another user's in a folder other users may
    // write), lies in a folder in which, or above which, another user may rename entries (that
    // user could exchange it for a folder of the player's during the play), is a folder that
    // users other than its own and root may write in, or holds another user's entry of any kind (a
    // folder, a link, a file) at the name of one of the host's (sim::specialFolderNames). A sandbox refused
    // removes the folders made for it.
    static Sandbox given(const std::filesystem::path& path);
    // The folder made for the play (a temporary sandbox, made where no other user may rename
    // entries), held as it is; throws std::runtime_error when it cannot be opened.
    static Sandbox made(const std::filesystem::path& path);

    // The folder, absolute and its links resolved.
    const std::filesystem::path& path() const { return m_path; }

    // Why the path no longer leads to the folder held, in a message naming it; empty while it does.
    std::string moved() const;

private:
    Sandbox(std::filesystem::path path, fileio::Descriptor folder, const struct stat& info);
    static Sandbox hold(const std::filesystem::path& path, const std::string& cannot);

    std::filesystem::path m_path;
    fileio::Descriptor m_folder;
    struct stat m_held {}; // the folder's status as it was held
};

} // namespace hostsim
