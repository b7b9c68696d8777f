#include "alarms/alarm_event.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "alarms/sound_table.h"
#include "tests/alarms/alarm_test_support.h"

namespace {

using AlarmEventTest = AlarmTest;

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
    AlarmEvent event;
    ASSERT_EQ(1, event.ParseEventTime("05/09/2001 14:30"));
    EXPECT_EQ("05/09/2001 14:30", Formatted(event));
    EXPECT_EQ(989433000, event.Time().ToSeconds());

    const char* const refused[] = {
        "5/9/2001 14:30",    "05/09/01 14:30",    "05/09/2001",        "05/09/2001 14:30 ",
        " 05/09/2001 14:30", "05/09/2001  14:30", "13/01/2001 10:00",  "01/01/1969 10:00",
        "00/01/2001 10:00",  "01/00/2001 10:00",  "01/32/2001 10:00",  "01/01/2001 24:00",
        "01/01/2001 23:60",  "01/01/-001 10:00",  "01/01/2001 -1:00",  "01/01/2001 10:-5",
        "+5/09/2001 14:30",  " 5/09/2001 14:30",  "05/09/2001\t14:30", "05-09-2001 14:30",
        "05/09/2001 14.30",  "",                  "01/01/0000 10:00",  "ab/cd/efgh ij:kl",
        "01/01/3001 00:00",  "12/31/9999 23:59",  "05/09/2001 14:3x",  "05/09/2001 14:30\n",
    };
    for (const char* text : refused) {
        EXPECT_EQ(0, event.ParseEventTime(text)) << '"' << text << '"';
        EXPECT_EQ("05/09/2001 14:30", Formatted(event)) << text;
        EXPECT_EQ(989433000, event.Time().ToSeconds()) << text;
    }

    // A refusal after a clock reading keeps the valid flag at 0.
    AlarmEvent fresh;
    EXPECT_EQ(0, fresh.ParseEventTime("13/01/2001 10:00"));
    EXPECT_EQ(0u, fresh.Time().IsValid());

    // A day the month lacks is kept as typed and carries over when converted.
    ASSERT_EQ(1, event.ParseEventTime("02/31/2001 10:00"));
    EXPECT_EQ("02/31/2001 10:00", Formatted(event));
    EXPECT_EQ(983631600, event.Time().ToSeconds());  // 03/03/2001 10:00
}

TEST_F(AlarmEventTest, WriteAndReadAreExactInverses)
{
    const AlarmEvent sample = SampleEvent();
    EXPECT_EQ(" 989433000  1 1 3 23 Call \"Bob\"\r\nthen 5 more0 ", Written(sample));
    AlarmEvent fresh;
    ASSERT_EQ(1, fresh.ParseEventTime("01/20/2038 12:00"));
    EXPECT_EQ(" 2147619600  0 0 1 19 This is a reminder!0 ", Written(fresh));

    // Every field back, one event after another, nothing left over.
    std::stringstream two(Written(sample) + Written(fresh));
    AlarmEvent first, second;
    first.read(two);
    second.read(two);
    ASSERT_FALSE(two.fail());
    EXPECT_EQ(EOF, two.peek());
    EXPECT_EQ(1u, first.Time().IsValid());
    EXPECT_EQ("05/09/2001 14:30", Formatted(first));
    EXPECT_EQ(Written(sample), Written(first));
    EXPECT_EQ(Written(fresh), Written(second));
}

TEST_F(AlarmEventTest, ReadRefusesDamageAndLeavesTheEventAlone)
{
    const std::string good = Written(SampleEvent());
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
    refuses("x" + good.substr(1));
    refuses(" -1  1 0 3 0 0 ");                   // a time that cannot be converted
    refuses(" 32535216000  1 0 3 0 0 ");          // past the year 3000
    refuses(" 99999999999999999999  1 0 3 0 0 "); // past 64 bits
    refuses(" 989433000  2 0 3 0 0 ");
    refuses(" 989433000  1 -1 3 0 0 ");
    refuses(" 989433000  1 0 6 0 0 ");
    refuses(" 989433000 1 0 3 0 0 ");             // one blank short
    refuses(" 989433000  1 0 3 4294967295 x0 ");  // a huge length prefix
    refuses(" 989433000  1 0 3 99 short0 ");
    refuses(" 989433000  1 0 3x0 0 ");
}

