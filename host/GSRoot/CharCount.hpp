// Byte count of one character of text in any character code the host supports (see CodePages.hpp).
#pragma once

#include "GSRoot/GSRoot.hpp"

// Host character codes of the Unicode forms; every other code is a code page.
constexpr UInt32 CharCodeUTF8 = 99;
constexpr UInt32 CharCodeUTF16 = 100;
constexpr UInt32 CharCodeUTF32 = 101;

// The number of bytes of the character that starts at `text` in the character code `charCode`,
// looking at no more than `available` bytes. 0 when those bytes do not hold a whole valid
// character of that code (an invalid or truncated sequence, an unpaired surrogate, a byte the
// code page does not map) or when the code is not known. UTF-16 and UTF-32 code units are read
// big-endian when `bigEndian` is set, else little-endian.
Int32 CHGetCharByteCount(const char* text, GSSize available, UInt32 charCode, bool bigEndian = false);
