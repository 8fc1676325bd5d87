// A local date and time to the microsecond, with the offset from UTC at which it was set.
#pragma once

#include <cstdint>

struct GSTimeRecord;

namespace zelvane {

// The fields are packed in one 64-bit word (bit 0 the least significant): year bits 0-14,
// month 15-18 (1 to 12), day of the week 19-21 (0 = Sunday), day 22-26, hour 27-31,
// minute 32-37, second 38-43, microseconds 44-63. Setters keep the low bits that fit a field.
//
// Total seconds count from 1970-01-01 00:00:00 UTC in 64 bits. Dates the Gregorian rules do not
// cover (years outside 1400 to 9999, invalid days) count as 0. The null time orders before every
// other time.
class Time {
public:
    // The null time: the word 0x408000 (year 0, 1 January, midnight), offset 0.
    Time() = default;
    // The current local time when now is set, else the null time.
    explicit Time(bool now);
    // From the host's record; the offset is the current local offset.
    Time(GSTimeRecord const& record);
    // Day of the week 0, microseconds 0, offset 0.
    Time(unsigned int year, unsigned int month, unsigned int day, unsigned int hour, unsigned int minute,
         unsigned int second);

    Time& operator=(GSTimeRecord const& record);
    operator GSTimeRecord() const;

    bool isNull() const { return m_data == nullData && m_offset == 0; }
    // The local clock to the microsecond, with the day of the week and the current offset. The
    // null time when the host's clock cannot be read.
    void setToCurrent();

    // Seconds since 1970-01-01 00:00:00 UTC, rounded down; saturated to 32 bits by
    // getTotalSeconds.
    int getTotalSeconds() const;
    long long getTotalSeconds64() const;
    // The time at that many seconds after 1970-01-01 00:00:00 UTC, in local time at the current
    // local offset, microseconds 0. Times outside the years 1400 to 9999 are clamped to them.
    void setTotalSeconds(int seconds);
    void setTotalSeconds64(long long seconds);

    bool operator==(Time const& other) const;
    bool operator!=(Time const& other) const { return !(*this == other); }
    bool operator<(Time const& other) const;
    bool operator<=(Time const& other) const { return !(other < *this); }
    bool operator>(Time const& other) const { return other < *this; }
    bool operator>=(Time const& other) const { return !(*this < other); }

    // Moves the date by whole days (the day of the week follows); nothing when the date is not
    // valid or the result leaves the years 1400 to 9999.
    Time& operator+=(int days);

    // Keeps the date; time of day, microseconds and offset become 0.
    void setToDate();
    // Keeps the day of the week, the time of day, the microseconds and the offset; year, month and
    // day become 0.
    void setToTime();

    // Local time minus UTC in minutes, from the host's clock (0 when it cannot be read).
    static int getLocalUTCOffset();
    // Hours truncated toward zero (negative west of UTC) and the remaining absolute minutes.
    void getUTCOffset(int& hours, unsigned int& minutes) const;
    short getUTCOffset() const { return m_offset; }
    void setUTCOffset(short minutes) { m_offset = minutes; }

    double differenceInSeconds(Time const& other) const;
    double differenceInMinutes(Time const& other) const { return differenceInSeconds(other) / 60.0; }
    double differenceInHours(Time const& other) const { return differenceInSeconds(other) / 3600.0; }
    double differenceInDays(Time const& other) const { return differenceInSeconds(other) / 86400.0; }

    unsigned int getYear() const { return field(yearField); }
    unsigned int getMonth() const { return field(monthField); }
    unsigned int getDayOfWeek() const { return field(dayOfWeekField); }
    unsigned int getDay() const { return field(dayField); }
    unsigned int getHour() const { return field(hourField); }
    unsigned int getMinute() const { return field(minuteField); }
    unsigned int getSecond() const { return field(secondField); }
    unsigned int getMicroseconds() const { return field(microsecondField); }
    void setYear(unsigned int year) { setField(yearField, year); }
    void setMonth(unsigned int month) { setField(monthField, month); }
    void setDayOfWeek(unsigned int day) { setField(dayOfWeekField, day); }
    void setDay(unsigned int day) { setField(dayField, day); }
    void setHour(unsigned int hour) { setField(hourField, hour); }
    void setMinute(unsigned int minute) { setField(minuteField, minute); }
    void setSecond(unsigned int second) { setField(secondField, second); }
    void setMicroseconds(unsigned int microseconds) { setField(microsecondField, microseconds); }

private:
    struct Field {
        int shift;
        int width;
    };
    static constexpr Field yearField{0, 15};
    static constexpr Field monthField{15, 4};
    static constexpr Field dayOfWeekField{19, 3};
    static constexpr Field dayField{22, 5};
    static constexpr Field hourField{27, 5};
    static constexpr Field minuteField{32, 6};
    static constexpr Field secondField{38, 6};
    static constexpr Field microsecondField{44, 20};
    static constexpr std::uint64_t nullData = 0x408000;

    unsigned int field(Field f) const {
        return unsigned((m_data >> f.shift) & ((std::uint64_t(1) << f.width) - 1));
    }
    void setField(Field f, std::uint64_t value) {
        std::uint64_t mask = ((std::uint64_t(1) << f.width) - 1) << f.shift;
        m_data = (m_data & ~mask) | ((value << f.shift) & mask);
    }
    // Sets date, day of the week and time of day from microseconds since 1970-01-01 00:00:00 in
    // local time; false, changing nothing, outside the supported years.
    bool setLocalMicroseconds(long long microseconds);

    std::uint64_t m_data = nullData;
    short m_offset = 0;
};

} // namespace zelvane
