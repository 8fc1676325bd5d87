// The host's time services: time records, conversion of a time in seconds, and the clock.
#pragma once

#include "GSRoot/GSRoot.hpp"

struct GSTimeRecord {
    UInt16 year = 0;
    UInt16 month = 0;     // 1 to 12
    UInt16 dayOfWeek = 0; // 0 = Sunday
    UInt16 day = 0;       // 1 to 31
    UInt16 hour = 0;
    UInt16 minute = 0;
    UInt16 second = 0;
    UInt16 millisecond = 0;
};

// Whole seconds since 1970-01-01 00:00:00 UTC.
using GSTime = Int64;

// Modes of TIGetTimeRecord.
constexpr Int32 TI_LOCAL_TIME = 0;
constexpr Int32 TI_UTC_TIME = 1;

// The current time in whole seconds.
GSTime TIGetTime();

// The date and time of a time in seconds, in local time (the local offset from UTC at that
// moment) or in UTC. ErrParam for another mode or a date outside the years 1400 to 9999.
GSErrCode TIGetTimeRecord(GSTime time, GSTimeRecord* record, Int32 mode);

// Reads the clock: microseconds since 1970-01-01 00:00:00 UTC and, from the same reading, the
// local time's offset from UTC in minutes (local - UTC). Either pointer may be null.
GSErrCode TIGetClock(Int64* utcMicroseconds, Int32* utcOffsetMinutes);
