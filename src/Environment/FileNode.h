// The entry that a write of a file reaches, as the system's file calls see it: where the file's
// links lead, what stands there (nothing, a regular file, a folder, or another node such as a FIFO
// or a device) and the mode and owner that a file replacing it keeps. The host's file library
// tells none of these.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <functional>
#include <string>
#include <sys/types.h>

namespace zelvane {

// Which regular file a name leads to, by device and inode, a link at the name not followed.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    bool known = false;

    // The regular file of one link at path; unknown for anything else.
    static FileIdentity of(std::string const& path);
    bool operator==(FileIdentity const& other) const {
        return known && other.known && device == other.device && inode == other.inode;
    }
};

class FileNode {
public:
    // Follows the links of path, at the file (a dangling one too) and at the folders above it, to
    // the entry they name. A link in a folder that users other than the process's may write is
    // followed only when the process's user or root owns it: another user may have put it there
    // to have the process read, write or erase a file of its user's elsewhere.
    explicit FileNode(std::string const& path);

    // The named entry's path, with no link left on it; empty when the links loop, a link is
    // refused or the folder is not there.
    std::string const& getPath() const { return m_path; }
    bool exists() const { return m_exists; }
    bool isFolder() const;
    // A node that is neither a regular file nor a folder: written in place, never replaced.
    bool isSpecial() const;
    bool isFifo() const;
    // A link on the way was not followed, as above.
    bool isRefused() const { return m_refused; }
    // Whether the process's user may write the entry, and so replace it: as its permission bits
    // say, the owner's, the group's or the others' as the system picks them, root held to them too
    // (a file made read-only, or another user's, is not to be written over); and another user's
    // file in a sticky folder only where the folder is the process's user's.
    bool mayWrite() const;

    // Gives the regular file or folder the bits of `kept` it has and `added`, through a descriptor
    // of the entry itself; false for another node or when it cannot be opened.
    bool changeMode(mode_t kept, mode_t added) const;
    // Writes the bytes of the open file source, from its start, into the entry as it stands. A
    // FIFO without a reader is not waited on: ErrIO at once.
    GSErrCode writeInPlace(int source) const;

    // A regular file of the process's user's at path, a link at it not followed.
    static bool isOwnFile(std::string const& path);
    // Nothing stands at path, not even a link.
    static bool isAbsent(std::string const& path);
    // A link stands at path.
    static bool isLink(std::string const& path);

private:
    friend class TemporaryFile;

    std::string m_path;
    bool m_exists = false;
    bool m_refused = false;
    mode_t m_mode = 0;
    uid_t m_owner = 0;
    gid_t m_group = 0;
};

// A new file made beside an entry to replace it, held open from its making to its rename, so that
// its name is checked against the file made and never against one put under the name meanwhile.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(TemporaryFile const&) = delete;
    TemporaryFile& operator=(TemporaryFile const&) = delete;

    // Makes the new file at path through make, its user's alone from the start, and takes it:
    // only an empty regular file of one link that the process's user owns (as the process made
    // it), not reached through a link. It stays its owner's alone while it is written, and open
    // until this object goes. A file the process makes is never open to others before its mode
    // is set: another user who opened it then could read what is written into it.
    bool make(std::string const& path, std::function<bool()> const& make);
    // The name still leads to the file taken.
    bool isNamed() const;
    // Gives the file the entry's owner (where the process may) and permission bits, set-ID and
    // sticky bits dropped, or for no entry what the process's umask gives a new file (0666 less
    // the umask). False when the name no longer leads to the file taken.
    bool finish(FileNode const& entry) const;
    int descriptor() const { return m_fd; }

private:
    std::string m_path;
    int m_fd = -1;
    FileIdentity m_made;
    mode_t m_newMode = 0;
};

} // namespace zelvane
