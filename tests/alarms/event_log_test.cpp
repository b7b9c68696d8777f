#include "alarms/event_log.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "alarms/alarm_event.h"
#include "alarms/event_time.h"
#include "tests/alarms/alarm_test_support.h"

namespace {

using EventLogTest = AlarmTest;

const char kStamp[] = "05/09/01  14:30:05    ";  // 989433005 in EST5EDT

std::string Line(const char* text)
{
    return FormatLogLine(EventTime(989433005), text).c_str();
}

TEST_F(EventLogTest, TheLineIsTheStampAndTheQuotedText)
{
    EXPECT_EQ(std::string(kStamp) + "\"This is a reminder!\"\r\n", Line("This is a reminder!"));
    EXPECT_EQ(22u, std::string(kStamp).size());
    EXPECT_EQ(std::string(kStamp) + "\"\"\r\n", Line(""));
    // Quotes go in as they are.
    EXPECT_EQ(std::string(kStamp) + "\"say \"hi\" \"\"\"\r\n", Line("say \"hi\" \"\""));
    // Several lines: each break is one CR LF, never CR CR LF.
    EXPECT_EQ(std::string(kStamp) + "\"one\r\ntwo\r\n\r\nthree\"\r\n",
              Line("one\r\ntwo\n\r\nthree"));
    EXPECT_EQ(std::string(kStamp) + "\"\r\nx\r\n\"\r\n", Line("\nx\n"));
    // Midnight, a single-digit month and day, and the two-digit year 2000.
    EXPECT_EQ("01/02/00  00:00:00    \"x\"\r\n",
              std::string(FormatLogLine(EventTime(946789200), "x").c_str()));
    EXPECT_EQ("12/31/38  23:59:59    \"x\"\r\n",
              std::string(FormatLogLine(EventTime(2177470799), "x").c_str()));
}

TEST_F(EventLogTest, EntriesAreAppendedWithTheTimeOfWriting)
{
    WriteBytes("ORVLS.TXT", "earlier entry\r\n");
    AlarmEvent event;
    event.SetMessage("line one\r\nline \"two\"");
    ASSERT_EQ(1, LogEvent(event, "ORVLS.TXT"));
    ASSERT_EQ(1, LogText(event, "ORVLS.TXT", "STARTED OKAY: notepad"));

    const std::string bytes = ReadBytes("ORVLS.TXT");
    const std::regex form(
        "earlier entry\r\n"
        "\\d\\d/\\d\\d/\\d\\d  \\d\\d:\\d\\d:\\d\\d    \"line one\r\nline \"two\"\"\r\n"
        "\\d\\d/\\d\\d/\\d\\d  \\d\\d:\\d\\d:\\d\\d    \"STARTED OKAY: notepad\"\r\n");
    EXPECT_TRUE(std::regex_match(bytes, form)) << bytes;

    // The stamp is the clock's local time: the same as a reading taken
    // around the write, to the second (retried across a second's change).
    for (int attempt = 0; attempt < 3; ++attempt) {
        fs::remove("new.txt");
        const int64_t before = EventTime::Now();
        ASSERT_EQ(1, LogText(event, "new.txt", "x"));
        if (EventTime::Now() != before)
            continue;
        EXPECT_EQ(std::string(FormatLogLine(EventTime(before), "x").c_str()), ReadBytes("new.txt"));
        break;
    }
}

TEST_F(EventLogTest, ALogThatCannotBeWrittenReportsIt)
{
    AlarmEvent event;
    EXPECT_EQ(0, LogEvent(event, "no_such_folder/ORVLS.TXT"));
    EXPECT_FALSE(fs::exists("no_such_folder"));
    fs::create_directory("ORVLS.TXT");
    EXPECT_EQ(0, LogText(event, "ORVLS.TXT", "x"));
    EXPECT_EQ(0, LogText(event, "", "x"));
    EXPECT_TRUE(fs::is_directory("ORVLS.TXT"));
}

}  // namespace
