// Volumes on disk: byte-exact headers, records and index entries; edits that
// append and repoint; damaged and hostile files that fail cleanly and are
// never written to.
#include <gtest/gtest.h>

#include <string>

#include "volume_test_support.h"

using QuoteDatabase = VolumeTest;

static const std::string kHeader =
    std::string("\xFE" "kOXr" "\xFF" "21 QuoteDatabaseV2<T, B>9 Keldovane") + std::string(7, '\0') + "\x40";

TEST_F(QuoteDatabase, FirstStartMakesTheHeaderAndAppendsGoAtTheOldEnd)
{
    EXPECT_EQ(kHeader, file_bytes("Volume01.STD"));
    EXPECT_FALSE(file_exists("Volume01.idx"));
    EXPECT_EQ(0u, db.count());
    EXPECT_EQ("", file_bytes("Volume01.idx")) << "counting makes the empty index";

    ASSERT_EQ(1u, db.append_item(make_quote(7, "Life", "Hi")));
    const size_t first_end = file_bytes("Volume01.STD").size();
    ASSERT_EQ(1u, db.append_item(make_quote(8, "Work", "Line one\r\nline two")));
    EXPECT_EQ(entry_bytes(49) + entry_bytes(static_cast<uint32_t>(first_end)),
              file_bytes("Volume01.idx"));
    EXPECT_EQ((std::vector<std::string>{"Hi", "Line one\r\nline two"}), item_texts(db));
}

TEST_F(QuoteDatabase, EditsAppendARecordAndRepointOneEntry)
{
    append_quotes(db, 4);
    const std::string data_before = file_bytes("Volume01.STD");
    const std::string index_before = file_bytes("Volume01.idx");
    const uint32_t end = static_cast<uint32_t>(data_before.size());

    // Unsaved and live entries: nothing to do; past the end: refused.
    QuoteEntry unsaved = make_quote(0, "new", "not stored"), live = stored_entry(db, 0);
    QuoteEntry beyond = make_quote(0, "cat", "x");
    beyond.set_position(5);
    EXPECT_EQ(1u, db.delete_item(unsaved) * db.undelete_item(live));
    EXPECT_EQ(0u, db.undelete_item(unsaved) + db.delete_item(beyond) + db.erase_entry(4) +
                      db.replace_item(4, make_quote(2, "cat", "past the end")));
    EXPECT_STREQ("not stored", unsaved.text().c_str());
    EXPECT_EQ(index_before + data_before, file_bytes("Volume01.idx") + file_bytes("Volume01.STD"));

    ASSERT_EQ(1u, db.replace_item(1, make_quote(1, "cat", "edited")));
    const uint32_t tombstone_at = static_cast<uint32_t>(file_bytes("Volume01.STD").size());
    QuoteEntry entry = stored_entry(db, 2);
    ASSERT_EQ(1u, db.delete_item(entry));
    EXPECT_EQ("\aDELETED " + std::to_string(index_before[8] & 0xFF),
              std::string(entry.classification().c_str()));
    EXPECT_STREQ("               (QUOTE DELETED)", entry.text().c_str());
    EXPECT_EQ(1u, db.is_deleted(entry));
    ASSERT_EQ(1u, db.erase_entry(3));

    EXPECT_EQ(data_before, file_bytes("Volume01.STD").substr(0, end)) << "old records untouched";
    EXPECT_EQ(index_before.substr(0, 4) + entry_bytes(end) + entry_bytes(tombstone_at) +
                  entry_bytes(0xFFFFFFFF),
              file_bytes("Volume01.idx"));
    EXPECT_EQ((std::vector<std::string>{"quote 0", "edited", "               (QUOTE DELETED)",
                                        "?"}),
              item_texts(db));

    // Deleting a tombstone points at it; undeleting the first restores the original.
    QuoteEntry again = stored_entry(db, 2);
    ASSERT_EQ(1u, db.delete_item(again));
    EXPECT_EQ("\aDELETED " + std::to_string(tombstone_at),
              std::string(again.classification().c_str()));
    ASSERT_EQ(1u, db.undelete_item(entry));
    EXPECT_EQ(index_before.substr(8, 4), file_bytes("Volume01.idx").substr(8, 4));
    EXPECT_STREQ("quote 2", stored_entry(db, 2).text().c_str());
}

