#pragma once

#include <cstdint>
#include <iosfwd>

#include "base/orv_export.h"
#include "base/zstring.h"

class TTime;

// A calendar date held as its Julian day number (1 Jan 1901 is 2415386);
// day number 0 is the invalid date. All day arithmetic is unsigned 32-bit on
// every platform, so numbers computed by one module match another's.
class ORV_EXPORT TDate {
public:
    // Text forms for printing; the choice is process-wide.
    enum HowToPrint : int {
        LongDate = 0,      // January 5, 2001
        DayDashMon = 1,    // " 5-Jan-01"
        NumericMDY = 2,    // 1/5/1
        NumericDMY = 3,    // 5/1/1
        LongDayFirst = 4   // 5 January 2001
    };

    // Years up to 99 are taken as 1900 to 1999. Returns 0 for a bad date.
    static uint32_t Jday(unsigned month, unsigned day, unsigned year);
    static int LeapYear(unsigned year);
    static unsigned DaysInYear(unsigned year);
    static int DayWithinMonth(unsigned month, unsigned day, unsigned year);
    // Any prefix of a name matches, case ignored; the last name wins.
    static unsigned IndexOfMonth(const char* name);
    static unsigned DayOfWeek(const char* name);
    static const char* MonthName(unsigned month);  // null outside 1..12
    static const char* DayName(unsigned weekDay);  // null outside 1..7
    static int AssertIndexOfMonth(unsigned month);
    static int AssertWeekDayNumber(unsigned weekDay);
    static HowToPrint SetPrintOption(HowToPrint option);

    TDate();  // today, local time
    TDate(unsigned day, unsigned month, unsigned year);
    TDate(unsigned day, const char* monthName, unsigned year);
    // Year 0 counts days from 1 Jan 1901 (day 0).
    TDate(unsigned dayOfYear, unsigned year);
    explicit TDate(const TTime& time);  // the local day of the time
    explicit TDate(std::istream& is);

    // Reads "12/31/1999", "jan 5 2001" or "5 January 2001". A failure
    // leaves the date 0 and the stream bad. Input that ends before the
    // year's field leaves the date 0 and the stream at its end. Not
    // reentrant: one static word buffer.
    void ParseFrom(std::istream& is);

    unsigned Year() const;
    unsigned Month() const;
    unsigned DayOfMonth() const;
    unsigned Day() const;      // day of the year, from 1
    unsigned WeekDay() const;  // 1 Monday .. 7 Sunday
    int Leap() const;
    const char* NameOfDay() const;
    const char* NameOfMonth() const;
    unsigned FirstDayOfMonth(unsigned month) const;  // day of the year
    unsigned FirstDayOfMonth() const;
    // The latest date on or before this one falling on that week day;
    // the invalid date for an invalid week day or an invalid date.
    TDate Previous(unsigned weekDay) const;
    TDate Previous(const char* dayName) const;
    int IsValid() const { return m_julian > 0; }
    uint32_t Hash() const { return m_julian; }
    int CompareTo(const TDate& other) const { return (other < *this) - (*this < other); }
    int Between(const TDate& low, const TDate& high) const { return low <= *this && *this <= high; }
    TDate MMax(const TDate& other) const { return *this < other ? other : *this; }
    TDate MMin(const TDate& other) const { return other < *this ? other : *this; }
    zstring AsString() const;

    int operator==(const TDate& other) const { return m_julian == other.m_julian; }
    int operator!=(const TDate& other) const { return m_julian != other.m_julian; }
    int operator<(const TDate& other) const { return m_julian < other.m_julian; }
    int operator<=(const TDate& other) const { return m_julian <= other.m_julian; }
    int operator>(const TDate& other) const { return m_julian > other.m_julian; }
    int operator>=(const TDate& other) const { return m_julian >= other.m_julian; }
    uint32_t operator-(const TDate& other) const { return m_julian - other.m_julian; }
    TDate& operator++() { ++m_julian; return *this; }
    TDate operator++(int) { TDate before = *this; ++m_julian; return before; }
    TDate& operator--() { --m_julian; return *this; }
    TDate operator--(int) { TDate before = *this; --m_julian; return before; }
    TDate& operator+=(uint32_t days) { m_julian += days; return *this; }
    TDate& operator-=(uint32_t days) { m_julian -= days; return *this; }

private:
    friend class TTime;
    friend ORV_EXPORT std::ostream& operator<<(std::ostream& os, const TDate& date);

