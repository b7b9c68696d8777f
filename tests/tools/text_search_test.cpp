// Texts as users have them: import reads UTF-8 or code-page files and
// stores each text by the one rule, the reading commands write UTF-8 (or
// the stored bytes when asked), and search finds items by their words
// without regard to case.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "db/volume_lock.h"
#include "tool_test_support.h"
#include "tools/text_search.h"

namespace {

using Args = std::vector<std::string>;

std::string hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        out += out.empty() ? "" : " ";
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The fortune file export writes for these texts (LF lines).
std::string fortune_file(const std::vector<std::string>& texts)
{
    std::string file;
    for (const std::string& text : texts)
        file += replaced(text, "\r\n", "\n") + "\n%\n";
    return file;
}

// Small letters for capitals, by plain replacement: ASCII, À-Þ, the
// capitals of 0x80-0x9F of Windows-1252 and the Greek ones used here.
std::string folded(std::string text)
{
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
    std::vector<std::pair<std::string, std::string>> pairs = {
        {"Š", "š"}, {"Œ", "œ"}, {"Ž", "ž"}, {"Ÿ", "ÿ"}, {"Α", "α"}, {"Θ", "θ"}, {"Ή", "ή"}, {"Ν", "ν"}};
    for (char c = '\x80'; c <= '\x9E'; ++c) {
        if (c != '\x97')  // the multiplication sign
            pairs.push_back({std::string("\xC3") + c, std::string("\xC3") + static_cast<char>(c + 0x20)});
    }
    for (const auto& pair : pairs)
        text = replaced(text, pair.first, pair.second);
    return text;
}

class TextTool : public ToolTest {
protected:
    // Imports the texts from a UTF-8 fortune file.
    void import_texts(const std::vector<std::string>& texts)
    {
        write_bytes(input, fortune_file(texts));
        const ToolRun run = run_tool({"import", volume, input});
        ASSERT_EQ(0, run.status) << run.err;
    }
    std::vector<std::string> stored_texts()
    {
        QuoteDatabaseV2 db{zstring(volume.c_str())};
        return item_texts(db);
    }

    const std::string input = folder.file("input.txt");
};

}  // namespace

