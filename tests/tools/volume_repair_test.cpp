// check finds each kind of damage by its entry number without touching the
// files; recover rebuilds a lost or damaged index into a new pair.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/quote_database.h"
#include "tool_test_support.h"

namespace {

bool has_line(const std::string& text, const std::string& line)
{
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

const std::string kHeaderSize = "49";

}  // namespace

TEST(VolumeCheckCommand, SoundVolumeReportsDeadSpaceAndErasedEntriesAsNotes)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    std::vector<uint32_t> offsets;
    make_volume(volume, {"a", "b", "c"}, &offsets);
    const size_t size = file_bytes(volume).size();
    ToolRun run = run_tool({"check", volume});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(volume + ": 3 entries, 3 live, 0 deleted; dead space 0 bytes (0.0% of " +
                  std::to_string(size) + "); sound\n",
              run.out);
    {
        // Every first record becomes dead space: "a" replaced, "b" erased,
        // "c" deleted (its tombstone is live, the record it names is not).
        QuoteDatabaseV2 db{zstring(volume.c_str())};
        ASSERT_EQ(1u, db.replace_item(0, make_quote(0, "cat", "a2")));
        delete_item(db, 2);
        ASSERT_EQ(1u, db.erase_entry(1));
    }
    run = run_tool({"check", volume});
    EXPECT_EQ(0, run.status) << run.out;
    EXPECT_TRUE(has_line(run.out, "note: entry 1: erased")) << run.out;
    const uint64_t dead = size - offsets[0];
    EXPECT_NE(std::string::npos, run.out.find("3 entries, 1 live, 1 deleted; dead space " +
                                              std::to_string(dead) + " bytes"))
        << run.out;
}

TEST(VolumeCheckCommand, FindsEachKindOfDamageByEntry)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    std::vector<uint32_t> offsets;
    make_volume(volume, {"a", "b", "c"}, &offsets);
    const std::string data = file_bytes(volume);
    const std::string index = file_bytes(index_of(volume));
    const uint32_t end = static_cast<uint32_t>(data.size());
    std::string bad_tombstone;
    make_quote(0, "\aDELETED " + std::to_string(offsets[1] + 2), kTombstoneText)
        .encode_record(bad_tombstone);
    struct Damage {
        std::string data;
        std::string index;
        std::string line;
    };
    const std::vector<Damage> damages = {
        {data, index + std::string("\x31\x00", 2),
         "problem: entry 3: the index ends with a partial entry of 2 bytes"},
        {data, index.substr(0, 4) + entry_bytes(end + 100) + index.substr(8),
         "problem: entry 1: offset " + std::to_string(end + 100) +
             " lies outside the records (bytes " + kHeaderSize + " to " + std::to_string(end) + ")"},
        {data, entry_bytes(10) + index.substr(4),
         "problem: entry 0: offset 10 lies outside the records (bytes " + kHeaderSize + " to " +
             std::to_string(end) + ")"},
        {data, index.substr(0, 8) + entry_bytes(offsets[2] + 3),
         "problem: entry 2: no whole version-3 record at offset " + std::to_string(offsets[2] + 3)},
        {data.substr(0, data.size() - 1), index,
         "problem: entry 2: no whole version-3 record at offset " + std::to_string(offsets[2])},
        {data + std::string("2 1\x01" "4294967295 x"), index + entry_bytes(end),
         "problem: entry 3: no whole version-3 record at offset " + std::to_string(end)},
        {data + bad_tombstone, index.substr(0, 4) + entry_bytes(end) + index.substr(8),
         "problem: entry 1: the tombstone at offset " + std::to_string(end) + " names offset " +
             std::to_string(offsets[1] + 2) + ", where no readable record starts"},
        {"PK\x03\x04" + data, index, "problem: not a quote volume (no header)"},
    };
    for (const Damage& damage : damages) {
        write_bytes(volume, damage.data);
        write_bytes(index_of(volume), damage.index);
        const ToolRun run = run_tool({"check", volume});
        EXPECT_EQ(3, run.status) << damage.line;
        EXPECT_TRUE(has_line(run.out, damage.line)) << run.out;
        EXPECT_EQ(damage.data, file_bytes(volume));
        EXPECT_EQ(damage.index, file_bytes(index_of(volume)));
    }
    write_bytes(volume, data);
    std::remove(index_of(volume).c_str());
    const ToolRun run = run_tool({"check", volume});
    EXPECT_EQ(3, run.status);
    EXPECT_NE(std::string::npos, run.out.find("problem: the index ")) << run.out;
    EXPECT_FALSE(file_exists(index_of(volume)));
}

