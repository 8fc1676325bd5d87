#include "GSRoot/Time.hpp"

#include "sim/Clock.h"
#include "sim/Sim.h"

#include <boost/date_time/posix_time/posix_time.hpp>

namespace {

namespace pt = boost::posix_time;
namespace gr = boost::gregorian;

Int64 floorDiv(Int64 a, Int64 b) {
    Int64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

GSTime TIGetTime() {
    sim::log("TIGetTime");
    return floorDiv(sim::clockMicroseconds(), 1000000);
}

GSErrCode TIGetTimeRecord(GSTime time, GSTimeRecord* record, Int32 mode) {
    if (GSErrCode err = sim::enter("TIGetTimeRecord", mode); err != NoError) {
        return err;
    }
    if (record == nullptr || (mode != TI_LOCAL_TIME && mode != TI_UTC_TIME)) {
        return ErrParam;
    }
    // Keep clear of the range where the seconds would overflow the date arithmetic.
    constexpr GSTime limit = 400000000000LL;
    if (time < -limit || time > limit) {
        return ErrParam;
    }
    if (mode == TI_LOCAL_TIME) {
        time += GSTime(sim::utcOffsetAt(time)) * 60;
    }
    try {
        pt::ptime t = pt::ptime(gr::date(1970, 1, 1)) + pt::seconds(long(time));
        gr::date date = t.date(); // throws for years outside 1400 to 9999
        pt::time_duration clock = t.time_of_day();
        record->year = UInt16(int(date.year()));
        record->month = UInt16(int(date.month()));
        record->dayOfWeek = UInt16(int(date.day_of_week()));
        record->day = UInt16(int(date.day()));
        record->hour = UInt16(clock.hours());
        record->minute = UInt16(clock.minutes());
        record->second = UInt16(clock.seconds());
        record->millisecond = 0;
    } catch (const std::exception&) {
        return ErrParam;
    }
    return NoError;
}

GSErrCode TIGetClock(Int64* utcMicroseconds, Int32* utcOffsetMinutes) {
    if (GSErrCode err = sim::enter("TIGetClock"); err != NoError) {
        return err;
    }
    Int64 now = sim::clockMicroseconds();
    if (utcMicroseconds != nullptr) {
        *utcMicroseconds = now;
    }
    if (utcOffsetMinutes != nullptr) {
        *utcOffsetMinutes = sim::utcOffsetAt(floorDiv(now, 1000000));
    }
    return NoError;
}
