#include "alarms/sound_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "alarms/alarm_event.h"
#include "tests/alarms/alarm_test_support.h"

namespace {

using SoundTableTest = AlarmTest;
using Names = std::vector<std::string>;

const Names kDefaultNames = {"", "normal.wav", "warn.wav", "hot.wav", "panic.wav", "random.wav"};
const std::string kSeparator(1, static_cast<char>(fs::path::preferred_separator));

Names NamesOf(const SoundTable& table)
{
    Names names;
    for (const n_stream& name : table.Names())
        names.push_back(name.c_str());
    return names;
}

TEST_F(SoundTableTest, LoadReadsTheListByteForByteAndKeepsTheTableOnDamage)
{
    SoundTable table;
    EXPECT_EQ(0, table.Load("AlarmSounds.ary"));  // missing
    EXPECT_EQ(kDefaultNames, NamesOf(table));
    EXPECT_STREQ("hot.wav", table.SoundFileFor(kSoundHot).c_str());
    EXPECT_STREQ("", table.SoundFileFor(6).c_str());
    EXPECT_STREQ("", table.SoundFileFor(0xFFFFFFFFu).c_str());

    // Any one byte after the count and after each length; white space and
    // line ends before the numbers; bytes past the last entry are not read.
    const std::pair<std::string, Names> forms[] = {
        {"2 0 9 beep1.wav", {"", "beep1.wav"}},
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
        EXPECT_EQ(form.second, NamesOf(other)) << form.first;
    }

    // After a good load, a damaged file keeps the loaded names.
    WriteBytes("AlarmSounds.ary", "1 5 a.wav");
    ASSERT_EQ(1, table.Load("AlarmSounds.ary"));
    const char* const damaged[] = {
        "",                          // nothing
        "2",                         // no separator, no entries
        "0",                         // no separator
        "x 0 9 beep1.wav",           // no count
        "-1 0 ",                     // a count that wraps round
        "99999999999999999999 0 ",   // a count past 64 bits
        "3 0 9 beep1.wav",           // an entry short
        "2 0 20 beep1.wav",          // a name cut short
        "2 0 a beep1.wav",           // a length that is no number
        "2 0 4294967295 beep1.wav",  // a length past any buffer
        "2 0 9",                     // the last name missing
    };
    for (const char* bytes : damaged) {
        WriteBytes("AlarmSounds.ary", bytes);
        EXPECT_EQ(0, table.Load("AlarmSounds.ary")) << bytes;
        EXPECT_EQ(Names{"a.wav"}, NamesOf(table)) << bytes;
    }
}

TEST_F(SoundTableTest, RandomPicksUniformlyAmongTheSoundsThatExist)
{
    SoundTable table;
    std::set<std::string> present;
    const SoundTable::ExistsCheck exists = [&](const char* name) { return int(present.count(name)); };
    std::vector<unsigned> asked;
    unsigned next = 0;
    const SoundTable::Draw draw = [&](unsigned n) {
        asked.push_back(n);
        return next;
    };

    // Each draw from 0 to n - 1, n the number present, gives another
    // present sound, in choice order.
    present = {"warn.wav", "hot.wav", "random.wav"};
    const unsigned in_order[] = {kSoundWarn, kSoundHot, kSoundRandom};
    for (next = 0; next < 3; ++next)
        EXPECT_EQ(in_order[next], table.PickRandom("", exists, draw));
    EXPECT_EQ(std::vector<unsigned>(3, 3), asked);

    // A sound found only in the program folder counts; None never does.
    present = {"prog" + kSeparator + "panic.wav"};
    next = 0;
    EXPECT_EQ(unsigned(kSoundPanic), table.PickRandom("prog", exists, draw));
    present = {""};
    asked.clear();
    EXPECT_EQ(unsigned(kSoundNone), table.PickRandom("", exists, draw));
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
    const std::string in_folder = "prog" + kSeparator + "hot.wav";
    std::set<std::string> present = {"hot.wav", in_folder};
    int asked = 0;
    const SoundTable::ExistsCheck exists = [&](const char* name) {
        ++asked;
        return int(present.count(name));
    };
    auto resolved = [&](const char* name, const char* folder) {
        return std::string(ResolveSoundName(name, folder, exists).c_str());
    };
    EXPECT_EQ("hot.wav", resolved("hot.wav", "prog"));  // the current folder first
    present = {in_folder};
    EXPECT_EQ(in_folder, resolved("hot.wav", "prog"));
    EXPECT_EQ("hot.wav", resolved("hot.wav", ""));
    present = {};
    EXPECT_EQ("hot.wav", resolved("hot.wav", "prog"));

    // A name with a folder is played where it points, unlooked-for.
    present = {in_folder};
    asked = 0;
    for (const char* name : {"sub/hot.wav", "sub\\hot.wav", "C:hot.wav", ""})
        EXPECT_EQ(name, resolved(name, "prog"));
    EXPECT_EQ(0, asked);
}

}  // namespace
