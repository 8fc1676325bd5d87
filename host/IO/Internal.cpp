#include "IO/Internal.hpp"

#include "fileio/FileError.h"
#include "sim/Sim.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace IO {
namespace internal {

fileio::Entry entryOf(const Location& location, fileio::Entry::Last last) {
    return fileio::Entry(pathOf(location).string(), last);
}

bool isInsideSandbox(const fileio::Entry& entry) {
    if (entry.error() || entry.folder() < 0) {
        return false;
    }
    if (!entry.isOpenFile()) {
        return sim::sandboxHolds(entry.folder());
    }
    // A file of no name (one the file library gathers a node's content in) lies nowhere: writing
    // it changes nothing outside the sandbox.
    struct stat info {};
    if (entry.status(info) && S_ISREG(info.st_mode) && info.st_nlink == 0) {
        return true;
    }
    // Where the system says the open file lies: read from the link of /proc the walk reached, in
    // the folder it holds, which is all the system tells of an open file.
    std::string target;
    if (entry.linkTarget(target) || target.empty() || target[0] != '/') {
        return false;
    }
    const fileio::Entry named(target, fileio::Entry::keepLink);
    return !named.error() && named.folder() >= 0 && sim::sandboxHolds(named.folder());
}

GSErrCode whyNotChanged(const fileio::Entry& entry, struct stat& info) {
    if (entry.error()) {
        return errorFromCode(entry.error());
    }
    if (!entry.status(info)) {
        return ErrNotFound;
    }
    // The sandbox root's folder lies above it: every part of the host keeps its folders there.
    return isInsideSandbox(entry) ? NoError : ErrPermission;
}

bool mayCreate(const fileio::Entry& entry, const char* call, GSErrCode& error) {
    struct stat info {};
    if (entry.status(info)) {
        return false; // an existing entry is kept as it is; the status tells a file from a folder
    }
    if ((error = sim::enter(call)) != NoError) {
        return false;
    }
    if (entry.error() || entry.folder() < 0) {
        error = errorFromCode(entry.error() ? entry.error() : entry.missing());
        return false;
    }
    if (!isInsideSandbox(entry)) {
        error = ErrPermission;
        return false;
    }
    return true;
}

GSErrCode entryStatus(const fileio::Entry& entry, bool folder, GSErrCode createError) {
    struct stat info {};
    // Whatever is not a folder is a file, a FIFO or a device too: the system opens them alike.
    if (entry.status(info)) {
        return S_ISDIR(info.st_mode) == folder ? NoError : ErrParam;
    }
    if (createError != NoError) {
        return createError;
    }
    return entry.error() ? errorFromCode(entry.error()) : ErrNotFound;
}

GSErrCode entryStatus(const Location& location, bool folder, GSErrCode createError) {
    if (location.IsEmpty()) {
        return ErrParam;
    }
    return entryStatus(entryOf(location), folder, createError);
}

GSErrCode errorFromErrno(int err) {
    return errorFromCode(std::error_code(err, std::generic_category()));
}

GSErrCode errorFromCode(const std::error_code& ec) {
    return fileio::codeOf(ec, {NoError, ErrNotFound, ErrExists, ErrPermission, ErrParam, ErrIO});
}

} // namespace internal
} // namespace IO
