#include "base/tdate.h"

#include <cctype>
#include <cstdio>
#include <ctime>
#include <istream>
#include <ostream>

namespace {

const uint32_t kFirstDay1901 = 2415386;  // Julian day number of 1 Jan 1901
const uint32_t kJulianBase = 1721119;    // offset of the Jday formula
const uint32_t kSecondsPerDay = 86400;
const uint32_t kSecondsTo1970 = 2177452800u;  // 1 Jan 1901 to the platform clock's start

const unsigned kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
const unsigned kFirstDayOfMonth[12] = {1, 32, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};

const char* const kMonthNames[12] = {
    "January", "February", "March", "April", "May", "June",
    "July", "August", "September", "October", "November", "December"};
const char* const kUpperMonthNames[12] = {
    "JANUARY", "FEBRUARY", "MARCH", "APRIL", "MAY", "JUNE",
    "JULY", "AUGUST", "SEPTEMBER", "OCTOBER", "NOVEMBER", "DECEMBER"};
const char* const kDayNames[7] = {
    "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char* const kUpperDayNames[7] = {
    "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY", "SUNDAY"};

// The parser's one word buffer: ten letters and the terminator.
char s_word[11];

// The C runtime's zone offset in seconds west of GMT; a zone east of GMT
// wraps, which the unsigned second arithmetic undoes.
uint32_t zone_west()
{
#if defined(_WIN32)
    _tzset();
    return static_cast<uint32_t>(_timezone);
#else
    tzset();
    return static_cast<uint32_t>(timezone);
#endif
}

// Whether the zone keeps daylight time at the moment given (seconds since
// 1901). The Windows runtime's flag says so of the zone's rule; glibc's says
// only that the zone ever had daylight time (Tokyo did until 1951), so there
// the platform's own reading of that moment decides.
int zone_keeps_daylight(uint32_t seconds)
{
#if defined(_WIN32)
    (void)seconds;
    _tzset();
    return _daylight != 0;
#else
    tzset();
    const std::time_t moment = static_cast<std::time_t>(seconds) - kSecondsTo1970;
    std::tm parts{};
    return localtime_r(&moment, &parts) && parts.tm_isdst > 0;
#endif
}

std::tm local_now()
{
    std::time_t now = std::time(nullptr);
    std::tm parts{};
#if defined(_WIN32)
    localtime_s(&parts, &now);
#else
    localtime_r(&now, &parts);
#endif
    return parts;
}

TDate today(const std::tm& parts)
{
    return TDate(static_cast<unsigned>(parts.tm_mday), static_cast<unsigned>(parts.tm_mon + 1),
                 static_cast<unsigned>(parts.tm_year + 1900));
}

// text matches name over the length of text, case ignored.
int prefix_matches(const char* text, const char* upperName)
{
    for (; *text; ++text, ++upperName) {
        int c = std::toupper(static_cast<unsigned char>(*text));
        if (c != static_cast<unsigned char>(*upperName))
            return 0;
    }
    return 1;
}

// Tried from the last name back, so "MA" is May and "" the last name.
unsigned find_name(const char* text, const char* const* upperNames, unsigned count)
{
    if (!text)
        return 0;
    for (unsigned i = count; i > 0; --i)
        if (prefix_matches(text, upperNames[i - 1]))
            return i;
    return 0;
}

void skip_separators(std::istream& is)
{
    while (is.good()) {
        int c = is.peek();
        if (c == EOF || std::isalnum(c))
            return;
        is.get();
    }
}

// Letters beyond the tenth stay in the stream. No letters at all (a number
// too long to read) names no month, though the empty text would match one.
unsigned read_month_name(std::istream& is)
{
    unsigned n = 0;
    while (n < sizeof s_word - 1 && is.good() && std::isalpha(is.peek()))
        s_word[n++] = static_cast<char>(is.get());
    s_word[n] = '\0';
    return n > 0 ? TDate::IndexOfMonth(s_word) : 0;
}

}  // namespace

TDate::HowToPrint TDate::PrintOption = TDate::LongDate;

// ---- static operations ----

uint32_t TDate::Jday(unsigned month, unsigned day, unsigned year)
{
    uint32_t m = month, d = day, y = year;
    if (y <= 99)
        y += 1900;
    if (!DayWithinMonth(m, d, y))
        return 0;
    // Count months from March so the leap day falls at the end of a year.
    if (m > 2) {
        m -= 3;
    } else {
        m += 9;
        y -= 1;
    }
    uint32_t k = y / 100;
    uint32_t ya = y - 100 * k;
    return (146097 * k) / 4 + (1461 * ya) / 4 + (153 * m + 2) / 5 + d + kJulianBase;
}

