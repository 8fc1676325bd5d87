// Basic types and result codes of the macOS system services the framework calls.
#pragma once

#include "GSRoot/GSRoot.hpp"

using OSErr = Int16;
using OSStatus = Int32;
using OSType = UInt32;
using Boolean = unsigned char;

constexpr OSErr noErr = 0;
constexpr OSErr nsvErr = -35;   // no such volume
constexpr OSErr fnfErr = -43;   // file or folder not found
constexpr OSErr paramErr = -50; // bad parameter
constexpr OSErr permErr = -54;  // the way to the file or folder may be changed by other users
constexpr OSErr memFullErr = -108;
constexpr OSErr afpAccessDenied = -5000; // the user may not use the file or folder
constexpr OSStatus kLSApplicationNotFoundErr = -10814;
constexpr OSStatus kLSLaunchInProgressErr = -10817;

// A reference to an existing file or folder.
struct FSRef {
    UInt8 hidden[1024];
};
