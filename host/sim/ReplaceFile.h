// How the simulated host and hostsim write a file of their own (the host's settings, hostsim's
// report, a file a scenario puts in the host's folders): a regular file whole, beside the old one,
// and renamed over it, as the framework writes its files; a FIFO or a device in place, never
// waiting for a reader; a file that must be new only where there is none. Each reaches its file as
// a FileEntry does, following a link only where no other user may have put it, and none writes
// over a file the user may not write.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace sim {

// Where `path` leads with every link followed, a dangling one too; sets `error` when a link cannot
// or may not be followed (FileEntry).
std::filesystem::path followedPath(std::filesystem::path path, std::error_code& error);

// Writes `text` to the file `path` names as the kind it is: its links followed (a dangling one
// makes its file), a regular file replaced whole (replaceFile), any other node (a FIFO, a device)
// written in place (writeInPlace) and never replaced, a folder not at all. Answers the error.
std::error_code writeFile(const std::filesystem::path& path, const std::string& text);

// Writes `text` to a new file in the folder of `path` (its links followed), under a name that was
// free, and renames it over `path`: a failed write leaves the old file as it was, and another name
// of the old file (a hard link) keeps its text. The new file takes the old one's permissions, and
// its owner where the user may give it. A file the user may not write is left alone: one whose
// permission bits do not let the user write it (FileError::notWritable; root is held to them too),
// and another user's in a sticky folder that is not the user's either (FileError::notReplaceable).
// Answers the error, none when `path` holds the text.
std::error_code replaceFile(const std::filesystem::path& path, const std::string& text);

// Answers why replaceFile could not replace `path`, before anything is written: what it refuses,
// and what keeps it from making the file beside it (a folder that does not exist or cannot be
// written, a name too long with its suffix), which it makes and removes to find out.
std::error_code checkReplaceable(const std::filesystem::path& path);

// Makes the file `path` holding `text` only where there is none, in one step (O_EXCL, which
// follows no link at `path`), so that a file made there meanwhile keeps what it holds; one cut
// short is removed. Answers the error, std::errc::file_exists where an entry stands.
std::error_code makeNewFile(const std::filesystem::path& path, const std::string& text);

// Opens the FIFO or device `path` names (a link to one followed) to write into it in place,
// without waiting: a FIFO that no process reads is refused (FileError::noReader), as is a regular
// file or a folder. Answers the descriptor, which waits no longer once open, or -1 with `error`.
int openInPlace(const std::filesystem::path& path, std::error_code& error);
// Writes the whole of `text` to the open descriptor `fd`; answers the error.
std::error_code writeAll(int fd, const std::string& text);
// Writes `text` to the FIFO or device `path`, as openInPlace opens it, and closes it.
std::error_code writeInPlace(const std::filesystem::path& path, const std::string& text);

} // namespace sim
