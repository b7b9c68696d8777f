#include "alarms/event_time.h"

#include <gtest/gtest.h>

#include "alarms/alarm_event.h"
#include "base/zstring.h"

namespace {

// The second count of a typed "MM/DD/YYYY HH:MM" in EST5EDT, or -2 when refused.
int64_t TypedSeconds(const char* text)
{
    AlarmEvent event;
    return event.ParseEventTime(text) ? event.Time().ToSeconds() : -2;
}

TEST(EventTimeTest, TypedTimesTakeTheDaylightRuleOfTheirYear)
{
    const std::pair<const char*, int64_t> times[] = {
        {"03/15/2006 12:00", 1142442000},  // standard time under the old rule
        {"03/15/2007 12:00", 1173974400},  // daylight time under the new
        {"04/01/2007 02:30", 1175409000},
        {"04/02/2006 02:30", 1143961200},  // the skipped hour: 03:00 daylight time
        {"03/11/2007 02:30", 1173596400},
        {"03/11/2007 01:59", 1173596400 - 60},
        {"10/29/2006 01:30", 1162099800},  // the repeated hour: its first pass
        {"11/04/2007 01:30", 1194154200},
        {"10/28/2007 01:30", 1193549400},  // the old autumn change gone in 2007
        {"11/05/2006 01:30", 1162708200},  // the new one not yet in 2006
        {"01/01/1970 00:00", 18000},
        {"01/20/2038 12:00", 2147619600},  // past 32 bits
        {"12/31/3000 18:00", 32535212400},
        {"12/31/3000 19:00", -2},
    };
    for (const auto& time : times)
        EXPECT_EQ(time.second, TypedSeconds(time.first)) << time.first;

    // Typed over a reading of the other season, each gets its own offset.
    AlarmEvent winter;
    winter.SetEventTime(EventTime(1183564800));  // 07/04/2007 12:00 EDT
    ASSERT_EQ(1, winter.ParseEventTime("01/15/2007 12:00"));
    EXPECT_EQ(1168880400, winter.Time().ToSeconds());
    EXPECT_EQ(138, EventTime(2147619600).Fields().tm_year);
}

TEST(EventTimeTest, FieldsNoConversionReachesAreNeverLater)
{
    EventTime far(1168880400);
    zstring message;
    EXPECT_EQ(0, far.SetDate(2012, 2, 32, message));
    EXPECT_STREQ("Day of month is greater than 31", message.c_str());
    ASSERT_EQ(1, far.SetDate(2147483647, 12, 31, message));
    EXPECT_EQ(-1, far.ToSeconds());
    EXPECT_EQ(1, EventTime(1168880400).IsLaterThan(far));
    EXPECT_EQ(0, EventTime(5).IsLaterThan(EventTime(5)));
}

}  // namespace
