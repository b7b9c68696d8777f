#include "base/tdate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>

namespace {

const uint32_t kUnixEpochSeconds = 2177452800u;  // 1 Jan 1970 in seconds since 1901

void put_zone(const char* zone)  // null removes TZ
{
#if defined(_WIN32)
    _putenv((std::string("TZ=") + (zone ? zone : "")).c_str());
    _tzset();
#else
    if (zone)
        setenv("TZ", zone, 1);
    else
        unsetenv("TZ");
    tzset();
#endif
}

// Sets the time zone for one test and puts the previous one back.
// honoured() tells whether the C runtime took the zone's offset.
class ZoneScope {
public:
    ZoneScope(const char* zone, long expectedOffset)
    {
        const char* old = std::getenv("TZ");
        m_hadZone = old != nullptr;
        m_oldZone = old ? old : "";
        put_zone(zone);
#if defined(_WIN32)
        m_honoured = _timezone == expectedOffset;
#else
        m_honoured = timezone == expectedOffset;
#endif
    }
    ~ZoneScope() { put_zone(m_hadZone ? m_oldZone.c_str() : nullptr); }
    bool honoured() const { return m_honoured; }

private:
    std::string m_oldZone;
    bool m_hadZone;
    bool m_honoured;
};

#define REQUIRE_ZONE(scope) \
    if (!(scope).honoured()) \
    GTEST_SKIP() << "the C runtime ignored TZ; zone-dependent checks cannot run here"

std::string printed(const TDate& date, TDate::HowToPrint option)
{
    TDate::HowToPrint old = TDate::SetPrintOption(option);
    std::ostringstream out;
    out << date;
    EXPECT_EQ(out.str(), date.AsString().c_str());
    TDate::SetPrintOption(old);
    return out.str();
}

TDate parsed(const std::string& text, std::ios::iostate* state = nullptr)
{
    std::istringstream in(text);
    TDate date(in);
    if (state)
        *state = in.rdstate();
    return date;
}

}  // namespace

TEST(TDate, JulianDayNumbersAtKnownDates)
{
    EXPECT_EQ(2415386u, TDate::Jday(1, 1, 1901));
    EXPECT_EQ(2415385u, TDate::Jday(12, 31, 1900));
    EXPECT_EQ(2440588u, TDate::Jday(1, 1, 1970));
    EXPECT_EQ(2465095u, TDate::Jday(2, 5, 2037));
    EXPECT_EQ(1757585u, TDate::Jday(1, 1, 100));
    EXPECT_EQ(TDate::Jday(1, 1, 1999), TDate::Jday(1, 1, 99));
    EXPECT_EQ(TDate(1, 1, 1901), TDate(0u, 0u));
    EXPECT_EQ(TDate(31, 12, 2000), TDate(366u, 2000u));
    EXPECT_EQ(366u, TDate(31, 12, 2000).Day());
}

TEST(TDate, LeapYearsAndInvalidDates)
{
    EXPECT_EQ(0, TDate::LeapYear(1900));
    EXPECT_EQ(1, TDate::LeapYear(2000));
    EXPECT_EQ(0u, TDate::Jday(2, 29, 1900));
    EXPECT_NE(0u, TDate::Jday(2, 29, 2000));
    EXPECT_EQ(0u, TDate::Jday(2, 29, 0));  // year 0 is 1900
    EXPECT_EQ(0u, TDate::Jday(2, 30, 2000));
    EXPECT_FALSE(TDate(1, "Smarch", 2001).IsValid());
    EXPECT_EQ(2u, TDate(1, 3, 2000) - TDate(28, 2, 2000));
}

// Walks every day from 1800 to 2100 beside a calendar kept by hand.
TEST(TDate, DayNumbersRoundTripThroughTheCalendar)
{
    const unsigned lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    unsigned year = 1800, month = 1, day = 1;
    for (uint32_t julian = TDate::Jday(1, 1, 1800); year <= 2100; ++julian) {
        TDate date(day, month, year);
        ASSERT_EQ(julian, date.Hash()) << month << "/" << day << "/" << year;
        ASSERT_EQ(year, date.Year());
        ASSERT_EQ(month, date.Month());
        ASSERT_EQ(day, date.DayOfMonth());
        if (++day > lengths[month - 1] + (month == 2 && TDate::LeapYear(year))) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    }
}

