// Basic types of the host's root library, shared by every host interface header.
#pragma once

#include <cstddef>
#include <cstdint>

using Int8 = std::int8_t;
using UInt8 = std::uint8_t;
using Int16 = std::int16_t;
using UInt16 = std::uint16_t;
using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using GSSize = Int64;
using GSFlags = UInt32;
using GSType = UInt32; // four-character code, first character in the high byte
using GSErrCode = Int32;
using GSPtr = char*;
using GSConstPtr = const char*;
using GSHandle = char**;
using GSConstHandle = const char* const*;

constexpr GSErrCode NoError = 0;

// Memory manager error codes (16-bit on the host, widened where they are answered).
constexpr GSErrCode ErrMemoryFull = -108;
constexpr GSErrCode ErrNilHandle = -109;
constexpr GSErrCode ErrParam = -50;

// Generic host error codes.
constexpr GSErrCode Error = -1;
constexpr GSErrCode ErrIO = -36;
constexpr GSErrCode ErrNotFound = -43;
constexpr GSErrCode ErrExists = -48;
constexpr GSErrCode ErrPermission = -54;
constexpr GSErrCode ErrEOF = -39;
constexpr GSErrCode ErrUserCancelled = -128;

// A four-character code from its text, first character in the high byte.
constexpr GSType MakeGSType(const char (&code)[5]) {
    return (GSType(UInt8(code[0])) << 24) | (GSType(UInt8(code[1])) << 16) | (GSType(UInt8(code[2])) << 8) |
           GSType(UInt8(code[3]));
}