    constexpr explicit TDate(uint32_t dayNumber) : m_julian(dayNumber) {}
    void Mdy(unsigned& month, unsigned& day, unsigned& year) const;
    // Fills buffer (80 bytes) with the printed form; "" for an invalid date.
    void _format(char* buffer, unsigned size) const;

    static HowToPrint PrintOption;
    uint32_t m_julian;
};

ORV_EXPORT std::ostream& operator<<(std::ostream& os, const TDate& date);

// A moment held as seconds since 00:00:00 GMT on 1 Jan 1901; 0 is the
// invalid time and the range ends at 2^32 - 1 (early February 2037).
// Local time follows the C runtime's zone offset and whether the zone keeps
// daylight time, with this class's own daylight-saving rules (see BeginDST
// and EndDST).
class ORV_EXPORT TTime {
public:
    static const TDate RefDate;  // 1 Jan 1901
    static const TDate MaxDate;  // 5 Feb 2037

    // GMT second counts of the changes; EndDST is 1:00 local standard time
    // on the last Sunday of October.
    static uint32_t BeginDST(unsigned year);
    static uint32_t EndDST(unsigned year);
    static int AssertDate(const TDate& date);

    TTime();  // now, from the platform's clock
    TTime(unsigned hour, unsigned minute, unsigned second);  // today, local
    // Local wall time on that date. An hour that occurs twice takes its
    // standard-time reading; a skipped one, or an invalid date, gives 0.
    TTime(const TDate& date, unsigned hour, unsigned minute, unsigned second);
    explicit TTime(uint32_t seconds) : m_seconds(seconds) {}

    unsigned Hour() const;
    unsigned Minute() const;
    unsigned HourGMT() const;
    unsigned MinuteGMT() const;
    unsigned Second() const;
    uint32_t Seconds() const { return m_seconds; }
    int IsDST() const;
    int IsValid() const { return m_seconds > 0; }
    uint32_t Hash() const { return m_seconds; }
    int CompareTo(const TTime& other) const { return (other < *this) - (*this < other); }
    int Between(const TTime& low, const TTime& high) const { return low <= *this && *this <= high; }
    TTime MMax(const TTime& other) const { return *this < other ? other : *this; }
    TTime MMin(const TTime& other) const { return other < *this ? other : *this; }

    int operator==(const TTime& other) const { return m_seconds == other.m_seconds; }
    int operator!=(const TTime& other) const { return m_seconds != other.m_seconds; }
    int operator<(const TTime& other) const { return m_seconds < other.m_seconds; }
    int operator<=(const TTime& other) const { return m_seconds <= other.m_seconds; }
    int operator>(const TTime& other) const { return m_seconds > other.m_seconds; }
    int operator>=(const TTime& other) const { return m_seconds >= other.m_seconds; }
    uint32_t operator-(const TTime& other) const { return m_seconds - other.m_seconds; }
    TTime& operator++() { ++m_seconds; return *this; }
    TTime operator++(int) { TTime before = *this; ++m_seconds; return before; }
    TTime& operator--() { --m_seconds; return *this; }
    TTime operator--(int) { TTime before = *this; --m_seconds; return before; }
    TTime& operator+=(uint32_t seconds) { m_seconds += seconds; return *this; }
    TTime& operator-=(uint32_t seconds) { m_seconds -= seconds; return *this; }

private:
    friend class TDate;

    static uint32_t BuildLocal(const TDate& date, unsigned hour);
    uint32_t LocalSecs() const;
    void _build(const TDate& date, unsigned hour, unsigned minute, unsigned second);

    uint32_t m_seconds;
};
