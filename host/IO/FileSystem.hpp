// The file system as a whole: renaming, deleting, the type of an entry and the special folders.
// The framework uses the one global instance, IO::fileSystem.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "IO/Location.hpp"

namespace IO {

class Name;

class FileSystem {
public:
    // Rename options: KeepExisting fails with ErrExists when an entry of the new name exists;
    // ReplaceFile puts the entry in place of an existing file of that name in one step (a folder
    // is never replaced).
    enum RenameOption : UInt32 { ReplaceFile = 1, KeepExisting = 2 };
    // Delete scope: Recursive removes a folder with everything in it, EmptyOnly only an empty one.
    enum DeleteScope : UInt32 { EmptyOnly = 0, Recursive = 1 };
    // Delete mode: Permanent (removed for good) is the only one this host supports.
    enum DeleteMode : UInt32 { Permanent = 2 };
    enum ItemType { NotFound = 0, FileItem = 1, FolderItem = 2 };
    enum SpecialLocation : UInt32 {
        CurrentFolder = 4,
        TemporaryFolder = 5,
        LocalDataFolder = 6,
        DocumentsFolder = 7,
        UserPreferencesFolder = 8,
        SharedDataFolder = 9,
        HomeFolder = 17
    };

    // Gives the entry a new name in its own folder. Entries outside the sandbox are not changed.
    GSErrCode Rename(const Location& entry, const Name& newName, UInt32 option = KeepExisting);
    GSErrCode Delete(const Location& entry, UInt32 scope = Recursive, UInt32 mode = Permanent);
    GSErrCode GetItemType(const Location& entry, ItemType* type) const;
    // The folder of a special location: the folder at its name in the sandbox, or where the user's
    // own link there leads inside the sandbox, made when missing. ErrPermission where another
    // user's entry stands at its name, or the user's link there passes through a folder in which
    // other users may rename entries; ErrNotFound where anything else stands there (a file, a link
    // leading out of the sandbox).
    GSErrCode GetSpecialLocation(UInt32 id, Location* location) const;
};

extern FileSystem fileSystem;

} // namespace IO
