#include "Environment/Time.h"

#include "GSRoot/Time.hpp"
#include "sim/Clock.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

using namespace zelvane;

namespace {

constexpr long long y2000 = 10957LL * 86400;

} // namespace

TEST(TimeTest, NullTime) {
    Time null;
    EXPECT_TRUE(null.isNull());
    EXPECT_EQ(null.getYear(), 0u);
    EXPECT_EQ(null.getMonth(), 1u);
    EXPECT_EQ(null.getDay(), 1u);
    EXPECT_EQ(null.getTotalSeconds(), 0);
    EXPECT_EQ(null, Time(false));
    EXPECT_FALSE(null < Time());

    // Older than every set time, also those whose total seconds are 0 or negative.
    Time epoch(1970, 1, 1, 0, 0, 0);
    Time early(1400, 1, 1, 0, 0, 0);
    Time invalid(2001, 2, 30, 0, 0, 0);
    for (const Time& t : {epoch, early, invalid}) {
        EXPECT_TRUE(null < t);
        EXPECT_FALSE(t < null);
        EXPECT_NE(null, t);
        EXPECT_TRUE(t > null);
    }
    EXPECT_EQ(epoch.getTotalSeconds(), 0);
    EXPECT_EQ(invalid.getTotalSeconds(), 0) << "no 30 February";
}

TEST(TimeTest, TotalSeconds) {
    struct Case {
        Time time;
        short offset;
        long long seconds;
    } cases[] = {
        {Time(2000, 1, 1, 0, 0, 0), 0, y2000},
        {Time(2000, 1, 1, 0, 0, 0), 60, y2000 - 3600}, // an hour east of UTC: an hour earlier
        {Time(2000, 1, 1, 0, 0, 0), -90, y2000 + 5400},
        {Time(1969, 12, 31, 23, 59, 59), 0, -1},
        {Time(2038, 1, 19, 3, 14, 8), 0, 2147483648LL}, // one past the 32-bit range
        {Time(2100, 3, 1, 12, 0, 0), 0, 4107585600LL},
        {Time(1400, 1, 1, 0, 0, 0), 0, -17987443200LL},
        {Time(9999, 12, 31, 23, 59, 59), 0, 253402300799LL},
        {Time(1399, 12, 31, 0, 0, 0), 0, 0},
        {Time(2000, 13, 1, 0, 0, 0), 0, 0},
        {Time(2001, 2, 29, 0, 0, 0), 0, 0},
    };
    for (Case& c : cases) {
        c.time.setUTCOffset(c.offset);
        EXPECT_EQ(c.time.getTotalSeconds64(), c.seconds) << c.time.getYear() << "-" << c.time.getMonth();
        long long saturated = std::min<long long>(std::max<long long>(c.seconds, INT_MIN), INT_MAX);
        EXPECT_EQ(c.time.getTotalSeconds(), saturated);
    }

    // Before 1970 the microseconds round the seconds down, so the order stays right.
    Time before(1969, 12, 31, 23, 59, 59);
    before.setMicroseconds(500000);
    EXPECT_EQ(before.getTotalSeconds64(), -1);
    Time whole(1969, 12, 31, 23, 59, 59);
    EXPECT_TRUE(whole < before);
    Time after(1970, 1, 1, 0, 0, 0);
    EXPECT_TRUE(before < after);
}

TEST(TimeTest, SetTotalSecondsUsesTheLocalOffset) {
    sim::setUTCOffset(120);
    Time t;
    t.setTotalSeconds(0);
    EXPECT_EQ(t.getHour(), 2u);
    EXPECT_EQ(t.getDayOfWeek(), 4u) << "1 January 1970 was a Thursday";
    EXPECT_EQ(t.getUTCOffset(), 120);
    EXPECT_EQ(t.getTotalSeconds(), 0);

    for (long long s : {-1LL, 951782400LL, 4102444799LL, -17987443200LL + 7200, 253402300799LL - 7200}) {
        t.setTotalSeconds64(s);
        EXPECT_EQ(t.getTotalSeconds64(), s);
        EXPECT_EQ(t.getMicroseconds(), 0u);
    }
    t.setTotalSeconds(INT_MAX);
    EXPECT_EQ(t.getTotalSeconds(), INT_MAX);
    EXPECT_EQ(t.getYear(), 2038u);
    t.setTotalSeconds(INT_MIN);
    EXPECT_EQ(t.getTotalSeconds(), INT_MIN);

    t.setTotalSeconds64(LLONG_MAX);
    EXPECT_EQ(t.getYear(), 9999u) << "clamped to the last supported second";
    EXPECT_EQ(t.getTotalSeconds64(), 253402300799LL - 7200);
    t.setTotalSeconds64(LLONG_MIN / 2);
    EXPECT_EQ(t.getYear(), 1400u);
    EXPECT_EQ(t.getTotalSeconds64(), -17987443200LL - 7200);
}

