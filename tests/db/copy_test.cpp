// Copying and packing write exactly the bytes of one-by-one appends.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "db/volume_appender.h"
#include "volume_test_support.h"

namespace {

void copy_one_by_one(QuoteDatabaseV2& source, const char* name)
{
    const zstring live = source.file_name();
    std::vector<StoredQuote> items;
    StoredQuote item;
    for (uint32_t i = 0, n = source.count(); i < n; ++i)
        if (source.read_item(i, item) && !source.is_deleted(item))
            items.push_back(item);
    ASSERT_EQ(1u, source.set_file_name(zstring(name)));
    for (const StoredQuote& item : items)
        ASSERT_EQ(1u, source.append_item(item));
    ASSERT_EQ(1u, source.set_file_name(live));
}

}  // namespace

using Copy = VolumeTest;

TEST_F(Copy, WritesTheBytesOfOneByOneAppends)
{
    // Live, replaced, deleted and erased items, a plain record, another
    // version's, a truncated one and an entry past the end.
    append_quotes(db, 6);
    ASSERT_EQ(1u, db.append_item(make_quote(-7, "Life\r\nand more", "two\r\nlines \x07 bell")));
    ASSERT_EQ(1u, db.replace_item(2, make_quote(2, "cat", "edited")));
    delete_item(db, 4);
    ASSERT_EQ(1u, db.erase_entry(5));

    const std::string appended = file_bytes("Volume01.STD");
    const std::string plain = record_bytes("3", "plain body", true);
    const std::string old = record_bytes("2", "old version", true);
    const auto end = static_cast<uint32_t>(appended.size());
    const std::string data = appended + plain + old + "2 1\x01" "40 " + std::string(12, 'x');
    const std::string index = file_bytes("Volume01.idx") + entry_bytes(end) +
                              entry_bytes(end + plain.size()) +
                              entry_bytes(end + plain.size() + old.size()) + entry_bytes(0x7FFFFFF0);
    write_bytes("Volume01.STD", data);
    write_bytes("Volume01.idx", index);

    copy_one_by_one(db, "expected.STD");
    ASSERT_EQ(1u, db.copy_to(zstring("copy.STD")));
    EXPECT_EQ(file_bytes("expected.STD"), file_bytes("copy.STD"));
    EXPECT_EQ(file_bytes("expected.idx"), file_bytes("copy.idx"));
    EXPECT_EQ(data, file_bytes("Volume01.STD")) << "the source is only read";
    EXPECT_EQ(index, file_bytes("Volume01.idx"));

    // Pack refuses the volume while it has entries it cannot read, changing
    // nothing; with them erased, it packs what the copy holds.
    EXPECT_EQ(0u, db.pack());
    EXPECT_EQ(QuoteVolume::kUnsound, db.failure());
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
    for (uint32_t broken : {8u, 9u, 10u})
        ASSERT_EQ(1u, db.erase_entry(broken));
    const std::string erased = file_bytes("Volume01.idx");
    ASSERT_EQ(1u, db.pack());
    EXPECT_EQ(file_bytes("expected.STD"), file_bytes("Volume01.STD"));
    EXPECT_EQ(file_bytes("expected.idx"), file_bytes("Volume01.idx"));
    EXPECT_EQ(data, file_bytes("Volume01.STD.bak.STD"));
    EXPECT_EQ(erased, file_bytes("Volume01.STD.bak.idx"));
    // A second pack keeps one backup: the volume just before it.
    ASSERT_EQ(1u, db.pack());
    EXPECT_EQ(file_bytes("expected.STD"), file_bytes("Volume01.STD.bak.STD"));
    EXPECT_EQ(file_bytes("expected.STD"), file_bytes("Volume01.STD"));
    EXPECT_EQ((std::vector<std::string>{"Volume01.STD", "Volume01.STD.bak.STD",
                                        "Volume01.STD.bak.idx", "Volume01.idx", "copy.STD", "copy.idx",
                                        "expected.STD", "expected.idx"}),
              folder.listing());
}

TEST_F(Copy, RefusesEverySpellingOfItsOwnFiles)
{
    append_quotes(db, 3);
    const std::string data = file_bytes("Volume01.STD");
    const std::string index = file_bytes("Volume01.idx");
    const std::string absolute = (std::filesystem::current_path() / "Volume01.STD").string();
    std::vector<std::string> spellings = {"Volume01.STD", "./Volume01.STD", absolute,
                                          "Volume01.idx", "Volume01.x"};
#ifdef _WIN32
    for (const char* more : {"volume01.std", ".\\Volume01.STD", "VOLUME01.STD.", "Volume01.IDX"})
        spellings.push_back(more);
#endif
    for (const std::string& name : spellings) {
        EXPECT_EQ(0u, db.copy_to(zstring(name.c_str()))) << name;
        EXPECT_STREQ("Volume01.STD", db.file_name().c_str()) << name;
    }
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
}

TEST_F(Copy, ReadsRunsJumpsAndLongRecordsAcrossItsWindows)
{
    // About 3 MB, edits far off at the end, texts longer than any window.
    VolumeAppender bulk;
    ASSERT_EQ(1, bulk.open(db.file_name(), db.index_name()));
    for (int i = 0; i < 2500; ++i)
        ASSERT_EQ(1, bulk.append(make_quote(i, "cat", std::string(900 + i % 300, 'a' + i % 26))));
    ASSERT_EQ(1, bulk.commit());
    for (uint32_t i = 7; i < 2500; i += 97)
        ASSERT_EQ(1u, db.replace_item(i, make_quote(1, "cat", "edited " + std::to_string(i))));
    ASSERT_EQ(1u, db.replace_item(1000, make_quote(1, "cat", std::string(3 << 20, 'L'))));
    ASSERT_EQ(1u, db.replace_item(3, make_quote(1, "cat", std::string(20000, 'M'))));

    copy_one_by_one(db, "expected.STD");
    ASSERT_EQ(1u, db.copy_to(zstring("copy.STD")));
    EXPECT_TRUE(file_bytes("expected.STD") == file_bytes("copy.STD"));  // 3 MB: no dump
    EXPECT_EQ(file_bytes("expected.idx"), file_bytes("copy.idx"));
}
