#include "base/zstring.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>

namespace {

const unsigned npos = zstring::npos;

std::string stream_form(const zstring& text)
{
    std::ostringstream out(std::ios::binary);
    text.write_stream(out);
    return out.str();
}

}  // namespace

TEST(ZString, DefaultsSettersAndAssignmentCapacity)
{
    zstring s;
    EXPECT_EQ(19u, s.capacity());
    EXPECT_EQ(10240u, s.iomax());
    EXPECT_EQ(15u, s.instance_growth_space());
    s = "hello";
    EXPECT_EQ(24u, s.capacity());  // 15 + 5 + 4
    s = "";
    EXPECT_EQ(19u, s.capacity());  // the long buffer is given back

    EXPECT_EQ(15u, s.instance_growth_space(3));
    EXPECT_EQ(65536u, s.instance_growth_space(100000));
    EXPECT_EQ(15u, s.instance_growth_space(npos));

    // Copies take the text only; assignment keeps the target's settings.
    s.iomax(7);
    s = "abc";
    EXPECT_EQ(10240u, zstring(s).iomax());
    EXPECT_EQ(10240u, s.substr(0).iomax());
    zstring target;
    target = s;
    EXPECT_EQ(10240u, target.iomax());
    EXPECT_EQ(7u, s.assign(target).iomax());

    s = "abcdef";
    EXPECT_STREQ("cdef", s.assign(s.c_str() + 2).c_str());
    EXPECT_STREQ("-2147483648", (s = INT_MIN).c_str());
    EXPECT_STREQ("", (s = '\0').c_str());
}

TEST(ZString, SmallBuffersForTheGrowthAreReusedAndOwnAdopts)
{
    // Growth 20 puts the threshold at 25, above the fresh 19-byte buffer.
    zstring s;
    s.instance_growth_space(20);
    const char* buffer = s.c_str();
    s = "abc";
    EXPECT_EQ(buffer, s.c_str());
    EXPECT_EQ(19u, s.capacity());
    s = "0123456789abcdefghi";  // 19 bytes no longer fit below 19
    EXPECT_EQ(43u, s.capacity());

    zstring owner("old");
    char* block = new char[50];
    std::strcpy(block, "abc");
    EXPECT_EQ(block, owner.own(block));
    EXPECT_EQ(3u, owner.capacity());  // the text's length, not the block's size
    owner.append("x");
    EXPECT_EQ(23u, owner.capacity());  // 3 + 1 + 15 + 4
    EXPECT_STREQ("abcx", owner.c_str());

    char* sized = new char[8];
    std::strcpy(sized, "hi");
    owner.own(sized, 8);
    owner = "1234567";  // 8 is below 18 and the text fits: in place
    EXPECT_EQ(sized, owner.c_str());
    owner = "12345678";
    EXPECT_EQ(27u, owner.capacity());
}

TEST(ZString, IndexPastTheCapacityTouchesNothing)
{
    zstring s("ab");
    ASSERT_EQ(21u, s.capacity());
    EXPECT_EQ('\0', s[20u]);  // new buffers are zero-filled
    s[21u] = 'x';
    EXPECT_EQ('\0', s[21u]);
    EXPECT_EQ('\0', s[npos]);
    EXPECT_STREQ("ab", s.c_str());
}

