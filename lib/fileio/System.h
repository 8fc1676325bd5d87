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

class Entry;

namespace internal {

// How a folder is held to search it: without reading it, where the system can.
#if defined(ZELVANE_FILEIO_LINUX)
constexpr int searchFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#elif defined(O_SEARCH)
constexpr int searchFlags = O_SEARCH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int searchFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// Takes off a SIGPIPE pending for the calling thread, which holds it blocked; `pipe` holds SIGPIPE
// alone.
void takePendingPipeSignal(const sigset_t& pipe);

// A new file of no name, the player's alone, that leaves nothing behind and needs no folder of the
// caller's; `error` receives why there is none.
Descriptor unnamedFile(std::error_code& error);

// Renames the entry `from` of the open folder `fromFolder` to `to` in the open folder `toFolder`
// only where no entry stands there (std::errc::file_exists); `isFolder` says the entry is a folder.
std::error_code renameWithoutReplacing(int fromFolder, const std::string& from, int toFolder,
                                       const std::string& to, bool isFolder);

// Gives the entry, of status `info` when looked at, which the player may not open to read, the
// bits of `kept` it has and `added`, while it is that node (FileError::changed); `before` receives
// the bits it had. Where the system cannot hold a node without reading it, it is changed by its
// name, only in a folder where no other user may rename entries (FileError::notReadable).
std::error_code changeModeUnread(const Entry& entry, const struct stat& info, mode_t kept, mode_t added,
                                 mode_t* before);

// Whether the open folder is of /proc, whose links name open files.
bool onProc(int folder);

} // namespace internal
} // namespace fileio
