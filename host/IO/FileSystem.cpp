#include "IO/FileSystem.hpp"

#include "IO/Internal.hpp"
#include "fileio/FileError.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

namespace IO {

FileSystem fileSystem;

GSErrCode FileSystem::Rename(const Location& entry, const Name& newName, UInt32 option) {
    if (GSErrCode err = sim::enter(sim::renameCall, option)) {
        return err;
    }
    std::string name = internal::text(newName);
    if (entry.IsEmpty() || !internal::isValidLocalName(name) ||
        (option != ReplaceFile && option != KeepExisting)) {
        return ErrParam;
    }
    sim::OwnFileCalls own;
    // The entry itself, a link too, in its folder reached as no other user may have redirected it.
    const fileio::Entry named = internal::entryOf(entry, fileio::Entry::keepLink);
    struct stat source {};
    if (GSErrCode err = internal::whyNotChanged(named, source)) {
        return err;
    }
    if (named.name() == name) {
        return NoError;
    }
    struct stat target {};
    if (fileio::Entry(named.folder(), name).status(target) &&
        (option == KeepExisting || S_ISDIR(target.st_mode) || S_ISDIR(source.st_mode))) {
        return ErrExists;
    }
    // Without replacing, in one step that fails where an entry has appeared since the look above;
    // replacing a file, in one step too, so no reader ever sees a half-written file.
    return internal::errorFromCode(named.renameTo(name, option == ReplaceFile));
}

GSErrCode FileSystem::Delete(const Location& entry, UInt32 scope, UInt32 mode) {
    if (GSErrCode err = sim::enter(sim::deleteCall, scope)) {
        return err;
    }
    if (entry.IsEmpty() || (scope != EmptyOnly && scope != Recursive) || mode != Permanent) {
        return ErrParam;
    }
    sim::OwnFileCalls own;
    // The entry itself, a link as the link, in its folder reached as no other user may have
    // redirected it.
    const fileio::Entry named = internal::entryOf(entry, fileio::Entry::keepLink);
    struct stat info {};
    if (GSErrCode err = internal::whyNotChanged(named, info)) {
        return err;
    }
    // A folder's whole tree is removed through descriptors, each folder inside opened from its
    // parent's without following a link: a folder swapped for a link meanwhile goes as the link.
    return internal::errorFromCode(scope == Recursive ? named.removeTree() : named.remove());
}

GSErrCode FileSystem::GetItemType(const Location& entry, ItemType* type) const {
    if (GSErrCode err = sim::enter("IO::FileSystem::GetItemType")) {
        return err;
    }
    if (type == nullptr || entry.IsEmpty()) {
        return ErrParam;
    }
    const fileio::Entry named = internal::entryOf(entry);
    if (named.error()) {
        return internal::errorFromCode(named.error());
    }
    struct stat info {};
    *type = !named.status(info) ? NotFound : S_ISDIR(info.st_mode) ? FolderItem : FileItem;
    return NoError;
}

GSErrCode FileSystem::GetSpecialLocation(UInt32 id, Location* location) const {
    if (GSErrCode err = sim::enter("IO::FileSystem::GetSpecialLocation", id)) {
        return err;
    }
    if (location == nullptr) {
        return ErrParam;
    }
    const char* name = nullptr;
    switch (id) {
    case CurrentFolder:
        name = "Current";
        break;
    case TemporaryFolder:
        name = "Temp";
        break;
    case LocalDataFolder:
        name = "LocalData";
        break;
    case DocumentsFolder:
        name = "Documents";
        break;
    case UserPreferencesFolder:
        name = "Preferences";
        break;
    case SharedDataFolder:
        name = "SharedData";
        break;
    case HomeFolder:
        name = "Home";
        break;
    default:
        return ErrParam;
    }
    std::error_code error;
    const std::filesystem::path path = sim::specialFolder(name, error);
    if (path.empty()) {
        // Another user's entry at its name is not taken as the host's own, nor the user's link
        // whose way other users may change; any other, or none made, is not found.
        return error == fileio::FileError::notPlayersFolder || error == fileio::FileError::exposedWay
                   ? ErrPermission
                   : ErrNotFound;
    }
    const Location folder = internal::locationOf(path);
    if (internal::entryStatus(folder, true, NoError) != NoError) {
        return ErrNotFound;
    }
    *location = folder;
    return NoError;
}

} // namespace IO
