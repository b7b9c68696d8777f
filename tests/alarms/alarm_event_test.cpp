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

TEST_F(AlarmEventTest, ANewEventHoldsTheDefaults)
{
    AlarmEvent event;
    EXPECT_STREQ("This is a reminder!", event.Message().c_str());
    EXPECT_EQ(static_cast<unsigned>(kSoundNormal), event.SoundChoice());
    EXPECT_EQ(0, event.IsEnabled());
    EXPECT_EQ(0, event.IsExecute());
    EXPECT_STREQ("", event.SoundFile().c_str());
    EXPECT_EQ(0u, event.Time().IsValid());
    EXPECT_LE(event.Time().ToSeconds(), EventTime::Now());
    EXPECT_EQ(nullptr, event.SoundToPlay());

    zstring message;
    event.ResetEventTime();
    EXPECT_EQ(0u, event.Time().IsValid());
    ASSERT_EQ(1, event.ParseEventTime("05/09/2001 14:30"));
    EXPECT_EQ(1u, event.Time().IsValid());
    event.ResetEventTime();
    EXPECT_EQ(0u, event.Time().IsValid());
    EXPECT_GT(event.Time().ToSeconds(), 989433000);
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
        EXPECT_EQ(-1, event.Time().Fields().tm_isdst) << text;
    }

    // A refusal after a clock reading keeps the valid flag at 0.
    AlarmEvent fresh;
    const std::string before = Formatted(fresh);
    EXPECT_EQ(0, fresh.ParseEventTime("13/01/2001 10:00"));
    EXPECT_EQ(0u, fresh.Time().IsValid());
    EXPECT_EQ(before, Formatted(fresh));

    // A day the month lacks is kept as typed and carries over when converted.
    ASSERT_EQ(1, event.ParseEventTime("02/31/2001 10:00"));
    EXPECT_EQ("02/31/2001 10:00", Formatted(event));
    AlarmEvent third_of_march;
    ASSERT_EQ(1, third_of_march.ParseEventTime("03/03/2001 10:00"));
    EXPECT_EQ(third_of_march.Time().ToSeconds(), event.Time().ToSeconds());
    EXPECT_EQ(983631600, event.Time().ToSeconds());
}

TEST_F(AlarmEventTest, WriteGivesTheSecondCountAndTheTextsLengthPrefixed)
{
    AlarmEvent event = SampleEvent();
    event.SetEnabled(0);
    event.SetExecute(0);
    event.SetMessage("hello");
    EXPECT_EQ(" 989433000  0 0 3 5 hello0 ", Written(event));

    AlarmEvent fresh;
    ASSERT_EQ(1, fresh.ParseEventTime("01/20/2038 12:00"));
    EXPECT_EQ(" 2147619600  0 0 1 19 This is a reminder!0 ", Written(fresh));
}

TEST_F(AlarmEventTest, ReadIsTheExactInverseOfWrite)
{
    const AlarmEvent event = SampleEvent();
    std::stringstream stream(Written(event));
    AlarmEvent back;
    back.read(stream);
    ASSERT_FALSE(stream.fail());
    EXPECT_EQ(EOF, stream.peek());
    EXPECT_EQ(989433000, back.Time().ToSeconds());
    EXPECT_EQ(1u, back.Time().IsValid());
    EXPECT_EQ("05/09/2001 14:30", Formatted(back));
    EXPECT_EQ(1, back.IsEnabled());
    EXPECT_EQ(1, back.IsExecute());
    EXPECT_EQ(static_cast<unsigned>(kSoundHot), back.SoundChoice());
    EXPECT_STREQ(event.Message().c_str(), back.Message().c_str());
    EXPECT_EQ(Written(event), Written(back));

    // Two events one after the other read back one at a time.
    std::stringstream two(Written(event) + Written(AlarmEvent()));
    AlarmEvent first, second;
    first.read(two);
    second.read(two);
    EXPECT_FALSE(two.fail());
    EXPECT_STREQ("This is a reminder!", second.Message().c_str());
}

