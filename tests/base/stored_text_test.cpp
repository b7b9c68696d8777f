#include "base/stored_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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

const StoredText cp1252(windows_1252_page());
const StoredText latin1(latin1_page());

// Bytes 0xC0-0xFF are А-я, as in Windows-1251; the rest as in ISO-8859-1.
SingleByteCodePage::Table cyrillic_table()
{
    SingleByteCodePage::Table table;
    for (char32_t b = 0; b < 256; ++b)
        table[b] = b >= 0xC0 ? 0x410 + (b - 0xC0) : b;
    return table;
}

// A page whose conversion does not go both ways, as some of Windows' do:
// it writes "ж" as 0xE6 but reads 0xE6 as "?".
class OneWayPage : public CodePage {
public:
    unsigned number() const override { return 9999; }
    void decode(const char* bytes, size_t n, std::u32string& out) const override
    {
        for (size_t i = 0; i < n; ++i)
            out += static_cast<unsigned char>(bytes[i]) == 0xE6 ? U'?' : U'x';
    }
    bool encode(const char32_t* text, size_t n, std::string& out) const override
    {
        for (size_t i = 0; i < n; ++i)
            out += text[i] == U'ж' ? '\xE6' : static_cast<char>(text[i]);
        return true;
    }
};

}  // namespace

