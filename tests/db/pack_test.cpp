// Packing never leaves the user without a complete volume, whatever step fails.
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
