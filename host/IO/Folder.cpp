#include "IO/Folder.hpp"

#include "IO/Internal.hpp"
#include "sim/FileEntry.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>

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
    std::filesystem::path path;
    if (mode != Create || !internal::mayCreate(m_location, sim::folderCreateCall, path, m_createError)) {
        return;
    }
    // The folders on the way are followed only where no other user may have put a link; one that
    // exists by now is kept, and its status tells what it is.
    const sim::FileEntry entry(path, false);
    if (entry.error() || entry.folder() < 0) {
        m_createError = internal::errorFromCode(entry.error() ? entry.error() : entry.missing());
    } else if (::mkdirat(entry.folder(), entry.name().c_str(), 0777) != 0 && errno != EEXIST) {
        m_createError = internal::errorFromErrno(errno);
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
    if (count == nullptr) {
        return ErrParam;
    }
    if (GSErrCode err = GetStatus()) {
        return err;
    }
    std::error_code ec;
    UInt32 n = 0;
    for (std::filesystem::directory_iterator it(internal::pathOf(m_location), ec), end; !ec && it != end;
         it.increment(ec)) {
        ++n;
    }
    if (ec) {
        return internal::errorFromCode(ec);
    }
    *count = n;
    return NoError;
}

GSErrCode Folder::GetModificationTime(GSTime* time) const {
    if (GSErrCode err = sim::enter("IO::Folder::GetModificationTime")) {
        return err;
    }
    if (time == nullptr) {
        return ErrParam;
    }
    if (GSErrCode err = GetStatus()) {
        return err;
    }
    struct stat info {};
    if (::stat(internal::pathOf(m_location).c_str(), &info) != 0) {
        return internal::errorFromErrno(errno);
    }
    *time = GSTime(info.st_mtime);
    return NoError;
}

} // namespace IO
