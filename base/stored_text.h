#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// How a volume keeps its texts. A volume has no field that names an
// encoding, and volumes of many years hold the bytes of a code page, so one
// rule tells a text's form from its bytes alone:
//
//   reading: a stored text that is valid UTF-8 and holds a byte of 0x80 or
//            above is UTF-8; any other text is the code page's bytes.
//   writing: a text is stored in the code page when every character has a
//            byte there and those bytes read back as the same text;
//            otherwise it is stored as UTF-8.
//
// So every text written before this rule reads as it always did, and a
// character the code page lacks is never turned into '?'. A text in the
// code page whose bytes happen to form UTF-8 ("Ã©" in Windows-1252 is the
// UTF-8 of "é") is stored as UTF-8, so it cannot be misread.

// A code page: the characters its bytes stand for, and back. A page that
// lacks a character says so; it never substitutes another. Bytes below 0x80
// stand for the ASCII characters of the same number, as in every code page
// Windows uses for 8-bit text.
class CodePage {
public:
    virtual ~CodePage();

    // Windows' number for the page: 1252, 28591, ...
    virtual unsigned number() const = 0;
    // Appends the characters the n bytes stand for. Every byte sequence
    // gives some text; bytes the page leaves undefined give whatever the
    // page's own conversion gives for them.
    virtual void decode(const char* bytes, size_t n, std::u32string& out) const = 0;
    // Appends the page's bytes for the n characters; false, with out in an
    // unspecified state, when one of them has no bytes in the page.
    virtual bool encode(const char32_t* text, size_t n, std::string& out) const = 0;
};

// A page of one byte per character, given as the 256 characters its bytes
// stand for (a program may fill the table from the system's own conversion).
class SingleByteCodePage : public CodePage {
public:
    using Table = std::array<char32_t, 256>;
    SingleByteCodePage(unsigned number, const Table& table);

    unsigned number() const override { return m_number; }
    void decode(const char* bytes, size_t n, std::u32string& out) const override;
    bool encode(const char32_t* text, size_t n, std::string& out) const override;

    char32_t to_unicode(unsigned char byte) const { return m_table[byte]; }
    // true with the byte that stands for c; false when none does.
    bool from_unicode(char32_t c, unsigned char& byte) const;

private:
    unsigned m_number;
    Table m_table;
    std::vector<std::pair<char32_t, unsigned char>> m_reverse;  // sorted by character
};

// Windows-1252 as Windows converts it: 0x80-0x9F are the typographic
// characters (euro sign, dashes, curly quotes, ...), and the five bytes it
// leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control
// characters of the same number, U+0081 and so on.
const SingleByteCodePage& windows_1252_page();
// ISO-8859-1 (code page 28591): each byte the character of its own number.
const SingleByteCodePage& latin1_page();
// The page of that number this program carries a table for (1252, 28591);
// null for any other.
const CodePage* built_in_code_page(unsigned number);

#ifdef _WIN32
// The page as Windows' own conversion (MultiByteToWideChar and
// WideCharToMultiByte, no best-fit characters) has it; number 0 is the
// system's ANSI code page. Null when Windows has no such page or it is no
// page a volume can keep: one of more than two bytes a character (UTF-8,
// UTF-7, GB18030, ...). An ANSI code page that is UTF-8 gives null too; a
// program then keeps to windows_1252_page().
std::unique_ptr<CodePage> windows_code_page(unsigned number);
#endif

// The rule, for one code page. Texts in UTF-8 or UTF-16 are what the
// program and the tool work with; stored texts are bytes as the volume
// keeps them.
class StoredText {
public:
    // How a stored text is read.
    enum Form { kCodePage, kUtf8 };
    // What storing a text did. kNotText: the input was not valid UTF-8 or
    // UTF-16 (an overlong form, a surrogate, a cut sequence) or held U+0000,
    // which no stored text can hold; nothing was stored.
    enum Result { kStoredInCodePage, kStoredAsUtf8, kNotText };

    // The page is not owned and must outlive this object.
    explicit StoredText(const CodePage& page);

    const CodePage& page() const { return m_page; }

    // Strict UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing
    // past U+10FFFF, no sequence cut short.
    static bool is_valid_utf8(const char* p, size_t n);
    static bool is_valid_utf8(const std::string& text) { return is_valid_utf8(text.data(), text.size()); }
    // How the rule reads these stored bytes.
    static Form form_of(const char* p, size_t n);
    static Form form_of(const std::string& stored) { return form_of(stored.data(), stored.size()); }
    // The length of the longest start of the n bytes at p, at most limit
    // bytes long, that does not cut a UTF-8 sequence in two.
    static size_t utf8_cut(const char* p, size_t n, size_t limit);

    // A stored text as UTF-8 (out replaced); always valid UTF-8.
    void to_utf8(const char* stored, size_t n, std::string& out) const;
    std::string to_utf8(const std::string& stored) const;
    // The UTF-8 of a stored text without a copy where none is needed: the
    // stored bytes themselves when they are ASCII or UTF-8, else the text
    // decoded into buffer. Valid until the bytes or the buffer change.
    std::string_view utf8_view(const char* stored, size_t n, std::string& buffer) const;
    // A stored text as UTF-16 code units (out replaced).
    void to_utf16(const char* stored, size_t n, std::u16string& out) const;
    std::u16string to_utf16(const std::string& stored) const;

    // A text by the rule into stored (replaced, or unchanged for kNotText).
    Result from_utf8(const char* text, size_t n, std::string& stored) const;
    Result from_utf8(const std::string& text, std::string& stored) const
    {
        return from_utf8(text.data(), text.size(), stored);
    }
    Result from_utf16(const char16_t* text, size_t n, std::string& stored) const;
    Result from_utf16(const std::u16string& text, std::string& stored) const
    {
        return from_utf16(text.data(), text.size(), stored);
    }
    // The characters by the rule; the form the tool's import and the fuzzer use.
    Result from_unicode(const std::u32string& text, std::string& stored) const;
    // A stored text's characters (out replaced).
    void to_unicode(const char* stored, size_t n, std::u32string& out) const;

#ifdef _WIN32
    // The same for the wide strings of the Windows API (UTF-16 there).
    std::wstring to_wide(const std::string& stored) const
    {
        const std::u16string text = to_utf16(stored);
        return std::wstring(text.begin(), text.end());
    }
    Result from_wide(const std::wstring& text, std::string& stored) const
    {
        return from_utf16(std::u16string(text.begin(), text.end()), stored);
    }
#endif

private:
    // Appends the UTF-8 of code page bytes to out.
    void decode_into(const char* stored, size_t n, std::string& out) const;
    Result store(const std::u32string& text, std::string& stored) const;

    const CodePage& m_page;
    const SingleByteCodePage* m_single;  // the page, when it has a byte table
};
