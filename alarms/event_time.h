#pragma once

#include <cstdint>
#include <ctime>

class zstring;

// One broken-down local time: when the alarm event is due. Conversions use
// 64-bit time on every target, so dates past 2038 convert on i686 too.
class EventTime {
public:
    // The current local time from the clock; valid flag 0.
    EventTime();
    // The local time of a second count since 1 January 1970 GMT; valid flag 1.
    explicit EventTime(int64_t seconds);
    EventTime(const EventTime& other);
    virtual ~EventTime();
    // Copies the nine fields and the valid flag.
    virtual EventTime& operator=(const EventTime& other);

    // The second count of the fields (out-of-range fields are normalised),
    // or -1 when the time cannot be represented. A time whose
    // daylight-saving flag is "undecided" (set by SetDate or SetTime) takes
    // the offset the zone has at that wall time; a wall time in a skipped
    // hour gives the first real instant after it, one in a repeated hour its
    // first occurrence.
    int64_t ToSeconds() const;
    // 1 when ToSeconds() is greater than other's, as signed numbers.
    int IsLaterThan(const EventTime& other) const;

    // month 1-12. Returns 1, with message emptied, when year, month and day
    // were all stored; 0 with one of "Year is less than 1970", "Month is
    // ZERO.", "Month is greater than 12", "Day is ZERO.", "Day of month is
    // greater than 31" otherwise (the fields checked before stay stored).
    int SetDate(int year, int month, int day, zstring& message);
    // Stores the three fields unchecked; valid flag 1.
    void SetTime(int hour, int minute, int second);

    unsigned IsValid() const { return m_valid; }
    // The fields in the platform's record: seconds, minutes, hours, day of
    // the month, month 0-11, years since 1900, weekday, yearday, DST flag.
    const std::tm& Fields() const { return m_time; }

    // The platform's clock and zone, in 64 bits. LocalFields returns 0 when
    // the zone cannot break the count down.
    static int64_t Now();
    static int LocalFields(int64_t seconds, std::tm& out);

private:
    unsigned m_valid;
    std::tm m_time;
};
