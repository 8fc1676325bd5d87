// The layer's calls that Linux has and other POSIX systems (macOS, where the host runs) lack, each
// in two branches: Linux's own calls, and plain POSIX ones that do the same job. Linux's are built
// on Linux unless the build asks for the POSIX ones (ZELVANE_FILEIO_PORTABLE), so that those are
// tested here too. The POSIX branch takes a call of macOS's own where its headers define it (the
// macro it defines says so). Not part of the layer's interface.
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

// How a folder is held to search it: without reading it, where the system can; with O_RDONLY,
// only a folder the player may read too.
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

// Sets whether a write to the open descriptor, a pipe whose reader has left, raises no SIGPIPE
// (`quiet`), where the system has that switch on the descriptor itself (F_SETNOSIGPIPE, macOS):
// answers what it was (0 or 1), or -1 where there is no such switch or it could not be set. A
// process's signal reaches any of its threads, so that blocking it in the writing thread alone
// holds only where no other thread takes it.
int setQuietPipe(int fd, int quiet);

// A switch as setQuietPipe sets it, answering as it does: setQuietPipe, or a test's own.
using QuietPipeSwitch = int (*)(int fd, int quiet);

// Keeps the open file of `fd` quiet (the switch set) while the object lives, where it has the
// switch. The switch is the open file's, shared by every descriptor, thread and process holding
// it: the process's holds are counted per node, and only the last of a node's to end sets back
// each open file that a hold found not quiet, through a descriptor of its own kept until then.
class QuietPipeHold {
public:
    explicit QuietPipeHold(int fd, QuietPipeSwitch change = setQuietPipe);
    ~QuietPipeHold();
    QuietPipeHold(const QuietPipeHold&) = delete;
    QuietPipeHold& operator=(const QuietPipeHold&) = delete;

private:
    QuietPipeSwitch m_change;
    dev_t m_device = 0;
    ino_t m_node = 0;
    bool m_counted = false;
};

// A new file of no name, the player's alone, that leaves nothing behind and needs no folder;
// std::errc::function_not_supported where the system makes none.
Descriptor unnamedFile(std::error_code& error);

// Renames the entry `from` of the open folder `fromFolder` to `to` in the open folder `toFolder`
// only where no entry stands there (std::errc::file_exists); `isFolder` says the entry is a folder.
// In one step where the system has one (renameat2 with RENAME_NOREPLACE on Linux, renameatx_np
// with RENAME_EXCL on macOS) and the file system takes it. Elsewhere a file gets its new name as a
// second link, made only where no entry stands, and then loses its old one: where that fails, the
// new link is removed again and the failure answered. A folder, which takes no second link, is
// renamed after a look finds no entry at the new name, so that only an empty folder made between
// the two is replaced; Linux answers the error of its one step instead.
std::error_code renameWithoutReplacing(int fromFolder, const std::string& from, int toFolder,
                                       const std::string& to, bool isFolder);

// Whether the open folder is of /proc, whose links name open files.
bool onProc(int folder);

} // namespace internal
} // namespace fileio
