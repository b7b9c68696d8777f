#include "base/tdate.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>

namespace {

// Sets TZ for one scope and puts the previous one back; honoured when the C runtime took the offset.
struct ZoneScope {
    static bool put(const char* zone, long west_seconds)
    {
#if defined(_WIN32)
        _putenv((std::string("TZ=") + (zone ? zone : "")).c_str());
        _tzset();
        return _timezone == west_seconds;
#else
        zone ? setenv("TZ", zone, 1) : unsetenv("TZ");
        tzset();
        return timezone == west_seconds;
#endif
    }
    ZoneScope(const char* zone, long west) : honoured(put(zone, west)) {}
    ~ZoneScope() { put(had ? old.c_str() : nullptr, 0); }
    const bool had = std::getenv("TZ") != nullptr;
    const std::string old = had ? std::getenv("TZ") : "";
    const bool honoured;
};

std::string printed(const TDate& date, TDate::HowToPrint option)
{
    TDate::HowToPrint old = TDate::SetPrintOption(option);
    std::ostringstream out;
    out << date;
    EXPECT_EQ(out.str(), date.AsString().c_str());
    TDate::SetPrintOption(old);
    return out.str();
}

std::string reading(const TTime& t)
{
    char text[48];
    std::snprintf(text, sizeof text, "%u %02u:%02u:%02u GMT %02u:%02u", unsigned(t.Seconds()),
                  t.Hour(), t.Minute(), t.Second(), t.HourGMT(), t.MinuteGMT());
    return text;
}

}  // namespace

TEST(TDate, DayNumbersRoundTripThroughTheCalendar)
{
    const unsigned lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    unsigned year = 1800, month = 1, day = 1;
    for (uint32_t julian = TDate::Jday(1, 1, 1800); year <= 2100; ++julian) {
        TDate date(day, month, year);
        ASSERT_EQ(julian, date.Hash()) << month << "/" << day << "/" << year;
        ASSERT_EQ(year * 10000 + month * 100 + day,
                  date.Year() * 10000 + date.Month() * 100 + date.DayOfMonth());
        if (++day > lengths[month - 1] + (month == 2 && TDate::LeapYear(year)))
            day = 1, year += month == 12, month = month % 12 + 1;
    }
    // Years up to 99 are 1900 to 1999.
    EXPECT_EQ(2451180u, TDate::Jday(1, 1, 99));
    EXPECT_EQ(1757585u, TDate::Jday(1, 1, 100));
    EXPECT_EQ(0u, TDate::Jday(2, 29, 1900));
}

TEST(TDate, NamesWeekDaysAndPrevious)
{
    const struct { const char* text; unsigned month, weekDay; } cases[] = {
        {"ma", 5, 0}, {"", 12, 7}, {"s", 9, 7}, {"Decembers", 0, 0}, {"T", 0, 4}, {nullptr, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.month, TDate::IndexOfMonth(c.text)) << (c.text ? c.text : "null");
        EXPECT_EQ(c.weekDay, TDate::DayOfWeek(c.text)) << (c.text ? c.text : "null");
    }
    TDate sunday(2, 1, 2000);
    EXPECT_EQ(TDate(27, 12, 1999), sunday.Previous("Mon"));
    EXPECT_FALSE(sunday.Previous(8u).IsValid() || sunday.Previous("Smarch").IsValid());
}

TEST(TDate, ParsesTheThreeShapesAndFailuresLeaveZero)
{
    std::istringstream several("12/31/1999 1-5-01 ** (5) ma, 2001 3.4.2002 rest");
    for (TDate expected : {TDate(31, 12, 1999), TDate(5, 1, 1901), TDate(5, 5, 2001),
                           TDate(4, 3, 2002)})
        EXPECT_EQ(expected, TDate(several));
    const auto bad = std::ios::badbit, ended = std::ios::eofbit;
    const struct { const char* text; std::ios::iostate state; } failures[] = {
        {"Feb 30 2001", bad}, {"Smarch 5 2001\n", bad}, {"99999999999 5 2001\n", bad},
        {"12/31/99999999999", bad}, {"", ended}, {"12/31", ended}};
    for (const auto& c : failures) {
        std::istringstream in(c.text);
        EXPECT_FALSE(TDate(in).IsValid()) << c.text;
        EXPECT_EQ(c.state, in.rdstate() & (bad | ended)) << c.text;
    }
}

