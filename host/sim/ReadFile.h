// How the simulated host and hostsim read a file given them (a resource file, a scenario, a project
// description, a file the report shows): a regular file only, up to a bound, never waited on.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace sim {

// The most bytes read of such a file.
constexpr std::uintmax_t inputFileLimit = std::uintmax_t(64) << 20;

// What an entry of the mode is, in a message: "a folder", "a FIFO", "a socket", "a device", "a
// link" or "a file".
std::string fileKind(mode_t mode);

// What the entry at `path` is when it is not a regular file, such as "a folder" or "a FIFO", with
// links followed; "" for a regular file or one that does not exist.
std::string notAFile(const std::filesystem::path& path);

// Reads the whole regular file `path` into `text`, reached as a FileEntry reaches it (a link
// followed only where no other user may have put it). It is looked at before it is opened, opened
// without waiting and looked at again, so that a FIFO (which would block the open or the read) or
// a device (which might never end) is refused rather than read. Answers the error of following
// the path, of the open or of the read, std::errc::invalid_argument for what is not a regular file (notAFile
// says what it is), and std::errc::file_too_large for a file of more than `limit` bytes, one that grows past
// them as it is read too; `text` is left empty then.
std::error_code readFile(const std::filesystem::path& path, std::string& text,
                         std::uintmax_t limit = inputFileLimit);

} // namespace sim
