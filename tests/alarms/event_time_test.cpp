#include "alarms/event_time.h"

#include <gtest/gtest.h>

#include "alarms/alarm_event.h"
#include "base/zstring.h"
#include "tests/alarms/alarm_test_support.h"

namespace {

using EventTimeTest = AlarmTest;

// The second count of a typed "MM/DD/YYYY HH:MM", or -2 when refused.
int64_t TypedSeconds(const char* text)
{
    AlarmEvent event;
    return event.ParseEventTime(text) ? event.Time().ToSeconds() : -2;
}

TEST_F(EventTimeTest, AClockReadingIsValidOnceADateIsStored)
{
    const int64_t before = EventTime::Now();
    EventTime clock;
    EXPECT_EQ(0u, clock.IsValid());
    EXPECT_GE(clock.ToSeconds(), before);
    EXPECT_LE(clock.ToSeconds(), EventTime::Now());
    zstring message("old");
    EXPECT_EQ(0, clock.SetDate(2012, 2, 32, message));
    EXPECT_STREQ("Day of month is greater than 31", message.c_str());
    EXPECT_EQ(0u, clock.IsValid());
    EXPECT_EQ(1, clock.SetDate(2012, 2, 31, message));
    EXPECT_STREQ("", message.c_str());
    EXPECT_EQ(1u, clock.IsValid());
}

TEST_F(EventTimeTest, TypedTimesTakeTheZonesOffsetUnderBothRules)
{
    // Mid-March: standard time in 2006, daylight time from 2007 on.
    EXPECT_EQ(1142442000, TypedSeconds("03/15/2006 12:00"));
    EXPECT_EQ(1173974400, TypedSeconds("03/15/2007 12:00"));
    // 1 April 2007 lies after the new spring change but before the old one.
    EXPECT_EQ(1175409000, TypedSeconds("04/01/2007 02:30"));
    EXPECT_EQ(1142062200, TypedSeconds("03/11/2006 02:30"));
    // The skipped hour: the first real instant after it, 03:00 daylight time.
    EXPECT_EQ(1143961200, TypedSeconds("04/02/2006 02:00"));
    EXPECT_EQ(1143961200, TypedSeconds("04/02/2006 02:59"));
    EXPECT_EQ(1173596400, TypedSeconds("03/11/2007 02:30"));
    EXPECT_EQ(1173596400 - 60, TypedSeconds("03/11/2007 01:59"));
    EXPECT_EQ(1173596400 + 60, TypedSeconds("03/11/2007 03:01"));
    // The repeated hour: its first pass, still in daylight time.
    EXPECT_EQ(1162099800, TypedSeconds("10/29/2006 01:30"));
    EXPECT_EQ(1194154200, TypedSeconds("11/04/2007 01:30"));
    EXPECT_EQ(1194154200 + 1800 + 3600, TypedSeconds("11/04/2007 02:00"));
    // The old autumn change no longer applies in 2007, the new one not in 2006.
    EXPECT_EQ(1193549400, TypedSeconds("10/28/2007 01:30"));
    EXPECT_EQ(1162708200, TypedSeconds("11/05/2006 01:30"));

    // The dialog opens on a summer reading and a winter date is typed in,
    // and the reverse: each gets its own season's offset.
    AlarmEvent winter;
    winter.SetEventTime(EventTime(1183564800));  // 07/04/2007 12:00 EDT
    ASSERT_EQ(1, winter.ParseEventTime("01/15/2007 12:00"));
    EXPECT_EQ(1168880400, winter.Time().ToSeconds());
    AlarmEvent summer;
    summer.SetEventTime(EventTime(1168880400));
    ASSERT_EQ(1, summer.ParseEventTime("07/04/2007 12:00"));
    EXPECT_EQ(1183564800, summer.Time().ToSeconds());
}

TEST_F(EventTimeTest, IsLaterThanComparesInstantsNotWallReadings)
{
    AlarmEvent typed;
    ASSERT_EQ(1, typed.ParseEventTime("11/04/2007 01:30"));
    const EventTime second_pass(1194157800);  // 01:30 again, in standard time
    EXPECT_EQ(1, second_pass.IsLaterThan(typed.Time()));
    EXPECT_EQ(0, typed.Time().IsLaterThan(second_pass));
    EXPECT_EQ(0, second_pass.IsLaterThan(EventTime(1194157800)));  // equal is not later
    EXPECT_EQ(1, EventTime(1194157801).IsLaterThan(second_pass));
    // Comparing converts copies: the fields stay as typed.
    EXPECT_EQ(-1, typed.Time().Fields().tm_isdst);
}

TEST_F(EventTimeTest, SixtyFourBitTimeUpToTheYear3000)
{
    EXPECT_EQ(2147619600, TypedSeconds("01/20/2038 12:00"));
    EXPECT_EQ(2147619600, EventTime(2147619600).ToSeconds());
    EXPECT_EQ(138, EventTime(2147619600).Fields().tm_year);
    // The last hour that converts everywhere, and the first that does not.
    EXPECT_EQ(32535212400, TypedSeconds("12/31/3000 18:00"));
    EXPECT_EQ(-2, TypedSeconds("12/31/3000 19:00"));
    // The first typed minute in this zone is 1970's own.
    EXPECT_EQ(18000, TypedSeconds("01/01/1970 00:00"));
    // Fields no conversion can reach.
    EventTime far(1168880400);
    zstring message;
    ASSERT_EQ(1, far.SetDate(2147483647, 12, 31, message));
    EXPECT_EQ(-1, far.ToSeconds());
    EXPECT_EQ(1, EventTime(1168880400).IsLaterThan(far));
}

}  // namespace
