// The sandbox hostsim plays in when it is given none: a folder of its own, made fresh for the
// play and removed after it.
#pragma once

#include <filesystem>
#include <system_error>

namespace hostsim {

// Makes a new folder "hostsim-XXXXXX" in the temporary folder (TMPDIR, or /tmp), under a name
// that was free and open to its owner only, so that no other user's folder, nor one made before,
// is ever played in. Answers the folder; empty, with `error` set, when none can be made.
std::filesystem::path makeTemporarySandbox(std::error_code& error);

// Removes the folder `path` and everything in it; a link is removed, never followed, so nothing
// outside the folder is removed. Answers whether all of it went.
bool removeTree(const std::filesystem::path& path);

} // namespace hostsim