TEST(ZString, AppendPrependInsertFollowTheGrowthRule)
{
    EXPECT_EQ(19u, zstring().append("123456789012345").capacity());  // 19 = 0 + 15 + 4
    zstring grows;
    grows.append("1234567890123456");
    EXPECT_EQ(35u, grows.capacity());  // 0 + 16 + 15 + 4
    EXPECT_EQ(35u, grows.remove(0).capacity());  // never shrinks

    // One growth for the whole insert: 4 + 20 + 15 + 4.
    zstring s("abcd");
    s.insert(0, "01234567890123456789");
    EXPECT_EQ(43u, s.capacity());
    EXPECT_STREQ("01234567890123456789abcd", s.c_str());

    // The added text may come from the object's own buffer.
    s = "abc";
    EXPECT_STREQ("aabcbc", s.insert(1, s.c_str()).c_str());
    s = "abc";
    EXPECT_STREQ("bcabc", s.prepend(s.c_str() + 1).c_str());
    s = "0123456789";
    s.append(s).append(s);  // in place, then growing while reading itself
    EXPECT_STREQ("0123456789012345678901234567890123456789", s.c_str());

    s = "ab";
    s.insert(npos, "c").insert(1, static_cast<const char*>(nullptr)).prepend('x').append('\0');
    EXPECT_STREQ("xabc", s.c_str());

    // Ranged forms bound end by the receiver's length, then by the source's.
    s = "hello";
    EXPECT_STREQ("bcd", s.assign("abcdefgh", 1, 4).c_str());
    EXPECT_STREQ("abc", s.assign("abcdefgh", 0, 99).c_str());
    EXPECT_STREQ("abcc", s.append("xyc", 2, 9).c_str());
    EXPECT_STREQ("", zstring().append("abcdefgh", 0, 4).c_str());
}

TEST(ZString, RemovingAtBoundaries)
{
    EXPECT_STREQ("ab", zstring("abc").remove(2).c_str());
    EXPECT_STREQ("ad", zstring("abcd").remove_bytes(1, 2).c_str());
    EXPECT_STREQ("ab", zstring("abcd").remove_bytes(2, npos).c_str());
    EXPECT_STREQ("adef", zstring("abcdef").remove_pos(1, 3).c_str());
    EXPECT_STREQ("ab", zstring("abcdef").remove_pos(2, npos).c_str());
    EXPECT_STREQ("abc", zstring("abc").remove_pos(2, 2).c_str());
    EXPECT_STREQ("HelloW", zstring("HelloW").remove_prefix(zstring("hex")).c_str());
    EXPECT_STREQ("loW", zstring("HelloW").remove_prefix(zstring("help"), 1).c_str());

    zstring s("abcbcd");
    EXPECT_EQ(2u, s.remove_pattern(zstring("bc")));  // "bc" joins after a removal
    EXPECT_STREQ("ad", s.c_str());
    s = "aabb";
    EXPECT_EQ(1u, s.remove_pattern(zstring("ab")));  // this join starts too early
    EXPECT_STREQ("ab", s.c_str());
    EXPECT_EQ(1u, s.remove_pattern(s));
    EXPECT_EQ(0u, s.remove_pattern(zstring()));

    s = "aXa";
    EXPECT_EQ(2u, s.replace(zstring("a"), zstring("aa")));  // the new text is not searched
    EXPECT_STREQ("aaXaa", s.c_str());
    s = "Foo foo";
    EXPECT_EQ(2u, s.replace(zstring("FOO"), zstring("bar"), 1));
    EXPECT_STREQ("bar bar", s.c_str());
}

TEST(ZString, StripAndSnip)
{
    struct Case {
        const char* text;
        zstring::strip_type type;
        unsigned removed;
        const char* left;
    };
    const Case cases[] = {{"  a  ", zstring::leading, 2, "a  "},
                          {"  a  ", zstring::trailing, 2, "  a"},
                          {"  a  ", zstring::both, 4, "a"},
                          {"   ", zstring::both, 3, ""},
                          {" a ", static_cast<zstring::strip_type>(3), 0, " a "}};
    for (const Case& c : cases) {
        zstring s(c.text);
        EXPECT_EQ(c.removed, s.strip(c.type, ' ')) << c.type;
        EXPECT_STREQ(c.left, s.c_str()) << c.type;
    }


    zstring s("key==value");
    EXPECT_EQ(1, s.snip('='));
    EXPECT_STREQ("value", s.c_str());
    s = "abc=";
    EXPECT_EQ(1, s.snip('='));
    EXPECT_STREQ("", s.c_str());
    s = "abc";
    EXPECT_EQ(0, s.snip('='));
    EXPECT_STREQ("abc", s.c_str());
}

