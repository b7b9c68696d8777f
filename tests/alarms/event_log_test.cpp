#include "alarms/event_log.h"

#include <gtest/gtest.h>

#include <string>

#include "alarms/alarm_event.h"
#include "alarms/event_time.h"
#include "tests/alarms/alarm_test_support.h"

namespace {

using EventLogTest = AlarmTest;

std::string Line(int64_t when, const char* text)
{
    return FormatLogLine(EventTime(when), text).c_str();
}

TEST_F(EventLogTest, TheLineIsTheStampAndTheQuotedTextWithEachBreakOneCrLf)
{
    const std::string stamp = "05/09/01  14:30:05    ";  // 989433005 in EST5EDT
    const std::pair<const char*, std::string> lines[] = {
        {"This is a reminder!", "\"This is a reminder!\"\r\n"},
        {"", "\"\"\r\n"},
        {"say \"hi\" \"\"", "\"say \"hi\" \"\"\"\r\n"},  // quotes go in as they are
        {"one\r\ntwo\n\r\nthree", "\"one\r\ntwo\r\n\r\nthree\"\r\n"},  // never CR CR LF
        {"\nx\n", "\"\r\nx\r\n\"\r\n"},
    };
    for (const auto& line : lines)
        EXPECT_EQ(stamp + line.second, Line(989433005, line.first));
    // Midnight, a single-digit month and day, the two-digit years 2000 and 2038.
    EXPECT_EQ("01/02/00  00:00:00    \"x\"\r\n", Line(946789200, "x"));
    EXPECT_EQ("12/31/38  23:59:59    \"x\"\r\n", Line(2177470799, "x"));
}

TEST_F(EventLogTest, EntriesAreAppendedWithTheTimeOfWritingOrReportAFailure)
{
    AlarmEvent event;
    event.SetMessage("line one\nline \"two\"");
    // The stamp is the clock's local time, to the second (retried across a
    // second's change).
    for (int attempt = 0; attempt < 3; ++attempt) {
        WriteBytes("ORVLS.TXT", "earlier entry\r\n");
        const int64_t before = EventTime::Now();
        ASSERT_EQ(1, LogEvent(event, "ORVLS.TXT"));
        ASSERT_EQ(1, LogText(event, "ORVLS.TXT", "STARTED OKAY: notepad"));
        if (EventTime::Now() != before)
            continue;
        EXPECT_EQ("earlier entry\r\n" + Line(before, "line one\r\nline \"two\"") +
                      Line(before, "STARTED OKAY: notepad"),
                  ReadBytes("ORVLS.TXT"));
        break;
    }

    EXPECT_EQ(0, LogEvent(event, "no_such_folder/ORVLS.TXT"));
    EXPECT_FALSE(fs::exists("no_such_folder"));
    fs::create_directory("taken");
    EXPECT_EQ(0, LogText(event, "taken", "x"));
    EXPECT_EQ(0, LogText(event, "", "x"));
    EXPECT_TRUE(fs::is_directory("taken"));
}

}  // namespace
