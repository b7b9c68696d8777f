// What the volumes do when another program holds one of their files open;
// only Windows stops a move or a delete that way.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/quote_database.h"
#include "volume_test_support.h"

TEST(VolumeLock, PackWithAHeldFileLeavesACompleteVolume)
{
    const std::vector<std::string> all = quote_texts(0, 9);

    {   // The old backup cannot be deleted: the live pair cannot move there.
        ScratchFolder folder;
        QuoteDatabaseV2 db;
        append_quotes(db, 10);
        FileLock lock("Volume01.STD.bak.STD", GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(0u, db.pack());
        EXPECT_STREQ("Volume01.STD", db.file_name().c_str());
        EXPECT_EQ(all, item_texts(db));
        EXPECT_TRUE(file_exists("Volume01.idx")) << "the index moved back";
    }
    {   // The live data file is held open: its index moves, then back.
        ScratchFolder folder;
        QuoteDatabaseV2 db;
        append_quotes(db, 10);
        FileLock lock("Volume01.STD", GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(lock.held());
        EXPECT_EQ(0u, db.pack());
        EXPECT_STREQ("Volume01.STD", db.file_name().c_str());
        EXPECT_FALSE(file_exists("Volume01.STD.bak.idx"));
        EXPECT_EQ(all, item_texts(db));
    }
}
