// The simulated host's clock. It follows the system clock and time zone until a test sets it.
#pragma once

#include "GSRoot/GSRoot.hpp"

namespace sim {

// Stops the clock at an instant, in microseconds since 1970-01-01 00:00:00 UTC.
void setClock(Int64 utcMicroseconds);
// Stops the clock at a date and time given in UTC (a valid Gregorian date, years 1400 to 9999).
void setClock(int year, int month, int day, int hour, int minute, int second, int microsecond = 0);
// Moves a stopped clock on (or back); a running clock is stopped at its current reading first.
void advanceClock(Int64 microseconds);
// Fixes the local offset from UTC in minutes (local - UTC) in place of the system's time zone.
void setUTCOffset(int minutes);
// Back to the system's clock and time zone: the state after sim::reset().
void useSystemClock();

// What the clock reads now, and the local offset at an instant (seconds since the epoch).
Int64 clockMicroseconds();
int utcOffsetAt(Int64 utcSeconds);

} // namespace sim