TEST_F(AlarmEventTest, ASoundFileMustExistAndNoneStaysSilent)
{
    AlarmEvent event;
    EXPECT_EQ(nullptr, event.SoundToPlay());  // Normal, but no file yet
    WriteBytes("chime.wav", "RIFF");
    fs::create_directory("folder.wav");
    EXPECT_EQ(1, event.SetSoundFile("chime.wav"));
    for (const char* refused : {"missing.wav", "", "ch?me.wav", "ch|me.wav", "folder.wav"})
        EXPECT_EQ(0, event.SetSoundFile(refused)) << refused;
    EXPECT_STREQ("chime.wav", event.SoundFile().c_str());  // as given, not made absolute
    EXPECT_STREQ("chime.wav", event.SoundToPlay());

    // None keeps the stored name but plays nothing.
    event.SetSoundChoice(kSoundNone);
    EXPECT_STREQ("chime.wav", event.SoundFile().c_str());
    EXPECT_EQ(nullptr, event.SoundToPlay());

    // A bare name missing here is looked for beside the program.
    const std::string name = "orv_sound_" + std::to_string(EventTime::Now()) + ".wav";
    const fs::path beside_program = fs::path(SoundTable::ProgramFolder().c_str()) / name;
    WriteBytes(beside_program.string(), "RIFF");
    EXPECT_EQ(1, event.SetSoundFile(name.c_str()));
    EXPECT_EQ(beside_program, fs::path(event.SoundFile().c_str()));
    fs::remove(beside_program);
}

TEST_F(AlarmEventTest, TheArmedEventSurvivesInItsOwnFile)
{
    const AlarmEvent armed = SampleEvent();
    const std::string good = Written(armed);
    ASSERT_EQ(1, SaveArmedEvent(kArmedEventFileName, armed));
    EXPECT_EQ(good, ReadBytes(kArmedEventFileName));
    AlarmEvent loaded;
    ASSERT_EQ(1, LoadArmedEvent(kArmedEventFileName, loaded));
    EXPECT_EQ(good, Written(loaded));

    EXPECT_EQ(1, ForgetArmedEvent(kArmedEventFileName));
    EXPECT_EQ("<missing>", ReadBytes(kArmedEventFileName));
    EXPECT_EQ(1, ForgetArmedEvent(kArmedEventFileName));  // nothing there is fine
    AlarmEvent unchanged;
    const std::string unchanged_form = Written(unchanged);
    EXPECT_EQ(0, LoadArmedEvent(kArmedEventFileName, unchanged));

    // Damaged files: cut short, with bytes after the event, garbage, empty.
    for (const std::string& bytes : {good.substr(0, good.size() - 1), good + " ", good + good,
                                     std::string("\x01\x02"), std::string()}) {
        WriteBytes(kArmedEventFileName, bytes);
        EXPECT_EQ(0, LoadArmedEvent(kArmedEventFileName, unchanged)) << bytes;
        EXPECT_EQ(unchanged_form, Written(unchanged));
        EXPECT_EQ(bytes, ReadBytes(kArmedEventFileName));  // left as found
    }

    // A file that cannot be made reports it.
    EXPECT_EQ(0, SaveArmedEvent("no_such_folder/ORVLS3.ALM", armed));
    fs::create_directory("taken");
    EXPECT_EQ(0, SaveArmedEvent("taken", armed));
    EXPECT_TRUE(fs::is_directory("taken"));
}

}  // namespace
