// Inspection and fault injection of the simulated host's files and folders. Every file and folder
// is a real entry on disk under the sandbox root (sim::sandboxRoot()).
#pragma once

#include "GSRoot/GSRoot.hpp"

#include <cstddef>

namespace sim {

// Names of the input-output calls in the call log and for sim::failCall. Creation is the making of
// a missing file or folder by a constructor asked to create it. The calls that the file layer
// (lib/fileio) makes for the framework go by the name of the host's call of their kind: the making
// of a file or a folder, a write, a rename and a removal. So a fault fails the next such call,
// whichever of the two makes it.
inline constexpr const char* fileCreateCall = "IO::File::Create";
inline constexpr const char* folderCreateCall = "IO::Folder::Create";
inline constexpr const char* fileOpenCall = "IO::File::Open";
inline constexpr const char* fileReadCall = "IO::File::ReadBin";
inline constexpr const char* fileWriteCall = "IO::File::WriteBin";
inline constexpr const char* fileFlushCall = "IO::File::Flush";
inline constexpr const char* renameCall = "IO::FileSystem::Rename";
inline constexpr const char* deleteCall = "IO::FileSystem::Delete";

// After `skip` successful calls, the next `times` calls fail with err (times < 0: every call).
// failCreate covers files and folders.
void failCreate(GSErrCode err = ErrIO, int times = 1, int skip = 0);
void failOpen(GSErrCode err = ErrIO, int times = 1, int skip = 0);
void failRead(GSErrCode err = ErrIO, int times = 1, int skip = 0);
void failFlush(GSErrCode err = ErrIO, int times = 1, int skip = 0);
void failRename(GSErrCode err = ErrIO, int times = 1, int skip = 0);
void failDelete(GSErrCode err = ErrIO, int times = 1, int skip = 0);

// From now on the files take `bytes` more bytes in all: the write that passes the limit writes
// what still fits and fails with err, as does every later write, until the host is reset (a full
// disk).
void failWritesAfter(std::size_t bytes, GSErrCode err = ErrIO);

// Number of files open now, over every file object.
std::size_t openFileCount();

// Marks the simulated host's and hostsim's own file work for as long as it lives: the file layer's
// calls made meanwhile are theirs, which the host logs and fails under its own calls' names, or
// not at all, and not again as the file layer's.
class OwnFileCalls {
public:
    OwnFileCalls();
    ~OwnFileCalls();
    OwnFileCalls(const OwnFileCalls&) = delete;
    OwnFileCalls& operator=(const OwnFileCalls&) = delete;
};

} // namespace sim
