#include "alarms/sound_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "alarms/alarm_event.h"
#include "tests/alarms/alarm_test_support.h"

namespace {

using SoundTableTest = AlarmTest;

const char* const kDefaults[] = {"", "normal.wav", "warn.wav", "hot.wav", "panic.wav", "random.wav"};

std::vector<std::string> Names(const SoundTable& table)
{
    std::vector<std::string> names;
    for (const n_stream& name : table.Names())
        names.push_back(name.c_str());
    return names;
}

const std::vector<std::string> kDefaultNames(std::begin(kDefaults), std::end(kDefaults));

TEST_F(SoundTableTest, AFreshTableHoldsTheSixDefaults)
{
    SoundTable table;
    EXPECT_EQ(kDefaultNames, Names(table));
    for (unsigned choice = kSoundNone; choice < kSoundRandom; ++choice)
        EXPECT_STREQ(kDefaults[choice], table.SoundFileFor(choice).c_str());
    EXPECT_STREQ("", table.SoundFileFor(6).c_str());
    EXPECT_STREQ("", table.SoundFileFor(0xFFFFFFFFu).c_str());
    EXPECT_EQ(6u, table.Count());
    EXPECT_NE(zstring::npos, SoundTable::TablePath().find("AlarmSounds.ary"));
}

TEST_F(SoundTableTest, LoadReadsTheListByteForByte)
{
    SoundTable table;
    WriteBytes("AlarmSounds.ary", "2 0 9 beep1.wav");
    ASSERT_EQ(1, table.Load("AlarmSounds.ary"));
    EXPECT_EQ((std::vector<std::string>{"", "beep1.wav"}), Names(table));
    EXPECT_STREQ("beep1.wav", table.SoundFileFor(kSoundNormal).c_str());
    EXPECT_STREQ("", table.SoundFileFor(kSoundHot).c_str());

    // Any one byte after the count and after each length; white space and
    // line ends before the numbers; bytes past the last entry are not read.
    const std::vector<std::pair<std::string, std::vector<std::string>>> forms = {
        {"2x0y9zbeep1.wav", {"", "beep1.wav"}},
        {"  2\r\n0 \r\n9 beep1.wav", {"", "beep1.wav"}},
        {"3\n3 a b4 x\r\ny\n 0 trailing", {"a b", "x\r\ny", ""}},
        {"1 3 \"\"\"", {"\"\"\""}},
        {"0 ", {}},
        {"1 9 beep1.wav and more", {"beep1.wav"}},
    };
    for (const auto& form : forms) {
        WriteBytes("AlarmSounds.ary", form.first);
        SoundTable other;
        EXPECT_EQ(1, other.Load("AlarmSounds.ary")) << form.first;
        EXPECT_EQ(form.second, Names(other)) << form.first;
    }
}

TEST_F(SoundTableTest, AMissingOrDamagedFileKeepsTheTable)
{
    SoundTable table;
    EXPECT_EQ(0, table.Load("AlarmSounds.ary"));
    EXPECT_EQ(kDefaultNames, Names(table));

    const char* const damaged[] = {
        "",                              // nothing
        "2",                             // no separator, no entries
        "0",                             // no separator
        "x 0 9 beep1.wav",               // no count
        "-1 0 ",                         // a count that wraps round
        "99999999999999999999 0 ",       // a count past 64 bits
        "3 0 9 beep1.wav",               // an entry short
        "2 0 20 beep1.wav",              // a name cut short
        "2 0 a beep1.wav",               // a length that is no number
        "2 0 4294967295 beep1.wav",      // a length past any buffer
        "2 0 9",                         // the last name missing
    };
    for (const char* bytes : damaged) {
        WriteBytes("AlarmSounds.ary", bytes);
        EXPECT_EQ(0, table.Load("AlarmSounds.ary")) << bytes;
        EXPECT_EQ(kDefaultNames, Names(table)) << bytes;
    }

    // After a good load, a damaged file keeps the loaded names.
    WriteBytes("AlarmSounds.ary", "1 5 a.wav");
    ASSERT_EQ(1, table.Load("AlarmSounds.ary"));
    WriteBytes("AlarmSounds.ary", "2 5 b.wav");
    EXPECT_EQ(0, table.Load("AlarmSounds.ary"));
    EXPECT_EQ(std::vector<std::string>{"a.wav"}, Names(table));
}

TEST_F(SoundTableTest, RandomPicksUniformlyAmongTheSoundsThatExist)
{
    SoundTable table;
    std::set<std::string> present;
    const SoundTable::ExistsCheck exists = [&](const char* name) {
        return present.count(name) ? 1 : 0;
    };
    std::vector<unsigned> asked;
    unsigned next = 0;
    const SoundTable::Draw draw = [&](unsigned n) {
        asked.push_back(n);
        return next;
    };

    // Each draw from 0 to n - 1 gives another present sound, in choice order.
    present = {"normal.wav", "warn.wav", "hot.wav", "panic.wav", "random.wav"};
    for (next = 0; next < 5; ++next)
        EXPECT_EQ(next + 1, table.PickRandom("", exists, draw));
    EXPECT_EQ(std::vector<unsigned>(5, 5), asked);

    present = {"hot.wav", "random.wav"};
    asked.clear();
    next = 0;
    EXPECT_EQ(static_cast<unsigned>(kSoundHot), table.PickRandom("", exists, draw));
    next = 1;
    EXPECT_EQ(static_cast<unsigned>(kSoundRandom), table.PickRandom("", exists, draw));
    EXPECT_EQ((std::vector<unsigned>{2, 2}), asked);

    // A sound found only in the program folder counts; None never does.
    present = {(std::string("prog") + (fs::path::preferred_separator == '\\' ? "\\" : "/") +
                "panic.wav")};
    next = 0;
    EXPECT_EQ(static_cast<unsigned>(kSoundPanic), table.PickRandom("prog", exists, draw));

    present = {""};
    asked.clear();
    EXPECT_EQ(static_cast<unsigned>(kSoundNone), table.PickRandom("", exists, draw));
    EXPECT_TRUE(asked.empty());

    // Through SoundFileFor, with the real files of the current folder.
    WriteBytes("warn.wav", "RIFF");
    for (int i = 0; i < 20; ++i)
        EXPECT_STREQ("warn.wav", table.SoundFileFor(kSoundRandom).c_str());
    WriteBytes("hot.wav", "RIFF");
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(table.SoundFileFor(kSoundRandom).c_str());
    EXPECT_EQ((std::set<std::string>{"warn.wav", "hot.wav"}), seen);
}

TEST_F(SoundTableTest, ABareNameFallsBackToTheProgramFolder)
{
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    const std::string in_folder = "prog" + separator + "hot.wav";
    std::set<std::string> present;
    std::vector<std::string> asked;
    const SoundTable::ExistsCheck exists = [&](const char* name) {
        asked.push_back(name);
        return present.count(name) ? 1 : 0;
    };

    present = {"hot.wav", in_folder};
    EXPECT_STREQ("hot.wav", ResolveSoundName("hot.wav", "prog", exists).c_str());
    present = {in_folder};
    EXPECT_EQ(in_folder, ResolveSoundName("hot.wav", "prog", exists).c_str());
    present = {};
    EXPECT_STREQ("hot.wav", ResolveSoundName("hot.wav", "prog", exists).c_str());
    EXPECT_STREQ("hot.wav", ResolveSoundName("hot.wav", "", exists).c_str());

    // A name with a folder is played where it points, unlooked-for.
    asked.clear();
    present = {in_folder};
    EXPECT_STREQ("sub/hot.wav", ResolveSoundName("sub/hot.wav", "prog", exists).c_str());
    EXPECT_STREQ("sub\\hot.wav", ResolveSoundName("sub\\hot.wav", "prog", exists).c_str());
    EXPECT_STREQ("C:hot.wav", ResolveSoundName("C:hot.wav", "prog", exists).c_str());
    EXPECT_STREQ("", ResolveSoundName("", "prog", exists).c_str());
    EXPECT_TRUE(asked.empty());
}

}  // namespace
