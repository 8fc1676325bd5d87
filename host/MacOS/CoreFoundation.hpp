// Core Foundation objects used by the framework: strings, dictionaries, URLs and the
// application preferences. Objects are reference counted: whatever a Create or Copy function
// answers is released by the caller with CFRelease.
#pragma once

#include "MacOS/MacTypes.hpp"

using CFTypeRef = const void*;
using CFIndex = long;
using CFTypeID = unsigned long;
using CFStringEncoding = UInt32;

struct __CFAllocator;
struct __CFString;
struct __CFDictionary;
struct __CFURL;
using CFAllocatorRef = const __CFAllocator*;
using CFStringRef = const __CFString*;
using CFDictionaryRef = const __CFDictionary*;
using CFMutableDictionaryRef = __CFDictionary*;
using CFURLRef = const __CFURL*;
using CFPropertyListRef = CFTypeRef;

constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;
constexpr CFStringEncoding kCFStringEncodingUTF8 = 0x08000100;

// Dictionaries made with these retain their keys and values and compare keys with CFEqual.
struct CFDictionaryKeyCallBacks {
    CFIndex version;
};
struct CFDictionaryValueCallBacks {
    CFIndex version;
};
extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;

CFTypeRef CFRetain(CFTypeRef object);
void CFRelease(CFTypeRef object);
CFIndex CFGetRetainCount(CFTypeRef object);
CFTypeID CFGetTypeID(CFTypeRef object);
Boolean CFEqual(CFTypeRef a, CFTypeRef b);

CFTypeID CFStringGetTypeID();
// Null when the bytes are not text of the encoding (only UTF-8 is known).
CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text, CFStringEncoding encoding);
CFStringRef CFStringCreateWithBytes(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation);
// The length in UTF-16 units.
CFIndex CFStringGetLength(CFStringRef text);
// The most bytes length UTF-16 units can take in the encoding (without the terminator).
CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);
// Copies the text with its terminator; false (and nothing usable) when it does not fit.
Boolean CFStringGetCString(CFStringRef text, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);

CFTypeID CFDictionaryGetTypeID();
CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks);
CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                                     CFDictionaryRef dictionary);
CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary);
// The value of the key (not retained), or null.
const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key);
void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value);
void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void* key);

CFTypeID CFURLGetTypeID();
// Null when the bytes do not form a URL.
CFURLRef CFURLCreateWithBytes(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length,
                              CFStringEncoding encoding, CFURLRef baseURL);
// The URL's text (not retained).
CFStringRef CFURLGetString(CFURLRef url);

// The preferences of the running application.
extern const CFStringRef kCFPreferencesCurrentApplication;
// A copy of the stored value of the key (strings and dictionaries of them), or null.
CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID);
// Stores a copy of the value under the key (null removes it); written out by synchronising.
void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID);
// Writes the application's preferences to its file; false when that fails.
Boolean CFPreferencesAppSynchronize(CFStringRef applicationID);
