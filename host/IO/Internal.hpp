// Helpers shared by the input-output library's own sources; not part of its interface.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "IO/Location.hpp"
#include "IO/Name.hpp"

#include <filesystem>
#include <string>

namespace IO {
namespace internal {

std::string text(const Name& name);
Name makeName(const std::string& text);

// A local name that can stand for one entry of a folder: not empty, not "." or "..", no "/" or NUL.
bool isValidLocalName(const std::string& name);

std::filesystem::path pathOf(const Location& location);
Location locationOf(const std::filesystem::path& path);

// Whether a path lies inside the sandbox root: the host changes nothing outside it.
bool isInsideSandbox(const std::filesystem::path& path);

// The steps before File or Folder makes its missing entry (mode Create): false when there is
// nothing to make (no location, or the entry exists); false with error set when call is failed by
// injection or the path lies outside the sandbox; else true, with the path to make it at.
bool mayCreate(const Location& location, const char* call, std::filesystem::path& path, GSErrCode& error);

// The status of the entry at location, for a file or a folder: NoError when it is one of that
// kind (a FIFO or a device is a file), ErrParam when it is of the other kind or there is no
// location, else the error of making it (createError) or ErrNotFound.
GSErrCode entryStatus(const Location& location, bool folder, GSErrCode createError);

// Host error code for a failed system call.
GSErrCode errorFromErrno(int err);
GSErrCode errorFromCode(const std::error_code& ec);

} // namespace internal
} // namespace IO

namespace IO {
namespace internal {

// Kept by the simulated host's file state (sim/Files.cpp).
// How many of `count` bytes a write may put on disk now; *err is the error of a write cut short.
std::size_t writeAllowance(std::size_t count, GSErrCode* err);
void fileOpened();
void fileClosed();

} // namespace internal
} // namespace IO