TEST(TDate, NameLookupByPrefixFromTheLastName)
{
    const struct { const char* text; unsigned month, weekDay; } cases[] = {
        {"ma", 5, 0}, {"Mar", 3, 0}, {"", 12, 7}, {"Smarch", 0, 0}, {"JU", 7, 0},
        {"s", 9, 7}, {"Decembers", 0, 0}, {"T", 0, 4}, {"x", 0, 0}, {nullptr, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.month, TDate::IndexOfMonth(c.text)) << (c.text ? c.text : "null");
        EXPECT_EQ(c.weekDay, TDate::DayOfWeek(c.text)) << (c.text ? c.text : "null");
    }
    EXPECT_STREQ("December", TDate::MonthName(12));
    EXPECT_EQ(nullptr, TDate::MonthName(0));
    EXPECT_EQ(nullptr, TDate::MonthName(13));
    EXPECT_EQ(nullptr, TDate::DayName(0));
    EXPECT_EQ(nullptr, TDate::DayName(8));
}

TEST(TDate, WeekDaysAndPrevious)
{
    EXPECT_EQ(2u, TDate(0u, 0u).WeekDay());
    EXPECT_EQ(4u, TDate(1, 1, 1970).WeekDay());
    TDate sunday(2, 1, 2000);
    EXPECT_EQ(7u, sunday.WeekDay());
    EXPECT_EQ(sunday, sunday.Previous(7));
    EXPECT_EQ(TDate(1, 1, 2000), sunday.Previous("Sat"));
    EXPECT_EQ(TDate(27, 12, 1999), sunday.Previous(1));
    EXPECT_FALSE(sunday.Previous(0u).IsValid());
    EXPECT_FALSE(sunday.Previous(8u).IsValid());
    EXPECT_FALSE(sunday.Previous("Smarch").IsValid());
    EXPECT_FALSE(TDate(30, 2, 2001).Previous(1).IsValid());

    TDate leap(15, 7, 2000), common(15, 7, 2001);
    EXPECT_EQ(32u, leap.FirstDayOfMonth(2));
    EXPECT_EQ(61u, leap.FirstDayOfMonth(3));
    EXPECT_EQ(60u, common.FirstDayOfMonth(3));
    EXPECT_EQ(183u, leap.FirstDayOfMonth());
    EXPECT_EQ(0u, leap.FirstDayOfMonth(13));
}

TEST(TDate, ParsesTheThreeShapes)
{
    EXPECT_EQ(TDate(31, 12, 1999), parsed("12/31/1999\n"));
    EXPECT_EQ(TDate(31, 12, 1999), parsed("12/31/1999"));  // the year ends the input
    EXPECT_EQ(TDate(5, 1, 1901), parsed("1-5-01\n"));  // two-digit years are 1900s
    EXPECT_EQ(TDate(5, 1, 2001), parsed("jan 5, 2001\n"));
    EXPECT_EQ(TDate(5, 1, 2001), parsed("5 January 2001\n"));
    EXPECT_EQ(TDate(5, 5, 2001), parsed("(5) ma, 2001\n"));

    std::istringstream two("  1/2/2001 ** 3.4.2002 rest");
    EXPECT_EQ(TDate(2, 1, 2001), TDate(two));
    EXPECT_EQ(TDate(4, 3, 2002), TDate(two));
    std::string rest;
    two >> rest;
    EXPECT_EQ("rest", rest);
}