int TDate::LeapYear(unsigned year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned TDate::DaysInYear(unsigned year)
{
    return LeapYear(year) ? 366 : 365;
}

int TDate::DayWithinMonth(unsigned month, unsigned day, unsigned year)
{
    if (day < 1 || !AssertIndexOfMonth(month))
        return 0;
    unsigned length = kDaysInMonth[month - 1];
    if (month == 2 && LeapYear(year))
        ++length;
    return day <= length;
}

unsigned TDate::IndexOfMonth(const char* name)
{
    return find_name(name, kUpperMonthNames, 12);
}

unsigned TDate::DayOfWeek(const char* name)
{
    return find_name(name, kUpperDayNames, 7);
}

const char* TDate::MonthName(unsigned month)
{
    return AssertIndexOfMonth(month) ? kMonthNames[month - 1] : nullptr;
}

const char* TDate::DayName(unsigned weekDay)
{
    return AssertWeekDayNumber(weekDay) ? kDayNames[weekDay - 1] : nullptr;
}

int TDate::AssertIndexOfMonth(unsigned month)
{
    return month >= 1 && month <= 12;
}

int TDate::AssertWeekDayNumber(unsigned weekDay)
{
    return weekDay >= 1 && weekDay <= 7;
}

TDate::HowToPrint TDate::SetPrintOption(HowToPrint option)
{
    HowToPrint previous = PrintOption;
    PrintOption = option;
    return previous;
}

// ---- constructors ----

TDate::TDate() : TDate(today(local_now())) {}

TDate::TDate(unsigned day, unsigned month, unsigned year) : m_julian(Jday(month, day, year)) {}

TDate::TDate(unsigned day, const char* monthName, unsigned year)
    : m_julian(Jday(IndexOfMonth(monthName), day, year))
{
}

TDate::TDate(unsigned dayOfYear, unsigned year)
    : m_julian(year == 0 ? kFirstDay1901 + dayOfYear : Jday(12, 31, year - 1) + dayOfYear)
{
}

TDate::TDate(const TTime& time)
    : m_julian(time.IsValid() ? time.LocalSecs() / kSecondsPerDay + kFirstDay1901 : 0)
{
}

TDate::TDate(std::istream& is) : m_julian(0)
{
    ParseFrom(is);
}

// ---- parsing ----

void TDate::ParseFrom(std::istream& is)
{
    m_julian = 0;
    unsigned month = 0, day = 0, year = 0;
    if (is.good()) {
        unsigned first = 0;
        skip_separators(is);
        is >> first;
        skip_separators(is);
        if (is.eof())
            return;
        if (is.fail()) {
            // A month name leads: "jan 5 2001".
            is.clear();
            month = read_month_name(is);
            skip_separators(is);
            is >> day;
        } else {
            unsigned second = 0;
            is >> second;
            if (is.eof())
                return;
            if (is.fail()) {
                // The day leads: "5 January 2001".
                day = first;
                is.clear();
                month = read_month_name(is);
            } else {
                month = first;
                day = second;
            }
        }
        skip_separators(is);
        is >> year;
    }
    // A year that ends the input leaves the stream at its end but not
    // failed; the date it completes is still good.
    m_julian = is.fail() ? 0 : Jday(month, day, year);
    if (m_julian == 0)
        is.clear(std::ios::badbit);
}

// ---- queries ----

// Back from the day number to the calendar; the inverse of Jday.
void TDate::Mdy(unsigned& month, unsigned& day, unsigned& year) const
{
    uint32_t j = m_julian - kJulianBase;
    uint32_t y = (4 * j - 1) / 146097;
    j = 4 * j - 1 - 146097 * y;
    uint32_t d = j / 4;
    j = (4 * d + 3) / 1461;
    d = 4 * d + 3 - 1461 * j;
    d = (d + 4) / 4;
    uint32_t m = (5 * d - 3) / 153;
    d = 5 * d - 3 - 153 * m;
    d = (d + 5) / 5;
    y = 100 * y + j;
    if (m < 10) {
        m += 3;
    } else {
        m -= 9;
        y += 1;
    }
    month = m;
    day = d;
    year = y;
}

unsigned TDate::Year() const
{
    unsigned month, day, year;
    Mdy(month, day, year);
    return year;
}

unsigned TDate::Month() const
{
    unsigned month, day, year;
    Mdy(month, day, year);
    return month;
}

unsigned TDate::DayOfMonth() const
{
    unsigned month, day, year;
    Mdy(month, day, year);
    return day;
}

unsigned TDate::Day() const
{
    return m_julian - Jday(12, 31, Year() - 1);
}

unsigned TDate::WeekDay() const
{
    return ((m_julian + 1) % 7 + 6) % 7 + 1;
}

int TDate::Leap() const
{
    return LeapYear(Year());
}

const char* TDate::NameOfDay() const
{
    return DayName(WeekDay());
}

const char* TDate::NameOfMonth() const
{
    return MonthName(Month());
}

unsigned TDate::FirstDayOfMonth(unsigned month) const
{
    if (!AssertIndexOfMonth(month))
        return 0;
    unsigned first = kFirstDayOfMonth[month - 1];
    if (month > 2 && Leap())
        ++first;
    return first;
}

unsigned TDate::FirstDayOfMonth() const
{
    return FirstDayOfMonth(Month());
}

TDate TDate::Previous(unsigned weekDay) const
{
    if (!IsValid() || !AssertWeekDayNumber(weekDay))
        return TDate(0u);
    return TDate(m_julian - (WeekDay() + 7 - weekDay) % 7);
}

TDate TDate::Previous(const char* dayName) const
{
    return Previous(DayOfWeek(dayName));
}

// ---- printing ----

void TDate::_format(char* buffer, unsigned size) const
{
    buffer[0] = '\0';
    if (!IsValid())
        return;
    unsigned month, day, year;
    Mdy(month, day, year);
    const char* name = MonthName(month);
    switch (PrintOption) {
    case LongDate:
        std::snprintf(buffer, size, "%s %u, %u", name, day, year);
        break;
    case DayDashMon:
        std::snprintf(buffer, size, "%2u-%.3s-%.2u", day, name, year % 100);
        break;
    case NumericMDY:
        std::snprintf(buffer, size, "%u/%u/%u", month, day, year % 100);
        break;
    case NumericDMY:
        std::snprintf(buffer, size, "%u/%u/%u", day, month, year % 100);
        break;
    case LongDayFirst:
        std::snprintf(buffer, size, "%u %s %u", day, name, year);
        break;
    }
}

zstring TDate::AsString() const
{
    char buffer[80];
    _format(buffer, sizeof buffer);
    return zstring(buffer);
}

std::ostream& operator<<(std::ostream& os, const TDate& date)
{
    char buffer[80];
    date._format(buffer, sizeof buffer);
    return os << buffer;
}

// ---- TTime ----

// Built from raw day numbers so that they are ready before any other file's
// static objects run: TDate(0, 0) and TDate(49709, 0).
const TDate TTime::RefDate(kFirstDay1901);
const TDate TTime::MaxDate(kFirstDay1901 + 49709);

uint32_t TTime::BuildLocal(const TDate& date, unsigned hour)
{
    return (date.m_julian * 24 + hour) * 3600 - RefDate.m_julian * kSecondsPerDay +
           zone_west();
}

uint32_t TTime::BeginDST(unsigned year)
{
    const unsigned sunday = 7;
    if (year >= 1987) {  // first Sunday of April
        TDate firstSunday = TDate(31, 3, year).Previous(sunday);
        firstSunday += 7;
        return BuildLocal(firstSunday, 2);
    }
    // The energy crisis years started early.
    if (year == 1974)
        return BuildLocal(TDate(6, 1, 1974), 2);
    if (year == 1975)
        return BuildLocal(TDate(23, 2, 1975), 2);
    return BuildLocal(TDate(30, 4, year).Previous(sunday), 2);
}

uint32_t TTime::EndDST(unsigned year)
{
    return BuildLocal(TDate(31, 10, year).Previous(7u), 1);
}

int TTime::AssertDate(const TDate& date)
{
    return date.Between(RefDate, MaxDate);
}

// The clock's own count, not the wall time read back through this class's
// rule: that reading is off by an hour in the doubled autumn hour and
// wherever the platform keeps daylight time by another rule.
TTime::TTime() : m_seconds(static_cast<uint32_t>(std::time(nullptr) + kSecondsTo1970)) {}

TTime::TTime(unsigned hour, unsigned minute, unsigned second)
{
    _build(TDate(), hour, minute, second);
}

TTime::TTime(const TDate& date, unsigned hour, unsigned minute, unsigned second)
{
    _build(date, hour, minute, second);
}

// First read the wall time as daylight time, then settle the two hours a
// year where that reading is wrong: the doubled autumn hour takes its
// standard-time reading and the skipped spring hour has none (0).
void TTime::_build(const TDate& date, unsigned hour, unsigned minute, unsigned second)
{
    m_seconds = 0;
    if (!date.IsValid())
        return;
    uint32_t s0 = ((date.m_julian * 24 + hour) * 60 + minute) * 60 + second -
                  RefDate.m_julian * kSecondsPerDay - 3600;
    if (s0 != 0)
        s0 += zone_west();
    int laterIsDST = TTime(s0 + 3600).IsDST();
    if (TTime(s0).IsDST())
        m_seconds = laterIsDST ? s0 : s0 + 3600;
    else
        m_seconds = laterIsDST ? 0 : s0 + 3600;
}

int TTime::IsDST() const
{
    if (!zone_keeps_daylight(m_seconds))
        return 0;
    unsigned year = TDate(m_seconds / kSecondsPerDay, 0u).Year();
    return BeginDST(year) <= m_seconds && m_seconds < EndDST(year);
}

// The change bounds are GMT counts, so daylight time is decided on this
// time's own count before the zone's offset is taken off.
uint32_t TTime::LocalSecs() const
{
    uint32_t local = m_seconds - zone_west();
    if (IsDST())
        local += 3600;
    return local;
}

unsigned TTime::Hour() const
{
    return LocalSecs() % kSecondsPerDay / 3600;
}

unsigned TTime::Minute() const
{
    return LocalSecs() % kSecondsPerDay % 3600 / 60;
}

unsigned TTime::HourGMT() const
{
    return m_seconds % kSecondsPerDay / 3600;
}

unsigned TTime::MinuteGMT() const
{
    return m_seconds % kSecondsPerDay % 3600 / 60;
}

unsigned TTime::Second() const
{
    return m_seconds % 60;
}