TEST(ZString, ForwardSearches)
{
    const zstring abc("abc");
    EXPECT_EQ(npos, abc.find('\0'));
    EXPECT_EQ(npos, abc.find('x', 5));
    EXPECT_EQ(1u, abc.find('B', 0, 1));
    EXPECT_EQ(npos, abc.find('c', 3));
    EXPECT_EQ(1u, abc.find("bc", 1));
    EXPECT_EQ(npos, abc.find("bc", 2));
    EXPECT_EQ(npos, abc.find(""));
    EXPECT_EQ(npos, zstring("\xC4").find('\xE4', 0, 1));  // only A..Z fold

    const zstring abaca("abaca");
    EXPECT_EQ(4u, abaca.find_last('a', 1));
    EXPECT_EQ(npos, abaca.find_last('a', 5));
    EXPECT_EQ(1u, zstring("aa").find_last('a', 0));
    EXPECT_EQ(1u, zstring("aaa").find_last("aa", 0));  // overlapping hits count
    EXPECT_EQ(3u, zstring("aaaa").tally(zstring("aa")));
    EXPECT_EQ(3u, zstring("aAa").tally(zstring("A"), 1));
}

TEST(ZString, BackwardSearchesCountStartDifferently)
{
    // The byte form counts start back from the end.
    const zstring s("abca");
    EXPECT_EQ(3u, s.rfind('a', 0));
    EXPECT_EQ(0u, s.rfind('a', 1));
    EXPECT_EQ(0u, s.rfind('a', 3));
    EXPECT_EQ(npos, s.rfind('a', 4));
    EXPECT_EQ(npos, s.rfind('c', 2));
    EXPECT_EQ(3u, s.rfind('A', 0, 1));

    // The text form wants the occurrence wholly at or after start.
    const zstring t("abxab");
    EXPECT_EQ(3u, t.rfind("ab", 0));
    EXPECT_EQ(3u, t.rfind("ab", 3));
    EXPECT_EQ(npos, t.rfind("ab", 4));
    EXPECT_EQ(npos, t.rfind("ab", 5));
    EXPECT_EQ(3u, t.rfind("ab", npos));
    EXPECT_EQ(npos, t.rfind("abx", 1));
    EXPECT_EQ(0u, t.rfind("abxab", 0));
    EXPECT_EQ(npos, t.rfind("abxabxy", 0));
    EXPECT_EQ(3u, t.rfind(zstring("AB"), 0, 1));
    EXPECT_STREQ("abxab", t.c_str());
}

TEST(ZString, TokensAndParts)
{
    zstring s(" abc def");
    EXPECT_STREQ("abc", s.get_token(zstring("b")).c_str());
    EXPECT_STREQ(" ", s.get_token(zstring(" ")).c_str());
    EXPECT_STREQ("", s.get_token(zstring()).c_str());
    EXPECT_STREQ("abc", s.remove_token(zstring("b")).c_str());
    EXPECT_STREQ("  def", s.c_str());

    const zstring h("abcdefgh");
    EXPECT_STREQ("", h.subpos(5, 4).c_str());
    EXPECT_STREQ("", h.substr(5, 0).c_str());
    EXPECT_STREQ("fgh", h.substr(5, npos).c_str());
    EXPECT_STREQ("gh", h.subpos(6, 99).c_str());
    zstring out("stale");
    EXPECT_STREQ("", h.substr(out, 8));
    EXPECT_STREQ("gh", h.copy_bytes(out, 6, 5));
    EXPECT_STREQ("cde", h.copy_pos(out, 2, 5));
    EXPECT_STREQ("fgh", h.copy_pos(out, 5, 2));  // end before start: the tail
    EXPECT_STREQ("", h.copy_pos(out, 3, 3));
    out = "abcdefgh";
    EXPECT_STREQ("fgh", out.substr(out, 5));

    EXPECT_EQ(-12, zstring("  -12x").as_int());
    EXPECT_EQ(INT_MAX, zstring("99999999999").as_int());
    EXPECT_EQ(INT_MIN, zstring("-99999999999").as_int());
}

