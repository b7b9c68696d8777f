#include "base/zstring.h"
#include "base/n_stream.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const unsigned npos = zstring::npos;

template <class T>
void expect_each(int line, std::initializer_list<std::pair<T, T>> cases)
{
    int i = 0;
    for (const auto& c : cases)
        EXPECT_EQ(c.second, c.first) << "table at line " << line << ", case " << i++;
}
#define EXPECT_NUMBERS(...) expect_each<long long>(__LINE__, __VA_ARGS__)
#define EXPECT_TEXTS(...) expect_each<std::string>(__LINE__, __VA_ARGS__)

template <class Read>
std::string pieces(const zstring& s, Read read)
{
    std::string all;
    for (int n = 0; n < 20 && read(); ++n)
        all += "[" + std::string(s.c_str()) + "]";
    return all;
}

// What read_text_list reads from the bytes, each text in brackets, then
// "<failed>" when the stream failed.
std::string ReadTexts(const std::string& bytes)
{
    std::istringstream in(bytes, std::ios::binary);
    std::vector<n_stream> list;
    read_text_list(in, list);
    std::string all;
    for (const n_stream& s : list)
        all += "[" + std::string(s.c_str()) + "]";
    return in.fail() ? all + "<failed>" : all;
}

}  // namespace

TEST(ZString, EditsMayReadTheirOwnText)
{
    zstring s("abc");
    EXPECT_STREQ("aabcbc", s.insert(1, s.c_str()).c_str());
    s = "0123456789";  // in place, then growing while reading itself
    EXPECT_STREQ("0123456789012345678901234567890123456789", s.append(s).append(s).c_str());
    zstring tail, head;  // adopted blocks said to be smaller than their text
    tail.own(std::strcpy(new char[16], "abcdef"), 2);
    head.own(std::strcpy(new char[16], "abcdef"), 2);
    EXPECT_STREQ("abcdefef", tail.append(tail.c_str() + 4).c_str());
    EXPECT_STREQ("efabcdef", head.prepend(head.c_str() + 4).c_str());
    EXPECT_EQ(35u, zstring().append("1234567890123456").remove(0).capacity());  // never shrinks
}

TEST(ZString, RemovingStrippingAndSearchingAtBoundaries)
{
    zstring s("abcbcd"), grown("aXa"), both("  a  "), odd(" a "), key("key==value");
    EXPECT_NUMBERS({{s.remove_pattern(zstring("bc")), 2}, {grown.replace(zstring("a"), zstring("aa")), 2},
                    {both.strip(zstring::both, ' '), 4},
                    {odd.strip(static_cast<zstring::strip_type>(5), ' '), 0}, {key.snip('='), 1}});
    EXPECT_TEXTS({{s.c_str(), "ad"}, {grown.c_str(), "aaXaa"}, {both.c_str(), "a"},
                  {odd.c_str(), " a "}, {key.c_str(), "value"},
                  {zstring("abc").remove_pos(2, 2).c_str(), "abc"}});
    // rfind counts its start back from the end; only A..Z fold; a prefix sorts after.
    const zstring abca("abca");
    EXPECT_NUMBERS({{abca.rfind('a', 0), 3}, {abca.rfind('a', 1), 0}, {abca.rfind('A', 0, 1), 3},
                    {zstring("\xC4").find('\xE4', 0, 1), npos}, {zstring("aaaa").tally(zstring("aa")), 3},
                    {zstring("ab").cmp(zstring("abc")), 1}, {zstring("-99999999999").as_int(), INT_MIN}});
}

TEST(ZString, StreamFormsAreByteExact)
{
    std::ostringstream out(std::ios::binary);
    zstring(" a\r\nb  c \n").write_stream(out);
    zstring().write_stream(out);
    EXPECT_EQ("10  a\r\nb  c \n0 ", out.str());
    out.str("");
    zstring("ab").write_string(out);
    zstring().write_string(out);
    out << zstring("a b") << zstring("c");
    EXPECT_EQ(std::string("ab\0\0a bc", 8), out.str());
    zstring s;
    std::istringstream in("10  a\r\nb  c \n\n0 1 z");
    EXPECT_EQ("[ a\r\nb  c \n][][z]", pieces(s, [&] { return bool(s.read_stream(in)); }));
    std::istringstream zero(std::string("5xab\0cd", 7));  // any separator; ends at a zero byte
    EXPECT_STREQ("ab", s.read_stream(zero) ? s.c_str() : "<failed>");
}

TEST(ZString, ReadStreamRejectsDamagedInput)
{
    // next: the byte a reader meets afterwards (0: not checked); 4294967277 + 15 + 4 passes 32 bits.
    const struct { const char* bytes; int next; bool failed; } cases[] = {
        {"4294967277 x", ' ', false}, {"4294967276 x", EOF, false}, {"3 abc", '3', true},
        {"-1 x", 0, false},           {"3 ab", 0, false},           {"abc", 0, false}};
    for (const auto& c : cases) {
        zstring s("old");
        std::istringstream in(c.bytes);
        in.setstate(c.failed ? std::ios::failbit : std::ios::goodbit);
        s.read_stream(in);
        EXPECT_TRUE(in.fail()) << c.bytes;
        EXPECT_STREQ("", s.c_str()) << c.bytes;
        in.clear();
        EXPECT_EQ(c.next, c.next ? in.get() : 0) << c.bytes;
    }
}

TEST(ZString, WordAndLineReadsAreBoundedByTheirBuffers)
{
    zstring s;
    s.iomax(4);
    s.iomax(1);
    std::istringstream token(std::string(1030, 'k'));  // its own 1024 bytes, whatever iomax says
    EXPECT_EQ(1023u, s.read_token(token) ? s.length() : 0u);
    s.iomax(4);
    std::istringstream split("abcdefg\nabc\nxy");
    EXPECT_EQ("[abc][def][g][abc][xy]", pieces(s, [&] { return bool(s.readline(split)); }));
    std::istringstream fields(std::string("a;b\0c;d", 7));  // a field ends at a zero byte
    EXPECT_EQ("[a][b][d]", pieces(s, [&] { return bool(s.readline(fields, ';')); }));
}

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
    EXPECT_EQ("[normal.wav][][42]", ReadTexts("3 " + out.str()));
}

TEST(TextList, ReadsWritesAndKeepsWhatWasReadOfDamagedInput)
{
    std::vector<n_stream> list(3);
    list[0] = zstring("one two");
    list[2] = zstring("line\r\nend");
    std::ostringstream out;
    write_text_list(out, list);
    EXPECT_EQ(std::string("3 7 one two0 9 line\r\nend"), out.str());
    EXPECT_EQ("[one two][][line\r\nend]", ReadTexts(out.str()));
    EXPECT_EQ("[][beep1.wav]", ReadTexts("2\n0 9 beep1.wav"));  // any separator byte

    // The count says 3 but two elements are present: the third read fails.
    EXPECT_EQ("[alpha][beta][]<failed>", ReadTexts("3 5 alpha4 beta"));
    EXPECT_EQ("<failed>", ReadTexts("x"));
    // A hostile count and length allocate nothing in proportion to them.
    EXPECT_EQ("[alpha][]<failed>", ReadTexts("4294967295 5 alpha4294967295 b"));
}
