// Conversion of binary numbers written on another platform into this machine's byte order. The
// platform sign tells the order the data was written in: 'MM' big-endian, 'mm' and 'WW'
// little-endian. The conversions are their own inverse, so they also turn this machine's values
// into the order of the given platform.
#pragma once

#include "GSRoot/GSRoot.hpp"

using GSPlatformSign = UInt16;

constexpr GSPlatformSign BigEndianPlatformSign = 0x4D4D;    // 'MM'
constexpr GSPlatformSign LittleEndianPlatformSign = 0x6D6D; // 'mm'
constexpr GSPlatformSign WindowsPlatformSign = 0x5757;      // 'WW', little-endian

// The sign of data written in this machine's own byte order.
GSPlatformSign GSGetMachinePlatformSign();

// Each answers ErrParam, leaving the value as it was, for a null value or a sign of no known
// byte order.
GSErrCode IVShort(GSPlatformSign from, Int16* value);
GSErrCode IVUShort(GSPlatformSign from, UInt16* value);
GSErrCode IVLong(GSPlatformSign from, Int32* value);
GSErrCode IVULong(GSPlatformSign from, UInt32* value);
GSErrCode IVDouble(GSPlatformSign from, double* value);
