#include "base/n_stream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::string written(const zstring& text)
{
    std::ostringstream out(std::ios::binary);
    text.write(out);
    return out.str();
}

// Reads a persisted list from the given bytes, keeping the stream to check.
struct ReadList {
    std::istringstream in;
    std::vector<n_stream> list;
    explicit ReadList(const std::string& bytes) : in(bytes, std::ios::binary)
    {
        read_text_list(in, list);
    }
};

}  // namespace

TEST(NStream, WritesLengthPrefixedThroughTheVirtualSlot)
{
    EXPECT_EQ("3 abc", written(n_stream(zstring("abc"))));
    EXPECT_EQ(std::string("0 "), written(n_stream()));
    // A plain zstring written through the same slot is the bare word.
    EXPECT_EQ("abc", written(zstring("abc")));

    std::ostringstream out;
    n_stream(zstring("normal.wav")).write(out);
    n_stream().write(out);
    EXPECT_EQ("10 normal.wav0 ", out.str());
}

TEST(NStream, ReadsBackTextWithLineEndsAndSpaces)
{
    n_stream original;
    original = zstring(" a\r\nb  c \n");
    std::istringstream in(written(original) + written(n_stream()));
    n_stream first, second;
    first.read(in);
    second.read(in);
    EXPECT_TRUE(in) << "both texts were complete";
    EXPECT_EQ(original, first);
    EXPECT_STREQ("", second.c_str());
}

TEST(NStream, ComparesCaseSensitively)
{
    n_stream upper;
    upper = zstring("Abc");
    EXPECT_EQ(0, upper == zstring("abc"));
    EXPECT_EQ(1, upper == zstring("Abc"));
    n_stream same(upper);
    EXPECT_EQ(1, upper == same);
    EXPECT_EQ(19u, n_stream().capacity());
}

TEST(TextList, ReadsCountSeparatorAndElements)
{
    std::vector<n_stream> list = ReadList("2 5 alpha4 beta").list;
    ASSERT_EQ(2u, list.size());
    EXPECT_STREQ("alpha", list[0].c_str());
    EXPECT_STREQ("beta", list[1].c_str());

    // Any separator byte is accepted, and an empty element is kept.
    list = ReadList("2\n0 9 beep1.wav").list;
    ASSERT_EQ(2u, list.size());
    EXPECT_STREQ("", list[0].c_str());
    EXPECT_STREQ("beep1.wav", list[1].c_str());
}

TEST(TextList, ShortOrDamagedInputKeepsWhatWasRead)
{
    // The count says 3 but two elements are present: the third read fails.
    ReadList short_list("3 5 alpha4 beta");
    ASSERT_EQ(3u, short_list.list.size());
    EXPECT_STREQ("alpha", short_list.list[0].c_str());
    EXPECT_STREQ("beta", short_list.list[1].c_str());
    EXPECT_TRUE(short_list.in.fail());

    EXPECT_TRUE(ReadList("").list.empty());
    EXPECT_TRUE(ReadList("x").list.empty());

    // A hostile count and length allocate nothing in proportion to them.
    std::vector<n_stream> list = ReadList("4294967295 5 alpha4294967295 b").list;
    ASSERT_EQ(2u, list.size());
    EXPECT_STREQ("alpha", list[0].c_str());
    EXPECT_STREQ("", list[1].c_str());
}

TEST(TextList, WriterOutputReadsBack)
{
    std::vector<n_stream> list(3);
    list[0] = zstring("one two");
    list[2] = zstring("line\r\nend");
    std::ostringstream out;
    write_text_list(out, list);
    EXPECT_EQ(std::string("3 7 one two0 9 line\r\nend"), out.str());

    std::vector<n_stream> back = ReadList(out.str()).list;
    ASSERT_EQ(3u, back.size());
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i], back[i]) << "element " << i;
}
