#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "db/field_record.h"
#include "db/file_header.h"
#include "db/quote_item.h"

namespace {

const std::string kHeaderBytes(
    "\xFE" "kOXr\xFF" "21 QuoteDatabaseV2<T, B>9 Keldovane\0\0\0\0\0\0\0\x40", 49);

// "5 1 31 71 04 Life2 Hi" scrambled by hand: (plain + key - 0x33) mod 256.
const char kRecord[] = "2 1\x01" "21 "
                       "\x54\x18\x6D\x2A\x05\x72\xEF\x7D\x0C\x5E\x23"
                       "\x53\x18\x88\x73\x38\xA6\x01\x66\x23\xA7";
const std::string kRecordBytes(kRecord, sizeof kRecord - 1);

std::istringstream input(const std::string& bytes)
{
    return std::istringstream(bytes, std::ios::in | std::ios::binary);
}

template <class T>
std::string bytes_of(const T& object)
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    object.write(out);
    return out.str();
}

std::string show(const QuoteItem& item)
{
    return std::to_string(item.quote_number()) + "|" + std::to_string(item.frequency()) + "|" +
           item.classification().c_str() + "|" + item.text().c_str();
}

}  // namespace

TEST(FileHeader, VolumeHeaderBytesAndForeignOrCutHeaders)
{
    FileHeader header;
    fill_volume_header(header);
    EXPECT_EQ(kHeaderBytes, bytes_of(header));
    std::istringstream zip = input("abcPK\x03\x04 zip");
    zip.seekg(3);
    header.read(zip);
    EXPECT_EQ(0, header.found());
    EXPECT_EQ(3, zip.tellg()) << "a foreign file is not consumed";
    std::vector<std::string> bad = {kHeaderBytes.substr(0, 6) + "4294967295 Quote"};
    for (size_t cut = 6; cut < 49; ++cut)
        bad.push_back(kHeaderBytes.substr(0, cut));
    for (const std::string& bytes : bad) {
        std::istringstream in = input(bytes);
        fill_volume_header(header);
        header.read(in);
        EXPECT_TRUE(in.fail() && !is_volume_header(header)) << bytes.size();
    }
}

TEST(FieldRecord, ScrambledAndPlainBodiesByteForByte)
{
    FieldRecord record;
    for (const char* f : {"3", "7", "0", "Life", "Hi"})
        record.add_field(f);
    EXPECT_EQ(kRecordBytes, bytes_of(record));
    record.set_marker("10");
    EXPECT_EQ("2 105 1 31 71 04 Life2 Hi", bytes_of(record));
    for (const std::string& bytes : {kRecordBytes, bytes_of(record)}) {
        std::istringstream in = input(bytes);
        FieldRecord back;
        back.read(in);
        ASSERT_EQ(5u, back.field_count()) << bytes;
        EXPECT_STREQ("Life", back.field(3).c_str());
    }
}

TEST(FieldRecord, HugeTruncatedOrForeignRecordsFailAndChangeNothing)
{
    std::string short_body = "3 1 31 7";
    scramble(short_body);
    std::vector<std::string> bad = {"2 1\x01" "4294967295 abc", "2 1\x01" "99999999999 a",
                                    "2 102 1 34294967295 abc",
                                    std::string("2 1\x01" "8 ", 6) + short_body};
    for (size_t cut = 0; cut < kRecordBytes.size(); ++cut)
        bad.push_back(kRecordBytes.substr(0, cut));
    bad.push_back("2 105 1 22 991 13 New5 Other");  // a whole record of another version
    for (const std::string& bytes : bad) {
        std::istringstream in = input(bytes), again = input(bytes);
        FieldRecord record;
        record.read(in);
        EXPECT_EQ(&bytes != &bad.back(), in.fail()) << bytes;
        QuoteEntry item;
        item.set_text("previous");
        EXPECT_EQ(0, item.read_record(again)) << bytes;
        EXPECT_EQ("0|0|<NONE>|previous", show(item));
    }
}

TEST(StoredQuote, RoundTripAndPartialRecords)
{
    QuoteEntry item;
    item.set_quote_number(-2147483647 - 1);
    item.set_classification("Life");
    item.set_text("line one\r\nline\atwo\r\n");
    std::ostringstream out(std::ios::out | std::ios::binary);
    item.write_record(out);
    std::istringstream in = input(out.str() + "2 102 1 32 12");
    QuoteEntry back;
    EXPECT_EQ(1, back.read_record(in));
    EXPECT_EQ(show(item), show(back));
    EXPECT_EQ(1, back.read_record(in));
    EXPECT_EQ("12|0|Life|line one\r\nline\atwo\r\n", show(back));
}

TEST(Tombstone, ClassificationAndOffsetBack)
{
    EXPECT_STREQ("\aDELETED -2147483648", tombstone_classification(0x80000000u).c_str());
    for (uint32_t offset : {49u, 0x80000000u, 0xFFFFFFFEu}) {
        uint32_t back = 1;
        EXPECT_EQ(1, tombstone_offset(tombstone_classification(offset), back));
        EXPECT_EQ(offset, back);
    }
    uint32_t back = 7;
    for (const char* bad : {"\aDELETED x", "\aDELETED 4294967296"})
        EXPECT_EQ(0, tombstone_offset(bad, back)) << bad;
    EXPECT_EQ(7u, back);
}