TEST_F(AlarmEventTest, ReadRefusesDamageAndLeavesTheEventAlone)
{
    const std::string good = Written(SampleEvent());
    const AlarmEvent untouched;
    const std::string untouched_form = Written(untouched);
    auto refuses = [&](const std::string& bytes) {
        AlarmEvent event = untouched;
        std::stringstream stream(bytes);
        event.read(stream);
        EXPECT_TRUE(stream.fail()) << '"' << bytes << '"';
        EXPECT_EQ(untouched_form, Written(event)) << bytes;
    };
    for (size_t cut = 0; cut < good.size(); ++cut)
        refuses(good.substr(0, cut));
    refuses("x" + good.substr(1));
    refuses(" -1  1 0 3 0 0 ");                  // a time that cannot be converted
    refuses(" 32535216000  1 0 3 0 0 ");         // past the year 3000
    refuses(" 99999999999999999999  1 0 3 0 0 "); // past 64 bits
    refuses(" 989433000  2 0 3 0 0 ");
    refuses(" 989433000  1 -1 3 0 0 ");
    refuses(" 989433000  1 0 6 0 0 ");
    refuses(" 989433000 1 0 3 0 0 ");            // one blank short
    refuses(" 989433000  1 0 3 4294967295 x0 ");  // a huge length prefix
    refuses(" 989433000  1 0 3 99 short0 ");
    refuses(" 989433000  1 0 3x0 0 ");
}

TEST_F(AlarmEventTest, ASoundFileMustExistAndNoneStaysSilent)
{
    WriteBytes("chime.wav", "RIFF");
    AlarmEvent event;
    EXPECT_EQ(1, event.SetSoundFile("chime.wav"));
    EXPECT_STREQ("chime.wav", event.SoundFile().c_str());  // as given, not made absolute
    EXPECT_STREQ("chime.wav", event.SoundToPlay());

    EXPECT_EQ(0, event.SetSoundFile("missing.wav"));
    EXPECT_EQ(0, event.SetSoundFile(""));
    EXPECT_EQ(0, event.SetSoundFile("ch?me.wav"));
    EXPECT_EQ(0, event.SetSoundFile("ch|me.wav"));
    fs::create_directory("folder.wav");
    EXPECT_EQ(0, event.SetSoundFile("folder.wav"));
    EXPECT_STREQ("chime.wav", event.SoundFile().c_str());

    // None keeps the stored name but plays nothing.
    event.SetSoundChoice(kSoundNone);
    EXPECT_STREQ("chime.wav", event.SoundFile().c_str());
    EXPECT_EQ(nullptr, event.SoundToPlay());
    event.SetSoundChoice(kSoundRandom);
    EXPECT_STREQ("chime.wav", event.SoundToPlay());
}

TEST_F(AlarmEventTest, ABareSoundNameIsAlsoLookedForInTheProgramFolder)
{
    const zstring program_folder = SoundTable::ProgramFolder();
    ASSERT_NE(0u, program_folder.length());
    const std::string name = "orv_sound_" + std::to_string(EventTime::Now()) + ".wav";
    const fs::path beside_program = fs::path(program_folder.c_str()) / name;
    WriteBytes(beside_program.string(), "RIFF");

    AlarmEvent event;
    EXPECT_EQ(1, event.SetSoundFile(name.c_str()));
    EXPECT_EQ(beside_program, fs::path(event.SoundFile().c_str()));

    // The current folder comes first.
    WriteBytes(name, "RIFF");
    EXPECT_EQ(1, event.SetSoundFile(name.c_str()));
    EXPECT_STREQ(name.c_str(), event.SoundFile().c_str());
    fs::remove(beside_program);
}

TEST_F(AlarmEventTest, TheArmedEventSurvivesInItsOwnFile)
{
    EXPECT_STREQ("ORVLS3.ALM", kArmedEventFileName);
    const AlarmEvent armed = SampleEvent();
    ASSERT_EQ(1, SaveArmedEvent(kArmedEventFileName, armed));
    EXPECT_EQ(Written(armed), ReadBytes(kArmedEventFileName));

    AlarmEvent loaded;
    ASSERT_EQ(1, LoadArmedEvent(kArmedEventFileName, loaded));
    EXPECT_EQ(Written(armed), Written(loaded));
    EXPECT_EQ(1, loaded.IsEnabled());

    EXPECT_EQ(1, ForgetArmedEvent(kArmedEventFileName));
    EXPECT_EQ("<missing>", ReadBytes(kArmedEventFileName));
    EXPECT_EQ(1, ForgetArmedEvent(kArmedEventFileName));  // nothing there is fine
    AlarmEvent unchanged;
    const std::string unchanged_form = Written(unchanged);
    EXPECT_EQ(0, LoadArmedEvent(kArmedEventFileName, unchanged));

    // Damaged files: cut short, with bytes after the event, garbage, empty.
    const std::string good = Written(armed);
    for (const std::string& bytes :
         {good.substr(0, good.size() - 1), good + " ", good + Written(armed), std::string("\x01\x02"),
          std::string()}) {
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
