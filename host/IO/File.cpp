#include "IO/File.hpp"

#include "IO/Folder.hpp"
#include "IO/Internal.hpp"
#include "fileio/WriteWhole.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IO {

namespace {

Location locationIn(const Folder& parent, const Name& name) {
    Location folder;
    parent.GetLocation(&folder);
    return Location(folder, name);
}

} // namespace

File::File(const Location& location, OnNotFound mode) : m_location(location) {
    if (mode != Create || m_location.IsEmpty()) {
        return;
    }
    sim::OwnFileCalls own;
    // A link at the name is an entry that exists, dangling or not, as the system's O_EXCL has it.
    const fileio::Entry entry = internal::entryOf(m_location, fileio::Entry::keepLink);
    if (!internal::mayCreate(entry, sim::fileCreateCall, m_createError)) {
        return;
    }
    std::error_code error;
    fileio::makeFile(entry, error);
    // One made meanwhile is kept as it is.
    m_createError = error == std::errc::file_exists ? NoError : internal::errorFromCode(error);
}

File::File(const Folder& parent, const Name& name, OnNotFound mode) : File(locationIn(parent, name), mode) {}

File::~File() {
    Close();
}

GSErrCode File::GetStatus() const {
    if (IsOpen()) {
        return NoError;
    }
    return internal::entryStatus(m_location, false, m_createError);
}

GSErrCode File::GetLocation(Location* location) const {
    if (location == nullptr) {
        return ErrParam;
    }
    *location = m_location;
    return NoError;
}

GSErrCode File::GetModificationTime(GSTime* time) const {
    if (GSErrCode err = sim::enter("IO::File::GetModificationTime")) {
        return err;
    }
    if (time == nullptr || (!IsOpen() && m_location.IsEmpty())) {
        return ErrParam;
    }
    struct stat info {};
    if (IsOpen()) {
        if (::fstat(m_fd, &info) != 0) {
            return internal::errorFromErrno(errno);
        }
    } else {
        const fileio::Entry entry = internal::entryOf(m_location);
        if (entry.error()) {
            return internal::errorFromCode(entry.error());
        }
        if (!entry.status(info)) {
            return internal::errorFromErrno(errno);
        }
    }
    *time = GSTime(info.st_mtime);
    return NoError;
}

GSErrCode File::Open(UInt32 mode, UInt32 options) {
    if (GSErrCode err = sim::enter(sim::fileOpenCall, mode)) {
        return err;
    }
    if (IsOpen() || mode > ReadWriteMode || options != Shared) {
        return ErrParam;
    }
    if (m_location.IsEmpty()) {
        return internal::entryStatus(m_location, false, m_createError);
    }
    sim::OwnFileCalls own;
    const fileio::Entry entry = internal::entryOf(m_location);
    if (GSErrCode err = internal::entryStatus(entry, false, m_createError)) {
        return err;
    }
    const int access = mode == ReadMode ? O_RDONLY : mode == ReadWriteMode ? O_RDWR : O_WRONLY;
    if (mode != ReadMode && !internal::isInsideSandbox(entry)) {
        return ErrPermission;
    }
    // Under the file rules: another user's node where they may have put it, and one whose
    // permission bits do not let this user read or write it, root too, are refused. A FIFO is
    // opened without waiting for its other end (one opened to write without a reader fails), and
    // stays so: the process may be its only other end.
    std::error_code error;
    fileio::Descriptor file = entry.openFile(access, fileio::Owners::player, error);
    if (error) {
        return internal::errorFromCode(error);
    }
    struct stat info {};
    if (mode == WriteEmptyMode &&
        (::fstat(file.get(), &info) != 0 || (S_ISREG(info.st_mode) && ::ftruncate(file.get(), 0) != 0))) {
        return internal::errorFromErrno(errno);
    }
    m_fd = file.release();
    m_mode = mode;
    internal::fileOpened();
    return NoError;
}

GSErrCode File::Close() {
    if (!IsOpen()) {
        return NoError;
    }
    int result = ::close(m_fd);
    m_fd = -1;
    internal::fileClosed();
    return result == 0 ? NoError : internal::errorFromErrno(errno);
}

// Once open, the file is read, written, measured and moved in through the descriptor the file layer
// opened, never by its path again.
GSErrCode File::checkOpen(bool reading, bool writing) const {
    if (!IsOpen()) {
        return ErrParam;
    }
    if ((reading && m_mode != ReadMode && m_mode != ReadWriteMode) || (writing && m_mode == ReadMode)) {
        return ErrPermission;
    }
    return NoError;
}