TEST(ZString, ComparisonOrder)
{
    const zstring ab("ab"), abc("abc"), a("a"), empty;
    EXPECT_EQ(1, ab.cmp(abc));  // a text sorts after a longer one it begins
    EXPECT_EQ(-1, abc.cmp(ab));
    EXPECT_EQ(1, empty.cmp(a));  // the empty text sorts last
    EXPECT_EQ(-1, a.cmp(empty));
    EXPECT_EQ(0, empty.cmp(empty));
    EXPECT_EQ(-1, zstring("ABC").cmp(abc));
    EXPECT_EQ(0, zstring("ABC").cmp(abc, 1));
    EXPECT_EQ(-1, zstring("\x80").cmp(a));  // bytes compare as signed values

    EXPECT_EQ(1, a > a);
    EXPECT_EQ(0, a < a);
    EXPECT_EQ(1, ab > abc);
    EXPECT_EQ(1, abc < ab);
    EXPECT_EQ(0, abc == zstring("ABC"));
    EXPECT_EQ(1, abc != zstring("ABC"));
}

TEST(ZString, ChangingInPlaceAndTesting)
{
    EXPECT_STREQ("AB1\xE4", zstring("aB1\xE4").to_upper().c_str());
    EXPECT_STREQ("cba", zstring("abc").reverse().c_str());
    zstring s("a\tb\x7F\x80");
    EXPECT_EQ(1, s.mkwhite());
    EXPECT_STREQ("a b  ", s.c_str());
    EXPECT_EQ(0, s.mkwhite());

    const zstring w("a\tb");
    EXPECT_EQ(1, w.is_white(1u));
    EXPECT_EQ(0, w.is_white(3u));
    EXPECT_EQ(1, zstring("\t\x80").is_white());
    EXPECT_EQ(0, zstring(" \x80").is_space());
    EXPECT_EQ(0, zstring("a\x80").is_ascii());

    EXPECT_EQ(3u, zstring("a\tb\x0c").seek_binary(1));
    EXPECT_EQ(1u, zstring("a\tb\x0c").seek_binary(0));
    EXPECT_EQ(npos, zstring("a\x0b\r\n").seek_binary(1));
    EXPECT_EQ(2u, zstring("ab\x80").seek_binary(1));
}

TEST(ZString, StreamFormsAreByteExact)
{
    EXPECT_EQ("3 abc", stream_form(zstring("abc")));
    EXPECT_EQ("0 ", stream_form(zstring()));
    std::ostringstream out(std::ios::binary);
    zstring("ab").write_string(out);
    zstring().write_string(out);
    out << zstring("a b") << zstring("c");
    EXPECT_EQ(std::string("ab\0\0a bc", 8), out.str());

    // Back to back or on separate lines, the texts read back by count.
    const zstring original(" a\r\nb  c \n");
    std::istringstream in(stream_form(original) + "\n" + stream_form(zstring()) +
                          stream_form(zstring("z")));
    zstring first, second, third;
    first.read_stream(in);
    second.read_stream(in);
    third.read_stream(in);
    EXPECT_FALSE(in.fail());
    EXPECT_STREQ(original.c_str(), first.c_str());
    EXPECT_EQ(29u, first.capacity());  // 15 + 10 + 4
    EXPECT_STREQ("", second.c_str());
    EXPECT_STREQ("z", third.c_str());

    // Any separator byte; the text ends at its first zero byte.
    std::istringstream zero(std::string("5xab\0cd", 7));
    first.read_stream(zero);
    EXPECT_FALSE(zero.fail());
    EXPECT_STREQ("ab", first.c_str());
    EXPECT_EQ(24u, first.capacity());
}

