#include "db/quote_database.h"

#include <gtest/gtest.h>

#include <string>

#include "volume_test_support.h"

namespace {

const std::string kHeader = std::string("\xFE" "kOXr" "\xFF" "21 QuoteDatabaseV2<T, B>9 Keldovane") +
                            std::string(7, '\0') + "\x40";

}  // namespace

TEST(QuoteDatabase, FirstStartCreatesTheHeaderOnly)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    EXPECT_EQ(kHeader, file_bytes("Volume01.STD"));
    EXPECT_FALSE(file_exists("Volume01.idx"));
    EXPECT_EQ(0u, db.count());
    EXPECT_TRUE(file_exists("Volume01.idx")) << "counting makes the empty index";
    EXPECT_EQ("", file_bytes("Volume01.idx"));
    QuoteEntry entry;
    EXPECT_EQ(0u, db.read_item(0, entry));
    EXPECT_EQ(1, db.header_valid());
}

TEST(QuoteDatabase, AppendsRecordsAtTheOldEnd)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    ASSERT_EQ(1u, db.append_item(make_quote(7, "Life", "Hi")));
    EXPECT_EQ(entry_bytes(49), file_bytes("Volume01.idx"));
    const size_t first_end = file_bytes("Volume01.STD").size();
    ASSERT_EQ(1u, db.append_item(make_quote(8, "Work", "Line one\r\nline two")));
    EXPECT_EQ(entry_bytes(49) + entry_bytes(static_cast<uint32_t>(first_end)),
              file_bytes("Volume01.idx"));
    EXPECT_EQ(2u, db.count());

    QuoteEntry entry;
    ASSERT_EQ(1u, db.read_item(1, entry));
    EXPECT_STREQ("Line one\r\nline two", entry.text().c_str());
    EXPECT_STREQ("Work", entry.classification().c_str());
    EXPECT_EQ(8, entry.quote_number());
    ASSERT_EQ(1u, db.read_item(0, entry));
    EXPECT_STREQ("Hi", entry.text().c_str());
}

TEST(QuoteDatabase, ReplaceAppendsAndRepointsOneEntry)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 3);
    const std::string data_before = file_bytes("Volume01.STD");
    const std::string index_before = file_bytes("Volume01.idx");

    ASSERT_EQ(1u, db.replace_item(1, make_quote(1, "cat", "edited")));
    const std::string data_after = file_bytes("Volume01.STD");
    EXPECT_EQ(data_before, data_after.substr(0, data_before.size())) << "old records untouched";
    EXPECT_EQ(3u, db.count());
    EXPECT_EQ(index_before.substr(0, 4), file_bytes("Volume01.idx").substr(0, 4));
    EXPECT_EQ(entry_bytes(static_cast<uint32_t>(data_before.size())),
              file_bytes("Volume01.idx").substr(4, 4));
    EXPECT_EQ((std::vector<std::string>{"quote 0", "edited", "quote 2"}), item_texts(db));

    EXPECT_EQ(0u, db.replace_item(3, make_quote(3, "cat", "past the end")));
    EXPECT_EQ(data_after, file_bytes("Volume01.STD")) << "a refused replace writes nothing";
}

TEST(QuoteDatabase, DeleteWritesATombstoneAndUndeleteRestores)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 3);
    const std::string data_before = file_bytes("Volume01.STD");
    const std::string index_before = file_bytes("Volume01.idx");

    QuoteEntry entry;
    ASSERT_EQ(1u, db.read_item(1, entry));
    entry.set_position(1);
    ASSERT_EQ(1u, db.delete_item(entry));
    EXPECT_EQ(1, entry.position());
    EXPECT_EQ("\aDELETED " + std::to_string(index_before[4] & 0xFF),
              std::string(entry.classification().c_str()));
    EXPECT_STREQ("               (QUOTE DELETED)", entry.text().c_str());
    EXPECT_EQ(1u, db.is_deleted(entry));

    const std::string data_after = file_bytes("Volume01.STD");
    EXPECT_EQ(data_before, data_after.substr(0, data_before.size()));
    const std::string index_after = file_bytes("Volume01.idx");
    EXPECT_EQ(index_before.substr(0, 4), index_after.substr(0, 4));
    EXPECT_EQ(entry_bytes(static_cast<uint32_t>(data_before.size())), index_after.substr(4, 4));
    EXPECT_EQ(index_before.substr(8), index_after.substr(8));

    // Deleting the tombstone again points the new one at the first tombstone.
    QuoteEntry again;
    ASSERT_EQ(1u, db.read_item(1, again));
    again.set_position(1);
    ASSERT_EQ(1u, db.delete_item(again));
    EXPECT_EQ("\aDELETED " + std::to_string(data_before.size()),
              std::string(again.classification().c_str()));

    // Un-deleting the first tombstone entry puts the original back.
    ASSERT_EQ(1u, db.undelete_item(entry));
    EXPECT_EQ(index_before, file_bytes("Volume01.idx"));
    QuoteEntry restored;
    ASSERT_EQ(1u, db.read_item(1, restored));
    EXPECT_STREQ("quote 1", restored.text().c_str());
    EXPECT_STREQ("cat", restored.classification().c_str());
}

