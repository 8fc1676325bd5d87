#include "IO/Folder.hpp"

#include "IO/Internal.hpp"
#include "fileio/Folders.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <string>
#include <vector>

namespace IO {

Folder* Folder::New(const Location& location, OnNotFound mode, GSErrCode* result) {
    GSErrCode err = sim::enter("IO::Folder::New");
    if (err != NoError) {
        if (result != nullptr) {
            *result = err;
        }
        return nullptr;
    }
    Folder* folder = new (std::nothrow) Folder(location, mode);
    if (result != nullptr) {
        *result = folder != nullptr ? folder->GetStatus() : ErrMemoryFull;
    }
    return folder;
}

Folder* Folder::New(const Folder& parent, const Name& name, OnNotFound mode, GSErrCode* result) {
    return New(Location(parent.m_location, name), mode, result);
}

Folder::Folder(const Location& location, OnNotFound mode) : m_location(location) {
    if (mode != Create || m_location.IsEmpty()) {
        return;
    }
    sim::OwnFileCalls own;
    const fileio::Entry entry = internal::entryOf(m_location, fileio::Entry::keepLink);
    if (internal::mayCreate(entry, sim::folderCreateCall, m_createError)) {
        // One made meanwhile is kept, and its status tells what it is.
        const std::error_code error = entry.makeFolder();
        m_createError = error == std::errc::file_exists ? NoError : internal::errorFromCode(error);
    }
}

GSErrCode Folder::GetStatus() const {
    return internal::entryStatus(m_location, true, m_createError);
}

GSErrCode Folder::GetLocation(Location* location) const {
    if (location == nullptr) {
        return ErrParam;
    }
    *location = m_location;
    return NoError;
}

GSErrCode Folder::GetEntryCount(UInt32* count) const {
    if (GSErrCode err = sim::enter("IO::Folder::GetEntryCount")) {
        return err;
    }
    if (count == nullptr || m_location.IsEmpty()) {
        return ErrParam;
    }
    const fileio::Entry entry = internal::entryOf(m_location);
    if (GSErrCode err = internal::entryStatus(entry, true, m_createError)) {
        return err;
    }
    // Listed through a descriptor of the folder the walk reached.
    const fileio::Descriptor folder(entry.open(O_RDONLY | O_DIRECTORY));
    std::vector<std::string> names;
    const std::error_code listed =
        folder ? fileio::listNames(folder.get(), names) : std::error_code(errno, std::generic_category());
    if (listed) {
        return internal::errorFromCode(listed);
    }
    *count = UInt32(names.size());
    return NoError;
}

GSErrCode Folder::GetModificationTime(GSTime* time) const {
    if (GSErrCode err = sim::enter("IO::Folder::GetModificationTime")) {
        return err;
    }
    if (time == nullptr || m_location.IsEmpty()) {
        return ErrParam;
    }
    const fileio::Entry entry = internal::entryOf(m_location);
    if (GSErrCode err = internal::entryStatus(entry, true, m_createError)) {
        return err;
    }
    struct stat info {};
    if (!entry.status(info)) {
        return internal::errorFromErrno(errno);
    }
    *time = GSTime(info.st_mtime);
    return NoError;
}

} // namespace IO
