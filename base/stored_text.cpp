#include "base/stored_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const char32_t kReplacement = 0xFFFD;

// 0x80-0x9F of Windows-1252; the rest of the page is ISO-8859-1.
const char32_t k1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool is_scalar(char32_t c)
{
    return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

// The number of bytes before the first one of 0x80 or above.
size_t ascii_run(const char* p, size_t n)
{
    size_t i = 0;
    // 32 bytes at a time, then eight: texts are mostly ASCII.
    const uint64_t high = 0x8080808080808080ull;
    for (; i + 32 <= n; i += 32) {
        uint64_t words[4];
        std::memcpy(words, p + i, 32);
        if ((words[0] | words[1] | words[2] | words[3]) & high)
            break;
    }
    for (; i + 8 <= n; i += 8) {
        uint64_t word;
        std::memcpy(&word, p + i, 8);
        if (word & high)
            break;
    }
    while (i < n && static_cast<unsigned char>(p[i]) < 0x80)
        ++i;
    return i;
}

// The length of the valid UTF-8 sequence at p (at most n bytes), with its
// character in c; 0 when there is none there.
size_t utf8_sequence(const unsigned char* p, size_t n, char32_t& c)
{
    const unsigned char lead = p[0];
    if (lead < 0x80) {
        c = lead;
        return 1;
    }
    size_t length;
    char32_t least;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, least = 0x80, c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, least = 0x800, c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, least = 0x10000, c = lead & 0x07;
    } else {
        return 0;
    }
    if (n < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        c = c << 6 | (p[i] & 0x3F);
    }
    return c >= least && is_scalar(c) ? length : 0;
}

// Decodes valid UTF-8 into out; false at the first fault.
bool utf8_to_unicode(const char* text, size_t n, std::u32string& out)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < n;) {
        char32_t c;
        const size_t length = utf8_sequence(p + i, n - i, c);
        if (length == 0)
            return false;
        out += c;
        i += length;
    }
    return true;
}

void append_utf8(char32_t c, std::string& out)
{
    if (!is_scalar(c))
        c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void append_utf16(char32_t c, std::u16string& out)
{
    if (!is_scalar(c))
        c = kReplacement;
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 | c >> 10);
        out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
}

// Decodes UTF-16; false at a surrogate without its other half.
bool utf16_to_unicode(const char16_t* text, size_t n, std::u32string& out)
{
    for (size_t i = 0; i < n; ++i) {
        const char32_t unit = text[i];
        if (unit < 0xD800 || unit > 0xDFFF) {
            out += unit;
        } else if (unit <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out += 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else {
            return false;
        }
    }
    return true;
}

bool all_ascii(const std::u32string& text)
{
    return std::all_of(text.begin(), text.end(), [](char32_t c) { return c < 0x80; });
}

SingleByteCodePage::Table latin1_table(bool windows)
{
    SingleByteCodePage::Table table;
    for (char32_t b = 0; b < 256; ++b)
        table[b] = windows && b >= 0x80 && b < 0xA0 ? k1252High[b - 0x80] : b;
    return table;
}

}  // namespace

CodePage::~CodePage() = default;

