// The entry a path names, reached once: folder by folder from the root, each held open, so that a
// folder renamed or exchanged meanwhile leads nowhere else, and each link followed only where the
// rules let (Rules.h). Every later use of the entry (its status, an open, a change of mode, a
// removal, a rename, a file written beside it) acts through the folder held, never by the path
// again.
#pragma once

#include "fileio/Descriptor.h"
#include "fileio/Rules.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <system_error>

namespace fileio {

class Entry {
public:
    enum Last {
        follow,   // a link at the end is followed (under the rules), a dangling one too
        keepLink, // a link at the end is the entry itself, as an entry to rename or remove is
    };
    // Whose folders the walk takes.
    enum class Folders {
        any,       // any folder the system lets the walk enter
        players,   // the entry is taken by name to lie in a folder of the player's files: a folder
                   // the walk enters on the way is taken only where the rules take it (mayTake), and
                   // the folder holding the entry only where it is the player's or root's, as each is
                   // held (FileError::notPlayersFolder); so is an entry makeFolder finds standing
        unexposed, // the path is to lead to the same entry at its next walk: each folder the walk
                   // looks a name up in is one in which no other user may rename entries
                   // (othersMayRename), as it is held (FileError::exposedWay)
    };
    // Walks `path` (relative to the working folder). A missing entry is no error; see error().
    explicit Entry(const std::string& path, Last last = follow, Folders folders = Folders::any);
    // The entry `name` of the open folder `folder` (which the entry keeps a descriptor of), for a
    // name that holds no "/" and is not "." or "..".
    Entry(int folder, const std::string& name);
    // Walks `path` from the open folder `top`, as the path constructor walks from the working
    // folder: its links followed under the rules, an absolute one's from the root. path() is then
    // relative to `top` until a link leads to the root.
    Entry(int top, const std::string& path, Last last, Folders folders = Folders::any);
    Entry(Entry&& other) noexcept = default;
    Entry& operator=(Entry&&) = delete;
    ~Entry() = default;

    // Why the path could not be followed: a link the rules do not follow
    // (FileError::linkNotFollowed), a chain of links without end, a folder that cannot be searched,
    // a folder the walk's Folders do not take.
    const std::error_code& error() const { return m_error; }
    // Where the path leads, its links resolved; below a missing folder, as it is named. Where the
    // walk's Folders refused a folder, or makeFolder the entry, the one refused.
    const std::string& path() const { return m_path; }
    // Where the walk's Folders refused a folder: whether it is the folder that holds the entry, as
    // entered or as held, rather than one on the entry's way.
    bool refusedItsFolder() const { return m_refusedItsFolder; }
    // The folder holding the entry, open (to search it, not to read it); -1 when a folder on the
    // way is missing or is no folder, and missing() says which.
    int folder() const { return m_folder.get(); }
    std::error_code missing() const;
    // The entry's name in its folder: "." for a path naming a folder itself.
    const std::string& name() const { return m_name; }
    // A link of /proc that names an open file rather than a path (/dev/stdout to a pipe, say),
    // which only the system can follow and only the process itself made.
    bool isOpenFile() const { return m_openFile; }

    // The entry's status now (a link's own with `keepLink`); false, with errno set, when there is
    // none or the path could not be followed.
    bool status(struct stat& info) const;
    // The status of the folder holding it.
    bool folderStatus(struct stat& info) const;

    // Opens the entry through its folder, never following a link at its end (but isOpenFile()'s),
    // under no rule: the descriptor, or -1 with errno set.
    int open(int flags, mode_t mode = 0) const;
    // Opens the entry as open() does, only while it is the node of status `looked`, which then
    // receives its status now; otherwise `error` says why (FileError::changed for another node).
    Descriptor openLookedAt(int flags, struct stat& looked, std::error_code& error) const;

    // Opens the entry, a regular file or another node that is not a folder, to read (O_RDONLY),
    // write (O_WRONLY) or both (O_RDWR), under the rules: another user's entry where the rules
    // do not take it (FileError::notOwned), bits that do not let the player read or write it
    // (notReadable, notWritable), and an entry that is no longer the one looked at
    // (FileError::changed) are refused. A FIFO is opened without waiting: one opened to write
    // without a reader fails (FileError::noReader), and it stays without waiting; anything else
    // waits as usual once open. No new file is made.
    Descriptor openFile(int access, Owners owners, std::error_code& error) const;

    // Gives the entry, a regular file or a folder, the bits of `kept` it has and `added`, through
    // a descriptor of its own; `before` receives the bits it had. A file another user may have put
    // where the rules do not take it is left alone (FileError::notOwned), as is any other node, and
    // a file of more than one name in a folder other users may write (FileError::otherNames).
    // One the player may not read is held unread for it on Linux (O_PATH). The POSIX branch has no
    // such hold: it changes the player's own entry by its name, never following a link, where no
    // other user may rename it, and refuses any other (FileError::notReadable).
    std::error_code changeMode(mode_t kept, mode_t added, mode_t* before = nullptr,
                               Owners owners = Owners::player) const;

    // Removes the entry: a file, a node or a link (as the link), or an empty folder, where its
    // folder lets the player remove it (whyNotRemoved), whatever the entry's own bits.
    std::error_code remove(Owners owners = Owners::player) const;
    // Removes the entry as remove() does, a folder with what it holds (removeContents), reached
    // through a descriptor of the folder looked at. An entry at any depth that the rules do not
    // take is kept, with the folders holding it (FileError::notOwned).
    std::error_code removeTree(Owners owners = Owners::player) const;

    // Renames the entry to `name` in its folder, where its folder lets the player (whyNotRemoved);
    // with `replace` false, only where no entry stands there (std::errc::file_exists): in one step
    // on Linux and macOS, elsewhere in the steps System.h says; with `replace`, over a file only
    // where the player may write it (whyNotWritten), over a folder only where the player may
    // remove it (whyNotRemoved).
    std::error_code renameTo(const std::string& name, bool replace) const;

    // Makes the entry a folder (mode 0777 less the umask) where none stands; one that stands is no
    // error when it is a folder, and with Folders::players the player's or root's. With
    // Folders::players another user's entry of any kind standing there is FileError::notPlayersFolder,
    // the player's that is no folder std::errc::file_exists.
    std::error_code makeFolder() const;

    // What the entry, a link (with `keepLink`), holds: the text it names, read never followed.
    std::error_code linkTarget(std::string& target) const;

private:
    // Walks `path` from the open folder `top` (the root for an absolute path), which `at` names.
    std::error_code walk(int top, std::string at, const std::string& path, Last last);
    // With Folders::players, why the folder `held`, entered from the folder held, is not taken,
    // or why the folder held may not hold the entry (`held` -1).
    std::error_code whyNotTaken(int held) const;
    // With Folders::unexposed, why no name may be looked up in the folder held.
    std::error_code whyExposed() const;
    // The entry's status and its folder's, or why there is none.
    std::error_code lookAt(struct stat& info, struct stat& folder) const;

    std::string m_path;
    std::error_code m_error;
    Descriptor m_folder;
    int m_missing = 0; // ENOENT or ENOTDIR when a folder on the way is missing
    std::string m_name;
    bool m_openFile = false;
    bool m_refusedItsFolder = false;
    Folders m_folders = Folders::any;
};

} // namespace fileio