TEST(TimeTest, ComparisonAfter2038AndWithMicroseconds) {
    Time a(2040, 6, 1, 0, 0, 0);
    Time b(2040, 6, 1, 0, 0, 1);
    Time c(2030, 6, 1, 0, 0, 0);
    EXPECT_TRUE(c < a);
    EXPECT_TRUE(a < b);
    EXPECT_EQ(a.differenceInSeconds(c), c.differenceInSeconds(a));
    EXPECT_DOUBLE_EQ(a.differenceInDays(c), 3653.0);

    Time fine = a;
    fine.setMicroseconds(1);
    EXPECT_NE(fine, a);
    EXPECT_TRUE(a < fine);
    EXPECT_FALSE(fine < a);
    EXPECT_TRUE(a <= fine);
    EXPECT_TRUE(fine >= a);

    // The same instant in two zones is equal.
    Time here(2000, 1, 1, 12, 0, 0);
    Time there(2000, 1, 1, 13, 30, 0);
    there.setUTCOffset(90);
    EXPECT_EQ(here, there);

    std::vector<Time> times = {b, Time(), c, fine, a};
    std::sort(times.begin(), times.end());
    EXPECT_TRUE(times[0].isNull());
    EXPECT_EQ(times[1], c);
    EXPECT_EQ(times[2], a);
    EXPECT_EQ(times[3], fine);
    EXPECT_EQ(times[4], b);
}

TEST(TimeTest, Differences) {
    Time a(2010, 5, 5, 10, 0, 0);
    Time b(2010, 5, 5, 11, 30, 0);
    EXPECT_DOUBLE_EQ(a.differenceInHours(b), 1.5);
    EXPECT_DOUBLE_EQ(b.differenceInHours(a), 1.5);
    EXPECT_DOUBLE_EQ(a.differenceInMinutes(b), 90.0);
    EXPECT_DOUBLE_EQ(a.differenceInSeconds(b), 5400.0);
}

TEST(TimeTest, AddingDays) {
    struct Case {
        Time start;
        int days;
        unsigned int year, month, day, dayOfWeek;
    } cases[] = {
        {Time(2001, 2, 28, 0, 0, 0), 1, 2001, 3, 1, 4},
        {Time(2000, 2, 28, 0, 0, 0), 1, 2000, 2, 29, 2},
        {Time(2000, 3, 1, 0, 0, 0), -1, 2000, 2, 29, 2},
        {Time(1999, 12, 31, 0, 0, 0), 366, 2000, 12, 31, 0},
        {Time(2001, 2, 30, 0, 0, 0), 1, 2001, 2, 30, 0},   // invalid date: unchanged
        {Time(1300, 1, 1, 0, 0, 0), 1, 1300, 1, 1, 0},     // outside the calendar: unchanged
        {Time(9999, 12, 31, 0, 0, 0), 1, 9999, 12, 31, 0}, // would leave it: unchanged
        {Time(1400, 1, 1, 0, 0, 0), -1, 1400, 1, 1, 0},
    };
    for (Case& c : cases) {
        Time t = c.start;
        t.setHour(7);
        t.setUTCOffset(-300);
        t += c.days;
        EXPECT_EQ(t.getYear(), c.year);
        EXPECT_EQ(t.getMonth(), c.month);
        EXPECT_EQ(t.getDay(), c.day);
        EXPECT_EQ(t.getDayOfWeek(), c.dayOfWeek) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(t.getHour(), 7u);
        EXPECT_EQ(t.getUTCOffset(), -300);
    }
}