GSErrCode File::GetPosition(UInt64* position) const {
    if (GSErrCode err = checkOpen(false, false)) {
        return err;
    }
    if (position == nullptr) {
        return ErrParam;
    }
    off_t at = ::lseek(m_fd, 0, SEEK_CUR);
    if (at < 0) {
        return internal::errorFromErrno(errno);
    }
    *position = UInt64(at);
    return NoError;
}

GSErrCode File::SetPosition(UInt64 position) {
    if (GSErrCode err = sim::enter("IO::File::SetPosition", Int64(position))) {
        return err;
    }
    if (GSErrCode err = checkOpen(false, false)) {
        return err;
    }
    if (::lseek(m_fd, off_t(position), SEEK_SET) < 0) {
        return internal::errorFromErrno(errno);
    }
    return NoError;
}

GSErrCode File::GetDataLength(UInt64* length) const {
    if (GSErrCode err = sim::enter("IO::File::GetDataLength")) {
        return err;
    }
    if (GSErrCode err = checkOpen(false, false)) {
        return err;
    }
    if (length == nullptr) {
        return ErrParam;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        return internal::errorFromErrno(errno);
    }
    *length = UInt64(info.st_size);
    return NoError;
}

GSErrCode File::SetDataLength(UInt64 length) {
    if (GSErrCode err = sim::enter("IO::File::SetDataLength", Int64(length))) {
        return err;
    }
    if (GSErrCode err = checkOpen(false, true)) {
        return err;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        return internal::errorFromErrno(errno);
    }
    UInt64 current = UInt64(info.st_size);
    if (length > current) {
        GSErrCode err = NoError;
        if (internal::writeAllowance(std::size_t(length - current), &err) < length - current) {
            return err; // no room for the longer file
        }
    }
    if (::ftruncate(m_fd, off_t(length)) != 0) {
        return internal::errorFromErrno(errno);
    }
    return NoError;
}

GSErrCode File::ReadBin(char* buffer, UInt32 count, UInt32* read) {
    if (read != nullptr) {
        *read = 0;
    }
    if (GSErrCode err = sim::enter(sim::fileReadCall, count)) {
        return err;
    }
    if (GSErrCode err = checkOpen(true, false)) {
        return err;
    }
    if (read == nullptr || (buffer == nullptr && count > 0)) {
        return ErrParam;
    }
    UInt32 total = 0;
    while (total < count) {
        ssize_t n = ::read(m_fd, buffer + total, count - total);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            *read = total;
            return internal::errorFromErrno(errno);
        }
        if (n == 0) {
            break;
        }
        total += UInt32(n);
    }
    *read = total;
    return total == 0 && count > 0 ? ErrEOF : NoError;
}

GSErrCode File::WriteBin(const char* data, UInt32 count) {
    if (GSErrCode err = sim::enter(sim::fileWriteCall, count)) {
        return err;
    }
    if (GSErrCode err = checkOpen(false, true)) {
        return err;
    }
    if (data == nullptr && count > 0) {
        return ErrParam;
    }
    GSErrCode cut = NoError;
    const std::size_t allowed = internal::writeAllowance(count, &cut);
    // A reader of a FIFO that has left fails the write, and raises no SIGPIPE.
    sim::OwnFileCalls own;
    if (const std::error_code error = fileio::writeAll(m_fd, data, allowed)) {
        return internal::errorFromCode(error);
    }
    return cut;
}

GSErrCode File::Skip(UInt32 count, UInt32* skipped) {
    if (skipped != nullptr) {
        *skipped = 0;
    }
    if (GSErrCode err = sim::enter("IO::File::Skip", count)) {
        return err;
    }
    if (GSErrCode err = checkOpen(false, false)) {
        return err;
    }
    if (skipped == nullptr) {
        return ErrParam;
    }
    UInt64 position = 0;
    UInt64 length = 0;
    if (GSErrCode err = GetPosition(&position)) {
        return err;
    }
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        return internal::errorFromErrno(errno);
    }
    length = UInt64(info.st_size);
    UInt64 step = position >= length ? 0 : std::min<UInt64>(count, length - position);
    if (::lseek(m_fd, off_t(position + step), SEEK_SET) < 0) {
        return internal::errorFromErrno(errno);
    }
    *skipped = UInt32(step);
    return NoError;
}

GSErrCode File::Flush() {
    if (GSErrCode err = sim::enter(sim::fileFlushCall)) {
        return err;
    }
    if (GSErrCode err = checkOpen(false, false)) {
        return err;
    }
    if (m_mode != ReadMode && ::fsync(m_fd) != 0) {
        return internal::errorFromErrno(errno);
    }
    return NoError;
}

} // namespace IO
