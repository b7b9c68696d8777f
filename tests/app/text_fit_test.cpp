#include "app/text_fit.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::string Repeat(char c, int n)
{
    return std::string(static_cast<size_t>(n), c);
}

}  // namespace

TEST(ReformatToFit, JoinsShortLinesKeepsBlankAndLongOnesAndBreaksAtTheLastSpace)
{
    const std::string x24 = Repeat('x', 24), x25 = Repeat('x', 25), x41 = Repeat('x', 41);
    const std::string a41 = Repeat('a', 41), edge = "The quick brown fox jumps over the lazy do\r\nnext";
    const struct {
        std::string text, expected;
        int width;
    } cases[] = {
        {"Short line one\r\nand the next one.", "Short line one and the next one.", 40},
        {"no carriage return\nhere", "no carriage return here", 40},
        // A line is kept from W - 14 columns on, counting its CR.
        {x24 + "\r\ny", x24 + " y", 40},
        {x25 + "\r\ny", x25 + "\r\ny", 40},
        {Repeat('x', 44) + "\r\ny", Repeat('x', 44) + " y", 60},
        {Repeat('x', 45) + "\r\ny", Repeat('x', 45) + "\r\ny", 60},
        {"\nabc", "\nabc", 40},  // a line feed at the very start is never joined
        // Blank lines, and the line before them, are kept.
        {"Para one.\r\n\r\nPara two\r\nis here.", "Para one.\r\n\r\nPara two is here.", 40},
        {"One.\n\nTwo.\n\n\nThree.", "One.\n\nTwo.\n\n\nThree.", 40},
        {"The quick brown fox jumps over the lazy dog and keeps on running.",
         "The quick brown fox jumps over the lazy \r\ndog and keeps on running.", 40},
        // Joined first, then broken: the join's space is the break point.
        {"Short\r\n" + Repeat('y', 50), "Short \r\n" + Repeat('y', 41) + "\r\n" + Repeat('y', 9), 40},
        // One byte past W + 1 is allowed when a line end follows it; further
        // out, behind white space, it moves down (and is joined to the next).
        {edge, edge, 40},
        {x41 + " I\r\nnext", x41 + " \r\nI next", 40},
        // A long word is broken after W + 1 bytes; white space at the very
        // start is no break point.
        {a41, a41, 40},
        {Repeat('a', 42), a41 + "\r\na", 40},
        {Repeat('a', 100), a41 + "\r\n" + a41 + "\r\n" + Repeat('a', 18), 40},
        {" " + Repeat('a', 50), " " + Repeat('a', 40) + "\r\n" + Repeat('a', 10), 40},
        {"", "", 40},
    };
    for (const auto& c : cases) {
        zstring text(c.text.c_str());
        EXPECT_EQ(1, ReformatToFit(text, c.width));
        EXPECT_EQ(c.expected, text.c_str()) << c.text;
    }
}

TEST(TextFit, TooWideCountsEachLineAndTooLargeBytesAndLines)
{
    EXPECT_EQ(0, TooWide("", 5));
    EXPECT_EQ(0, TooWide("abcdef", 5));
    EXPECT_EQ(1, TooWide("abcdefg", 5));
    // Every byte but the text's last is checked, line ends included.
    EXPECT_EQ(1, TooWide("abcdef\n", 5));
    EXPECT_EQ(0, TooWide("abcde\nabcde", 5));
    EXPECT_EQ(1, TooWide("abcde\nabcdef", 5));
    EXPECT_EQ(0, TooWide("abcd\r\nabc\r\n", 5));
    EXPECT_EQ(1, TooWide("abcd\r\nabcd\r\n", 5));

    EXPECT_EQ(0, TooLarge(Repeat('x', 29).c_str(), 10, 3));
    EXPECT_EQ(1, TooLarge(Repeat('x', 30).c_str(), 10, 3));
    EXPECT_EQ(0, TooLarge("a\nb\nc", 10, 3));
    EXPECT_EQ(1, TooLarge("a\nb\nc\n", 10, 3));
    EXPECT_EQ(1, TooLarge("", 10, 0));
    EXPECT_EQ(0, TooLarge(Repeat('x', 1000).c_str(), 100000, 100000));
}

TEST(RoomOnScreen, CharactersAcrossAndDown)
{
    // A font that measures 0 (or INT_MIN) counts as one pixel; a negative height is a
    // character height; a frame wider than the screen leaves no room.
    struct Case {
        int frame_width, char_width, char_height, columns, capped, rows, wrap;
    } cases[] = {
        {8, 8, 16, 127, 60, 45, 60}, {8, 20, -16, 50, 50, 45, 50}, {8, 30, 16, 33, 33, 45, 40},
        {8, 0, 0, 1016, 60, 734, 60}, {8, INT_MIN, 16, 1016, 60, 45, 60},
        {2000, 8, 16, 0, 0, 45, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.char_width);
        const TextRoom room =
            RoomOnScreen(ScreenSize{1024, 768, c.frame_width, 34, c.char_width, c.char_height});
        EXPECT_EQ(c.columns, room.columns);
        EXPECT_EQ(c.capped, room.capped_columns);
        EXPECT_EQ(c.rows, room.rows);
        EXPECT_EQ(c.wrap, room.wrap_width);
    }
}
