// Why the file rules leave an entry alone, beside the system's own errors, and what any failure of
// a file call comes to for a caller that answers in error codes of its own.
#pragma once

#include <system_error>

namespace fileio {

enum class FileError {
    linkNotFollowed = 1, // another user's link in a folder that other users may write
    notOwned,            // another user's file, FIFO or device in a folder that other users may write
    notWritable,         // its permission bits do not let the player write it (root held to them too)
    notReadable,         // its permission bits do not let the player read it (root held to them too)
    notReplaceable,      // another user's file in a sticky folder that is not the player's either
    noReader,            // a FIFO that no process reads
    changed,             // another entry stood at the name when it was opened than when it was looked at
    notMaker,            // a temporary folder another process made, which that process alone removes
    notPlayersFolder,    // another user's folder, or entry at a folder's name, taken by its name to
                         // hold the player's files
    otherNames,          // a file of more than one name, in a folder that other users may write
    exposedWay,          // a way through a folder in which other users may rename entries
    notAsRead,           // not the file that was read: another entry, or none, at its name, or it
                         // changed since
};
const std::error_category& fileCategory();
std::error_code make_error_code(FileError error);

// The category of the failures that a test double of the machine injects (Faults.h): the value is
// the code it gave, which means something to it alone.
const std::error_category& injectedCategory();

// What a failure comes to.
enum class Failure {
    none,
    notFound,   // no such entry, or a folder on the way missing
    exists,     // an entry stands where none may
    permission, // the system or the file rules refuse it
    param,      // a name or an argument that cannot be
    io,         // anything else
    injected,   // injected by a test double: the error's value is its code
};
Failure failureOf(const std::error_code& error);

// The codes a caller answers in, one for each failure but `injected`, whose code is the error's
// value.
struct FailureCodes {
    int none, notFound, exists, permission, param, io;
};
int codeOf(const std::error_code& error, const FailureCodes& codes);

} // namespace fileio

namespace std {
template <>
struct is_error_code_enum<fileio::FileError> : true_type {};
} // namespace std
