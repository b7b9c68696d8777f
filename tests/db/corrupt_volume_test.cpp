// Damaged and hostile volumes: every read fails cleanly and nothing is
// ever written to the files.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "db/field_record.h"
#include "db/quote_database.h"
#include "volume_test_support.h"

namespace {

// A scrambled record with the given version field and text.
std::string record_bytes(const char* version, const char* text)
{
    FieldRecord record;
    for (const char* field : {version, "5", "0", "cat", text})
        record.add_field(zstring(field));
    std::ostringstream out(std::ios::out | std::ios::binary);
    record.write(out);
    return out.str();
}

// Reads item n into an entry holding "before"; the entry must not change
// when the read fails.
uint32_t read_into_marked(QuoteDatabaseV2& db, uint32_t n, std::string& text)
{
    QuoteEntry entry = make_quote(99, "before", "before");
    const uint32_t result = db.read_item(n, entry);
    text = entry.text().c_str();
    return result;
}

}  // namespace

TEST(CorruptVolume, BadEntriesAndRecordsFailWithoutWriting)
{
    ScratchFolder folder;
    std::string header;
    {
        QuoteDatabaseV2 created;
        header = file_bytes("Volume01.STD");
    }
    const std::string good = record_bytes("3", "good");
    const uint32_t good_at = static_cast<uint32_t>(header.size());
    const uint32_t truncated_at = good_at + static_cast<uint32_t>(good.size());
    const std::string huge = "2 1\x01" "4294967295 x";
    const uint32_t huge_at = truncated_at + 10;
    const std::string data = header + good + good.substr(0, 10) + huge;
    const std::string index = entry_bytes(good_at) + entry_bytes(truncated_at) +
                              entry_bytes(huge_at) + entry_bytes(0x7FFFFFF0) + entry_bytes(0) +
                              "\x31\x00";
    write_bytes("Volume01.STD", data);
    write_bytes("Volume01.idx", index);

    QuoteDatabaseV2 db;
    ASSERT_EQ(1, db.header_valid());
    EXPECT_EQ(5u, db.count()) << "a partial last entry does not count";
    std::string text;
    EXPECT_EQ(1u, read_into_marked(db, 0, text));
    EXPECT_EQ("good", text);
    for (uint32_t n : {1u, 2u, 3u, 4u, 5u, 0xFFFFFFFFu}) {
        EXPECT_EQ(0u, read_into_marked(db, n, text)) << "item " << n;
        EXPECT_EQ("before", text) << "item " << n;
    }
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(index, file_bytes("Volume01.idx"));

    // An append after the partial entry keeps the entries aligned.
    ASSERT_EQ(1u, db.append_item(make_quote(1, "cat", "appended")));
    EXPECT_EQ(6u, db.count());
    EXPECT_EQ(1u, read_into_marked(db, 5, text));
    EXPECT_EQ("appended", text);
}

TEST(CorruptVolume, HeaderOnlyDataAndShortFiles)
{
    ScratchFolder folder;
    std::string header;
    {
        QuoteDatabaseV2 created;
        header = file_bytes("Volume01.STD");
    }
    write_bytes("Volume01.idx", entry_bytes(49));
    QuoteDatabaseV2 db;
    std::string text;
    EXPECT_EQ(0u, read_into_marked(db, 0, text));
    EXPECT_EQ("before", text);

    // Shorter than the magic: a foreign format, refused.
    write_bytes("Short.STD", "\xFE" "kO");
    EXPECT_EQ(0u, db.set_file_name(zstring("Short.STD")));
    EXPECT_EQ(0, db.header_valid());
    // The magic, then nothing: the brand cannot match.
    write_bytes("Cut.STD", header.substr(0, 20));
    EXPECT_EQ(0u, db.set_file_name(zstring("Cut.STD")));
    EXPECT_STREQ("Volume01.STD", db.file_name().c_str());
    EXPECT_EQ("\xFE" "kO", file_bytes("Short.STD"));
}

TEST(CorruptVolume, OtherRecordVersionsReadAsFailureAndAreNotCopied)
{
    ScratchFolder folder;
    std::string header;
    {
        QuoteDatabaseV2 created;
        header = file_bytes("Volume01.STD");
    }
    const std::string a = record_bytes("3", "a");
    const std::string old = record_bytes("2", "old");
    const std::string c = record_bytes("3", "c");
    const uint32_t at = static_cast<uint32_t>(header.size());
    write_bytes("Volume01.STD", header + a + old + c);
    write_bytes("Volume01.idx",
                entry_bytes(at) + entry_bytes(at + static_cast<uint32_t>(a.size())) +
                    entry_bytes(at + static_cast<uint32_t>(a.size() + old.size())));

    QuoteDatabaseV2 db;
    std::string text;
    ASSERT_EQ(1u, read_into_marked(db, 0, text));
    // The shell must not show "a" (or anything else) under number 1.
    EXPECT_EQ(0u, read_into_marked(db, 1, text));
    EXPECT_EQ("before", text);

    ASSERT_EQ(1u, db.pack());
    EXPECT_EQ((std::vector<std::string>{"a", "c"}), item_texts(db));
}