SingleByteCodePage::SingleByteCodePage(unsigned number, const Table& table)
    : m_number(number), m_table(table)
{
    for (size_t b = 0; b < 256; ++b) {
        m_reverse.emplace_back(table[b], static_cast<unsigned char>(b));
    }
    // Where two bytes stand for one character, the lower byte is written.
    std::stable_sort(m_reverse.begin(), m_reverse.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

void SingleByteCodePage::decode(const char* bytes, size_t n, std::u32string& out) const
{
    for (size_t i = 0; i < n; ++i)
        out += m_table[static_cast<unsigned char>(bytes[i])];
}

bool SingleByteCodePage::from_unicode(char32_t c, unsigned char& byte) const
{
    if (c < 0x80 && m_table[c] == c) {
        byte = static_cast<unsigned char>(c);
        return true;
    }
    const auto found = std::lower_bound(
        m_reverse.begin(), m_reverse.end(), c,
        [](const std::pair<char32_t, unsigned char>& entry, char32_t key) { return entry.first < key; });
    if (found == m_reverse.end() || found->first != c)
        return false;
    byte = found->second;
    return true;
}

bool SingleByteCodePage::encode(const char32_t* text, size_t n, std::string& out) const
{
    for (size_t i = 0; i < n; ++i) {
        unsigned char byte;
        if (!from_unicode(text[i], byte))
            return false;
        out += static_cast<char>(byte);
    }
    return true;
}

const SingleByteCodePage& windows_1252_page()
{
    static const SingleByteCodePage page(1252, latin1_table(true));
    return page;
}

const SingleByteCodePage& latin1_page()
{
    static const SingleByteCodePage page(28591, latin1_table(false));
    return page;
}

const CodePage* built_in_code_page(unsigned number)
{
    if (number == 1252)
        return &windows_1252_page();
    if (number == 28591)
        return &latin1_page();
    return nullptr;
}

#ifdef _WIN32
namespace {

// A page through Windows' own conversion, for any page of one or two bytes
// a character (the ANSI pages of East Asia among them).
class WindowsCodePage : public CodePage {
public:
    explicit WindowsCodePage(unsigned number) : m_number(number) {}

    unsigned number() const override { return m_number; }

    void decode(const char* bytes, size_t n, std::u32string& out) const override
    {
        if (n == 0)
            return;
        const int size = static_cast<int>(n);
        const int units = MultiByteToWideChar(m_number, 0, bytes, size, nullptr, 0);
        std::wstring wide(units > 0 ? units : 0, L'\0');
        if (units <= 0 || MultiByteToWideChar(m_number, 0, bytes, size, &wide[0], units) != units) {
            out.append(n, kReplacement);
            return;
        }
        // A surrogate without its other half shows as U+FFFD.
        for (size_t i = 0; i < wide.size(); ++i) {
            const char32_t unit = static_cast<char16_t>(wide[i]);
            if (unit < 0xD800 || unit > 0xDFFF) {
                out += unit;
            } else if (unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                       wide[i + 1] <= 0xDFFF) {
                out += 0x10000 + ((unit - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
                ++i;
            } else {
                out += kReplacement;
            }
        }
    }

    bool encode(const char32_t* text, size_t n, std::string& out) const override
    {
        if (n == 0)
            return true;
        std::u16string units;
        for (size_t i = 0; i < n; ++i)
            append_utf16(text[i], units);
        const std::wstring wide(units.begin(), units.end());
        const int size = static_cast<int>(wide.size());
        BOOL defaulted = FALSE;
        const int bytes = WideCharToMultiByte(m_number, WC_NO_BEST_FIT_CHARS, wide.data(), size,
                                              nullptr, 0, nullptr, &defaulted);
        if (bytes <= 0 || defaulted)
            return false;
        const size_t start = out.size();
        out.resize(start + bytes);
        return WideCharToMultiByte(m_number, WC_NO_BEST_FIT_CHARS, wide.data(), size, &out[start],
                                   bytes, nullptr, &defaulted) == bytes &&
               !defaulted;
    }

private:
    unsigned m_number;
};

}  // namespace

std::unique_ptr<CodePage> windows_code_page(unsigned number)
{
    if (number == 0)
        number = GetACP();
    CPINFO info;
    if (number == CP_UTF7 || number == CP_UTF8 || !IsValidCodePage(number) ||
        !GetCPInfo(number, &info) || info.MaxCharSize > 2)
        return nullptr;
    return std::make_unique<WindowsCodePage>(number);
}
#endif

StoredText::StoredText(const CodePage& page)
    : m_page(page), m_single(dynamic_cast<const SingleByteCodePage*>(&page))
{
}

bool StoredText::is_valid_utf8(const char* p, size_t n)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(p);
    for (size_t i = ascii_run(p, n); i < n;) {
        if (bytes[i] < 0x80) {
            i += ascii_run(p + i, n - i);
            continue;
        }
        char32_t c;
        const size_t length = utf8_sequence(bytes + i, n - i, c);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

StoredText::Form StoredText::form_of(const char* p, size_t n)
{
    const size_t ascii = ascii_run(p, n);
    return ascii < n && is_valid_utf8(p + ascii, n - ascii) ? kUtf8 : kCodePage;
}

size_t StoredText::utf8_cut(const char* p, size_t n, size_t limit)
{
    if (limit >= n)
        return n;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(p);
    // The lead byte of the sequence the cut falls in, at most three back.
    size_t lead = limit;
    while (lead > 0 && limit - lead < 3 && (bytes[lead] & 0xC0) == 0x80)
        --lead;
    char32_t c;
    const size_t length = utf8_sequence(bytes + lead, n - lead, c);
    return length > 0 && lead < limit && lead + length > limit ? lead : limit;
}

void StoredText::to_unicode(const char* stored, size_t n, std::u32string& out) const
{
    out.clear();
    if (form_of(stored, n) == kUtf8)
        utf8_to_unicode(stored, n, out);
    else
        m_page.decode(stored, n, out);
}

std::string_view StoredText::utf8_view(const char* stored, size_t n, std::string& buffer) const
{
    const size_t ascii = ascii_run(stored, n);
    if (ascii == n || is_valid_utf8(stored + ascii, n - ascii))
        return std::string_view(stored, n);
    buffer.assign(stored, ascii);
    decode_into(stored + ascii, n - ascii, buffer);
    return buffer;
}

void StoredText::to_utf8(const char* stored, size_t n, std::string& out) const
{
    const size_t ascii = ascii_run(stored, n);
    if (ascii == n || is_valid_utf8(stored + ascii, n - ascii)) {
        out.assign(stored, n);
        return;
    }
    out.assign(stored, ascii);
    decode_into(stored + ascii, n - ascii, out);
}

void StoredText::decode_into(const char* stored, size_t n, std::string& out) const
{
    if (m_single) {
        for (size_t i = 0; i < n; ++i)
            append_utf8(m_single->to_unicode(static_cast<unsigned char>(stored[i])), out);
        return;
    }
    std::u32string text;
    m_page.decode(stored, n, text);
    for (char32_t c : text)
        append_utf8(c, out);
}

std::string StoredText::to_utf8(const std::string& stored) const
{
    std::string out;
    to_utf8(stored.data(), stored.size(), out);
    return out;
}

void StoredText::to_utf16(const char* stored, size_t n, std::u16string& out) const
{
    std::u32string text;
    to_unicode(stored, n, text);
    out.clear();
    for (char32_t c : text)
        append_utf16(c, out);
}

std::u16string StoredText::to_utf16(const std::string& stored) const
{
    std::u16string out;
    to_utf16(stored.data(), stored.size(), out);
    return out;
}

StoredText::Result StoredText::from_utf8(const char* text, size_t n, std::string& stored) const
{
    if (std::memchr(text, '\0', n))
        return kNotText;
    if (ascii_run(text, n) == n) {
        stored.assign(text, n);
        return kStoredInCodePage;
    }
    std::u32string characters;
    if (!utf8_to_unicode(text, n, characters))
        return kNotText;
    return store(characters, stored);
}

StoredText::Result StoredText::from_utf16(const char16_t* text, size_t n, std::string& stored) const
{
    std::u32string characters;
    if (!utf16_to_unicode(text, n, characters))
        return kNotText;
    return from_unicode(characters, stored);
}

StoredText::Result StoredText::from_unicode(const std::u32string& text, std::string& stored) const
{
    if (text.find(U'\0') != std::u32string::npos ||
        !std::all_of(text.begin(), text.end(), is_scalar))
        return kNotText;
    return store(text, stored);
}

StoredText::Result StoredText::store(const std::u32string& text, std::string& stored) const
{
    if (all_ascii(text)) {
        stored.assign(text.begin(), text.end());
        return kStoredInCodePage;
    }
    std::string bytes;
    if (m_page.encode(text.data(), text.size(), bytes) &&
        bytes.find('\0') == std::string::npos && form_of(bytes) == kCodePage) {
        // A page with a table reads its bytes back as written; any other
        // is asked, since its conversion may not go both ways.
        std::u32string back;
        if (!m_single)
            m_page.decode(bytes.data(), bytes.size(), back);
        if (m_single || back == text) {
            stored.swap(bytes);
            return kStoredInCodePage;
        }
    }
    bytes.clear();
    for (char32_t c : text)
        append_utf8(c, bytes);
    stored.swap(bytes);
    return kStoredAsUtf8;
}
