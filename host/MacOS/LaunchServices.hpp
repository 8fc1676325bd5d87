// Finding and opening applications, documents and URLs.
#pragma once

#include "MacOS/CoreFoundation.hpp"

constexpr OSType kLSUnknownCreator = 0;

// The installed application of the given name (with or without ".app"); kLSApplicationNotFoundErr
// when there is none. outAppRef and outAppURL are optional.
OSStatus LSFindApplicationForInfo(OSType inCreator, CFStringRef inBundleID, CFStringRef inName,
                                  FSRef* outAppRef, CFURLRef* outAppURL);
// Opens an application, or a document in its application.
OSStatus LSOpenFSRef(const FSRef* inRef, FSRef* outLaunchedRef);
// Opens a URL in the application for its scheme.
OSStatus LSOpenCFURLRef(CFURLRef inURL, CFURLRef* outLaunchedURL);
