// Damaged and hostile volumes: every read fails cleanly and nothing is
// ever written to the files.
#include <gtest/gtest.h>

#include <string>

#include "db/quote_database.h"
#include "volume_test_support.h"

TEST(CorruptVolume, BadEntriesAndRecordsFailWithoutWriting)
{
    ScratchFolder folder;
    const std::string header = (QuoteDatabaseV2(), file_bytes("Volume01.STD"));
    // Entries: good, another version, truncated, a huge length, past the end,
    // into the header, and a partial last entry.
    const std::string good = record_bytes("3", "good");
    const std::string old = record_bytes("2", "old");
    const std::string huge = "2 1\x01" "4294967295 x";
    const auto good_at = static_cast<uint32_t>(header.size());
    const auto truncated_at = static_cast<uint32_t>(good_at + good.size() + old.size());
    const std::string data = header + good + old + good.substr(0, 10) + huge;
    const std::string index = entry_bytes(good_at) + entry_bytes(good_at + good.size()) +
                              entry_bytes(truncated_at) + entry_bytes(truncated_at + 10) +
                              entry_bytes(0x7FFFFFF0) + entry_bytes(0) + "\x31\x00";
    write_bytes("Volume01.STD", data);
    write_bytes("Volume01.idx", index);

    QuoteDatabaseV2 db;
    ASSERT_EQ(1, db.header_valid());
    EXPECT_EQ(6u, db.count()) << "a partial last entry does not count";
    for (uint32_t n = 0; n <= 7; ++n) {
        QuoteEntry entry = make_quote(99, "before", "before");
        EXPECT_EQ(n == 0 ? 1u : 0u, db.read_item(n, entry)) << "item " << n;
        EXPECT_STREQ(n == 0 ? "good" : "before", entry.text().c_str()) << "item " << n;
    }
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(index, file_bytes("Volume01.idx"));

    // An append after the partial entry keeps the entries aligned; a pack
    // keeps only the readable records.
    ASSERT_EQ(1u, db.append_item(make_quote(1, "cat", "appended")));
    EXPECT_EQ(7u, db.count());
    EXPECT_STREQ("appended", stored_entry(db, 6).text().c_str());
    ASSERT_EQ(1u, db.pack());
    EXPECT_EQ((std::vector<std::string>{"good", "appended"}), item_texts(db));
}
