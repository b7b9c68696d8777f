// Files held open by another program (only Windows stops a move or a delete
// that way): a write that cannot reach its file is reported as a failure, a
// file that cannot be read is never mistaken for a missing one, and a pack
// leaves a complete volume.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "volume_test_support.h"

using HeldFile = VolumeTest;

TEST_F(HeldFile, WritesToAHeldIndexOrDataFileFail)
{
    append_quotes(db, 3);
    delete_item(db, 1);
    const std::string index = file_bytes("Volume01.idx");
    const std::vector<std::string> texts = item_texts(db);

    for (const char* held : {"Volume01.idx", "Volume01.STD"}) {
        SCOPED_TRACE(held);
        HeldHandle lock(held, GENERIC_READ, FILE_SHARE_READ);
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

TEST_F(HeldFile, AnUnreadableVolumeIsNeverReplaced)
{
    append_quotes(db, 2);
    const std::string data = file_bytes("Volume01.STD");
    const std::string index = file_bytes("Volume01.idx");
    {
        // Held without read sharing: opening must fail and touch nothing,
        // and no write, pack or copy may go anywhere else.
        HeldHandle lock("Volume01.STD", GENERIC_READ | GENERIC_WRITE, 0);
        ASSERT_TRUE(lock.held());
        QuoteDatabaseV2 opened;
        EXPECT_FALSE(opened.bound());
        EXPECT_EQ(0u, opened.append_item(make_quote(1, "cat", "lost?")));
        EXPECT_EQ(0u, db.pack());
        EXPECT_EQ(0u, db.copy_to(zstring("copy.STD")));
        EXPECT_STREQ("Volume01.STD", db.file_name().c_str());
        EXPECT_EQ(std::vector<std::string>({"Volume01.STD", "Volume01.idx"}), folder.listing());
    }
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
    {
        // The index shared only for writing: counting must not empty it.
        HeldHandle lock("Volume01.idx", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE);
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(0xFFFFFFFFu, db.count());
        EXPECT_EQ(0u, db.append_item(make_quote(1, "cat", "lost?")));
    }
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
    EXPECT_EQ(quote_texts(0, 1), item_texts(db));
}

TEST(HeldPack, AHeldFileLeavesACompleteVolume)
{
    // The live data file held: it cannot step aside, so the pack is undone
    // and leaves nothing behind. The old backup held: the packed pair goes
    // live, and the volume as it was waits beside it until the backup's
    // name is free, when the next operation makes it the backup.
    for (const char* held : {"Volume01.STD", "Volume01.STD.bak.STD"}) {
        ScratchFolder folder;
        QuoteDatabaseV2 db;
        append_quotes(db, 10);
        delete_item(db, 9);
        const std::string data = file_bytes("Volume01.STD");
        const bool live_held = std::string(held) == "Volume01.STD";
        {
            HeldHandle lock(held, GENERIC_READ, FILE_SHARE_READ);
            ASSERT_TRUE(lock.held());
            EXPECT_EQ(live_held ? 0u : 1u, db.pack()) << held;
            EXPECT_EQ(live_held ? QuoteVolume::kInUse : QuoteVolume::kNoFailure, db.failure());
            EXPECT_EQ(live_held ? 10u : 9u, db.count());
            EXPECT_EQ(live_held ? data : file_bytes("Volume01.STD.old.STD"),
                      live_held ? file_bytes("Volume01.STD") : data);
        }
        EXPECT_EQ(live_held ? 10u : 9u, db.count());
        const std::vector<std::string> pair = {"Volume01.STD", "Volume01.idx"};
        const std::vector<std::string> with_backup = {"Volume01.STD", "Volume01.STD.bak.STD",
                                                      "Volume01.STD.bak.idx", "Volume01.idx"};
        EXPECT_EQ(live_held ? pair : with_backup, folder.listing());
        if (!live_held)
            EXPECT_EQ(data, file_bytes("Volume01.STD.bak.STD"));
    }
}
