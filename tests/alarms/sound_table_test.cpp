#include "alarms/sound_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "alarms/alarm_event.h"
#include "tests/base/temp_folder_test.h"

namespace {

using SoundTableTest = TempFolderTest;
using Names = std::vector<std::string>;

Names NamesOf(const SoundTable& table)
{
    Names names;
    for (const n_stream& name : table.Names())
        names.push_back(name.c_str());
    return names;
}

void WriteList(const std::string& bytes)
{
    std::ofstream("AlarmSounds.ary", std::ios::binary) << bytes;
}

TEST_F(SoundTableTest, LoadReadsTheListByteForByteAndKeepsTheTableOnDamage)
{
    SoundTable table;
    EXPECT_EQ(0, table.Load("AlarmSounds.ary"));  // missing: the defaults
    EXPECT_EQ((Names{"", "normal.wav", "warn.wav", "hot.wav", "panic.wav", "random.wav"}),
              NamesOf(table));
    EXPECT_STREQ("", table.SoundFileFor(6).c_str());

    // Any one byte after the count and each length; bytes past the last entry unread.
    const std::pair<std::string, Names> forms[] = {
        {"2x0y9zbeep1.wav", {"", "beep1.wav"}},
        {"  2\r\n0 \r\n9 beep1.wav", {"", "beep1.wav"}},
        {"3\n3 a b4 x\r\ny\n 0 trailing", {"a b", "x\r\ny", ""}},
        {"0 ", {}},
    };
    for (const auto& form : forms) {
        WriteList(form.first);
        SoundTable other;
        EXPECT_EQ(1, other.Load("AlarmSounds.ary")) << form.first;
        EXPECT_EQ(form.second, NamesOf(other)) << form.first;
    }

    WriteList("1 5 a.wav");
    ASSERT_EQ(1, table.Load("AlarmSounds.ary"));
    for (const char* bytes : {"", "2", "x 0 9 beep1.wav", "-1 0 ", "99999999999999999999 0 ",
                              "3 0 9 beep1.wav", "2 0 20 beep1.wav", "2 0 4294967295 beep1.wav"}) {
        WriteList(bytes);
        EXPECT_EQ(0, table.Load("AlarmSounds.ary")) << bytes;
        EXPECT_EQ(Names{"a.wav"}, NamesOf(table)) << bytes;
    }
}

TEST_F(SoundTableTest, RandomPicksAmongTheSoundsThatExist)
{
    SoundTable table;
    std::set<std::string> present = {"warn.wav", "hot.wav", "random.wav"};
    const SoundTable::ExistsCheck exists = [&](const char* name) { return int(present.count(name)); };
    std::vector<unsigned> asked;
    unsigned next = 0;
    const SoundTable::Draw draw = [&](unsigned n) {
        asked.push_back(n);
        return next;
    };
    const unsigned in_order[] = {kSoundWarn, kSoundHot, kSoundRandom};
    for (next = 0; next < 3; ++next)
        EXPECT_EQ(in_order[next], table.PickRandom("", exists, draw));
    EXPECT_EQ(std::vector<unsigned>(3, 3), asked);
    present = {""};  // None never counts
    asked.clear();
    EXPECT_EQ(unsigned(kSoundNone), table.PickRandom("", exists, draw));
    EXPECT_TRUE(asked.empty());

    std::ofstream("warn.wav") << "RIFF";
    std::ofstream("hot.wav") << "RIFF";
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(table.SoundFileFor(kSoundRandom).c_str());
    EXPECT_EQ((std::set<std::string>{"warn.wav", "hot.wav"}), seen);
}

TEST(SoundName, ABareNameFallsBackToTheProgramFolder)
{
#ifdef _WIN32
    const std::string in_folder = "prog\\hot.wav";
#else
    const std::string in_folder = "prog/hot.wav";
#endif
    std::set<std::string> present = {"hot.wav", in_folder};
    const SoundTable::ExistsCheck exists = [&](const char* name) {
        return int(present.count(name));
    };
    auto resolved = [&](const char* name) {
        return std::string(ResolveSoundName(name, "prog", exists).c_str());
    };
    EXPECT_EQ("hot.wav", resolved("hot.wav"));  // the current folder first
    present = {in_folder};
    EXPECT_EQ(in_folder, resolved("hot.wav"));
    EXPECT_EQ("sub/hot.wav", resolved("sub/hot.wav"));  // a folder is kept
}

}  // namespace
