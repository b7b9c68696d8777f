#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tool_test_support.h"

using VolumeCheckCommand = ToolTest;
using VolumeRecoverCommand = ToolTest;

TEST_F(VolumeCheckCommand, SoundVolumeWithDeadSpace)
{
    make_volume({"a", "b", "c"});
    const size_t size = file_bytes(volume).size();
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    ASSERT_EQ(1u, db.replace_item(0, make_quote(0, "cat", "a2")));
    delete_item(db, 2);
    ASSERT_EQ(1u, db.erase_entry(1));
    const ToolRun run = run_tool({"check", volume});
    EXPECT_EQ(0, run.status) << run.out;
    EXPECT_TRUE(has(run.out, "entry 1: erased")) << run.out;
    EXPECT_TRUE(has(run.out, "1 live, 1 deleted; dead space " + std::to_string(size - offsets[0])))
        << run.out;

    // A damaged index naming one record again and again: its bytes, counted
    // once an entry, outgrow the file, and the dead space stops at 0.
    std::string same_record;
    for (int i = 0; i < 40; ++i)
        same_record += entry_bytes(offsets[1]);
    write_bytes(index_file, same_record);
    EXPECT_TRUE(has(run_tool({"check", volume}).out, "40 live, 0 deleted; dead space 0 bytes ("));
}

TEST_F(VolumeCheckCommand, FindsEachKindOfDamageByEntry)
{
    make_volume({"a", "b", "c"});
    const std::string data = file_bytes(volume);
    const std::string index = file_bytes(index_file);
    const uint32_t end = static_cast<uint32_t>(data.size());
    std::string bad_tombstone;
    make_quote(0, "\aDELETED " + std::to_string(offsets[1] + 2), kTombstoneText)
        .encode_record(bad_tombstone);
    const struct { std::string data, index, fault; } damages[] = {
        {data, index + std::string("\x31\x00", 2), "entry 3: the index ends"},
        {data, entry_bytes(10) + index.substr(4), "entry 0: offset 10 lies outside"},
        {data, index.substr(0, 8) + entry_bytes(offsets[2] + 3), "entry 2: no whole"},
        {data.substr(0, data.size() - 1), index, "entry 2: no whole"},
        {data + std::string("2 1\x01" "4294967295 x"), index + entry_bytes(end), "entry 3: no whole"},
        {data + bad_tombstone, index.substr(0, 4) + entry_bytes(end) + index.substr(8),
         "entry 1: the tombstone"},
        {"PK\x03\x04" + data, index, "not a quote volume"},
    };
    for (const auto& damage : damages) {
        write_bytes(volume, damage.data);
        write_bytes(index_file, damage.index);
        const ToolRun run = run_tool({"check", volume});
        EXPECT_EQ(3, run.status) << damage.fault;
        EXPECT_TRUE(has(run.out, "problem: " + damage.fault)) << run.out;
        EXPECT_EQ(damage.data, file_bytes(volume));
        EXPECT_EQ(damage.index, file_bytes(index_file));
    }
}

TEST_F(VolumeRecoverCommand, RebuildsALostIndexKeepingDeletedItemsDeleted)
{
    make_volume({"a", "b", "c", "d"});
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    delete_item(db, 1);
    ASSERT_EQ(1u, db.replace_item(2, make_quote(0, "cat", "c2")));
    delete_item(db, 3);
    delete_item(db, 3);
    const std::string data = file_bytes(volume);
    std::remove(index_file.c_str());
    ASSERT_EQ(0, run_tool({"recover", volume}).status);
    const std::string rebuilt = volume + ".rec.STD";
    EXPECT_EQ(data, file_bytes(rebuilt));
    EXPECT_FALSE(file_exists(index_file));
    EXPECT_EQ("a\n%\nc\n%\nc2\n%\n", run_tool({"export", rebuilt}).out);
    ASSERT_EQ(1u, db.set_file_name(zstring(rebuilt.c_str())));
    for (uint32_t n : {1u, 3u, 3u}) {
        QuoteEntry entry = stored_entry(db, n);
        ASSERT_EQ(1u, db.undelete_item(entry));
    }
    EXPECT_EQ("a\n%\nb\n%\nc\n%\nd\n%\nc2\n%\n", run_tool({"export", rebuilt}).out);
}

TEST_F(VolumeRecoverCommand, SkipsGarbageAndReportsWhereItWas)
{
    make_volume({"a", "b", "c"});
    const std::string data = file_bytes(volume);
    const std::string garbage = "xx2 1\x01" "99 junk\xFF";
    const std::string damaged = data.substr(0, offsets[1]) + garbage +
                                data.substr(offsets[1], data.size() - offsets[1] - 2);
    write_bytes(volume, damaged);
    const ToolRun run = run_tool({"recover", volume});
    ASSERT_EQ(0, run.status) << run.err;
    for (size_t from : {size_t{offsets[1]}, offsets[2] + garbage.size()})
        EXPECT_TRUE(has(run.out, "skipped bytes " + std::to_string(from) + " to ")) << run.out;
    EXPECT_EQ("a\n%\nb\n%\n", run_tool({"export", volume + ".rec.STD"}).out);
    EXPECT_EQ(damaged, file_bytes(volume));

    // An existing result is never overwritten; a foreign file is refused.
    EXPECT_EQ(1, run_tool({"recover", volume}).status);
    EXPECT_EQ("a\n%\nb\n%\n", run_tool({"export", volume + ".rec.STD"}).out);
    write_bytes(folder.file("f.STD"), "plain text, no header");
    EXPECT_EQ(1, run_tool({"recover", folder.file("f.STD")}).status);
    EXPECT_FALSE(file_exists(folder.file("f.STD.rec.STD")));
}