TEST(QuoteDatabase, DeleteAndUndeleteThatHaveNothingToDo)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 2);
    const std::string data = file_bytes("Volume01.STD");
    const std::string index = file_bytes("Volume01.idx");

    QuoteEntry unsaved = make_quote(0, "new", "not stored");
    EXPECT_EQ(1u, db.delete_item(unsaved));
    EXPECT_STREQ("not stored", unsaved.text().c_str());
    EXPECT_EQ(0u, db.undelete_item(unsaved));

    QuoteEntry live;
    ASSERT_EQ(1u, db.read_item(0, live));
    live.set_position(0);
    EXPECT_EQ(1u, db.undelete_item(live));

    QuoteEntry beyond = make_quote(0, "cat", "x");
    beyond.set_position(5);
    EXPECT_EQ(0u, db.delete_item(beyond));
    EXPECT_STREQ("x", beyond.text().c_str());

    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
}

TEST(QuoteDatabase, ErasedEntryKeepsItsNumberButCannotBeRead)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 3);
    ASSERT_EQ(1u, db.erase_entry(1));
    EXPECT_EQ(entry_bytes(0xFFFFFFFF), file_bytes("Volume01.idx").substr(4, 4));
    EXPECT_EQ(3u, db.count());
    EXPECT_EQ((std::vector<std::string>{"quote 0", "?", "quote 2"}), item_texts(db));
    EXPECT_EQ(0u, db.erase_entry(3)) << "an entry past the end is not made";
    EXPECT_EQ(12u, file_bytes("Volume01.idx").size());
}

TEST(QuoteDatabase, OpenChecksTheHeader)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 1);

    write_bytes("Foreign.STD", "PK\x03\x04 not a volume at all, but long enough");
    EXPECT_EQ(0u, db.set_file_name(zstring("Foreign.STD")));
    EXPECT_EQ(0, db.header_valid());
    EXPECT_STREQ("Volume01.STD", db.file_name().c_str()) << "stays on the previous pair";
    EXPECT_EQ((std::vector<std::string>{"quote 0"}), item_texts(db));

    std::string upper = kHeader;
    upper.replace(upper.find("Keldovane"), 9, "KELDOVANE");
    write_bytes("Upper.STD", upper);
    EXPECT_EQ(0u, db.set_file_name(zstring("Upper.STD")));
    EXPECT_EQ(1, db.header_valid()) << "the magic was there";
    EXPECT_STREQ("Volume01.STD", db.file_name().c_str());

    std::string newer = kHeader;
    newer.replace(41, 8, std::string("\x4D\xF9\x6B\x0D\x00\x00\x00\x40", 8));  // 2.0000001
    write_bytes("Newer.STD", newer);
    EXPECT_EQ(0u, db.set_file_name(zstring("Newer.STD")));
    EXPECT_EQ(0u, db.set_file_name(zstring("Tiny.STD\"")));
    EXPECT_STREQ("Volume01.STD", db.file_name().c_str());

    write_bytes("Other.STD", kHeader);
    ASSERT_EQ(1u, db.set_file_name(zstring("Other.STD")));
    EXPECT_STREQ("Other.idx", db.index_name().c_str());
    EXPECT_EQ(0u, db.count());
    EXPECT_EQ(kHeader, file_bytes("Other.STD")) << "opening writes nothing to the data";
}

TEST(QuoteDatabase, RenameMovesBothFilesOrNeither)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 2);
    ASSERT_EQ(1u, db.rename(zstring("Moved.STD")));
    EXPECT_FALSE(file_exists("Volume01.STD"));
    EXPECT_FALSE(file_exists("Volume01.idx"));
    EXPECT_STREQ("Moved.idx", db.index_name().c_str());
    EXPECT_EQ(quote_texts(0, 1), item_texts(db));

    // Only the data file exists at the target: the index moves, the data
    // cannot, and the index is moved back so the volume stays whole.
    write_bytes("Taken.STD", "occupied");
    EXPECT_EQ(0u, db.rename(zstring("Taken.STD")));
    EXPECT_TRUE(file_exists("Moved.idx"));
    EXPECT_FALSE(file_exists("Taken.idx"));
    EXPECT_EQ("occupied", file_bytes("Taken.STD"));
    EXPECT_EQ(quote_texts(0, 1), item_texts(db));

    // Both target files exist: the first move fails.
    write_bytes("Both.STD", "data");
    write_bytes("Both.idx", "idx!");
    EXPECT_EQ(0u, db.rename(zstring("Both.STD")));
    EXPECT_EQ("idx!", file_bytes("Both.idx"));
    EXPECT_EQ(quote_texts(0, 1), item_texts(db));

    EXPECT_EQ(0u, db.rename(zstring("bad|name.STD")));
    EXPECT_EQ(quote_texts(0, 1), item_texts(db));
}

TEST(QuoteDatabase, EraseFilesCountsMissingFilesAsErased)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 1);
    EXPECT_EQ(1u, db.erase_files());
    EXPECT_FALSE(file_exists("Volume01.STD"));
    EXPECT_FALSE(file_exists("Volume01.idx"));
    EXPECT_EQ(1u, db.erase_files());
}
