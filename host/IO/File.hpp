// A file of the file system and its open channel. The object names the file whether or not it
// exists; its status says which. Byte operations need the file open in a mode that allows them.
#pragma once

#include "GSRoot/GSRoot.hpp"
#include "GSRoot/Time.hpp"
#include "IO/Location.hpp"

namespace IO {

class Folder;
class Name;

class File {
public:
    enum OnNotFound { Fail = 0, Create = 1 };
    // Open modes: read only, write only, write after emptying the file, read and write.
    enum OpenMode : UInt32 { ReadMode = 0, WriteMode = 1, WriteEmptyMode = 2, ReadWriteMode = 3 };
    // Open options: Shared (others may open the file too) is the only one this host supports.
    enum OpenOption : UInt32 { Shared = 2 };

    // With Create a missing file is made, empty; creating a file that exists is no error and
    // leaves its content alone.
    File(const Location& location, OnNotFound mode);
    File(const Folder& parent, const Name& name, OnNotFound mode);
    ~File();

    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // NoError when the file exists (or is open), a FIFO or a device as well; ErrNotFound when it
    // does not; ErrParam when the location is empty or names a folder; the creation error when
    // creating it failed.
    GSErrCode GetStatus() const;
    GSErrCode GetLocation(Location* location) const;
    GSErrCode GetModificationTime(GSTime* time) const;

    // Opening an open file fails with ErrParam. The file rules decide, for every kind of node and
    // for root too (ErrPermission): the permission bits must let this user read or write it, and
    // another user's node where they may have put it is refused. Writing modes need the file
    // inside the sandbox too. A link of /proc to an open file (/dev/fd/N) opens that file.
    GSErrCode Open(UInt32 mode, UInt32 options = Shared);
    GSErrCode Close();
    bool IsOpen() const { return m_fd >= 0; }

    GSErrCode GetPosition(UInt64* position) const;
    GSErrCode SetPosition(UInt64 position);
    GSErrCode GetDataLength(UInt64* length) const;
    GSErrCode SetDataLength(UInt64 length);

    // Reads up to count bytes; *read gets how many came. A read that reaches the end is no
    // error; one that starts at the end fails with ErrEOF.
    GSErrCode ReadBin(char* buffer, UInt32 count, UInt32* read);
    GSErrCode WriteBin(const char* data, UInt32 count);
    // Moves forward by count bytes, no further than the end; *skipped gets how far it moved.
    GSErrCode Skip(UInt32 count, UInt32* skipped);
    // Writes what the system holds of the file to the disk.
    GSErrCode Flush();

private:
    GSErrCode checkOpen(bool reading, bool writing) const;

    Location m_location;
    GSErrCode m_createError = NoError;
    int m_fd = -1;
    UInt32 m_mode = ReadMode;
};

} // namespace IO
