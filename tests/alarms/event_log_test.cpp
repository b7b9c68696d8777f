#include "alarms/event_log.h"

#include <gtest/gtest.h>

#include <string>

#include "alarms/alarm_event.h"
#include "alarms/event_time.h"
#include "tests/base/temp_folder_test.h"

namespace {

using EventLogTest = TempFolderTest;

std::string Line(int64_t when, const char* text)
{
    return FormatLogLine(EventTime(when), text).c_str();
}

TEST_F(EventLogTest, TheLineIsTheStampAndTheQuotedTextWithEachBreakOneCrLf)
{
    const std::string stamp = "05/09/01  14:30:05    ";  // 989433005 in EST5EDT
    EXPECT_EQ(stamp + "\"say \"hi\" \"\"\"\r\n", Line(989433005, "say \"hi\" \"\""));
    EXPECT_EQ(stamp + "\"one\r\ntwo\r\n\r\nthree\"\r\n", Line(989433005, "one\r\ntwo\n\r\nthree"));
    EXPECT_EQ("01/02/00  00:00:00    \"\"\r\n", Line(946789200, ""));
    EXPECT_EQ("12/31/38  23:59:59    \"x\"\r\n", Line(2177470799, "x"));
}

TEST_F(EventLogTest, EntriesAreAppendedOrAFailureReported)
{
    AlarmEvent event;
    event.SetMessage("line one\nline \"two\"");
    std::ofstream("ORVLS.TXT", std::ios::binary) << "earlier\r\n";
    ASSERT_EQ(1, LogEvent(event, "ORVLS.TXT"));
    ASSERT_EQ(1, LogText(event, "ORVLS.TXT", "STARTED OKAY: notepad"));
    const std::string log = ReadFile("ORVLS.TXT");
    const std::string first = "\"line one\r\nline \"two\"\"\r\n", second = "\"STARTED OKAY: notepad\"\r\n";
    const size_t stamp = 22;  // "05/09/01  14:30:05    "
    ASSERT_EQ(9 + 2 * stamp + first.size() + second.size(), log.size()) << log;
    EXPECT_EQ("earlier\r\n", log.substr(0, 9));
    EXPECT_EQ(first, log.substr(9 + stamp, first.size()));
    EXPECT_EQ(second, log.substr(log.size() - second.size()));

    EXPECT_EQ(0, LogEvent(event, "no_such_folder/ORVLS.TXT"));
    fs::create_directory("taken");
    EXPECT_EQ(0, LogText(event, "taken", "x"));
}

}  // namespace
