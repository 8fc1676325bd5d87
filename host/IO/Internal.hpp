// Helpers shared by the input-output library's own sources; not part of its interface.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "IO/Location.hpp"
#include "IO/Name.hpp"
#include "fileio/Entry.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace IO {
namespace internal {

std::string text(const Name& name);
Name makeName(const std::string& text);

// A local name that can stand for one entry of a folder: not empty, not "." or "..", no "/" or NUL.
bool isValidLocalName(const std::string& name);

std::filesystem::path pathOf(const Location& location);
Location locationOf(const std::filesystem::path& path);

// The entry at the location, its path walked once by the file layer (links followed only under
// its rules); with keepLink, a link at the end is the entry itself. Every use of it acts through
// the folder it holds.
fileio::Entry entryOf(const Location& location, fileio::Entry::Last last = fileio::Entry::follow);

// Whether the entry lies inside the sandbox root, the host changing nothing outside it: its folder
// is the root or below it. An open file of /proc (/dev/fd/N) is judged by the file it names, where
// the system says it lies; a pipe or a socket, which lies in no folder, is not inside.
bool isInsideSandbox(const fileio::Entry& entry);

// Why the host does not rename or remove the entry, walked with keepLink: the path cannot be
// followed, the entry is missing, or it lies outside the sandbox (the sandbox root itself too);
// NoError, with `info` its status, where it may.
GSErrCode whyNotChanged(const fileio::Entry& entry, struct stat& info);

// The steps before File or Folder makes its missing entry (mode Create), walked with keepLink:
// false when there is nothing to make (the entry exists, a link too); false with error set when
// the call is failed by injection, the path cannot be followed, a folder on the way is missing or
// the entry lies outside the sandbox; else true.
bool mayCreate(const fileio::Entry& entry, const char* call, GSErrCode& error);

// The status of the entry, for a file or a folder: NoError when it is one of that kind (a FIFO or
// a device is a file), ErrParam when it is of the other kind, else the error of making it
// (createError), of following its path, or ErrNotFound.
GSErrCode entryStatus(const fileio::Entry& entry, bool folder, GSErrCode createError);
// The same at the location; ErrParam when there is none.
GSErrCode entryStatus(const Location& location, bool folder, GSErrCode createError);

// Host error code for a failed system call or file layer call (fileio::failureOf); an injected
// failure's code is the host's own.
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
