// A folder of the file system, over the host's folder object.
#pragma once

#include "Environment/File.h"

#include <memory>
#include <string>
#include <system_error>

struct FSRef;

namespace IO {
class Folder;
}

namespace zelvane {

class SearchString;

class Directory : public File {
public:
    // Refers to nothing.
    Directory();
    // The folder at a location or path; with create a missing folder is made (its parent must
    // exist). getLastError() tells the outcome.
    Directory(IO::Location const& location, bool create);
    Directory(String const& path, bool create);
    // The folder `name` inside parent.
    Directory(Directory const& parent, String const& name, bool create);
    // The folder of a system file reference; never created.
    explicit Directory(FSRef const& reference);
    // The folder of a host folder object; never created.
    explicit Directory(IO::Folder const& folder);
    Directory(Directory const& other);
    Directory& operator=(Directory const& other);
    ~Directory() override;

    // Makes the folder `name` inside parent; error receives the host result. The new directory
    // (the caller owns it) when it exists afterwards, else null.
    static Directory* create(Directory const& parent, String const& name, int& error);

    // The path names are equal.
    bool operator==(Directory const& other) const;
    bool operator!=(Directory const& other) const { return !(*this == other); }

    Directory* clone() const override;
    bool exists() const override;
    bool isFolder() const override;
    IO::Location getLocation() const override;
    Time getModificationTime() const override;
    // Points the object at the folder of a location (not created); answers the host result.
    int setLocation(IO::Location const& location) override;

    // True when an entry whose name matches pattern lies in the folder (in its sub-folders too when
    // recursive): files when `files` is set, folders when `folders` is set.
    virtual bool containsItemNamed(SearchString const& pattern, bool files, bool folders,
                                   bool recursive) const;
    // Deletes the folder and everything in it from disk.
    virtual bool erase();
    // Why the folder, taken by its name to hold the player's files, may not: another user's
    // (fileio::whyNotPlayersFolder), whatever folder holds it. One that cannot be looked at is left
    // to fail where it is used. A look by its name, which the uses ask again as they hold it
    // (takeForPlayer).
    std::error_code whyNotPlayers() const;
    // Takes the folder, by its name, to hold the player's files: a file or folder made from it as
    // its parent lies in a folder of the player's (File::setInPlayersFolder), and a folder made from
    // it, where created, is made or found only where it is the player's or root's, as the make
    // holds it (ErrPermission, isFolderRefused(), and no folder).
    void takeForPlayer() { m_holdsPlayers = true; }
    bool holdsPlayersFiles() const { return m_holdsPlayers; }
    // Why `use`, a use of the folder or of an entry in it, was refused for a folder that is not
    // the player's (File::isFolderRefused), in words for the user: "it is another user's entry...",
    // after "its way passes through open/theirs: " where the folder refused is not this one but one
    // on its way. Empty where the use was not refused.
    String whyRefused(File const& use) const;
    // The folder as the user finds it, and why it was refused: by `use` (whyRefused), or by the look
    // at it for `why` ("Preferences/Zelvane: it is another user's entry...").
    String describeRefusal(File const& use) const;
    String describeRefusal(std::error_code const& why) const;
    // The folder as the user finds it: the name of the folder holding it, then its own
    // ("Preferences/Zelvane").
    String getNameAsFound() const;
    // The same of a path: its last two names.
    static std::string nameAsFound(std::string const& path);
    // The host folder object (kept by the directory), or null.
    virtual IO::Folder* getData() const;

    // The number of entries directly in the folder; 0 without one.
    unsigned int fileCount() const;

private:
    void open(IO::Location const& location, bool create);

    std::unique_ptr<IO::Folder> m_folder;
    bool m_holdsPlayers = false;
    bool m_notTaken = false; // made or found, as the player's, where it is another user's
};

} // namespace zelvane
