#include "app/text_fit.h"

#include <gtest/gtest.h>

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
