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
    if (!event.ParseEventTime(text))
        return -2;
    return event.Time().ToSeconds();
}

TEST_F(EventTimeTest, SetDateChecksInOrderAndKeepsWhatPassed)
{
    EventTime time(989433000);  // 05/09/2001 14:30 EDT
    zstring message("old");

    EXPECT_EQ(0, time.SetDate(1969, 1, 1, message));
    EXPECT_STREQ("Year is less than 1970", message.c_str());
    EXPECT_EQ(101, time.Fields().tm_year);  // nothing stored

    EXPECT_EQ(0, time.SetDate(2010, 0, 1, message));
    EXPECT_STREQ("Month is ZERO.", message.c_str());
    EXPECT_EQ(110, time.Fields().tm_year);  // the year already stored
    EXPECT_EQ(4, time.Fields().tm_mon);

    EXPECT_EQ(0, time.SetDate(2011, 13, 1, message));
    EXPECT_STREQ("Month is greater than 12", message.c_str());
    EXPECT_EQ(0, time.SetDate(2011, -1, 1, message));
    EXPECT_STREQ("Month is greater than 12", message.c_str());

    EXPECT_EQ(0, time.SetDate(2012, 2, 0, message));
    EXPECT_STREQ("Day is ZERO.", message.c_str());
    EXPECT_EQ(1, time.Fields().tm_mon);
    EXPECT_EQ(9, time.Fields().tm_mday);
    EXPECT_EQ(0, time.SetDate(2012, 2, 32, message));
    EXPECT_STREQ("Day of month is greater than 31", message.c_str());
    EXPECT_EQ(0, time.SetDate(2012, 2, -3, message));
    EXPECT_STREQ("Day of month is greater than 31", message.c_str());

    // The year check is unsigned: a negative year passes it (the typed
    // form never gives one).
    EXPECT_EQ(1, time.SetDate(-1, 1, 1, message));
    EXPECT_EQ(-1901, time.Fields().tm_year);
    EXPECT_EQ(-1, time.ToSeconds());

    EventTime clock;
    EXPECT_EQ(0u, clock.IsValid());
    EXPECT_EQ(1, clock.SetDate(2012, 2, 31, message));
    EXPECT_STREQ("", message.c_str());
    EXPECT_EQ(1u, clock.IsValid());
    EXPECT_EQ(31, clock.Fields().tm_mday);
}

TEST_F(EventTimeTest, ConstructionCopyAndSetTime)
{
    EventTime from_count(989433005);
    EXPECT_EQ(1u, from_count.IsValid());
    EXPECT_EQ(5, from_count.Fields().tm_sec);
    EXPECT_EQ(30, from_count.Fields().tm_min);
    EXPECT_EQ(14, from_count.Fields().tm_hour);
    EXPECT_EQ(9, from_count.Fields().tm_mday);
    EXPECT_EQ(4, from_count.Fields().tm_mon);
    EXPECT_EQ(101, from_count.Fields().tm_year);
    EXPECT_EQ(3, from_count.Fields().tm_wday);
    EXPECT_EQ(1, from_count.Fields().tm_isdst);
    EXPECT_EQ(989433005, from_count.ToSeconds());

    const int64_t before = EventTime::Now();
    EventTime clock;
    const int64_t after = EventTime::Now();
    EXPECT_EQ(0u, clock.IsValid());
    EXPECT_GE(clock.ToSeconds(), before);
    EXPECT_LE(clock.ToSeconds(), after);

    EventTime copy(clock);
    EXPECT_EQ(0u, copy.IsValid());
    copy = from_count;
    EXPECT_EQ(1u, copy.IsValid());
    EXPECT_EQ(989433005, copy.ToSeconds());

    clock.SetTime(25, 70, 0);  // unchecked: carries over when converted
    EXPECT_EQ(1u, clock.IsValid());
    EXPECT_EQ(25, clock.Fields().tm_hour);
    EXPECT_EQ(70, clock.Fields().tm_min);
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
    EXPECT_EQ(1143961200, TypedSeconds("04/02/2006 02:30"));
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
}

TEST_F(EventTimeTest, ATypedTimeDoesNotKeepTheClocksDaylightFlag)
{
    // The dialog opens on a summer reading and a winter date is typed in,
    // and the reverse: each gets its own season's offset.
    AlarmEvent winter;
    winter.SetEventTime(EventTime(1183564800));  // 07/04/2007 12:00 EDT
    ASSERT_EQ(1, winter.Time().Fields().tm_isdst);
    ASSERT_EQ(1, winter.ParseEventTime("01/15/2007 12:00"));
    EXPECT_EQ(1168880400, winter.Time().ToSeconds());

    AlarmEvent summer;
    summer.SetEventTime(EventTime(1168880400));
    ASSERT_EQ(0, summer.Time().Fields().tm_isdst);
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
    EXPECT_EQ(38 + 100, EventTime(2147619600).Fields().tm_year);
    // The last hour that converts everywhere, and the first that does not.
    EXPECT_EQ(32535212400, TypedSeconds("12/31/3000 18:00"));
    EXPECT_EQ(-2, TypedSeconds("12/31/3000 19:00"));
    EXPECT_EQ(-2, TypedSeconds("01/01/3001 00:00"));
    EXPECT_EQ(-2, TypedSeconds("12/31/9999 23:59"));
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
