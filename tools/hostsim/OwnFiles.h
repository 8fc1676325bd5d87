// hostsim's own looks at files (not the add-ons'), through the file layer: a path followed, a
// file's status and kind, each entry reached as fileio::Entry reaches it.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace hostsim {

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