TEST(VolumeRecoverCommand, RebuildsALostIndexKeepingDeletedItemsDeleted)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    make_volume(volume, {"a", "b", "c", "d"});
    {
        // Records in file order: a b c d, b's tombstone, c2 (c edited),
        // then a tombstone of d's tombstone (deleted twice).
        QuoteDatabaseV2 db{zstring(volume.c_str())};
        delete_item(db, 1);
        ASSERT_EQ(1u, db.replace_item(2, make_quote(0, "cat", "c2")));
        delete_item(db, 3);
        delete_item(db, 3);
    }
    const std::string data = file_bytes(volume);
    std::remove(index_of(volume).c_str());
    const ToolRun run = run_tool({"recover", volume});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(has_line(run.out, "found 8 records (3 tombstones), skipped 0 bytes; 5 items"))
        << run.out;
    const std::string rebuilt = volume + ".rec.STD";
    EXPECT_EQ(data, file_bytes(rebuilt));
    EXPECT_EQ(data, file_bytes(volume));
    EXPECT_FALSE(file_exists(index_of(volume)));
    // Both versions of the edited item come back; the deleted ones stay deleted.
    EXPECT_EQ("a\n%\nc\n%\nc2\n%\n", run_tool({"export", rebuilt}).out);
    EXPECT_EQ(0, run_tool({"check", rebuilt}).status);
    EXPECT_NE(std::string::npos, run_tool({"show", rebuilt, "1"}).err.find("item 1 is deleted"));
    {
        QuoteDatabaseV2 db{zstring(rebuilt.c_str())};
        // Undone twice, the doubly deleted item is back too.
        for (uint32_t n : {1u, 3u, 3u}) {
            QuoteEntry entry = stored_entry(db, n);
            ASSERT_EQ(1u, db.undelete_item(entry));
        }
    }
    EXPECT_EQ("a\n%\nb\n%\nc\n%\nd\n%\nc2\n%\n", run_tool({"export", rebuilt}).out);
}

TEST(VolumeRecoverCommand, SkipsGarbageAndReportsWhereItWas)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    std::vector<uint32_t> offsets;
    make_volume(volume, {"a", "b", "c"}, &offsets);
    const std::string data = file_bytes(volume);
    // Garbage after "a", holding a marker that starts no record; and "c" cut short.
    const std::string garbage = "xx2 1\x01" "99 junk\xFF";
    const std::string damaged = data.substr(0, offsets[1]) + garbage +
                                data.substr(offsets[1], data.size() - offsets[1] - 2);
    write_bytes(volume, damaged);
    const ToolRun run = run_tool({"recover", volume});
    ASSERT_EQ(0, run.status) << run.err;
    const uint64_t c_at = offsets[2] + garbage.size();
    EXPECT_TRUE(has_line(run.out, "skipped bytes " + std::to_string(offsets[1]) + " to " +
                                      std::to_string(offsets[1] + garbage.size() - 1) +
                                      " (" + std::to_string(garbage.size()) +
                                      " bytes): no readable record"))
        << run.out;
    EXPECT_TRUE(has_line(run.out, "skipped bytes " + std::to_string(c_at) + " to " +
                                      std::to_string(damaged.size() - 1) + " (" +
                                      std::to_string(damaged.size() - c_at) +
                                      " bytes): no readable record"))
        << run.out;
    EXPECT_EQ("a\n%\nb\n%\n", run_tool({"export", volume + ".rec.STD"}).out);
    EXPECT_EQ(damaged, file_bytes(volume));
}

TEST(VolumeRecoverCommand, RefusesToOverwriteOrToReadAForeignFile)
{
    TempFolder folder;
    const std::string volume = folder.file("v.STD");
    make_volume(volume, {"a"});
    write_bytes(volume + ".rec.idx", "mine");
    ToolRun run = run_tool({"recover", volume});
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("orvvol: " + volume + ".rec.idx: already exists; move it away to recover again\n",
              run.err);
    EXPECT_EQ("mine", file_bytes(volume + ".rec.idx"));
    EXPECT_FALSE(file_exists(volume + ".rec.STD"));

    std::remove((volume + ".rec.idx").c_str());
    write_bytes(volume, "plain text, no header");
    run = run_tool({"recover", volume});
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("orvvol: " + volume + ": not a quote volume (no header)\n", run.err);
    EXPECT_EQ((std::vector<std::string>{"v.STD", "v.idx"}), folder.listing());
}
