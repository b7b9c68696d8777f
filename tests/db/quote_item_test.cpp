#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "db/field_record.h"
#include "db/quote_item.h"

namespace {

std::istringstream input(const std::string& bytes)
{
    return std::istringstream(bytes, std::ios::in | std::ios::binary);
}

std::string record_of(const StoredQuote& item)
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    item.write_record(out);
    return out.str();
}

QuoteEntry sample()
{
    QuoteEntry item;
    item.set_quote_number(7);
    item.set_classification("Life");
    item.set_text("Hi");
    return item;
}

// Number, frequency, classification and text, as one line to compare.
std::string show(const QuoteItem& item)
{
    return std::to_string(item.quote_number()) + "|" + std::to_string(item.frequency()) + "|" +
           item.classification().c_str() + "|" + item.text().c_str();
}

}  // namespace

TEST(QuoteItem, PlaceholdersOfNewAndClearedItems)
{
    QuoteEntry item;
    EXPECT_EQ("0|0|<NONE>|<NONE>", show(item));
    EXPECT_EQ(0, item.has_text());
    item.set_position(4);
    item.clear();
    EXPECT_EQ("0|0|<none>|<empty>", show(item));
    EXPECT_EQ(1, item.has_text());  // "<empty>" is not "<NONE>"
    EXPECT_EQ(-1, item.position());
    item.set_classification("x\a");
    EXPECT_EQ(0, item.is_deleted());
    item.set_classification("\a");
    EXPECT_EQ(1, item.is_deleted());
}

TEST(StoredQuote, WritesVersion3RecordThatKeepsEveryByte)
{
    std::string body = record_of(sample()).substr(7);  // after "2 1" 01 "21 "
    unscramble(body);
    EXPECT_EQ("5 1 31 71 04 Life2 Hi", body);

    QuoteEntry item = sample();
    item.set_quote_number(-2147483647 - 1);
    std::string text = "line one\r\nline\atwo\r\n";
    for (int c = 1; c < 256; ++c)
        text.append(11, static_cast<char>(c));  // each byte at every key position
    item.set_text(text.c_str());
    const std::string bytes = record_of(item);
    EXPECT_NE(std::string::npos, bytes.find('\0'));  // a scrambled byte may be 0
    std::istringstream in = input(bytes + "2 103 1 31 11 9");  // plain marker "10"
    QuoteEntry back;
    EXPECT_EQ(1, back.read_record(in));
    EXPECT_EQ(show(item), show(back));
    EXPECT_EQ(1, back.read_record(in));  // the frequency survives a write too
    std::istringstream again = input(record_of(back));
    EXPECT_EQ(1, item.read_record(again));
    EXPECT_EQ(9, item.frequency());
}

TEST(StoredQuote, ReadAssignsOnlyTheFieldsPresent)
{
    QuoteEntry item = sample();
    // Plain records (marker "10") of 2, 4, 6 and no fields.
    std::istringstream in = input("2 102 1 32 12" "2 104 1 31 x1 54 Work"
                                  "2 106 3 3.01 11 21 C1 T5 extra" "2 100 ");
    EXPECT_EQ(1, item.read_record(in));
    EXPECT_EQ("12|0|Life|Hi", show(item));
    EXPECT_EQ(1, item.read_record(in));
    EXPECT_EQ("0|5|Work|Hi", show(item));  // "x" is no number: 0
    EXPECT_EQ(1, item.read_record(in));
    EXPECT_EQ("1|2|C|T", show(item));
    EXPECT_EQ(0, item.read_record(in));  // no version field at all
    EXPECT_FALSE(in.fail());
}

TEST(StoredQuote, OtherVersionOrDamagedRecordFailsAndChangesNothing)
{
    for (const char* version : {"2", "3.5", "", "3x"}) {
        QuoteEntry item = sample();
        std::istringstream in = input("2 105 " + std::to_string(std::strlen(version)) + " " +
                                      version + "2 991 13 New5 Other");
        EXPECT_EQ(0, item.read_record(in)) << version;
        EXPECT_FALSE(in.fail());  // the record itself was whole
        EXPECT_EQ("7|0|Life|Hi", show(item));
    }
    const std::string good = record_of(sample());
    std::vector<std::string> bad = {"2 1\x01" "4294967295 5 1 3", "2 105 1 31 71 04 Life"};
    for (size_t cut = 0; cut < good.size(); ++cut)
        bad.push_back(good.substr(0, cut));
    for (const std::string& bytes : bad) {
        QuoteEntry item;
        item.set_text("previous");
        std::istringstream in = input(bytes);
        EXPECT_EQ(0, item.read_record(in)) << bytes;
        EXPECT_TRUE(in.fail());
        EXPECT_EQ("0|0|<NONE>|previous", show(item));
    }
}

TEST(StoredQuote, AppendRecordReportsTheEndAsOffset)
{
    std::stringstream file(std::string(49, 'h'), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(3);
    uint32_t offset = 0;
    ASSERT_EQ(1, sample().append_record(file, offset));
    EXPECT_EQ(49u, offset);
    ASSERT_EQ(1, sample().append_record(file, offset));
    EXPECT_EQ(49u + 28u, offset);
    EXPECT_EQ(std::string(49, 'h') + record_of(sample()) + record_of(sample()), file.str());
    file.setstate(std::ios::badbit);
    EXPECT_EQ(0, sample().append_record(file, offset));
}

TEST(Tombstone, ClassificationTextAndOffsetBack)
{
    EXPECT_STREQ("\aDELETED 1234", tombstone_classification(1234).c_str());
    EXPECT_STREQ("\aDELETED -2147483648", tombstone_classification(0x80000000u).c_str());
    EXPECT_STREQ("\aDELETED -2", tombstone_classification(0xFFFFFFFEu).c_str());
    EXPECT_EQ(std::string(15, ' ') + "(QUOTE DELETED)", kTombstoneText);
    for (uint32_t offset : {0u, 49u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFEu}) {
        uint32_t back = 1;
        EXPECT_EQ(1, tombstone_offset(tombstone_classification(offset), back));
        EXPECT_EQ(offset, back);
    }
    uint32_t back = 7;
    for (const char* bad : {"\aDELETED", "\aDELETED x", "\aDELETED 4294967296", ""})
        EXPECT_EQ(0, tombstone_offset(bad, back)) << bad;
    EXPECT_EQ(7u, back);
}
