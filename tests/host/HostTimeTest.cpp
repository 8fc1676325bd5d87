#include "GSRoot/Time.hpp"
#include "sim/Clock.h"
#include "sim/Sim.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

constexpr Int64 microsecondsPerSecond = 1000000;

} // namespace

TEST(HostTimeTest, ClockFollowsTheSystemUntilSet) {
    Int64 system = std::chrono::duration_cast<std::chrono::microseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
    Int64 now = 0;
    ASSERT_EQ(TIGetClock(&now, nullptr), NoError);
    EXPECT_NEAR(double(now), double(system), 60.0 * microsecondsPerSecond);

    sim::setClock(2021, 3, 14, 15, 9, 26, 535897);
    sim::setUTCOffset(-90);
    Int32 offset = 0;
    ASSERT_EQ(TIGetClock(&now, &offset), NoError);
    EXPECT_EQ(now, 1615734566LL * microsecondsPerSecond + 535897);
    EXPECT_EQ(offset, -90);
    EXPECT_EQ(TIGetTime(), 1615734566LL);

    sim::advanceClock(-535898);
    EXPECT_EQ(TIGetTime(), 1615734565LL) << "seconds round down";

    sim::useSystemClock();
    ASSERT_EQ(TIGetClock(&now, nullptr), NoError);
    EXPECT_GT(now, 1615734566LL * microsecondsPerSecond);
}

TEST(HostTimeTest, TimeRecordsInLocalTimeAndUTC) {
    sim::setUTCOffset(120);
    struct Case {
        GSTime time;
        Int32 mode;
        GSTimeRecord expected;
    } cases[] = {
        {0, TI_UTC_TIME, {1970, 1, 4, 1, 0, 0, 0, 0}},
        {0, TI_LOCAL_TIME, {1970, 1, 4, 1, 2, 0, 0, 0}},
        {951782400, TI_UTC_TIME, {2000, 2, 2, 29, 0, 0, 0, 0}},
        {-1, TI_UTC_TIME, {1969, 12, 3, 31, 23, 59, 59, 0}},
        {4102444799LL, TI_LOCAL_TIME, {2100, 1, 5, 1, 1, 59, 59, 0}}, // after 2038
    };
    for (const Case& c : cases) {
        GSTimeRecord r;
        ASSERT_EQ(TIGetTimeRecord(c.time, &r, c.mode), NoError) << c.time;
        EXPECT_EQ(r.year, c.expected.year) << c.time;
        EXPECT_EQ(r.month, c.expected.month) << c.time;
        EXPECT_EQ(r.dayOfWeek, c.expected.dayOfWeek) << c.time;
        EXPECT_EQ(r.day, c.expected.day) << c.time;
        EXPECT_EQ(r.hour, c.expected.hour) << c.time;
        EXPECT_EQ(r.minute, c.expected.minute) << c.time;
        EXPECT_EQ(r.second, c.expected.second) << c.time;
    }
}

TEST(HostTimeTest, FailuresAreReported) {
    GSTimeRecord r;
    EXPECT_EQ(TIGetTimeRecord(0, &r, 7), ErrParam);
    EXPECT_EQ(TIGetTimeRecord(0, nullptr, TI_UTC_TIME), ErrParam);
    EXPECT_EQ(TIGetTimeRecord(300000000000LL, &r, TI_UTC_TIME), ErrParam) << "past the year 9999";
    EXPECT_EQ(TIGetTimeRecord(-20000000000LL, &r, TI_UTC_TIME), ErrParam) << "before the year 1400";
    EXPECT_EQ(TIGetTimeRecord(Int64(1) << 62, &r, TI_UTC_TIME), ErrParam);

    sim::failCall("TIGetClock", ErrIO);
    Int64 now = 0;
    EXPECT_EQ(TIGetClock(&now, nullptr), ErrIO);
    EXPECT_EQ(TIGetClock(&now, nullptr), NoError);
    EXPECT_EQ(sim::callCount("TIGetClock"), 2u);
}