TEST(TDate, PrintsTheFiveForms)
{
    TDate fifth(5, 1, 2001), last(31, 12, 1999);
    EXPECT_EQ(" 5-Jan-01", printed(fifth, TDate::DayDashMon));
    EXPECT_EQ("5/1/1", printed(fifth, TDate::NumericDMY));
    EXPECT_EQ("", printed(TDate(30, 2, 2001), TDate::LongDate));
    EXPECT_EQ("December 31, 1999", printed(last, TDate::LongDate));
    std::istringstream in(printed(last, TDate::LongDayFirst) + "\n");  // read back
    EXPECT_EQ(last, TDate(in));
}

TEST(TTime, WesternDaylightSavingAndLocalFields)
{
    ZoneScope zone("EST5EDT", 18000);
    if (!zone.honoured)
        GTEST_SKIP() << "the C runtime ignored TZ";
    // 2:00 EST on 6 Jan 1974; from 1987 the first Sunday of April.
    const uint32_t begin = TTime::BeginDST(2000), end = TTime::EndDST(2000);
    EXPECT_EQ(2304140400u, TTime::BeginDST(1974));
    EXPECT_EQ(3132111600u, begin);
    EXPECT_EQ(3150252000u, end);
    for (uint32_t second : {begin - 1, begin, end - 1, end})
        EXPECT_EQ(int(second >= begin && second < end), TTime(second).IsDST()) << second;

    // The skipped spring hour has no time; the doubled autumn one reads as EST.
    TDate spring(2, 4, 2000), autumn(29, 10, 2000);
    const struct { TDate date; unsigned hour; uint32_t seconds; } clocks[] = {
        {spring, 1, 3132109800u}, {spring, 2, 0}, {spring, 3, 3132113400u},
        {autumn, 1, 3150253800u}, {autumn, 2, 3150257400u}};
    for (const auto& c : clocks)
        EXPECT_EQ(c.seconds, TTime(c.date, c.hour, 30, 0).Seconds()) << c.hour;
    // Every wall time of the two days from each change reads back as itself.
    for (unsigned year = 1970; year <= 2006; ++year)
        for (uint32_t change : {TTime::BeginDST(year), TTime::EndDST(year)})
            for (unsigned hour = 0; hour < 48; ++hour) {
                const TDate date(change / 86400 + hour / 24, 0u);
                const TTime t(date, hour % 24, 30, 0);
                if (!t.IsValid())
                    continue;  // the skipped hour
                ASSERT_EQ(hour % 24 * 100 + 30, t.Hour() * 100 + t.Minute()) << t.Seconds();
                ASSERT_EQ(date, TDate(t)) << t.Seconds();
            }
    // Late evening is already the next day in GMT. The last evening of the range still fits in 32 bits; a day either side does not.
    TTime late(TDate(4, 7, 2000), 23, 30, 0), last(TTime::MaxDate, 23, 59, 59);
    EXPECT_EQ("3140220600 23:30:00 GMT 03:30", reading(late));
    EXPECT_EQ("4294961999 23:59:59 GMT 04:59", reading(last));
    EXPECT_EQ(TDate(4, 7, 2000), TDate(late));
    TDate before = TTime::RefDate, after = TTime::MaxDate;
    EXPECT_EQ(0, TTime::AssertDate(--before) + TTime::AssertDate(++after));
}

TEST(TTime, NowIsThePlatformClockWhateverTheDaylightRule)
{
    // Daylight time exactly when this class's rule says standard time.
#if defined(_WIN32)
    ZoneScope zone("AAA5BBB", 18000);
#else
    ZoneScope zone("AAA5BBB,M10.5.0/1,M4.1.0/3", 18000);
#endif
    if (!zone.honoured)
        GTEST_SKIP() << "the C runtime ignored TZ";
    const long long kSince1901 = 2177452800;  // 1 Jan 1901 to 1 Jan 1970
    const long long before = std::time(nullptr) + kSince1901;
    const long long now = TTime().Seconds();
    EXPECT_LE(before, now);
    EXPECT_LE(now, std::time(nullptr) + kSince1901);
}

TEST(TTime, ZoneThatNoLongerKeepsDaylightTime)
{
#if defined(_WIN32)
    ZoneScope zone("JST-9", -32400);
#else
    ZoneScope zone("Asia/Tokyo", -32400);  // daylight time until 1951
#endif
    if (!zone.honoured)
        GTEST_SKIP() << "the C runtime ignored TZ";
    EXPECT_EQ("3139873200 12:00:00 GMT 03:00", reading(TTime(TDate(1, 7, 2000), 12, 0, 0)));
}
