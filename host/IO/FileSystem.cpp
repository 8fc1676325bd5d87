#include "IO/FileSystem.hpp"

#include "IO/Internal.hpp"
#include "sim/FileEntry.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

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
    std::filesystem::path from = internal::pathOf(entry);
    std::filesystem::path to = from.parent_path() / name;
    std::error_code ec;
    std::filesystem::file_status source = std::filesystem::symlink_status(from, ec);
    if (!std::filesystem::exists(source)) {
        return ErrNotFound;
    }
    if (!internal::isInsideSandbox(from.parent_path()) || from == sim::sandboxRoot()) {
        return ErrPermission;
    }
    if (from == to) {
        return NoError;
    }
    std::filesystem::file_status target = std::filesystem::symlink_status(to, ec);
    if (std::filesystem::exists(target)) {
        if (option == KeepExisting) {
            return ErrExists;
        }
        if (std::filesystem::is_directory(target) || std::filesystem::is_directory(source)) {
            return ErrExists;
        }
    }
    // The entry itself, a link too, in its folder reached as no other user may have redirected it.
    const sim::FileEntry named(from, false);
    if (named.error() || named.folder() < 0) {
        return internal::errorFromCode(named.error() ? named.error() : named.missing());
    }
    const int folder = named.folder();
    const char* const old = named.name().c_str();
    if (option == KeepExisting) {
        // In one step that fails where an entry has appeared since the look above, so that no
        // entry made meanwhile is ever replaced.
        if (::renameat2(folder, old, folder, name.c_str(), RENAME_NOREPLACE) == 0) {
            return NoError;
        }
        if (errno != EINVAL || std::filesystem::is_directory(source)) {
            return internal::errorFromErrno(errno);
        }
        // A file system without that step: a second link made only where there is no entry.
        if (::linkat(folder, old, folder, name.c_str(), 0) != 0) {
            return internal::errorFromErrno(errno);
        }
        ::unlinkat(folder, old, 0);
        return NoError;
    }
    // A rename replaces an existing file in one step, so no reader ever sees a half-written file.
    if (::renameat(folder, old, folder, name.c_str()) != 0) {
        return internal::errorFromErrno(errno);
    }
    return NoError;
}

GSErrCode FileSystem::Delete(const Location& entry, UInt32 scope, UInt32 mode) {
    if (GSErrCode err = sim::enter(sim::deleteCall, scope)) {
        return err;
    }
    if (entry.IsEmpty() || (scope != EmptyOnly && scope != Recursive) || mode != Permanent) {
        return ErrParam;
    }
    std::filesystem::path path = internal::pathOf(entry);
    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::symlink_status(path, ec);
    if (!std::filesystem::exists(status)) {
        return ErrNotFound;
    }
    // The sandbox root itself is never removed: every part of the host keeps its folders there.
    if (!internal::isInsideSandbox(path.parent_path()) ||
        std::filesystem::equivalent(path, sim::sandboxRoot(), ec)) {
        return ErrPermission;
    }
    // The entry itself, a link as the link, in its folder reached as no other user may have
    // redirected it.
    const sim::FileEntry named(path, false);
    if (named.error() || named.folder() < 0) {
        return internal::errorFromCode(named.error() ? named.error() : named.missing());
    }
    if (scope == Recursive && std::filesystem::is_directory(status)) {
        // The standard library removes the tree through descriptors, opening each folder from its
        // parent's without following a link: a folder swapped for a link meanwhile goes as the link.
        std::filesystem::remove_all(named.path(), ec);
        return internal::errorFromCode(ec);
    }
    const int flags = std::filesystem::is_directory(status) ? AT_REMOVEDIR : 0;
    return ::unlinkat(named.folder(), named.name().c_str(), flags) == 0 ? NoError
                                                                        : internal::errorFromErrno(errno);
}

GSErrCode FileSystem::GetItemType(const Location& entry, ItemType* type) const {
    if (GSErrCode err = sim::enter("IO::FileSystem::GetItemType")) {
        return err;
    }
    if (type == nullptr || entry.IsEmpty()) {
        return ErrParam;
    }
    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::status(internal::pathOf(entry), ec);
    *type = std::filesystem::is_directory(status) ? FolderItem
            : std::filesystem::exists(status)     ? FileItem
                                                  : NotFound;
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
    std::filesystem::path folder = sim::specialFolder(name);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return ErrNotFound;
    }
    *location = internal::locationOf(folder);
    return NoError;
}

} // namespace IO
