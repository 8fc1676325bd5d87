// How a file is written whole: a regular file replaced by a new one written beside it and renamed
// over it, so that a failed write leaves the old file as it was and no reader sees half a file; a
// FIFO or a device written in place, never waited on; a file that must be new put in place only
// where no entry stands. Whatever writes the content writes it through the descriptor of the file
// made, which no other user can exchange for another before it is renamed into place.
#pragma once

#include "fileio/Descriptor.h"
#include "fileio/Entry.h"

#include <cstddef>
#include <functional>
#include <string>
#include <system_error>

namespace fileio {

// Fills the open, empty new file `fd` (read and write, at its start); answers its failure.
using Writer = std::function<std::error_code(int fd)>;
// A writer of `text`.
Writer textWriter(const std::string& text);

struct WriteOptions {
    Owners owners = Owners::player;
    // Put in place only where no entry stands: one that appears meanwhile is kept
    // (std::errc::file_exists), and no node is written in place.
    bool mustBeNew = false;
    // A FIFO or a device is written in place; without, it is refused (std::errc::invalid_argument).
    bool inPlace = true;
    // Where given, put in place only over the file that was read, of this status: the same node,
    // and for a regular file the same size, modification and change times, looked at before
    // anything is made and again as the new file is renamed over it. None there, another entry,
    // or that file changed since, is FileError::notAsRead, and nothing is written.
    const struct stat* asRead = nullptr;
};

// Whether the entry of status `now` is the file of status `read`, unchanged since: the same node,
// and for a regular file the same size, modification and change times.
bool isAsRead(const struct stat& now, const struct stat& read);

// Writes the entry whole, as the kind it is:
// - a folder is not written (std::errc::is_a_directory);
// - a FIFO or a device is written in place (see openInPlace), after `write` has filled a file of
//   no name with its content, and so is a file the process holds open and names through /proc
//   (Entry::isOpenFile: /dev/stdout redirected to a file), at its end, as a shell's redirection
//   writes it;
// - a regular file, or none, is replaced: `write` fills a new file in its folder, which is given
//   the old file's owner where the player may and its permission bits, set-ID and sticky bits
//   dropped (for no old file, 0666 less the umask), and renamed over it. Another name of the old
//   file (a hard link) keeps the old content.
// The new file is the player's alone from its making to its rename. Where other users may rename
// entries of the folder, it is made inside a folder of the player's own made for it beside the
// old file, and renamed from there, so that no one can put another file in its place. Whatever
// fails, the new file (and that folder) is removed and the old file stays as it was. The rules
// refuse another user's entry (as `whyNotWritten` says, with `replacing`) before anything is made.
std::error_code writeWhole(const Entry& entry, const Writer& write, const WriteOptions& options = {});

// Why writeWhole would not write the entry, before anything is written: what the rules refuse, and
// what keeps it from making its new file (a folder missing or not writable, a name too long),
// which it makes and removes to find out.
std::error_code checkWritable(const Entry& entry, const WriteOptions& options = {});

// Opens the FIFO or device the entry is, or a regular file it names as one the process holds open
// (Entry::isOpenFile, then at its end), to write into it in place, under the rules, without
// waiting: a FIFO that no process reads is refused (FileError::noReader), as is any other regular
// file or a folder (std::errc::invalid_argument). Once open, its writes wait for a slow reader as
// any writer's do.
Descriptor openInPlace(const Entry& entry, Owners owners, std::error_code& error);

// Writes `size` bytes of `data` to the open descriptor. A reader that has left fails the write
// (std::errc::broken_pipe) and raises no SIGPIPE, whatever the process does with that signal.
std::error_code writeAll(int fd, const char* data, std::size_t size);
// Writes the bytes of the open regular file `source`, from its start, to `fd`, as writeAll does.
std::error_code copyAll(int source, int fd);

// Makes the entry a new, empty regular file of the player's where no entry stands, in one step
// that follows no link (std::errc::file_exists where one stands), with 0666 less the umask:
// answers it open to read and write.
Descriptor makeFile(const Entry& entry, std::error_code& error);

// Whether `name` is the name of a file or folder that writeWhole made for the file `of` and left
// behind when its clean-up failed: ".OF.SUFFIX.tmp", the suffix hexadecimal, or ".OF.tmpN" as
// earlier versions named them.
bool isLeftoverOf(const std::string& name, const std::string& of);
// Removes the player's own leftovers of the entry's file from its folder: a regular file, and a
// folder named and made (0700) as writeWhole makes its own that holds nothing but what it puts
// there (at most its new file, the player's). Another user's, which may be their write under way,
// and any other folder stay.
void removeLeftovers(const Entry& entry);

} // namespace fileio
