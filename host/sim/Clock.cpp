#include "sim/Clock.h"

#include "sim/Sim.h"

#include <boost/date_time/c_local_time_adjustor.hpp>
#include <boost/date_time/posix_time/posix_time.hpp>

#include <optional>

namespace sim {
namespace {

namespace pt = boost::posix_time;
namespace gr = boost::gregorian;

struct Clock {
    std::optional<Int64> fixedMicroseconds;
    std::optional<int> fixedOffset;
};

Clock& clock() {
    static Clock* instance = new Clock;
    return *instance;
}

const bool registered = registerReset([] { clock() = Clock(); });

const pt::ptime& epoch() {
    static const pt::ptime instance(gr::date(1970, 1, 1));
    return instance;
}

Int64 systemMicroseconds() {
    return (pt::microsec_clock::universal_time() - epoch()).total_microseconds();
}

} // namespace

void setClock(Int64 utcMicroseconds) {
    clock().fixedMicroseconds = utcMicroseconds;
}

void setClock(int year, int month, int day, int hour, int minute, int second, int microsecond) {
    pt::ptime t(gr::date(year, month, day),
                pt::hours(hour) + pt::minutes(minute) + pt::seconds(second) + pt::microseconds(microsecond));
    setClock((t - epoch()).total_microseconds());
}

void advanceClock(Int64 microseconds) {
    setClock(clockMicroseconds() + microseconds);
}

void setUTCOffset(int minutes) {
    clock().fixedOffset = minutes;
}

void useSystemClock() {
    clock() = Clock();
}

Int64 clockMicroseconds() {
    const Clock& c = clock();
    return c.fixedMicroseconds ? *c.fixedMicroseconds : systemMicroseconds();
}

int utcOffsetAt(Int64 utcSeconds) {
    const Clock& c = clock();
    if (c.fixedOffset) {
        return *c.fixedOffset;
    }
    try {
        pt::ptime utc = epoch() + pt::seconds(long(utcSeconds));
        pt::ptime local = boost::date_time::c_local_adjustor<pt::ptime>::utc_to_local(utc);
        return int((local - utc).total_seconds() / 60);
    } catch (const std::exception&) {
        return 0; // outside what the system's time zone rules cover
    }
}

} // namespace sim
