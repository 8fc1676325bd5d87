// How a whole file is read: a regular file only, up to a bound, never waited on, and under the
// rules.
#pragma once

#include "fileio/Entry.h"

#include <cstdint>
#include <string>
#include <system_error>

namespace fileio {

// Reads the whole regular file the entry is into `text`. It is looked at before it is opened,
// opened without waiting and looked at again, so that a FIFO (which would block the open or the
// read) or a device (which might never end) is refused rather than read. Answers the error of the
// walk, of the rules (Entry::openFile), of the open or of the read; std::errc::invalid_argument
// for what is not a regular file; std::errc::file_too_large for a file of more than `limit`
// bytes, or one that grows past them as it is read. `text` is empty after any failure.
std::error_code readWhole(const Entry& entry, std::string& text, std::uintmax_t limit,
                          Owners owners = Owners::player);

} // namespace fileio
