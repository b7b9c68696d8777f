// Packing keeps one backup generation and never leaves the user without a
// complete volume, whatever step fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "volume_test_support.h"

namespace {

const char* const kBackup = "Volume01.STD.bak.STD";
const char* const kPacked = "Volume01.STD.pak.STD";

// Moves onto the live name fail a given number of times (-1: always), as a
// move onto a name held by another program would.
struct RefusingDatabase : QuoteDatabaseV2 {
    explicit RefusingDatabase(int times) : times(times) {}
    uint32_t rename(const zstring& name) override
    {
        if (name == zstring("Volume01.STD") && times != 0 && times--)
            return 0;
        return QuoteDatabaseV2::rename(name);
    }
    int times;
};

}  // namespace

using Pack = VolumeTest;

TEST_F(Pack, DropsDeletedItemsAndKeepsTheBackup)
{
    append_quotes(db, 10);
    delete_item(db, 3);

    ASSERT_EQ(1u, db.pack());
    std::vector<std::string> expected = quote_texts(0, 9);
    expected.erase(expected.begin() + 3);
    EXPECT_EQ(expected, item_texts(db));
    EXPECT_STREQ("Volume01.STD", db.file_name().c_str());
    EXPECT_EQ((std::vector<std::string>{"Volume01.STD", kBackup, "Volume01.STD.bak.idx",
                                        "Volume01.idx"}),
              folder.listing());

    // A second pack replaces the backup with the volume just before it.
    const std::string packed_once = file_bytes("Volume01.STD");
    ASSERT_EQ(1u, db.pack());
    EXPECT_EQ(packed_once, file_bytes(kBackup));
    EXPECT_EQ(packed_once, file_bytes("Volume01.STD")) << "nothing dead: the same bytes";
}

TEST(PackFailure, EveryPointLeavesACompleteVolume)
{
    const std::vector<std::string> all = quote_texts(0, 9);
    // Refusals of the live names: none (the packed copy cannot be written),
    // once (the backup goes back) and always (the database stays on the
    // backup, which holds every item).
    for (int refusals : {0, 1, -1}) {
        ScratchFolder folder;
        RefusingDatabase db(refusals);
        append_quotes(db, 10);
        if (refusals == 0) {
            ASSERT_TRUE(std::filesystem::create_directory(kPacked));
        }
        EXPECT_EQ(0u, db.pack()) << refusals;
        EXPECT_STREQ(refusals < 0 ? kBackup : "Volume01.STD", db.file_name().c_str());
        EXPECT_EQ(all, item_texts(db)) << refusals;
        if (refusals == 1) {
            QuoteDatabaseV2 packed;
            ASSERT_EQ(1u, packed.set_file_name(zstring(kPacked)));
            EXPECT_EQ(all, item_texts(packed));
        }
    }
}
