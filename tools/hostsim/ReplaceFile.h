// How hostsim writes a file of its own (the report, a file a scenario puts in the host's folders):
// whole, beside the old one, and renamed over it, as the framework writes its files.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace hostsim {

// Writes `text` to a new file in the folder of `path`, under a name that was free, and renames it
// over `path`: a failed write leaves the old file as it was, and another name of the old file (a
// hard link) keeps its text. Answers the error, none when `path` holds the text.
std::error_code replaceFile(const std::filesystem::path& path, const std::string& text);

} // namespace hostsim