TEST(TDate, ParseFailuresLeaveZero)
{
    std::ios::iostate state;
    for (const char* text : {"Feb 30 2001", "Smarch 5 2001\n", "99999999999 5 2001\n",
                             "12/31/99999999999"}) {
        EXPECT_FALSE(parsed(text, &state).IsValid()) << text;
        EXPECT_EQ(std::ios::badbit, state) << text;
    }
    // Input ending before the day: date 0, end of input, not bad.
    for (const char* text : {"", " , ", "12", "12/31"}) {
        EXPECT_FALSE(parsed(text, &state).IsValid()) << text;
        EXPECT_TRUE(state & std::ios::eofbit) << text;
        EXPECT_FALSE(state & std::ios::badbit) << text;
    }

    // Ten letters are read; the other five stay for the next reader.
    std::istringstream in("Septemberrrrrrr 5 2001\n");
    EXPECT_FALSE(TDate(in).IsValid());
    EXPECT_EQ(std::ios::badbit, in.rdstate());
    in.clear();
    std::string rest;
    in >> rest;
    EXPECT_EQ("rrrrr", rest);

    std::istringstream failed("1/5/2001\n");
    failed.setstate(std::ios::failbit);
    EXPECT_FALSE(TDate(failed).IsValid());
    EXPECT_EQ(std::ios::badbit, failed.rdstate());
}

TEST(TDate, PrintsTheFiveForms)
{
    TDate fifth(5, 1, 2001), last(31, 12, 1999);
    EXPECT_EQ("January 5, 2001", printed(fifth, TDate::LongDate));
    EXPECT_EQ(" 5-Jan-01", printed(fifth, TDate::DayDashMon));
    EXPECT_EQ("1/5/1", printed(fifth, TDate::NumericMDY));
    EXPECT_EQ("5/1/1", printed(fifth, TDate::NumericDMY));
    EXPECT_EQ("5 January 2001", printed(fifth, TDate::LongDayFirst));
    EXPECT_EQ("31-Dec-99", printed(last, TDate::DayDashMon));
    EXPECT_EQ("", printed(fifth, static_cast<TDate::HowToPrint>(5)));
    EXPECT_EQ("", printed(fifth, static_cast<TDate::HowToPrint>(-1)));
    EXPECT_EQ("", printed(TDate(30, 2, 2001), TDate::LongDate));

    EXPECT_EQ(TDate::LongDate, TDate::SetPrintOption(TDate::NumericDMY));
    EXPECT_EQ(TDate::NumericDMY, TDate::SetPrintOption(TDate::LongDate));

    // The long forms read back.
    EXPECT_EQ(last, parsed(printed(last, TDate::LongDate) + "\n"));
    EXPECT_EQ(last, parsed(printed(last, TDate::LongDayFirst) + "\n"));
}

TEST(TTime, ReferenceDates)
{
    EXPECT_EQ(2415386u, TTime::RefDate.Hash());
    EXPECT_EQ(TDate(49709u, 0u), TTime::MaxDate);
    TDate before = TTime::RefDate, after = TTime::MaxDate;
    EXPECT_EQ(1, TTime::AssertDate(TTime::MaxDate));
    EXPECT_EQ(0, TTime::AssertDate(--before));
    EXPECT_EQ(0, TTime::AssertDate(++after));
    EXPECT_EQ(-1, TTime(5).CompareTo(TTime(6)));
    EXPECT_EQ(-1, TDate(1, 1, 2000).CompareTo(TDate(2, 1, 2000)));
    EXPECT_FALSE(TTime(TDate(30, 2, 2001), 12, 0, 0).IsValid());
}

// Literal GMT second counts of 2:00 EST (begin) and 1:00 EST (end).
TEST(TTime, DaylightSavingChangesInEastern)
{
    ZoneScope zone("EST5EDT", 18000);
    REQUIRE_ZONE(zone);
    const struct { unsigned year; uint32_t begin, end; } years[] = {
        {1974, 2304140400u, 2329538400u},   // 6 Jan
        {1975, 2339823600u, 2360988000u},   // 23 Feb
        {1986, 2692422000u, 2708143200u},   // last Sunday of April
        {1987, 2722057200u, 2739592800u},   // first Sunday of April
        {2000, 3132111600u, 3150252000u}};  // 2 Apr, 29 Oct
    for (const auto& y : years) {
        EXPECT_EQ(y.begin, TTime::BeginDST(y.year)) << y.year;
        EXPECT_EQ(y.end, TTime::EndDST(y.year)) << y.year;
    }
    uint32_t begin = TTime::BeginDST(2000), end = TTime::EndDST(2000);
    EXPECT_EQ(0, TTime(begin - 1).IsDST());
    EXPECT_EQ(1, TTime(begin).IsDST());
    EXPECT_EQ(1, TTime(end - 1).IsDST());
    EXPECT_EQ(0, TTime(end).IsDST());
}