TEST(TimeTest, CurrentTimeFromTheHostClock) {
    sim::setClock(2024, 2, 29, 23, 30, 15, 123456);
    sim::setUTCOffset(60);
    Time now(true);
    EXPECT_EQ(now.getYear(), 2024u);
    EXPECT_EQ(now.getMonth(), 3u);
    EXPECT_EQ(now.getDay(), 1u);
    EXPECT_EQ(now.getDayOfWeek(), 5u);
    EXPECT_EQ(now.getHour(), 0u);
    EXPECT_EQ(now.getMinute(), 30u);
    EXPECT_EQ(now.getSecond(), 15u);
    EXPECT_EQ(now.getMicroseconds(), 123456u);
    EXPECT_EQ(now.getUTCOffset(), 60);
    EXPECT_EQ(Time::getLocalUTCOffset(), 60);
    EXPECT_EQ(now.getTotalSeconds64(), 1709249415LL);

    Time later(true);
    EXPECT_EQ(later, now) << "a stopped clock";
    sim::advanceClock(1);
    later.setToCurrent();
    EXPECT_TRUE(now < later);

    sim::setClock(-1); // before 1970, with microseconds
    Time before(true);
    EXPECT_EQ(before.getTotalSeconds64(), -1);
    EXPECT_EQ(before.getMicroseconds(), 999999u);

    sim::failCall("TIGetClock", ErrIO);
    Time failed(true);
    EXPECT_TRUE(failed.isNull()) << "no clock, no time";
    sim::failCall("TIGetClock", ErrIO);
    EXPECT_EQ(Time::getLocalUTCOffset(), 0);
}

TEST(TimeTest, HostTimeRecords) {
    sim::setUTCOffset(-90);
    GSTimeRecord record;
    record.year = 2019;
    record.month = 7;
    record.dayOfWeek = 3;
    record.day = 17;
    record.hour = 18;
    record.minute = 45;
    record.second = 5;
    record.millisecond = 250;
    Time t(record);
    EXPECT_EQ(t.getYear(), 2019u);
    EXPECT_EQ(t.getDayOfWeek(), 3u);
    EXPECT_EQ(t.getMicroseconds(), 250000u);
    EXPECT_EQ(t.getUTCOffset(), -90);
    int hours = 0;
    unsigned int minutes = 0;
    t.getUTCOffset(hours, minutes);
    EXPECT_EQ(hours, -1);
    EXPECT_EQ(minutes, 30u);

    t.setMicroseconds(250999);
    GSTimeRecord back = t;
    EXPECT_EQ(back.year, 2019);
    EXPECT_EQ(back.month, 7);
    EXPECT_EQ(back.dayOfWeek, 3);
    EXPECT_EQ(back.day, 17);
    EXPECT_EQ(back.hour, 18);
    EXPECT_EQ(back.minute, 45);
    EXPECT_EQ(back.second, 5);
    EXPECT_EQ(back.millisecond, 250);

    record.month = 0x1F; // wider than its field: masked to 4 bits
    record.year = 0xFFFF;
    t = record;
    EXPECT_EQ(t.getMonth(), 0xFu);
    EXPECT_EQ(t.getYear(), 0x7FFFu);
    EXPECT_EQ(t.getTotalSeconds(), 0);

    // A record made by the host from a time in seconds.
    ASSERT_EQ(TIGetTimeRecord(1709249415, &record, TI_LOCAL_TIME), NoError);
    Time fromHost(record);
    EXPECT_EQ(fromHost.getTotalSeconds64(), 1709249415LL);
}

TEST(TimeTest, DateAndTimeParts) {
    Time t(2015, 10, 21, 16, 29, 0);
    t.setDayOfWeek(3);
    t.setMicroseconds(42);
    t.setUTCOffset(-420);
    Time date = t;
    date.setToDate();
    EXPECT_EQ(date.getYear(), 2015u);
    EXPECT_EQ(date.getMonth(), 10u);
    EXPECT_EQ(date.getDay(), 21u);
    EXPECT_EQ(date.getDayOfWeek(), 3u);
    EXPECT_EQ(date.getHour() + date.getMinute() + date.getSecond() + date.getMicroseconds(), 0u);
    EXPECT_EQ(date.getUTCOffset(), 0);

    Time time = t;
    time.setToTime();
    EXPECT_EQ(time.getYear() + time.getMonth() + time.getDay(), 0u);
    EXPECT_EQ(time.getDayOfWeek(), 3u);
    EXPECT_EQ(time.getHour(), 16u);
    EXPECT_EQ(time.getMinute(), 29u);
    EXPECT_EQ(time.getMicroseconds(), 42u);
    EXPECT_EQ(time.getUTCOffset(), -420);

    Time fields;
    fields.setDay(40); // five bits keep 8
    EXPECT_EQ(fields.getDay(), 8u);
    fields.setSecond(59);
    fields.setMinute(59);
    fields.setHour(23);
    EXPECT_EQ(fields.getSecond(), 59u);
    EXPECT_EQ(fields.getMinute(), 59u);
    EXPECT_EQ(fields.getHour(), 23u);
    EXPECT_EQ(fields.getDay(), 8u) << "neighbouring fields untouched";
}
