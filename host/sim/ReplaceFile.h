// How the simulated host and hostsim write a file of their own (the host's settings, hostsim's
// report, a file a scenario puts in the host's folders): a regular file whole, beside the old one,
// and renamed over it, as the framework writes its files; a FIFO or a device in place; a file that
// must be new only where there is none.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace sim {

// Where `path` leads with every link followed, a dangling one too; sets `error` when a link cannot
// be followed.
std::filesystem::path followedPath(std::filesystem::path path, std::error_code& error);

// Writes `text` to the file `path` names as the kind it is: its links followed (a dangling one
// makes its file), a regular file replaced whole (replaceFile), any other node (a FIFO, a device)
// written in place and never replaced, a folder not at all. Answers the error.
std::error_code writeFile(const std::filesystem::path& path, const std::string& text);

// Writes `text` to a new file in the folder of `path`, under a name that was free, and renames it
// over `path`: a failed write leaves the old file as it was, and another name of the old file (a
// hard link) keeps its text. The new file takes the old one's permissions, and its owner where the
// user may give it. Answers the error, none when `path` holds the text.
std::error_code replaceFile(const std::filesystem::path& path, const std::string& text);

// Makes the file `path` holding `text` only where there is none, in one step (O_EXCL, which
// follows no link at `path`), so that a file made there meanwhile keeps what it holds; one cut
// short is removed. Answers the error, std::errc::file_exists where an entry stands.
std::error_code makeNewFile(const std::filesystem::path& path, const std::string& text);

// Makes and removes the file replaceFile would write beside `path`; answers why it could not be
// made (a folder that does not exist or cannot be written, a name too long with its suffix).
std::error_code checkReplaceable(const std::filesystem::path& path);

// Writes `text` to the FIFO or device `path` (a link to one followed), as it is, without replacing
// it. Answers the error, and one when `path` is a regular file or a folder by the time it opens.
std::error_code writeInPlace(const std::filesystem::path& path, const std::string& text);

} // namespace sim
