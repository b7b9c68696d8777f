#include "alarms/event_time.h"

#include <initializer_list>

#include "base/zstring.h"

namespace {

// The last second the Windows 64-bit time functions convert (31 December
// 3000 23:59:59 GMT); the same bound holds on every target, so a time is
// accepted or refused alike everywhere.
const int64_t kLastSecond = 32535215999LL;
const int64_t kSecondsPerDay = 86400;

// Days from 1 January 1970 to the given civil date (proleptic Gregorian;
// month 1-12).
int64_t days_from_civil(int64_t year, int64_t month, int64_t day)
{
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t year_of_era = year - era * 400;
    const int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

// The wall-clock reading of the fields as a second count in a zone without
// offset; out-of-range fields carry over as the platform's conversion does.
int64_t wall_seconds(const std::tm& t)
{
    int64_t year = int64_t(t.tm_year) + 1900;
    int64_t month = t.tm_mon;  // 0-11 after the carry below
    year += month / 12;
    month %= 12;
    if (month < 0) {
        month += 12;
        --year;
    }
    const int64_t days = days_from_civil(year, month + 1, 1) + int64_t(t.tm_mday) - 1;
    return days * kSecondsPerDay + int64_t(t.tm_hour) * 3600 + int64_t(t.tm_min) * 60 + t.tm_sec;
}

// The platform's conversion of local fields honouring their DST flag.
int64_t platform_mktime(std::tm t)
{
#ifdef _WIN32
    return _mktime64(&t);
#else
    return static_cast<int64_t>(mktime(&t));
#endif
}

// The wall reading at instant t, or 0 when the zone cannot tell.
bool wall_at(int64_t t, int64_t& wall)
{
    std::tm fields;
    if (!EventTime::LocalFields(t, fields))
        return false;
    wall = wall_seconds(fields);
    return true;
}

// The instant whose local wall reading is wall, with the flag undecided:
// the offsets the zone has a day either side are tried; of the instants
// that read as wall the earliest wins (the first pass of a repeated hour).
// A wall reading the clock skips gives the first instant reading later.
int64_t resolve_wall(int64_t wall)
{
    int64_t offsets[3];
    int count = 0;
    for (int64_t probe : {wall - kSecondsPerDay, wall, wall + kSecondsPerDay}) {
        int64_t probe_wall;
        if (wall_at(probe, probe_wall))
            offsets[count++] = probe_wall - probe;
    }
    if (count == 0)
        return -1;
    bool found = false;
    int64_t best = 0;
    int64_t low = wall - offsets[0];   // an instant reading earlier than wall
    int64_t high = wall - offsets[0];  // an instant reading later than wall
    for (int i = 0; i < count; ++i) {
        const int64_t candidate = wall - offsets[i];
        int64_t reading;
        if (!wall_at(candidate, reading))
            continue;
        if (reading == wall && (!found || candidate < best)) {
            best = candidate;
            found = true;
        }
        if (candidate < low)
            low = candidate;
        if (candidate > high)
            high = candidate;
    }
    if (found)
        return best;
    // A skipped reading: between the earliest and latest candidate the
    // clock jumps over wall; find the first instant reading at or after it.
    int64_t low_reading, high_reading;
    if (!wall_at(low, low_reading) || !wall_at(high, high_reading) || low_reading >= wall ||
        high_reading < wall)
        return -1;
    while (high - low > 1) {
        const int64_t middle = low + (high - low) / 2;
        int64_t reading;
        if (!wall_at(middle, reading))
            return -1;
        if (reading >= wall)
            high = middle;
        else
            low = middle;
    }
    return high;
}

}  // namespace

EventTime::EventTime() : m_valid(0), m_time()
{
    if (!LocalFields(Now(), m_time))
        m_time.tm_mday = 1;
}

EventTime::EventTime(int64_t seconds) : m_valid(1), m_time()
{
    // A count the zone cannot break down leaves 1 January 1900, which
    // converts to nothing either.
    if (!LocalFields(seconds, m_time)) {
        m_time = std::tm();
        m_time.tm_mday = 1;
    }
}

EventTime::EventTime(const EventTime& other) : m_valid(other.m_valid), m_time(other.m_time) {}

EventTime::~EventTime() = default;

EventTime& EventTime::operator=(const EventTime& other)
{
    m_valid = other.m_valid;
    m_time = other.m_time;
    return *this;
}

int64_t EventTime::ToSeconds() const
{
    const int64_t seconds =
        m_time.tm_isdst < 0 ? resolve_wall(wall_seconds(m_time)) : platform_mktime(m_time);
    if (seconds < 0 || seconds > kLastSecond)
        return -1;
    return seconds;
}

int EventTime::IsLaterThan(const EventTime& other) const
{
    return ToSeconds() > other.ToSeconds() ? 1 : 0;
}

int EventTime::SetDate(int year, int month, int day, zstring& message)
{
    if (static_cast<unsigned>(year) < 1970) {
        message = "Year is less than 1970";
        return 0;
    }
    m_time.tm_year = year - 1900;
    // A typed date leaves daylight saving to the zone.
    m_time.tm_isdst = -1;
    if (month == 0) {
        message = "Month is ZERO.";
        return 0;
    }
    if (month > 12 || month < 0) {
        message = "Month is greater than 12";
        return 0;
    }
    m_time.tm_mon = month - 1;
    if (day == 0) {
        message = "Day is ZERO.";
        return 0;
    }
    if (day > 31 || day < 0) {
        message = "Day of month is greater than 31";
        return 0;
    }
    m_time.tm_mday = day;
    message = "";
    m_valid = 1;
    return 1;
}

void EventTime::SetTime(int hour, int minute, int second)
{
    m_time.tm_hour = hour;
    m_time.tm_min = minute;
    m_time.tm_sec = second;
    m_time.tm_isdst = -1;
    m_valid = 1;
}

int64_t EventTime::Now()
{
#ifdef _WIN32
    return _time64(nullptr);
#else
    return static_cast<int64_t>(time(nullptr));
#endif
}

int EventTime::LocalFields(int64_t seconds, std::tm& out)
{
    std::tm fields{};
#ifdef _WIN32
    const __time64_t t = seconds;
    if (_localtime64_s(&fields, &t) != 0)
        return 0;
#else
    const time_t t = static_cast<time_t>(seconds);
    if (!localtime_r(&t, &fields))
        return 0;
#endif
    out = fields;
    return 1;
}