TEST_F(QuoteDatabase, OpenRefusesForeignShortAndOtherBrandedFiles)
{
    append_quotes(db, 1);

    std::string upper = kHeader;
    upper.replace(upper.find("Keldovane"), 9, "KELDOVANE");
    std::string newer = kHeader;
    newer.replace(41, 8, std::string("\x4D\xF9\x6B\x0D\x00\x00\x00\x40", 8));  // 2.0000001
    const struct { const char* name; std::string bytes; int magic; } refused[] = {
        {"Foreign.STD", "PK\x03\x04 not a volume at all, but long enough", 0},
        {"Short.STD", "\xFE" "kO", 0},
        {"Cut.STD", kHeader.substr(0, 20), 1},
        {"Upper.STD", upper, 1},
        {"Newer.STD", newer, 1}};
    for (const auto& c : refused) {
        write_bytes(c.name, c.bytes);
        EXPECT_EQ(0u, db.set_file_name(zstring(c.name))) << c.name;
        EXPECT_EQ(c.magic, db.header_valid()) << c.name;
        EXPECT_EQ(c.bytes, file_bytes(c.name));
    }
    EXPECT_STREQ("Volume01.STD", db.file_name().c_str()) << "stays on the previous pair";
    EXPECT_EQ(0u, db.set_file_name(zstring("Tiny.STD\"")));
    EXPECT_EQ((std::vector<std::string>{"quote 0"}), item_texts(db));

    write_bytes("Other.STD", kHeader);
    ASSERT_EQ(1u, db.set_file_name(zstring("Other.STD")));
    EXPECT_EQ(0u, db.count());
    EXPECT_EQ(kHeader, file_bytes("Other.STD")) << "opening writes nothing";
}

TEST_F(QuoteDatabase, RenameMovesBothFilesOrNeither)
{
    append_quotes(db, 2);
    ASSERT_EQ(1u, db.rename(zstring("Moved.STD")));
    EXPECT_STREQ("Moved.idx", db.index_name().c_str());
    // Taken data name (the index is moved back), both names taken, a bad name.
    write_bytes("Taken.STD", "occupied");
    write_bytes("Both.STD", "data");
    write_bytes("Both.idx", "idx!");
    for (const char* name : {"Taken.STD", "Both.STD", "bad|name.STD"})
        EXPECT_EQ(0u, db.rename(zstring(name))) << name;
    EXPECT_EQ((std::vector<std::string>{"Both.STD", "Both.idx", "Moved.STD", "Moved.idx",
                                        "Taken.STD"}),
              folder.listing());
    EXPECT_EQ("occupied" + std::string("idx!"), file_bytes("Taken.STD") + file_bytes("Both.idx"));
    EXPECT_EQ(quote_texts(0, 1), item_texts(db));

    EXPECT_EQ(1u, db.erase_files());
    EXPECT_EQ((std::vector<std::string>{"Both.STD", "Both.idx", "Taken.STD"}), folder.listing());
    EXPECT_EQ(1u, db.erase_files()) << "missing files count as erased";
}

TEST_F(QuoteDatabase, BadEntriesAndRecordsFailWithoutWriting)
{
    // Entries: good, another version, truncated, a huge length, past the end,
    // into the header, and a partial last entry.
    const std::string good = record_bytes("3", "good");
    const std::string old = record_bytes("2", "old");
    const std::string huge = "2 1\x01" "4294967295 x";
    const auto good_at = static_cast<uint32_t>(kHeader.size());
    const auto truncated_at = static_cast<uint32_t>(good_at + good.size() + old.size());
    const std::string data = kHeader + good + old + good.substr(0, 10) + huge;
    const std::string index = entry_bytes(good_at) + entry_bytes(good_at + good.size()) +
                              entry_bytes(truncated_at) + entry_bytes(truncated_at + 10) +
                              entry_bytes(0x7FFFFFF0) + entry_bytes(0) + "\x31\x00";
    write_bytes("Volume01.STD", data);
    write_bytes("Volume01.idx", index);

    ASSERT_EQ(1, db.header_valid());
    EXPECT_EQ(6u, db.count()) << "a partial last entry does not count";
    for (uint32_t n = 0; n <= 7; ++n) {
        QuoteEntry entry = make_quote(99, "before", "before");
        EXPECT_EQ(n == 0 ? 1u : 0u, db.read_item(n, entry)) << "item " << n;
        EXPECT_STREQ(n == 0 ? "good" : "before", entry.text().c_str()) << "item " << n;
    }
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(index, file_bytes("Volume01.idx"));

    // An append after the partial entry keeps the entries aligned; pack
    // refuses the damaged volume and leaves it as it is.
    ASSERT_EQ(1u, db.append_item(make_quote(1, "cat", "appended")));
    EXPECT_STREQ("appended", stored_entry(db, 6).text().c_str());
    const std::string appended = file_bytes("Volume01.idx");
    EXPECT_EQ(0u, db.pack());
    EXPECT_EQ(QuoteVolume::kUnsound, db.failure());
    EXPECT_EQ(appended, file_bytes("Volume01.idx"));
    EXPECT_FALSE(file_exists("Volume01.STD.bak.STD"));
}
