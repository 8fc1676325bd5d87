// A folder of the file system. The object names the folder whether or not it exists; its status
// says which.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "GSRoot/Time.hpp"
#include "IO/Location.hpp"

namespace IO {

class Name;

class Folder {
public:
    enum OnNotFound { Fail = 0, Create = 1 };

    // A new folder object (the caller deletes it) on the location or on the entry `name` inside
    // parent. With Create a missing folder is made (its parent must exist). *result receives the
    // folder's status; null only when the call itself fails (and *result says why).
    static Folder* New(const Location& location, OnNotFound mode, GSErrCode* result);
    static Folder* New(const Folder& parent, const Name& name, OnNotFound mode, GSErrCode* result);

    Folder(const Location& location, OnNotFound mode);

    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    // NoError when the folder exists; ErrNotFound when it does not; ErrParam when the location is
    // empty or names a file; the creation error when creating it failed.
    GSErrCode GetStatus() const;
    GSErrCode GetLocation(Location* location) const;
    // The number of entries directly inside the folder.
    GSErrCode GetEntryCount(UInt32* count) const;
    // Seconds since 1970-01-01 00:00:00 UTC of the folder's last change.
    GSErrCode GetModificationTime(GSTime* time) const;

private:
    Location m_location;
    GSErrCode m_createError = NoError;
};

} // namespace IO
