#include "IO/File.hpp"

#include "IO/Folder.hpp"
#include "IO/Internal.hpp"
#include "sim/FileEntry.h"
#include "sim/Files.h"
#include "sim/Sim.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace IO {

namespace {

Location entryOf(const Folder& parent, const Name& name) {
    Location folder;
    parent.GetLocation(&folder);
    return Location(folder, name);
}

} // namespace

File::File(const Location& location, OnNotFound mode) : m_location(location) {
    std::filesystem::path path;
    if (mode != Create || !internal::mayCreate(m_location, sim::fileCreateCall, path, m_createError)) {
        return;
    }
    // A link at the name is an entry that exists, dangling or not, as the system's O_EXCL has it;
    // the folders on the way are followed only where no other user may have put a link.
    const sim::FileEntry entry(path, false);
    if (entry.error()) {
        m_createError = internal::errorFromCode(entry.error());
        return;
    }
    const int fd = entry.open(O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) {
        m_createError = errno == EEXIST ? NoError : internal::errorFromErrno(errno);
        return;
    }
    ::close(fd);
}

File::File(const Folder& parent, const Name& name, OnNotFound mode) : File(entryOf(parent, name), mode) {}

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
    if (time == nullptr) {
        return ErrParam;
    }
    struct stat info {};
    int result = IsOpen() ? ::fstat(m_fd, &info) : ::stat(internal::pathOf(m_location).c_str(), &info);
    if (result != 0) {
        return m_location.IsEmpty() ? ErrParam : internal::errorFromErrno(errno);
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
    if (GSErrCode err = GetStatus()) {
        return err;
    }
    std::filesystem::path path = internal::pathOf(m_location);
    // Emptied once it is known to be a file that may be written, below.
    int flags = O_NOCTTY;
    switch (mode) {
    case ReadMode:
        flags |= O_RDONLY;
        break;
    case WriteMode:
    case WriteEmptyMode:
        flags |= O_WRONLY;
        break;
    default:
        flags |= O_RDWR;
        break;
    }
    if (mode != ReadMode && !internal::isInsideSandbox(path)) {
        return ErrPermission;
    }
    // Reached following a link only where no other user may have put it, and opened without
    // waiting: a FIFO's open would wait for its other end, for ever where none comes (one opened to
    // write with no reader fails).
    const sim::FileEntry entry(path);
    if (entry.error()) {
        return internal::errorFromCode(entry.error());
    }
    int fd = entry.open(flags | O_NONBLOCK);
    if (fd < 0) {
        return internal::errorFromErrno(errno);
    }
    // A file whose mode denies its owner writing is not opened for writing, as the system refuses
    // a user; root, whom the tests run as, the system would let through.
    struct stat info {};
    GSErrCode refused = ::fstat(fd, &info) != 0 ? internal::errorFromErrno(errno) : NoError;
    if (refused == NoError && mode != ReadMode && (info.st_mode & S_IWUSR) == 0) {
        refused = ErrPermission;
    }
    if (refused == NoError && mode == WriteEmptyMode && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0) {
        refused = internal::errorFromErrno(errno);
    }
    // A FIFO stays without waiting, its reads and writes too: the process may be its only other
    // end. Anything else waits as usual once open.
    const int status = ::fcntl(fd, F_GETFL);
    if (refused == NoError && !S_ISFIFO(info.st_mode) &&
        (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0)) {
        refused = internal::errorFromErrno(errno);
    }
    if (refused != NoError) {
        ::close(fd);
        return refused;
    }
    m_fd = fd;
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
    std::size_t allowed = internal::writeAllowance(count, &cut);
    std::size_t total = 0;
    while (total < allowed) {
        ssize_t n = ::write(m_fd, data + total, allowed - total);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return internal::errorFromErrno(errno);
        }
        total += std::size_t(n);
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
