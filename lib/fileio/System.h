// The layer's calls that Linux has and other POSIX systems (macOS, where the host runs) lack, each
// in two branches: Linux's own calls, and plain POSIX ones that do the same job. Linux's are built
// on Linux unless the build asks for the POSIX ones (ZELVANE_FILEIO_PORTABLE), so that those are
// tested here too. Not part of the layer's interface.
#pragma once

#include "fileio/Descriptor.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <system_error>

// Defined where the layer calls Linux's own.
#if defined(__linux__) && !defined(ZELVANE_FILEIO_PORTABLE)
#define ZELVANE_FILEIO_LINUX 1
#endif

namespace fileio {
namespace internal {

// How a folder is held to search it: without reading it, where the system can.
#if defined(ZELVANE_FILEIO_LINUX)
constexpr int searchFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#elif defined(O_SEARCH)
constexpr int searchFlags = O_SEARCH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int searchFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// The flag that opens a node to hold it without reading it, and to change its mode through
// changeHeldMode; 0 where the system has none.
#if defined(ZELVANE_FILEIO_LINUX)
constexpr int holdUnread = O_PATH;
#else
constexpr int holdUnread = 0;
#endif

// Gives the node held open with holdUnread the mode.
std::error_code changeHeldMode(int held, mode_t mode);

// Takes off a SIGPIPE pending for the calling thread, which holds it blocked; `pipe` holds SIGPIPE
// alone.
void takePendingPipeSignal(const sigset_t& pipe);

// A new file of no name, the player's alone, that leaves nothing behind and needs no folder;
// std::errc::function_not_supported where the system makes none.
Descriptor unnamedFile(std::error_code& error);

// Renames the entry `from` of the open folder `fromFolder` to `to` in the open folder `toFolder`
// only where no entry stands there (std::errc::file_exists); `isFolder` says the entry is a folder.
std::error_code renameWithoutReplacing(int fromFolder, const std::string& from, int toFolder,
                                       const std::string& to, bool isFolder);

// Whether the open folder is of /proc, whose links name open files.
bool onProc(int folder);

} // namespace internal
} // namespace fileio
