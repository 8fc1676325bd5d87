// Conversion of text between the host's character codes and UTF-16.
//
// Character codes: 99 UTF-8, 100 UTF-16 and 101 UTF-32 (code units in the machine's byte order),
// and the code pages 11 Windows Western (1252), 12 Windows Central European (1250), 13 Windows
// Baltic (1257), 14 Windows Cyrillic (1251), 15 Windows Greek (1253), 16 Windows Turkish (1254),
// 21 Windows Hebrew (1255), 22 Windows Arabic (1256), 31 Thai (874), 32 Japanese (Shift-JIS),
// 33 Traditional Chinese (Big5), 34 Simplified Chinese (GBK) and 35 Korean (949).
#pragma once

#include "GSRoot/GSRoot.hpp"

// True when the host can convert text of this character code.
bool CHIsKnownCharCode(UInt32 charCode);

// Decodes `length` bytes of text in `charCode` into UTF-16. Up to `capacity` units are written to
// `units` (which may be null to measure); `needed` (optional) receives the number of units the
// whole text takes. Bytes that form no character of the code become U+FFFD. Answers ErrParam for
// an unknown code or a negative length, ErrMemoryFull when the units do not fit.
GSErrCode CHConvertToUnicode(const char* text, GSSize length, UInt32 charCode, UInt16* units, GSSize capacity,
                             GSSize* needed);

// Encodes `count` UTF-16 units into `charCode`, best effort: a character the code cannot hold
// becomes "?" (U+FFFD for the Unicode forms). Up to `capacity` bytes are written to `text` (which
// may be null to measure); `needed` (optional) receives the byte length of the whole result.
// Errors as for CHConvertToUnicode.
GSErrCode CHConvertFromUnicode(const UInt16* units, GSSize count, UInt32 charCode, char* text,
                               GSSize capacity, GSSize* needed);
