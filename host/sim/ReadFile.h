// How the simulated host and hostsim read a file given them (a resource file, a scenario, a project
// description, a file the report shows): through the file layer (fileio::readWhole), a regular file
// only, up to a bound, never waited on.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace sim {

// The most bytes read of such a file.
constexpr std::uintmax_t inputFileLimit = std::uintmax_t(64) << 20;

// The status of the entry at `path`, its links followed as the file layer follows them (another
// user's link where they may have put it is not); false where there is none or the path cannot be
// followed.
bool statusOf(const std::filesystem::path& path, struct stat& info);

// What the entry at `path` is when it is not a regular file, such as "a folder" or "a FIFO", with
// links followed as the layer follows them; "" for a regular file, one that does not exist or a
// path that cannot be followed.
std::string notAFile(const std::filesystem::path& path);

// Reads the whole regular file `path` into `text` (fileio::readWhole): the error of following the
// path, of the rules, of the open or of the read; std::errc::invalid_argument for what is not a
// regular file (notAFile says what it is); std::errc::file_too_large for a file of more than
// `limit` bytes, one that grows past them as it is read too. `text` is empty after any failure.
std::error_code readFile(const std::filesystem::path& path, std::string& text,
                         std::uintmax_t limit = inputFileLimit);

} // namespace sim
