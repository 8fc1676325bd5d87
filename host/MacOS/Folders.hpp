// The system's special folders and file references.
#pragma once

#include "MacOS/MacTypes.hpp"

// Volume codes.
constexpr Int16 kOnAppropriateDisk = -32767;
constexpr Int16 kSystemDomain = -32766;
constexpr Int16 kLocalDomain = -32765;
constexpr Int16 kUserDomain = -32763;

// Folder types (four-character codes).
constexpr OSType kPreferencesFolderType = MakeGSType("pref");
constexpr OSType kApplicationSupportFolderType = MakeGSType("asup");
constexpr OSType kSharedDataFolderType = MakeGSType("sdat");
constexpr OSType kDocumentsFolderType = MakeGSType("docs");
constexpr OSType kTemporaryFolderType = MakeGSType("temp");
constexpr OSType kCurrentUserFolderType = MakeGSType("cusr");

// The folder of the given type: the folder at its name in the sandbox, or where the user's own link
// there leads inside the sandbox; made when missing and createFolder is set (fnfErr otherwise).
// afpAccessDenied where the folder is another user's, or another user's entry stands at its name:
// it is not the user's to use. permErr where the user's link there passes through a folder in which
// other users may rename entries: they could change the way to it. fnfErr where anything else
// stands there (a file, a link leading out of the sandbox).
OSErr FSFindFolder(Int16 vRefNum, OSType folderType, Boolean createFolder, FSRef* foundRef);
// The referenced entry's path, NUL-terminated, in at most maxPathSize bytes.
OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);
// A reference to the entry at a path; fnfErr when there is none. isDirectory is optional.
OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);
