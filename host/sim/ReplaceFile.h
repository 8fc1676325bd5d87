// How the simulated host and hostsim write a file of their own (the host's settings, hostsim's
// report, a file a scenario puts in the host's folders): through the file layer (lib/fileio),
// whose rules decide which links are followed, which files are written and how. Each helper is
// the host's own file work (sim::OwnFileCalls): the layer's calls it makes are neither logged nor
// failed as the framework's. The errors answered are the layer's (fileio::FileError beside the
// system's).
#pragma once

#include "fileio/Rules.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace fileio {
class Entry;
}

namespace sim {

// Where `path` leads with every link followed, a dangling one too; sets `error` when a link cannot
// or may not be followed (fileio::Entry).
std::filesystem::path followedPath(std::filesystem::path path, std::error_code& error);

// Writes `text` to the file `path` names as the kind it is: its links followed (a dangling one
// makes its file), a regular file replaced whole (replaceFile), any other node (a FIFO, a device)
// written in place and never replaced, a folder not at all (fileio::writeWhole). Answers the
// error.
std::error_code writeFile(const std::filesystem::path& path, const std::string& text);
// The same, for an entry already walked.
std::error_code writeFile(const fileio::Entry& entry, const std::string& text);

// Replaces the regular file `path` names (or makes it) with one holding `text`, written beside it
// and renamed over it (fileio::writeWhole): a failed write leaves the old file as it was. A FIFO
// or a device is refused (std::errc::invalid_argument). Answers the error.
std::error_code replaceFile(const std::filesystem::path& path, const std::string& text);
// The same, for an entry already walked, `owners` saying whose file it replaces (Owners::anyUser
// where every user is to change it, as the shared preferences).
std::error_code replaceFile(const fileio::Entry& entry, const std::string& text,
                            fileio::Owners owners = fileio::Owners::player);

} // namespace sim