TEST_F(TextTool, ImportStoresByTheRuleAndEveryReaderWritesUtf8)
{
    const struct { std::string text, stored; } items[] = {
        {"plain ASCII", "plain ASCII"},
        {"Café au lait —", "Caf\xE9 au lait \x97"},
        {"naïve — “quoted”\nsecond line", "na\xEFve \x97 \x93quoted\x94\r\nsecond line"},
        {"Αθήνα 😀", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1 \xF0\x9F\x98\x80"},
        {"Cafe\u0301 (a combining mark)", "Cafe\xCC\x81 (a combining mark)"},
        // Bytes of the page that would read back as UTF-8 are stored as
        // UTF-8; here the stray E9 keeps the whole from reading as UTF-8.
        {"Ã©", "\xC3\x83\xC2\xA9"},
        {"Ã© is not é", "\xC3\xA9 is not \xE9"},
    };
    std::vector<std::string> texts;
    for (const auto& item : items)
        texts.push_back(item.text);
    write_bytes(input, fortune_file(texts));
    const ToolRun import = run_tool({"import", volume, input});
    ASSERT_EQ(0, import.status) << import.err;
    EXPECT_TRUE(has(import.out, "; 3 stored as UTF-8 (not as code page 1252)")) << import.out;
    const std::vector<std::string> stored = stored_texts();
    ASSERT_EQ(std::size(items), stored.size());
    for (size_t n = 0; n < stored.size(); ++n) {
        EXPECT_EQ(hex(items[n].stored), hex(stored[n])) << items[n].text;
        const std::string number = std::to_string(n);
        EXPECT_EQ(items[n].text + "\n", run_tool({"show", volume, number}).out);
        const std::string bytes = replaced(items[n].stored, "\r\n", "\n") + "\n";
        for (const char* encoding : {"cp1252", "stored", "CP1252"})
            EXPECT_EQ(hex(bytes), hex(run_tool({"show", volume, number, "--encoding", encoding}).out));
    }
    EXPECT_EQ(fortune_file(texts), run_tool({"export", volume}).out);
    EXPECT_EQ(fortune_file(texts), run_tool({"export", volume, "--encoding", "utf-8"}).out);
    std::vector<std::string> stored_lf;
    for (const auto& item : items)
        stored_lf.push_back(item.stored);
    EXPECT_EQ(hex(fortune_file(stored_lf)), hex(run_tool({"export", volume, "--encoding", "cp1252"}).out));
    const std::string file = folder.file("out.txt");
    ASSERT_EQ(0, run_tool({"export", volume, file}).status);
    EXPECT_EQ(fortune_file(texts), file_bytes(file));
}

TEST_F(TextTool, CodePageFilesOldVolumesAndByteOrderMarks)
{
    // Items written before the rule, as their bytes stood: both read right.
    make_volume({"Caf\xE9 cr\xE8me", "Caf\xC3\xA9 in UTF-8"});
    EXPECT_EQ("Café crème\n", run_tool({"show", volume, "0"}).out);
    EXPECT_EQ("Café in UTF-8\n", run_tool({"show", volume, "1"}).out);
    EXPECT_EQ("Caf\xE9 cr\xE8me\n", run_tool({"show", volume, "0", "--encoding", "stored"}).out);

    // A file that is no UTF-8 holds Windows-1252; its bytes are kept as they
    // stand, unless they would read back as UTF-8.
    write_bytes(input, "Caf\xE9\n%\n\x93quoted\x94 \x80\n%\n\xC3\xA9 looks like UTF-8\n%\n");
    ToolRun run = run_tool({"import", volume, input});
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_TRUE(has(run.err, "input.txt is not UTF-8; its bytes are taken as code page 1252"))
        << run.err;
    EXPECT_EQ(hex("\xC3\x83\xC2\xA9 looks like UTF-8"), hex(stored_texts()[4]));
    EXPECT_EQ("Café crème\n%\nCafé in UTF-8\n%\nCafé\n%\n“quoted” €\n%\nÃ© looks like UTF-8\n%\n",
              run_tool({"export", volume}).out);
    EXPECT_EQ("\x93quoted\x94 \x80\n", run_tool({"show", volume, "3", "--encoding", "cp1252"}).out);
    // The code page says how the bytes read, here and in the file.
    EXPECT_EQ("\u0093quoted\u0094 \u0080\n", run_tool({"show", volume, "3", "--codepage", "28591"}).out);
    EXPECT_EQ("\x93quoted\x94 \x80\n",
              run_tool({"show", volume, "3", "--encoding", "cp28591"}).out);

    // A leading byte-order mark is no part of the first text.
    std::remove(volume.c_str());
    std::remove(index_file.c_str());
    write_bytes(input, "\xEF\xBB\xBF" "Café\n%\nnaïve\n%\n");
    ASSERT_EQ(0, run_tool({"import", volume, input}).status);
    EXPECT_EQ((std::vector<std::string>{"Caf\xE9", "na\xEFve"}), stored_texts());
    EXPECT_EQ("Café\n%\nnaïve\n%\n", run_tool({"export", volume}).out);
    EXPECT_EQ("Caf\xE9\n%\nna\xEFve\n%\n", run_tool({"export", volume, "--encoding", "cp1252"}).out);

    // ISO-8859-1 has no euro sign: that text goes to UTF-8.
    std::remove(volume.c_str());
    std::remove(index_file.c_str());
    write_bytes(input, "5 €\n%\nCafé\n%\n");
    ASSERT_EQ(0, run_tool({"import", volume, input, "--codepage", "28591", "--category", "Déjà"}).status);
    EXPECT_EQ((std::vector<std::string>{"5 \xE2\x82\xAC", "Caf\xE9"}), stored_texts());
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    EXPECT_STREQ("D\xE9j\xE0", stored_entry(db, 0).classification().c_str());
    ASSERT_EQ(1u, db.erase_entry(1));
    EXPECT_EQ("5 €\n", run_tool({"random", volume}).out);
    EXPECT_EQ("5 \xE2\x82\xAC\n", run_tool({"random", volume, "--encoding", "stored"}).out);
}

TEST_F(TextTool, BadTextOptionsAreRefusedAndChangeNothing)
{
    make_volume({"a"});
    write_bytes(input, "b\n%\n");
    const std::vector<std::string> listing = folder.listing();
    const std::string data = file_bytes(volume);
    const struct { Args args; std::string says; } cases[] = {
        {{"search", volume}, "missing an operand"},
        {{"search", volume, ""}, "the text to search for is empty"},
        {{"search", volume, "(", "--regex"}, "not a regular expression"},
        {{"search", volume, "a", "b"}, "unexpected operand"},
        {{"search", volume, "a", "--count=yes"}, "unknown option"},
        {{"search", volume, "a", "--codepage", "x"}, "--codepage takes a code page number"},
        {{"search", volume, "a", "--codepage", "0"}, "--codepage takes"},
        {{"search", volume, "a", "--codepage", "65536"}, "--codepage takes"},
        {{"show", volume, "0", "--encoding", "latin9"}, "unknown encoding \"latin9\""},
        {{"export", volume, "--encoding", "cp"}, "--encoding cpN takes"},
        {{"export", volume, "--encoding", "cp1252", "--codepage", "28591"}, "name different code pages"},
        {{"random", volume, "--codepage"}, "--codepage needs a value"},
        {{"import", volume, input, "--encoding", "utf8"}, "unknown option --encoding"},
        {{"import", volume, input, "--codepage", "-1"}, "--codepage takes"},
#ifndef _WIN32
        {{"import", volume, input, "--codepage", "1251"}, "code page 1251 is not known here"},
        {{"search", volume, "a", "--encoding", "cp437"}, "code page 437 is not known here"},
#endif
    };
    for (const auto& c : cases) {
        const ToolRun run = run_tool(c.args);
        EXPECT_EQ(2, run.status) << c.says;
        EXPECT_TRUE(has(run.err, c.says)) << run.err;
        EXPECT_EQ("", run.out) << c.says;
    }
    EXPECT_EQ(listing, folder.listing());
    EXPECT_EQ(data, file_bytes(volume));
#ifdef _WIN32
    // Windows converts the code pages this program has no table for.
    write_bytes(input, "Привет\n%\n");
    ASSERT_EQ(0, run_tool({"import", volume, input, "--codepage", "1251"}).status);
    EXPECT_EQ((std::vector<std::string>{"a", "\xCF\xF0\xE8\xE2\xE5\xF2"}), stored_texts());
    EXPECT_EQ("Привет\n", run_tool({"show", volume, "1", "--codepage", "1251"}).out);
    EXPECT_EQ("1\n", run_tool({"search", volume, "пРИВЕТ", "--count", "--encoding", "cp1251"}).out);
#endif
}

TEST_F(TextTool, SearchFindsWhatAFoldedFindFinds)
{
    // Two items from before the rule, then imported ones.
    make_volume({"Caf\xE9 cr\xE8me", "Caf\xC3\xA9 in raw UTF-8"});
    const std::vector<std::string> imported = {
        "Café au lait —",
        "naïve — “quoted”",
        "ÀÉÎÕÜ ŠŒŽŸ capitals",
        "àéîõü šœžÿ smalls",
        "Αθήνα 😀 e\u0301",
        "line one\nLINE TWO",
        "plain ASCII: the wisdom of the ages",
        "Ã© is not é",
    };
    import_texts(imported);
    std::vector<std::string> texts = {"Café crème", "Café in raw UTF-8"};
    texts.insert(texts.end(), imported.begin(), imported.end());

    for (const std::string needle :
         {"café", "CAFÉ", "É", "àéîõü", "ÀÉÎÕÜ", "šœžÿ", "ŠŒŽŸ", "—", "“QUOTED”", "αθΉΝΑ", "😀",
          "line one\nline two", "WISDOM of", "ã©", "é", "e\u0301", "crème", "the ages", "s",
          "absent", "capitals and more than any text holds"}) {
        std::vector<std::string> found;
        for (const std::string& text : texts) {
            if (folded(text).find(folded(needle)) != std::string::npos)
                found.push_back(text);
        }
        EXPECT_EQ(std::to_string(found.size()) + "\n",
                  run_tool({"search", volume, needle, "--count"}).out) << needle;
        const ToolRun run = run_tool({"search", volume, needle});
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_EQ(fortune_file(found), run.out) << needle;
    }
    EXPECT_EQ("Café au lait —\r\n%\r\n", run_tool({"search", volume, "LAIT", "--crlf"}).out);
    EXPECT_EQ("Caf\xE9 au lait \x97\n",
              run_tool({"search", volume, "LAIT", "--encoding", "cp1252", "--no-final-delimiter"}).out);

    const struct { std::string expression; std::string count; } expressions[] = {
        {"^(café|naïve)", "4\n"},
        {"CAFÉ AU", "1\n"},
        {"\\bWISDOM\\b", "1\n"},
        {"^line one$", "0\n"},  // ^ and $ stand for the ends of the whole text
        {"one\\r\\nline", "1\n"},
        {"[0-9]{3}", "0\n"},
    };
    for (const auto& e : expressions)
        EXPECT_EQ(e.count, run_tool({"search", volume, e.expression, "--regex", "--count"}).out)
            << e.expression;
    EXPECT_EQ(fortune_file({"plain ASCII: the wisdom of the ages"}),
              run_tool({"search", volume, "W.SDOM", "--regex"}).out);
}

TEST_F(TextTool, SearchPassesOverDeadEntriesAndWaitsForAWriter)
{
    make_volume({"find me", "find me deleted", "find me erased", "not this", "FIND ME too"});
    QuoteDatabaseV2 db{zstring(volume.c_str())};
    delete_item(db, 1);
    ASSERT_EQ(1u, db.erase_entry(2));
    write_bytes(index_file, file_bytes(index_file) + entry_bytes(50));
    ToolRun run = run_tool({"search", volume, "find me"});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("find me\n%\nFIND ME too\n%\n", run.out);
    EXPECT_TRUE(has(run.err, "1 unreadable entries left out")) << run.err;
    EXPECT_EQ("2\n", run_tool({"search", volume, "ME", "--count"}).out);
    EXPECT_EQ("", run_tool({"search", volume, "nobody"}).out);

    VolumeLock::SetWait(50);
    {
        VolumeLock writer;
        ASSERT_EQ(VolumeLock::kLocked, writer.Acquire(zstring(volume.c_str()), VolumeLock::kWrite));
        run = run_tool({"search", volume, "find me"});
        EXPECT_EQ(1, run.status);
        EXPECT_TRUE(has(run.err, "volume busy: another program is writing it")) << run.err;
        EXPECT_EQ("", run.out);
    }
    VolumeLock::SetWait(5000);
    EXPECT_EQ(1, run_tool({"search", folder.file("none.STD"), "a"}).status);
}

TEST(CaselessFinder, FindsTheNeedleAtEveryPlaceOfTextsOfEveryLength)
{
    // Lengths about the sixteen-byte steps of the scan, the needle at each
    // place, in the other case; then its last letter changed, or cut off.
    const struct { std::string needle, capitals; } needles[] = {
        {"a", "A"}, {"wisdom", "WISDOM"}, {"é", "É"}, {"ÿa—z", "ŸA—Z"}, {"x😀", "X😀"}};
    for (const auto& n : needles) {
        const CaselessFinder finder(n.needle);
        for (size_t length = n.capitals.size(); length < 50; ++length) {
            for (size_t at = 0; at + n.capitals.size() <= length; ++at) {
                std::string text(length, '.');
                text.replace(at, n.capitals.size(), n.capitals);
                EXPECT_TRUE(finder.found_in(text)) << n.needle << " " << length << " " << at;
                text[at + n.capitals.size() - 1] = '.';
                EXPECT_FALSE(finder.found_in(text)) << n.needle << " " << length << " " << at;
                EXPECT_FALSE(finder.found_in(std::string_view(text).substr(0, at + n.capitals.size() - 1)));
            }
        }
    }
    EXPECT_TRUE(CaselessFinder("é").found_in("\xC3\x89\xC3"));  // É, then a cut sequence
    EXPECT_FALSE(CaselessFinder("é").found_in("\xC3\xC3"));
    EXPECT_FALSE(CaselessFinder("ab").found_in("a"));

    const std::pair<char32_t, char32_t> folds[] = {
        {U'Ÿ', U'ÿ'}, {U'Σ', U'σ'}, {U'ς', U'σ'}, {U'Ł', U'ł'}, {U'Ŋ', U'ŋ'}, {U'Ž', U'ž'},
        {U'Я', U'я'}, {U'Ё', U'ё'}, {U'Ά', U'ά'}, {U'Ώ', U'ώ'}, {U'İ', U'İ'}, {U'×', U'×'},
        {U'ß', U'ß'}, {U'ž', U'ž'}, {U'ĸ', U'ĸ'}, {U'Ω', U'ω'}};
    for (const auto& f : folds)
        EXPECT_EQ(static_cast<uint32_t>(f.second), static_cast<uint32_t>(fold_character(f.first)))
            << static_cast<uint32_t>(f.first);
}