TEST(TTime, SkippedAndDoubledHours)
{
    ZoneScope zone("EST5EDT", 18000);
    REQUIRE_ZONE(zone);
    TDate spring(2, 4, 2000), autumn(29, 10, 2000);
    EXPECT_EQ(3132109800u, TTime(spring, 1, 30, 0).Seconds());
    EXPECT_EQ(0u, TTime(spring, 2, 0, 0).Seconds());  // no such time
    EXPECT_EQ(0u, TTime(spring, 2, 30, 0).Seconds());
    EXPECT_EQ(3132113400u, TTime(spring, 3, 30, 0).Seconds());
    EXPECT_EQ(3150246600u, TTime(autumn, 0, 30, 0).Seconds());  // EDT
    EXPECT_EQ(3150253800u, TTime(autumn, 1, 30, 0).Seconds());  // EST reading
    EXPECT_EQ(3150257400u, TTime(autumn, 2, 30, 0).Seconds());
}

TEST(TTime, LocalAndGmtFields)
{
    ZoneScope zone("EST5EDT", 18000);
    REQUIRE_ZONE(zone);
    TTime summer(TDate(4, 7, 2000), 12, 0, 0);
    EXPECT_EQ(3140179200u, summer.Seconds());
    EXPECT_EQ(12u, summer.Hour());
    EXPECT_EQ(16u, summer.HourGMT());
    TTime winter(TDate(15, 1, 2000), 12, 34, 56);
    EXPECT_EQ(3125410496u, winter.Seconds());
    EXPECT_EQ(12u, winter.Hour());
    EXPECT_EQ(17u, winter.HourGMT());
    EXPECT_EQ(34u, winter.Minute());
    EXPECT_EQ(56u, winter.Second());

    // Late evening is already the next day in GMT but not locally.
    TTime late(TDate(4, 7, 2000), 23, 30, 0);
    EXPECT_EQ(TDate(4, 7, 2000), TDate(late));
    EXPECT_EQ(3u, late.HourGMT());
    EXPECT_FALSE(TDate(TTime(0u)).IsValid());

    // The last evening of the range still fits in 32 bits.
    TTime last(TTime::MaxDate, 23, 59, 59);
    EXPECT_EQ(4294961999u, last.Seconds());
    EXPECT_EQ(TTime::MaxDate, TDate(last));
}

TEST(TTime, ZonesWithoutDaylightTimeAndEastOfGmt)
{
    {
        ZoneScope zone("UTC0", 0);
        REQUIRE_ZONE(zone);
        TTime summer(TDate(4, 7, 2000), 12, 0, 0);
            EXPECT_EQ(12u, summer.HourGMT());
        EXPECT_EQ(12u, summer.Hour());
        // Now, against the C clock.
        uint32_t expected = static_cast<uint32_t>(std::time(nullptr)) + kUnixEpochSeconds;
        uint32_t now = TTime().Seconds();
        EXPECT_LE(expected, now);
        EXPECT_LE(now - expected, 2u);
        EXPECT_EQ(TDate(TTime(now)), TDate());
    }
    // West of GMT is negative here; the unsigned arithmetic must undo it.
    ZoneScope zone("CET-1CEST", -3600);
    REQUIRE_ZONE(zone);
    TTime winter(TDate(15, 1, 2000), 12, 0, 0);
    EXPECT_EQ(11u, winter.HourGMT());
    EXPECT_EQ(12u, winter.Hour());
    TTime summer(TDate(4, 7, 2000), 12, 0, 0);
    EXPECT_EQ(10u, summer.HourGMT());
    EXPECT_EQ(12u, summer.Hour());
}