TEST(ZString, ReadStreamRejectsDamagedInput)
{
    const char* damaged[] = {"4294967295 x", "99999999999 x", "-1 x", "10 abc", "3 ab",
                             "3",            "abc",           ""};
    for (const char* bytes : damaged) {
        zstring s("old");
        std::istringstream in(bytes);
        s.read_stream(in);
        EXPECT_TRUE(in.fail()) << bytes;
        EXPECT_STREQ("", s.c_str()) << bytes;
    }

    // 4294967277 + 15 + 4 passes 32 bits: refused before the separator.
    zstring s;
    std::istringstream too_big("4294967277 x");
    s.read_stream(too_big);
    too_big.clear();
    EXPECT_EQ(' ', too_big.get());
    // One less fits, and the read runs into the end of the bytes.
    std::istringstream short_big("4294967276 x");
    s.read_stream(short_big);
    EXPECT_TRUE(short_big.fail());
    short_big.clear();
    EXPECT_EQ(std::char_traits<char>::eof(), short_big.get());

    std::istringstream failed("3 abc");
    failed.setstate(std::ios::failbit);
    s = "old";
    s.read_stream(failed);
    EXPECT_STREQ("", s.c_str());
    failed.clear();
    EXPECT_EQ('3', failed.get());
}

TEST(ZString, ReadTakesOneWordBoundedByTheScratchBuffer)
{
    std::istringstream in("  alpha\tbeta\n");
    zstring s;
    in >> s;
    EXPECT_STREQ("alpha", s.c_str());
    s.read(in);
    EXPECT_STREQ("beta", s.c_str());
    EXPECT_FALSE(in.fail());
    s.read(in);
    EXPECT_TRUE(in.fail());
    EXPECT_STREQ("", s.c_str());

    // A field width bounds the word as it does for a char array.
    std::istringstream narrow("alpha");
    narrow >> std::setw(3) >> s;
    EXPECT_STREQ("al", s.c_str());
    narrow >> s;  // the width applies once
    EXPECT_STREQ("pha", s.c_str());

    s.iomax(4);
    std::istringstream long_word("abcdefg");
    const char* pieces[] = {"abc", "def", "g"};
    for (const char* piece : pieces)
        EXPECT_STREQ(piece, s.read(long_word) ? s.c_str() : "(failed)");
    EXPECT_TRUE(long_word.eof());

    s.iomax(1);
    std::istringstream nothing("abc");
    EXPECT_TRUE(s.read(nothing).fail());
    nothing.clear();
    EXPECT_EQ('a', nothing.get());

    // read_token has its own 1024-byte buffer, whatever iomax says.
    std::istringstream token(std::string(1030, 'k'));
    EXPECT_EQ(1023u, s.read_token(token) ? s.length() : 0u);
    EXPECT_EQ(7u, s.read_token(token) ? s.length() : 0u);
}

TEST(ZString, LineReadSplitsLongLinesAndFailsOnlyAtTheEnd)
{
    std::istringstream in("first line\n\nlast");
    zstring s;
    EXPECT_STREQ("first line", s.readline(in) ? s.c_str() : "(failed)");
    EXPECT_STREQ("", s.read_line(in) ? s.c_str() : "(failed)");
    EXPECT_STREQ("last", s.read_string(in) ? s.c_str() : "(failed)");
    EXPECT_TRUE(in.eof());
    EXPECT_TRUE(s.read_to_delim(in).fail());
    EXPECT_STREQ("", s.c_str());

    // iomax 4 takes at most 3 bytes; a line of exactly 3 keeps its delim.
    s.iomax(4);
    std::istringstream lines("abcdefg\nabc\nxy");
    const char* expected[] = {"abc", "def", "g", "abc", "xy"};
    for (const char* text : expected)
        EXPECT_STREQ(text, s.readline(lines) ? s.c_str() : "(failed)");
    EXPECT_TRUE(s.readline(lines).fail());

    std::istringstream fields(std::string("a;b\0c;d", 7));
    s.readline(fields, ';');
    EXPECT_STREQ("b", s.readline(fields, ';') ? s.c_str() : "(failed)");  // ends at the zero

    // With iomax 1 only an empty line can be read.
    s.iomax(1);
    std::istringstream empty_line("\nx");
    EXPECT_FALSE(s.readline(empty_line).fail());
    EXPECT_TRUE(s.readline(empty_line).fail());
}
