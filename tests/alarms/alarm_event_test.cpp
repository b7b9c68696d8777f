#include "alarms/alarm_event.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/base/temp_folder_test.h"

namespace {

using AlarmEventTest = TempFolderTest;

std::string Formatted(const AlarmEvent& event)
{
    zstring text;
    event.FormatEventTime(text);
    return text.c_str();
}

std::string Written(const AlarmEvent& event)
{
    std::ostringstream out;
    event.write(out);
    return out.str();
}

// An armed event with every field away from its default.
AlarmEvent SampleEvent()
{
    AlarmEvent event;
    EXPECT_EQ(1, event.ParseEventTime("05/09/2001 14:30"));
    event.SetEnabled(1);
    event.SetExecute(1);
    event.SetSoundChoice(kSoundHot);
    event.SetMessage("Call \"Bob\"\r\nthen 5 more");
    return event;
}

TEST_F(AlarmEventTest, OnlyTheExactFormIsTakenOver)
{
    AlarmEvent event = SampleEvent();
    EXPECT_EQ("05/09/2001 14:30", Formatted(event));
    for (const char* text :
         {"5/9/2001 14:30", "05/09/01 14:30", "05/09/2001", " 05/09/2001 14:30", "05/09/2001 14:30\n",
          "13/01/2001 10:00", "00/01/2001 10:00", "01/32/2001 10:00", "01/01/2001 24:00",
          "01/01/2001 23:60", "01/01/1969 10:00", "01/01/3001 00:00", "01/01/-001 10:00",
          "01/01/2001 -1:00", "01/01/2001 10:-5", "+5/09/2001 14:30", "05-09-2001 14:30", ""}) {
        EXPECT_EQ(0, event.ParseEventTime(text)) << '"' << text << '"';
        EXPECT_EQ(989433000, event.Time().ToSeconds()) << text;
    }
    // A day the month lacks is kept as typed and carries over when converted.
    ASSERT_EQ(1, event.ParseEventTime("02/31/2001 10:00"));
    EXPECT_EQ("02/31/2001 10:00", Formatted(event));
    EXPECT_EQ(983631600, event.Time().ToSeconds());  // 03/03/2001 10:00
}

TEST_F(AlarmEventTest, WriteAndReadAreExactInversesAndDamageChangesNothing)
{
    const AlarmEvent sample = SampleEvent();
    const std::string good = Written(sample);
    EXPECT_EQ(" 989433000  1 1 3 23 Call \"Bob\"\r\nthen 5 more0 ", good);
    AlarmEvent fresh;
    ASSERT_EQ(1, fresh.ParseEventTime("01/20/2038 12:00"));
    EXPECT_EQ(" 2147619600  0 0 1 19 This is a reminder!0 ", Written(fresh));

    std::stringstream two(good + Written(fresh));
    AlarmEvent first, second;
    first.read(two);
    second.read(two);
    ASSERT_FALSE(two.fail());
    EXPECT_EQ(EOF, two.peek());
    EXPECT_EQ(good, Written(first));
    EXPECT_EQ(Written(fresh), Written(second));

    const std::string untouched = Written(AlarmEvent());
    auto refuses = [&](const std::string& bytes) {
        AlarmEvent event;
        std::stringstream stream(bytes);
        event.read(stream);
        EXPECT_TRUE(stream.fail()) << '"' << bytes << '"';
        EXPECT_EQ(untouched, Written(event)) << bytes;
    };
    for (size_t cut = 0; cut < good.size(); ++cut)
        refuses(good.substr(0, cut));
    for (const char* bytes : {" -1  1 0 3 0 0 ", " 32535216000  1 0 3 0 0 ",
                              " 99999999999999999999  1 0 3 0 0 ", " 989433000  2 0 3 0 0 ",
                              " 989433000  1 0 6 0 0 ", " 989433000 1 0 3 0 0 ",
                              " 989433000  1 0 3 4294967295 x0 "})
        refuses(bytes);
}

TEST_F(AlarmEventTest, ASoundFileMustExistAndNoneStaysSilent)
{
    AlarmEvent event;
    std::ofstream("chime.wav") << "RIFF";
    EXPECT_EQ(1, event.SetSoundFile("chime.wav"));
    for (const char* refused : {"missing.wav", "", "ch?me.wav", "ch|me.wav"})
        EXPECT_EQ(0, event.SetSoundFile(refused)) << refused;
    EXPECT_STREQ("chime.wav", event.SoundToPlay());
    event.SetSoundChoice(kSoundNone);
    EXPECT_STREQ("chime.wav", event.SoundFile().c_str());
    EXPECT_EQ(nullptr, event.SoundToPlay());
}

TEST_F(AlarmEventTest, TheArmedEventSurvivesInItsOwnFile)
{
    const AlarmEvent armed = SampleEvent();
    const std::string good = Written(armed);
    ASSERT_EQ(1, SaveArmedEvent(kArmedEventFileName, armed));
    EXPECT_EQ(good, ReadFile(kArmedEventFileName));
    AlarmEvent loaded;
    ASSERT_EQ(1, LoadArmedEvent(kArmedEventFileName, loaded));
    EXPECT_EQ(good, Written(loaded));
    EXPECT_EQ(1, ForgetArmedEvent(kArmedEventFileName));
    EXPECT_EQ("<missing>", ReadFile(kArmedEventFileName));

    AlarmEvent unchanged;
    const std::string unchanged_form = Written(unchanged);
    for (const std::string& bytes : {good.substr(0, good.size() - 1), good + " ",
                                     std::string("\x01\x02"), std::string()}) {
        std::ofstream(kArmedEventFileName, std::ios::binary) << bytes;
        EXPECT_EQ(0, LoadArmedEvent(kArmedEventFileName, unchanged)) << bytes;
        EXPECT_EQ(unchanged_form, Written(unchanged));
        EXPECT_EQ(bytes, ReadFile(kArmedEventFileName));  // left as found
    }
    EXPECT_EQ(0, SaveArmedEvent("no_such_folder/ORVLS3.ALM", armed));
}

}  // namespace
