#include "Environment/Time.h"

#include "GSRoot/Time.hpp"

#include <boost/date_time/gregorian/gregorian.hpp>

#include <cmath>
#include <limits>

namespace zelvane {

namespace {

namespace gr = boost::gregorian;

constexpr long long microsecondsPerSecond = 1000000;
constexpr long long secondsPerDay = 86400;
// The years Boost's Gregorian calendar covers.
constexpr unsigned int firstYear = 1400;
constexpr unsigned int lastYear = 9999;

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

const gr::date& epochDate() {
    static const gr::date instance(1970, 1, 1);
    return instance;
}

// Days from 1970-01-01 to a date; false for a date outside the calendar.
bool daysSinceEpoch(unsigned int year, unsigned int month, unsigned int day, long long& days) {
    if (year < firstYear || year > lastYear) {
        return false;
    }
    try {
        gr::date date(static_cast<unsigned short>(year), static_cast<unsigned short>(month),
                      static_cast<unsigned short>(day));
        days = (date - epochDate()).days();
        return true;
    } catch (const std::exception&) {
        return false; // no such month or day
    }
}

long long firstDay() {
    static const long long days = (gr::date(firstYear, 1, 1) - epochDate()).days();
    return days;
}

long long lastDay() {
    static const long long days = (gr::date(lastYear, 12, 31) - epochDate()).days();
    return days;
}

} // namespace

Time::Time(bool now) {
    if (now) {
        setToCurrent();
    }
}

Time::Time(GSTimeRecord const& record) {
    *this = record;
}

Time::Time(unsigned int year, unsigned int month, unsigned int day, unsigned int hour, unsigned int minute,
           unsigned int second)
    : m_data(0) {
    setYear(year);
    setMonth(month);
    setDay(day);
    setHour(hour);
    setMinute(minute);
    setSecond(second);
}

Time& Time::operator=(GSTimeRecord const& record) {
    m_data = 0;
    setYear(record.year);
    setMonth(record.month);
    setDayOfWeek(record.dayOfWeek);
    setDay(record.day);
    setHour(record.hour);
    setMinute(record.minute);
    setSecond(record.second);
    setMicroseconds(record.millisecond * 1000u);
    m_offset = static_cast<short>(getLocalUTCOffset());
    return *this;
}

Time::operator GSTimeRecord() const {
    GSTimeRecord record;
    record.year = static_cast<UInt16>(getYear());
    record.month = static_cast<UInt16>(getMonth());
    record.dayOfWeek = static_cast<UInt16>(getDayOfWeek());
    record.day = static_cast<UInt16>(getDay());
    record.hour = static_cast<UInt16>(getHour());
    record.minute = static_cast<UInt16>(getMinute());
    record.second = static_cast<UInt16>(getSecond());
    record.millisecond = static_cast<UInt16>(getMicroseconds() / 1000);
    return record;
}

bool Time::setLocalMicroseconds(long long microseconds) {
    long long days = floorDiv(microseconds, secondsPerDay * microsecondsPerSecond);
    if (days < firstDay() || days > lastDay()) {
        return false;
    }
    gr::date date = epochDate() + gr::days(static_cast<long>(days));
    long long inDay = microseconds - days * secondsPerDay * microsecondsPerSecond;
    long long second = inDay / microsecondsPerSecond;
    m_data = 0;
    setYear(static_cast<unsigned int>(date.year()));
    setMonth(date.month().as_number());
    setDayOfWeek(date.day_of_week().as_number());
    setDay(date.day().as_number());
    setHour(static_cast<unsigned int>(second / 3600));
    setMinute(static_cast<unsigned int>(second / 60 % 60));
    setSecond(static_cast<unsigned int>(second % 60));
    setMicroseconds(static_cast<unsigned int>(inDay % microsecondsPerSecond));
    return true;
}

void Time::setToCurrent() {
    Int64 now = 0;
    Int32 offset = 0;
    if (TIGetClock(&now, &offset) != NoError ||
        !setLocalMicroseconds(now + static_cast<long long>(offset) * 60 * microsecondsPerSecond)) {
        *this = Time();
        return;
    }
    m_offset = static_cast<short>(offset);
}

long long Time::getTotalSeconds64() const {
    long long days = 0;
    if (!daysSinceEpoch(getYear(), getMonth(), getDay(), days)) {
        return 0;
    }
    long long seconds = ((days * 24 + getHour()) * 60 + getMinute()) * 60 + getSecond();
    long long microseconds = (seconds - m_offset * 60LL) * microsecondsPerSecond + getMicroseconds();
    return floorDiv(microseconds, microsecondsPerSecond);
}

int Time::getTotalSeconds() const {
    long long seconds = getTotalSeconds64();
    if (seconds > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    if (seconds < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(seconds);
}

void Time::setTotalSeconds(int seconds) {
    setTotalSeconds64(seconds);
}

void Time::setTotalSeconds64(long long seconds) {
    long long offset = getLocalUTCOffset();
    long long first = firstDay() * secondsPerDay - offset * 60;
    long long last = lastDay() * secondsPerDay + secondsPerDay - 1 - offset * 60;
    seconds = seconds < first ? first : (seconds > last ? last : seconds);
    setLocalMicroseconds((seconds + offset * 60) * microsecondsPerSecond);
    m_offset = static_cast<short>(offset);
}

bool Time::operator==(Time const& other) const {
    if (isNull() || other.isNull()) {
        return isNull() && other.isNull();
    }
    return getTotalSeconds64() == other.getTotalSeconds64() && getMicroseconds() == other.getMicroseconds();
}

bool Time::operator<(Time const& other) const {
    if (other.isNull()) {
        return false;
    }
    if (isNull()) {
        return true;
    }
    long long mine = getTotalSeconds64();
    long long theirs = other.getTotalSeconds64();
    return mine < theirs || (mine == theirs && getMicroseconds() < other.getMicroseconds());
}

Time& Time::operator+=(int days) {
    long long start = 0;
    if (!daysSinceEpoch(getYear(), getMonth(), getDay(), start)) {
        return *this;
    }
    long long target = start + days;
    if (target < firstDay() || target > lastDay()) {
        return *this;
    }
    gr::date date = epochDate() + gr::days(static_cast<long>(target));
    setYear(static_cast<unsigned int>(date.year()));
    setMonth(date.month().as_number());
    setDay(date.day().as_number());
    setDayOfWeek(date.day_of_week().as_number());
    return *this;
}

void Time::setToDate() {
    Time date;
    date.m_data = 0;
    date.setYear(getYear());
    date.setMonth(getMonth());
    date.setDayOfWeek(getDayOfWeek());
    date.setDay(getDay());
    *this = date;
}

void Time::setToTime() {
    setYear(0);
    setMonth(0);
    setDay(0);
}

int Time::getLocalUTCOffset() {
    Int32 offset = 0;
    if (TIGetClock(nullptr, &offset) != NoError) {
        return 0;
    }
    return offset;
}

void Time::getUTCOffset(int& hours, unsigned int& minutes) const {
    hours = m_offset / 60;
    minutes = static_cast<unsigned int>(std::abs(m_offset % 60));
}

double Time::differenceInSeconds(Time const& other) const {
    return std::fabs(static_cast<double>(getTotalSeconds64() - other.getTotalSeconds64()));
}

} // namespace zelvane
