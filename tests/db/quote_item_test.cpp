#include <gtest/gtest.h>

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
    item.clear();
    EXPECT_EQ("0|0|<none>|<empty>", show(item));
    EXPECT_EQ(1, item.has_text());
}

TEST(StoredQuote, RoundTripAndPartialRecords)
{
    QuoteEntry item;
    item.set_quote_number(-2147483647 - 1);
    item.set_classification("Life");
    item.set_text("line one\r\nline\atwo\r\n");
    std::istringstream in = input(record_of(item) + "2 102 1 32 12");
    QuoteEntry back;
    EXPECT_EQ(1, back.read_record(in));
    EXPECT_EQ(show(item), show(back));
    EXPECT_EQ(1, back.read_record(in));
    EXPECT_EQ("12|0|Life|line one\r\nline\atwo\r\n", show(back));
}

TEST(StoredQuote, FailedReadChangesNothing)
{
    QuoteEntry good;
    good.set_text("Hi");
    const std::string record = record_of(good);
    std::vector<std::string> bad = {"2 105 1 22 991 13 New5 Other", "2 1\x01" "4294967295 5 1 3"};
    for (size_t cut = 0; cut < record.size(); ++cut)
        bad.push_back(record.substr(0, cut));
    for (const std::string& bytes : bad) {
        QuoteEntry item;
        item.set_text("previous");
        std::istringstream in = input(bytes);
        EXPECT_EQ(0, item.read_record(in)) << bytes;
        EXPECT_EQ("0|0|<NONE>|previous", show(item));
    }
}

TEST(Tombstone, ClassificationAndOffsetBack)
{
    EXPECT_STREQ("\aDELETED 1234", tombstone_classification(1234).c_str());
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
