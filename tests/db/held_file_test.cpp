// Files held open by another program: a write that cannot reach its file is
// reported as a failure, and a file that cannot be read is never mistaken
// for a missing one.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/quote_database.h"
#include "volume_test_support.h"

TEST(HeldFile, WritesToAHeldIndexOrDataFileFail)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 3);
    QuoteEntry second = stored_entry(db, 1);
    ASSERT_EQ(1u, db.delete_item(second));
    const std::string index = file_bytes("Volume01.idx");
    const std::vector<std::string> texts = item_texts(db);

    for (const char* held : {"Volume01.idx", "Volume01.STD"}) {
        SCOPED_TRACE(held);
        FileLock lock(held, GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(0u, db.append_item(make_quote(9, "cat", "new")));
        EXPECT_EQ(0u, db.replace_item(0, make_quote(0, "cat", "edited")));
        QuoteEntry first = stored_entry(db, 0);
        EXPECT_EQ(0u, db.delete_item(first));
        EXPECT_STREQ("quote 0", first.text().c_str()) << "the entry keeps showing the item";
        EXPECT_EQ(first.position(), 0);
        if (std::string(held) == "Volume01.idx") {
            // Restoring and erasing write only the index.
            QuoteEntry tombstone = stored_entry(db, 1);
            EXPECT_EQ(0u, db.undelete_item(tombstone));
            EXPECT_EQ(0u, db.erase_entry(2));
        }
        EXPECT_EQ(index, file_bytes("Volume01.idx"));
    }
    EXPECT_EQ(texts, item_texts(db));
}

TEST(HeldFile, AnUnreadableVolumeIsNeverReplaced)
{
    ScratchFolder folder;
    {
        QuoteDatabaseV2 db;
        append_quotes(db, 2);
    }
    const std::string data = file_bytes("Volume01.STD");
    const std::string index = file_bytes("Volume01.idx");
    {
        // Held without read sharing: opening at start must fail and touch
        // nothing, and the database must then refuse to write anywhere.
        FileLock lock("Volume01.STD", GENERIC_READ | GENERIC_WRITE, 0);
        ASSERT_TRUE(lock.held());
        QuoteDatabaseV2 db;
        EXPECT_FALSE(db.bound());
        EXPECT_EQ(0u, db.append_item(make_quote(1, "cat", "lost?")));
        EXPECT_FALSE(file_exists("default.std"));
        EXPECT_FALSE(file_exists("default.idx"));
    }
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
    {
        // The index shared only for writing: counting must not empty it.
        QuoteDatabaseV2 db;
        FileLock lock("Volume01.idx", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE);
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(0xFFFFFFFFu, db.count());
        EXPECT_EQ(0u, db.append_item(make_quote(1, "cat", "lost?")));
    }
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
    QuoteDatabaseV2 db;
    EXPECT_EQ((std::vector<std::string>{"quote 0", "quote 1"}), item_texts(db));
}

TEST(HeldFile, APackOfAnUnreadableVolumeStaysOnIt)
{
    ScratchFolder folder;
    QuoteDatabaseV2 db;
    append_quotes(db, 3);
    const std::string data = file_bytes("Volume01.STD");
    {
        FileLock lock("Volume01.STD", GENERIC_READ | GENERIC_WRITE, 0);
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(0u, db.pack());
        EXPECT_EQ(0u, db.copy_to(zstring("copy.STD")));
        EXPECT_STREQ("Volume01.STD", db.file_name().c_str());
        for (const char* name : {"Volume01.STD.pak.STD", "Volume01.STD.pak.idx", "copy.STD"})
            EXPECT_FALSE(file_exists(name)) << name;
    }
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(quote_texts(0, 2), item_texts(db));
    EXPECT_EQ(1u, db.append_item(make_quote(3, "cat", "quote 3")));
}
