// A folder of the file system, over the host's folder object.
#pragma once

#include "Environment/File.h"

#include <memory>
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
    // to fail where it is used.
    std::error_code whyNotPlayers() const;
    // The host folder object (kept by the directory), or null.
    virtual IO::Folder* getData() const;

    // The number of entries directly in the folder; 0 without one.
    unsigned int fileCount() const;

private:
    void open(IO::Location const& location, bool create);

    std::unique_ptr<IO::Folder> m_folder;
};

} // namespace zelvane
