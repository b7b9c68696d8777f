// A write that did not reach the disk never reports success, and a failed
// operation leaves every item where the user can still find it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/quote_database.h"
#include "small_disk.h"
#include "volume_test_support.h"

namespace {

const std::string kLong(300, 'q');

// Appends until the disk refuses; a refusal must leave the count as it was.
void append_until_full(QuoteDatabaseV2& db, std::vector<std::string>& expected)
{
    for (int i = 0; i < 200; ++i) {
        const std::string text = kLong + std::to_string(i);
        const uint32_t before = db.count();
        if (!db.append_item(make_quote(i, "full", text))) {
            EXPECT_EQ(before, db.count()) << "a refused append adds no entry";
            return;
        }
        expected.push_back(text);
    }
    ADD_FAILURE() << "the disk never filled up";
}

}  // namespace

TEST(WriteFailure, AFullDiskRefusesAppendsEditsAndDeletesCleanly)
{
    SmallDisk disk;
    if (!disk.ready())
        GTEST_SKIP() << disk.unavailable();
    QuoteDatabaseV2 db;
    append_quotes(db, 5);
    std::vector<std::string> expected = quote_texts(0, 4);
    ASSERT_TRUE(disk.leave_free(3000));
    append_until_full(db, expected);
    ASSERT_TRUE(disk.leave_free(0));
    append_until_full(db, expected);
    EXPECT_EQ(expected, item_texts(db));

    QuoteEntry second = stored_entry(db, 1);
    const uint32_t edited = db.replace_item(1, make_quote(1, "cat", kLong + kLong + "edited"));
    QuoteEntry third = stored_entry(db, 2);
    const uint32_t deleted = db.delete_item(third);
    if (edited)
        expected[1] = kLong + kLong + "edited";
    if (!deleted) {
        EXPECT_STREQ("quote 2", third.text().c_str()) << "the entry keeps showing the item";
        EXPECT_EQ(expected, item_texts(db));
    }
    EXPECT_EQ(0u, edited * deleted) << "a full disk took two more records";
}

TEST(WriteFailure, PackSwapsInOnlyAVerifiedCopy)
{
    SmallDisk disk;
    if (!disk.ready())
        GTEST_SKIP() << disk.unavailable();
    QuoteDatabaseV2 db;
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(1u, db.append_item(make_quote(i, "cat", kLong + std::to_string(i))));
    const std::vector<std::string> all = item_texts(db);
    QuoteEntry first = stored_entry(db, 0);
    ASSERT_EQ(1u, db.delete_item(first));
    const std::vector<std::string> live(all.begin() + 1, all.end());
    const std::string before_data = file_bytes("Volume01.STD");
    const std::string before_index = file_bytes("Volume01.idx");

    // Room for about a third of the copy.
    ASSERT_TRUE(disk.leave_free(before_data.size() / 3));
    EXPECT_EQ(0u, db.pack());
    EXPECT_EQ(before_data, file_bytes("Volume01.STD"));
    EXPECT_EQ(before_index, file_bytes("Volume01.idx"));
    EXPECT_FALSE(file_exists("Volume01.STD.pak.STD")) << "the failed copy is removed";

    disk.remove_filler();
    ASSERT_EQ(1u, db.pack());
    EXPECT_EQ(live, item_texts(db));
    EXPECT_EQ(before_data, file_bytes("Volume01.STD.bak.STD"));

    // A second pack on a nearly full disk must not replace that backup with
    // a damaged copy.
    QuoteEntry again = stored_entry(db, 0);
    ASSERT_EQ(1u, db.delete_item(again));
    const std::string packed_data = file_bytes("Volume01.STD");
    ASSERT_TRUE(disk.leave_free(packed_data.size() / 3));
    EXPECT_EQ(0u, db.pack());
    EXPECT_EQ(before_data, file_bytes("Volume01.STD.bak.STD"));
    EXPECT_EQ(packed_data, file_bytes("Volume01.STD"));
    const std::vector<std::string> now = item_texts(db);
    ASSERT_EQ(live.size(), now.size());
    EXPECT_EQ(std::vector<std::string>(live.begin() + 1, live.end()),
              std::vector<std::string>(now.begin() + 1, now.end()));
}

TEST(WriteFailure, ADatabaseWithoutAVolumeRefusesEveryWrite)
{
    ScratchFolder folder;
    std::filesystem::create_directory("Volume01.STD");  // neither readable nor creatable
    QuoteDatabaseV2 db;
    EXPECT_FALSE(db.bound());
    QuoteEntry entry = make_quote(1, "cat", "text");
    entry.set_position(0);
    EXPECT_EQ(0u, db.append_item(entry));
    uint32_t offset = 0;
    EXPECT_EQ(0u, db.append_record(entry, offset));
    EXPECT_EQ(0u, db.replace_item(0, entry));
    EXPECT_EQ(0u, db.delete_item(entry));
    EXPECT_EQ(0u, db.erase_entry(0));
    EXPECT_EQ(0u, db.create());
    EXPECT_EQ(0u, db.pack());
    EXPECT_EQ(0u, db.copy_to(zstring("copy.STD")));
    EXPECT_EQ(0xFFFFFFFFu, db.count());
    EXPECT_EQ(0u, db.read_item(0, entry));
    for (const char* name : {"default.std", "default.idx", "Volume01.idx", "copy.STD", "copy.idx"})
        EXPECT_FALSE(file_exists(name)) << name;

    ASSERT_EQ(1u, db.set_file_name(zstring("Other.STD")));
    EXPECT_TRUE(db.bound());
    EXPECT_EQ(1u, db.append_item(entry));
}