TEST(StoredText, WritesEachTextByTheRuleAndReadsItBack)
{
    const struct { const StoredText& rule; std::string text, stored; StoredText::Result result; } cases[] = {
        {cp1252, "plain ASCII, \r\n~", "plain ASCII, \r\n~", StoredText::kStoredInCodePage},
        {cp1252, "", "", StoredText::kStoredInCodePage},
        {cp1252, "Café", "Caf\xE9", StoredText::kStoredInCodePage},
        {cp1252, "naïve — “quoted”", "na\xEFve \x97 \x93quoted\x94", StoredText::kStoredInCodePage},
        {cp1252, "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’•–˜™š›œžŸ", "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
                                        "\x91\x92\x95\x96\x98\x99\x9A\x9B\x9C\x9E\x9F",
         StoredText::kStoredInCodePage},
        {cp1252, "\u0081\u008D\u008F\u0090\u009D\u00A0ÿ", "\x81\x8D\x8F\x90\x9D\xA0\xFF",
         StoredText::kStoredInCodePage},
        // A character the page lacks: the whole text in UTF-8.
        {cp1252, "Café 😀", "Caf\xC3\xA9 \xF0\x9F\x98\x80", StoredText::kStoredAsUtf8},
        {cp1252, "Αθήνα", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", StoredText::kStoredAsUtf8},
        {cp1252, "e\u0301", "e\xCC\x81", StoredText::kStoredAsUtf8},
        {cp1252, "\u0080", "\xC2\x80", StoredText::kStoredAsUtf8},
        // In the page, but its bytes C3 A9 would read back as the UTF-8 of "é".
        {cp1252, "Ã©", "\xC3\x83\xC2\xA9", StoredText::kStoredAsUtf8},
        {cp1252, "Ã", "\xC3", StoredText::kStoredInCodePage},
        {latin1, "Café \u0080\u0093", "Caf\xE9 \x80\x93", StoredText::kStoredInCodePage},
        {latin1, "5 €", "5 \xE2\x82\xAC", StoredText::kStoredAsUtf8},
    };
    for (const auto& c : cases) {
        std::string stored = "old";
        EXPECT_EQ(c.result, c.rule.from_utf8(c.text, stored)) << c.text;
        EXPECT_EQ(hex(c.stored), hex(stored)) << c.text;
        EXPECT_EQ(c.text, c.rule.to_utf8(stored)) << c.text;
        std::string buffer;
        EXPECT_EQ(c.text, c.rule.utf8_view(stored.data(), stored.size(), buffer)) << c.text;
        // UTF-16 the same way, there and back.
        const std::u16string units = c.rule.to_utf16(stored);
        std::string again;
        EXPECT_EQ(c.result, c.rule.from_utf16(units, again)) << c.text;
        EXPECT_EQ(hex(c.stored), hex(again)) << c.text;
        EXPECT_EQ(c.result == StoredText::kStoredAsUtf8 ? StoredText::kUtf8 : StoredText::kCodePage,
                  StoredText::form_of(stored)) << c.text;
    }
    EXPECT_EQ(u"Caf\u00E9 \U0001F600", cp1252.to_utf16("Caf\xC3\xA9 \xF0\x9F\x98\x80"));
}

TEST(StoredText, ReadsTextsWrittenBeforeAsTheyWere)
{
    // Every byte of Windows-1252 stands for one character and comes back.
    const char32_t expected[][2] = {{0x80, 0x20AC}, {0x81, 0x81}, {0x8D, 0x8D}, {0x8F, 0x8F},
                                    {0x90, 0x90}, {0x97, 0x2014}, {0x9D, 0x9D}, {0x9F, 0x178},
                                    {0xA0, 0xA0}, {0xE9, 0xE9}, {0xFF, 0xFF}};
    for (const auto& e : expected)
        EXPECT_EQ(e[1], windows_1252_page().to_unicode(static_cast<unsigned char>(e[0]))) << e[0];
    for (int b = 1; b < 256; ++b) {
        const std::string stored(1, static_cast<char>(b));
        std::string back;
        cp1252.from_utf8(cp1252.to_utf8(stored), back);
        EXPECT_EQ(hex(stored), hex(back));
        latin1.from_utf8(latin1.to_utf8(stored), back);
        EXPECT_EQ(hex(stored), hex(back));
    }
    // Only valid UTF-8 with a byte of 0x80 or above is read as UTF-8.
    const struct { std::string stored, text; } reads[] = {
        {"Caf\xC3\xA9", "Café"},
        {"Caf\xE9", "Café"},
        {"Caf\xC3", "CafÃ"},                      // cut short
        {"\xC0\xAF", "À¯"},                        // overlong "/"
        {"\xE0\x80\xAF", "à€¯"},                   // overlong, three bytes
        {"\xED\xA0\x80", "í\u00A0€"},              // a surrogate
        {"\xF4\x90\x80\x80", "ô\u0090€€"},         // past U+10FFFF
        {"\xF8\x88\x80\x80\x80", "øˆ€€€"},         // five bytes
        {"\x80 lone", "€ lone"},
        {"\xC3\xA9\xE9", "Ã©é"},                  // UTF-8 then a stray byte
        {"\xEF\xBB\xBFhi", "\uFEFFhi"},
    };
    for (const auto& r : reads) {
        EXPECT_EQ(r.text, cp1252.to_utf8(r.stored)) << hex(r.stored);
        EXPECT_TRUE(StoredText::is_valid_utf8(cp1252.to_utf8(r.stored))) << hex(r.stored);
    }
    EXPECT_TRUE(StoredText::is_valid_utf8("\xF4\x8F\xBF\xBF \xED\x9F\xBF \xEE\x80\x80"));
}

TEST(StoredText, RefusesWhatNoStoredTextCanHold)
{
    std::string stored = "kept";
    for (const std::string& text : {std::string("a\0b", 3), std::string("Caf\xE9"),
                                    std::string("\xC3"), std::string("\xED\xA0\x80")})
        EXPECT_EQ(StoredText::kNotText, cp1252.from_utf8(text, stored)) << hex(text);
    for (const std::u16string& text : {std::u16string(u"a\xD800"), std::u16string(u"\xDC00z"),
                                       std::u16string(u"\xDC00\xD800"), std::u16string(1, u'\0')})
        EXPECT_EQ(StoredText::kNotText, cp1252.from_utf16(text, stored));
    EXPECT_EQ(StoredText::kNotText, cp1252.from_unicode(std::u32string(1, 0x110000), stored));
    EXPECT_EQ("kept", stored);
}

TEST(StoredText, TakesACodePageFromOutside)
{
    const SingleByteCodePage cyrillic(1251, cyrillic_table());
    const StoredText rule(cyrillic);
    std::string stored;
    EXPECT_EQ(StoredText::kStoredInCodePage, rule.from_utf8("Привет", stored));
    EXPECT_EQ("\xCF\xF0\xE8\xE2\xE5\xF2", stored);
    EXPECT_EQ("Привет", rule.to_utf8(stored));
    EXPECT_EQ(StoredText::kStoredAsUtf8, rule.from_utf8("Привет €", stored));

    // A page that reads its own bytes back differently is not trusted with them.
    const OneWayPage one_way;
    const StoredText careful(one_way);
    EXPECT_EQ(StoredText::kStoredAsUtf8, careful.from_utf8("ж", stored));
    EXPECT_EQ("\xD0\xB6", stored);
    EXPECT_EQ("ж", careful.to_utf8(stored));

    EXPECT_EQ(&windows_1252_page(), built_in_code_page(1252));
    EXPECT_EQ(&latin1_page(), built_in_code_page(28591));
    EXPECT_EQ(nullptr, built_in_code_page(1251));
    EXPECT_EQ(nullptr, built_in_code_page(65001));
}

#ifdef _WIN32
TEST(StoredText, WindowsConvertsLikeTheBuiltInPages)
{
    for (unsigned number : {1252u, 28591u}) {
        const std::unique_ptr<CodePage> page = windows_code_page(number);
        ASSERT_TRUE(page) << number;
        for (int b = 1; b < 256; ++b) {
            std::u32string characters;
            const char byte = static_cast<char>(b);
            page->decode(&byte, 1, characters);
            ASSERT_EQ(1u, characters.size()) << number << " " << b;
            std::u32string own;
            built_in_code_page(number)->decode(&byte, 1, own);
            EXPECT_EQ(own, characters) << number << " byte " << b;
        }
    }
    const std::unique_ptr<CodePage> cyrillic = windows_code_page(1251);
    ASSERT_TRUE(cyrillic);
    const StoredText rule(*cyrillic);
    std::string stored;
    EXPECT_EQ(StoredText::kStoredInCodePage, rule.from_utf8("Привет", stored));
    EXPECT_EQ("\xCF\xF0\xE8\xE2\xE5\xF2", stored);
    EXPECT_EQ(StoredText::kStoredAsUtf8, rule.from_utf8("Привет é", stored));
    EXPECT_EQ(L"Привет é", rule.to_wide(stored));
    EXPECT_TRUE(windows_code_page(0));
    EXPECT_FALSE(windows_code_page(65001));
    EXPECT_FALSE(windows_code_page(12345));
}
#endif

TEST(StoredText, CutsNeverSplitACharacter)
{
    const std::string text = "a\xC3\xA9\xE2\x80\x94\xF0\x9F\x98\x80";  // a é — 😀
    const size_t cuts[][2] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {4, 3}, {5, 3}, {6, 6},
                              {7, 6}, {8, 6}, {9, 6}, {10, 10}, {11, 10}};
    for (const auto& c : cuts)
        EXPECT_EQ(c[1], StoredText::utf8_cut(text.data(), text.size(), c[0])) << c[0];
    // Bytes that are no UTF-8 are cut where asked.
    const std::string bytes = "\xE9\x80\x80\x80\x80";
    EXPECT_EQ(3u, StoredText::utf8_cut(bytes.data(), bytes.size(), 3));
}
