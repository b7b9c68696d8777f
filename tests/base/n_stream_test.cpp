#include "base/n_stream.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<n_stream> ReadList(const std::string& bytes, bool* failed = nullptr)
{
    std::istringstream in(bytes, std::ios::binary);
    std::vector<n_stream> list;
    read_text_list(in, list);
    if (failed)
        *failed = in.fail();
    return list;
}

std::string Texts(const std::vector<n_stream>& list)
{
    std::string all;
    for (const n_stream& s : list)
        all += "[" + std::string(s.c_str()) + "]";
    return all;
}

}  // namespace

TEST(NStream, WritesLengthPrefixedThroughTheVirtualSlot)
{
    std::ostringstream out;
    const zstring& plain = zstring("abc");
    const zstring& prefixed = n_stream(zstring("normal.wav"));
    n_stream number;
    number = 42;  // its digits, as zstring stores it
    prefixed.write(out);
    n_stream().write(out);
    number.write(out);
    plain.write(out);  // a plain zstring through the same slot is the bare word
    EXPECT_EQ("10 normal.wav0 2 42abc", out.str());

    std::istringstream in(out.str());
    n_stream first, second;
    first.read(in);
    second.read(in);
    EXPECT_TRUE(in);
    EXPECT_STREQ("normal.wav", first.c_str());
    EXPECT_STREQ("", second.c_str());
}

TEST(TextList, ReadsWritesAndKeepsWhatWasReadOfDamagedInput)
{
    std::vector<n_stream> list(3);
    list[0] = zstring("one two");
    list[2] = zstring("line\r\nend");
    std::ostringstream out;
    write_text_list(out, list);
    EXPECT_EQ(std::string("3 7 one two0 9 line\r\nend"), out.str());
    EXPECT_EQ("[one two][][line\r\nend]", Texts(ReadList(out.str())));
    EXPECT_EQ("[][beep1.wav]", Texts(ReadList("2\n0 9 beep1.wav")));  // any separator byte

    // The count says 3 but two elements are present: the third read fails.
    bool failed = false;
    EXPECT_EQ("[alpha][beta][]", Texts(ReadList("3 5 alpha4 beta", &failed)));
    EXPECT_TRUE(failed);
    EXPECT_EQ("", Texts(ReadList("")));
    EXPECT_EQ("", Texts(ReadList("x")));
    // A hostile count and length allocate nothing in proportion to them.
    EXPECT_EQ("[alpha][]", Texts(ReadList("4294967295 5 alpha4294967295 b")));
}
