// The host's character services: walking, classifying, case-converting and comparing text in a
// character code. UTF-8 (CC_UTF8) is the code the framework uses for all of them; other codes
// are walked one byte a character.
//
// UTF-8 walking never steps past the terminator, and a byte that does not begin a complete,
// well-formed sequence counts as a character of its own (one byte).
#pragma once

#include "GSRoot/GSRoot.hpp"

using GSCharCode = UInt32;

constexpr GSCharCode CC_UTF8 = 99;
constexpr GSCharCode CC_UTF16 = 100;
constexpr GSCharCode CC_UTF32 = 101;

// Case types of CHCompareTexts.
constexpr Int32 CHIgnoreCase = 0;
constexpr Int32 CHCaseSensitive = 1;

// Byte count of the character at p: 0 at the terminator (and for a null pointer).
Int32 CHGetByteSizeOfChar(const char* p, GSCharCode cc);
// The same, reading no byte at or after p + available: 0 when nothing is available. A sequence
// whose start is well formed but runs past the limit answers its full length, so a caller can
// tell that the character does not fit.
Int32 CHGetByteSizeOfChar(const char* p, GSSize available, GSCharCode cc);

// The character after the one at p; p itself at the terminator.
const char* CHGetNextCharPtr(const char* p, GSCharCode cc);
// The start of the character that ends just before p, never before text; text when p is text.
const char* CHGetPrevCharPtr(const char* text, const char* p, GSCharCode cc);
// The start of the last character of a NUL-terminated text; text itself when it is empty.
const char* CHGetLastCharPtr(const char* text, GSCharCode cc);

// The code point of the character at p (U+FFFD for a byte that begins no valid sequence, 0 at
// the terminator).
UInt32 CHGetCodePoint(const char* p, GSCharCode cc);

// Classification of the character at p; false at the terminator and for an invalid byte.
bool CHIsLetter(const char* p, GSCharCode cc);
bool CHIsDigit(const char* p, GSCharCode cc);
bool CHIsAlphaNumeric(const char* p, GSCharCode cc);
bool CHIsWhiteSpace(const char* p, GSCharCode cc);

// Case conversion of len bytes of text into dest (room for destSize bytes, terminated when there
// is room left). Answers the byte length of the whole result, which may exceed destSize (then
// call again with a larger buffer), or -1 on failure. Bytes that begin no valid sequence are
// copied unchanged.
GSSize CHToUpper(const char* text, GSSize len, char* dest, GSSize destSize, GSCharCode cc);
GSSize CHToLower(const char* text, GSSize len, char* dest, GSSize destSize, GSCharCode cc);

// Compares two texts of aLen and bLen bytes: -1, 0 or 1. A total order that is 0 only for equal
// bytes. CHCaseSensitive orders by code point (byte order of UTF-8); CHIgnoreCase orders by the
// case-folded text first, then by the bytes.
Int32 CHCompareTexts(const char* a, GSSize aLen, const char* b, GSSize bLen, Int32 caseType, GSCharCode cc);
