// A file-system entry: the base of data files and directories. It describes the entry (name,
// extension, path, URL) and keeps the host error code of its last operation.
#pragma once

#include "Environment/String.h"
#include "IO/Location.hpp"
#include "fileio/Entry.h"
#include "fileio/Rules.h"

#include <string>
#include <system_error>

namespace IO {
class File;
class Folder;
} // namespace IO

namespace zelvane {

class Time;

class File {
public:
    // The delimiter between the names of a path (plain text: no host memory is taken at load).
    static constexpr char pathDelimiter[] = "/";

    File() = default;
    File(File const&) = default;
    File& operator=(File const&) = default;
    virtual ~File();

    // A new copy of this entry, owned by the caller.
    virtual File* clone() const = 0;
    // The last name of the entry's location; a last name "rfs" stands for the name before it.
    virtual String getName() const;
    // The extension of the name, without the dot; empty when it has none.
    virtual String getExtension() const;
    // Always empty: the host's paths carry no volume name.
    virtual String getVolumeName() const;
    // The host path; a folder's path ends with "/", a file's never gains one.
    virtual String getPathName() const;
    // The host URL, with the same rule for folders.
    virtual String getURL() const;
    // The host error code of the last operation that reported one; 0 is success.
    virtual int getLastError() const;
    virtual bool exists() const = 0;
    virtual bool isFolder() const = 0;
    virtual IO::Location getLocation() const = 0;
    virtual Time getModificationTime() const = 0;
    // Renames the entry in its folder (an entry of that name already there is kept and the call
    // fails); the object then names the renamed entry.
    virtual bool setName(String const& name);
    // Points the object at the entry of that path; answers the host result.
    virtual int setPathName(String const& path);
    virtual int setLocation(IO::Location const& location) = 0;

    // Both entries' URLs are equal.
    bool operator==(File const& other) const;
    bool operator!=(File const& other) const { return !(*this == other); }

    // Gives everyone read, write and execute permission on the entry, a folder keeping its sticky
    // and set-group-ID bits, a file dropping its set-ID bits; the result is not reported.
    void allowFullAccess() const;
    // Gives the entry's owner read and write permission, and search permission on a folder,
    // keeping what the entry gives its group and others; the result is not reported. Both follow
    // the entry's links as a write does, and leave a FIFO or a device as it is.
    void allowOwnerAccess() const;

    // Takes the entry as one that lies in a folder taken by its name to hold the player's files
    // (Directory::takeForPlayer): each use walks its path as fileio::Entry::Folders::players
    // says, so that a folder on its way that is not the player's as the use holds it (another
    // user's, exchanged for the player's, say) refuses the use, ErrPermission. An entry made from
    // such a folder is taken so from the start.
    void setInPlayersFolder(bool inPlayers) { m_inPlayersFolder = inPlayers; }
    bool isInPlayersFolder() const { return m_inPlayersFolder; }
    // Whether the last use that walked the entry's path was refused for a folder that is not the
    // player's, as above.
    bool isFolderRefused() const { return !m_refusedFolder.empty(); }
    // The entry that use refused, its links resolved: the folder taken, one on its way, or another
    // user's entry at a folder's name; empty where the use was not refused.
    std::string const& getRefusedFolder() const { return m_refusedFolder; }
    // Whether the entry that use refused is the entry's own folder (the folder holding a file, a
    // folder itself), rather than one on its way.
    bool isOwnFolderRefused() const { return m_refusedOwn; }

    // Why the last operation that reported an error failed, in words for the user: the reason the
    // file layer answered where it failed there, else the host error code's; empty where it did
    // not fail.
    String whyFailed() const;
    // The words for a host error code (errorOf's codes, ErrEOF, any other by its number).
    static String describeError(int code);

    // The host's error code for a failure of the file layer (fileio): ErrNotFound, ErrExists,
    // ErrPermission, ErrParam or ErrIO, or the code the simulated host injected.
    static int errorOf(std::error_code const& error);

protected:
    // The location of a host file or folder object; an empty location for none.
    template <typename Entry>
    static IO::Location locationOf(Entry const* entry);
    // Its modification time in local time, the host result kept; the null time for none or on
    // failure.
    template <typename Entry>
    Time modificationTimeOf(Entry const* entry) const;
    // The location of the entry name inside folder; false, with the error ErrParam, for no folder.
    bool locationIn(IO::Folder const* folder, String const& name, IO::Location& location);

    // Whether another user's regular file at the entry's name is taken as the player's, where
    // every user of the machine is to change the same file.
    virtual bool isChangedByEveryUser() const { return false; }
    // Whose entries the file rules take as the player's for this entry.
    fileio::Owners owners() const {
        return isChangedByEveryUser() ? fileio::Owners::anyUser : fileio::Owners::player;
    }

    // The entry's path without the "/" that ends a folder's; empty for none.
    std::string entryPath() const;
    // The entry at `path` (the entry's own, or one below it), walked for a use as
    // isInPlayersFolder says; a folder refused is noted for isFolderRefused.
    fileio::Entry walk(std::string const& path, fileio::Entry::Last last = fileio::Entry::follow) const;
    // Keeps the failure of a use of the file layer: its host error code, and whether it is a folder
    // refused, by the walk or by a call on `entry` (the entry it refused).
    void keepFailure(std::error_code const& error, fileio::Entry const* entry = nullptr) const;

    mutable int m_lastError = 0;

private:
    // Sets the entry's permission bits to those of kept it has and added, through a descriptor of
    // the regular file or folder the entry's links lead to (as a write follows them); a FIFO or a
    // device is left as it is.
    void changeAccess(unsigned int kept, unsigned int added) const;

    bool m_inPlayersFolder = false;
    mutable std::string m_refusedFolder;
    mutable bool m_refusedOwn = false;
    // The file layer's answer that keepFailure kept, which whyFailed tells while m_lastError is its
    // code.
    mutable std::error_code m_failure;
};

} // namespace zelvane
