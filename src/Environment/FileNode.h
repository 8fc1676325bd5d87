// The entry that a write of a file reaches, as the system's file calls see it: where the file's
// links lead, what stands there (nothing, a regular file, a folder, or another node such as a FIFO
// or a device) and the mode and owner that a file replacing it keeps. The host's file library
// tells none of these.
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <string>
#include <sys/types.h>

namespace zelvane {

class FileNode {
public:
    // Follows the links of the file at path, a dangling one too, to the entry they name.
    explicit FileNode(std::string const& path);

    // The named entry's path, its folder's links resolved; empty when the links loop or the
    // folder is not there.
    std::string const& getPath() const { return m_path; }
    bool exists() const { return m_exists; }
    bool isFolder() const;
    // A node that is neither a regular file nor a folder: written in place, never replaced.
    bool isSpecial() const;
    bool isFifo() const;

    // Takes the new file at temporary, which is to replace the entry: only an empty regular file
    // of one link (as this process made it) is taken, and it is made its owner's alone while it
    // is written. False when it is not such a file.
    bool takeTemporary(std::string const& temporary);
    // Gives the temporary file taken the entry's owner (where the process may) and mode, or for
    // no entry the mode the file was made with. False when the file is no longer the one taken.
    bool finishTemporary(std::string const& temporary) const;
    // Writes the bytes of the file at source into the entry as it stands; NoError or the error.
    GSErrCode writeInPlace(std::string const& source) const;

private:
    std::string m_path;
    bool m_exists = false;
    mode_t m_mode = 0;
    uid_t m_owner = 0;
    gid_t m_group = 0;
    dev_t m_temporaryDevice = 0;
    ino_t m_temporaryInode = 0;
    mode_t m_temporaryMode = 0;
};

} // namespace zelvane
