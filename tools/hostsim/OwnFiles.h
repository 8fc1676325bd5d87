// hostsim's own file work (not the add-ons'), through the file layer: folders made and listed, a
// path followed, files compared, each entry reached as fileio::Entry reaches it. The callers make
// their changes inside sim::OwnFileCalls, so that the host neither logs nor fails them as an
// add-on's.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace hostsim {

// Makes the folder `path` names and each missing folder above it, each through the folder above
// it (fileio::Entry::makeFolder), following a link only where the rules do. A folder that stands is
// no error.
std::error_code makeFolders(const std::filesystem::path& path);

// The names of the entries of the open folder `folder`, "." and ".." left out, sorted.
std::error_code listNames(int folder, std::vector<std::string>& names);

// Where `path` leads with every link followed, a dangling one too; `error` receives why a link
// cannot or may not be followed.
std::filesystem::path followedPath(const std::filesystem::path& path, std::error_code& error);

// The status of what `path` leads to, links followed under the rules; false when there is none or
// it cannot be reached.
bool statusOf(const std::filesystem::path& path, struct stat& info);

// What `path` leads to when it is not a regular file, such as "a folder" or "a FIFO"; "" for a
// regular file or none.
std::string notAFile(const std::filesystem::path& path);

} // namespace hostsim
