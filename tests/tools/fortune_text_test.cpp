// Reading the fortune text form: entries split at "%" lines, line ends by
// the file's first one, empty entries skipped. Writing is tested through
// export's byte-for-byte round trips.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/fortune_text.h"

namespace {

std::vector<std::string> entries_of(const std::string& bytes, size_t* empty = nullptr)
{
    FortuneReader reader(bytes);
    std::vector<std::string> texts;
    std::string text;
    while (reader.next(text))
        texts.push_back(text);
    EXPECT_EQ(bytes.size(), reader.position());
    if (empty)
        *empty = reader.empty_entries();
    return texts;
}

using Texts = std::vector<std::string>;

}  // namespace

TEST(FortuneReader, SplitsAtDelimiterLinesAndJoinsLinesWithCrLf)
{
    EXPECT_EQ((Texts{"one\r\ntwo", "three"}), entries_of("one\ntwo\n%\nthree\n%\n"));
    // The last entry needs neither a "%" line nor a final line end.
    EXPECT_EQ((Texts{"a", "b"}), entries_of("a\n%\nb\n"));
    EXPECT_EQ((Texts{"a", "b"}), entries_of("a\n%\nb"));
    EXPECT_EQ((Texts{"a"}), entries_of("a\n%"));
    // Blank lines belong to the entry, and an entry of one blank line is
    // not empty.
    EXPECT_EQ((Texts{"\r\na\r\n", ""}), entries_of("\na\n\n%\n\n%\n"));
    // Only a line that is exactly "%" separates.
    EXPECT_EQ((Texts{"%%\r\n % \r\n%x"}), entries_of("%%\n % \n%x\n%\n"));
    EXPECT_EQ(Texts{}, entries_of(""));
}

TEST(FortuneReader, LineEndStyleIsTheFirstLineEnds)
{
    EXPECT_TRUE(FortuneReader("a\r\nb\n").crlf());
    EXPECT_EQ((Texts{"a\r\nb", "c\rd"}), entries_of("a\r\nb\r\n%\r\nc\rd\r\n%\r\n"));
    // A CR LF file's bare LF still ends a line, and a "%" line with either end separates.
    EXPECT_EQ((Texts{"a\r\nb", "c"}), entries_of("a\r\nb\n%\nc\r\n%"));
    // In an LF file a CR is text: "%\r" is no delimiter line.
    EXPECT_FALSE(FortuneReader("a\nb\r\n").crlf());
    EXPECT_EQ((Texts{"a\r\nb\r\r\n%\r"}), entries_of("a\nb\r\n%\r\n"));
}

TEST(FortuneReader, SkipsEmptyEntriesAsStrfileDoes)
{
    size_t empty = 0;
    EXPECT_EQ((Texts{"a", "b"}), entries_of("%\n%\na\n%\n%\nb\n%\n", &empty));
    EXPECT_EQ(3u, empty);
    EXPECT_EQ(Texts{}, entries_of("%\n%\n", &empty));
    EXPECT_EQ(2u, empty);
}
