// Searching, matching, comparing and testing a zstring's text; the
// buffer management and the stream forms are in zstring.cpp.
#include "base/zstring.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

unsigned measure(const char* s)
{
    return s ? static_cast<unsigned>(std::strlen(s)) : 0;
}

char fold(char c, int ci)
{
    return (ci && c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

bool is_std_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool matches_at(const char* text, const char* pat, int ci)
{
    for (; *pat; ++text, ++pat) {
        if (!*text || fold(*text, ci) != fold(*pat, ci))
            return false;
    }
    return true;
}

// The whitespace-delimited word around the first occurrence of pat, as the
// byte range [begin, end). Returns false when pat does not occur.
bool token_range(const char* text, const char* pat, unsigned& begin, unsigned& end)
{
    const char* hit = std::strstr(text, pat);
    if (!*pat || !hit)
        return false;
    begin = end = static_cast<unsigned>(hit - text);
    if (is_std_space(text[begin])) {
        end = begin + 1;
        return true;
    }
    while (begin > 0 && !is_std_space(text[begin - 1]))
        --begin;
    while (text[end] && !is_std_space(text[end]))
        ++end;
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Removing by pattern

unsigned zstring::remove_pattern(const zstring& p, int ci)
{
    const zstring pattern(p);  // p may be this object
    const unsigned n = pattern.length();
    unsigned count = 0;
    // Restart where the occurrence was, so bytes that join up can match.
    unsigned pos = find(pattern, 0, ci);
    while (pos != npos) {
        remove_bytes(pos, n);
        ++count;
        pos = find(pattern, pos, ci);
    }
    return count;
}

zstring zstring::remove_token(const zstring& p)
{
    unsigned begin = 0, end = 0;
    if (!token_range(m_text, p.m_text, begin, end))
        return zstring();
    zstring token = subpos(begin, end);
    remove_bytes(begin, end - begin);
    return token;
}

unsigned zstring::replace(const zstring& old_text, const zstring& new_text, int ci)
{
    const zstring pattern(old_text), replacement(new_text);
    const unsigned old_n = pattern.length(), new_n = replacement.length();
    unsigned count = 0;
    // Restart after the inserted text so it is never searched again.
    unsigned pos = find(pattern, 0, ci);
    while (pos != npos) {
        remove_bytes(pos, old_n);
        insert(pos, replacement);
        ++count;
        pos = find(pattern, pos + new_n, ci);
    }
    return count;
}

// ---------------------------------------------------------------------------
// Searching

unsigned zstring::find(char c, unsigned start, int ci) const
{
    if (start >= length())
        return npos;
    const char* hit = ci_strchr(m_text + start, c, ci);
    return hit ? static_cast<unsigned>(hit - m_text) : npos;
}

unsigned zstring::find(const char* s, unsigned start, int ci) const
{
    if (start >= length())
        return npos;
    const char* hit = ci_strstr(m_text + start, s, ci);
    return hit ? static_cast<unsigned>(hit - m_text) : npos;
}

unsigned zstring::find(const zstring& s, unsigned start, int ci) const
{
    return find(s.m_text, start, ci);
}

// start counts back from the end: the search begins at len - 1 - start.
unsigned zstring::rfind(char c, unsigned start, int ci) const
{
    const unsigned len = length();
    if (c == 0 || start >= len)
        return npos;
    for (unsigned i = len - start; i-- > 0;) {
        if (fold(m_text[i], ci) == fold(c, ci))
            return i;
    }
    return npos;
}

// The last occurrence lying wholly within [start, len).
unsigned zstring::rfind(const char* s, unsigned start, int ci) const
{
    const unsigned len = length();
    const unsigned n = measure(s);
    if (start == npos)
        start = 0;
    if (n == 0 || start > len || n > len - start)
        return npos;
    for (unsigned i = len - n + 1; i-- > start;) {
        if (matches_at(m_text + i, s, ci))
            return i;
    }
    return npos;
}

unsigned zstring::rfind(const zstring& s, unsigned start, int ci) const
{
    return rfind(s.m_text, start, ci);
}

unsigned zstring::find_last(char c, unsigned start, int ci) const
{
    unsigned last = npos;
    for (unsigned hit = find(c, start, ci); hit != npos; hit = find(c, hit + 1, ci))
        last = hit;
    return last;
}

unsigned zstring::find_last(const char* s, unsigned start, int ci) const
{
    unsigned last = npos;
    for (unsigned hit = find(s, start, ci); hit != npos; hit = find(s, hit + 1, ci))
        last = hit;
    return last;
}

unsigned zstring::tally(const zstring& p, int ci) const
{
    unsigned count = 0;
    for (unsigned hit = find(p, 0, ci); hit != npos; hit = find(p, hit + 1, ci))
        ++count;
    return count;
}

// ---------------------------------------------------------------------------
// Extracting

zstring zstring::substr(unsigned start, unsigned n) const
{
    zstring part;
    copy_bytes(part, start, n);
    return part;
}

zstring zstring::subpos(unsigned start, unsigned end) const
{
    if (end <= start)
        return zstring();
    return substr(start, end - start);
}

const char* zstring::substr(zstring& out, unsigned start) const
{
    return copy_bytes(out, start, npos);
}

const char* zstring::copy_bytes(zstring& out, unsigned start, unsigned n) const
{
    const unsigned len = length();
    if (start >= len)
        return out.assign("").c_str();
    const unsigned tail = len - start;
    out.replace_text(m_text + start, n < tail ? n : tail);
    return out.c_str();
}

const char* zstring::copy_pos(zstring& out, unsigned start, unsigned end) const
{
    // An end before start leaves the whole tail, as the cut never applies.
    if (end < start)
        end = npos;
    return copy_bytes(out, start, end == npos ? npos : end - start);
}

zstring zstring::get_token(const zstring& p) const
{
    unsigned begin = 0, end = 0;
    if (!token_range(m_text, p.m_text, begin, end))
        return zstring();
    return subpos(begin, end);
}

int zstring::as_int() const
{
    // atoi, but a number out of range is clamped rather than undefined.
    const long n = std::strtol(m_text, nullptr, 10);
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return static_cast<int>(n);
}

// ---------------------------------------------------------------------------
// Comparing

int zstring::operator==(const zstring& other) const
{
    return std::strcmp(m_text, other.m_text) == 0;
}

int zstring::operator!=(const zstring& other) const
{
    return !(*this == other);
}

int zstring::operator<(const zstring& other) const
{
    return cmp(other) == -1;
}

int zstring::operator>(const zstring& other) const
{
    return cmp(other) >= 0;
}

int zstring::cmp(const zstring& other, int ci) const
{
    return ci_strcmp(m_text, other.m_text, ci);
}

// ---------------------------------------------------------------------------
// Testing

int zstring::mkwhite()
{
    int changed = 0;
    for (char* p = m_text; *p; ++p) {
        if (is_white(*p)) {
            *p = ' ';
            changed = 1;
        }
    }
    return changed;
}

int zstring::is_null() const
{
    return m_text[0] == 0;
}

int zstring::is_white(char c) const
{
    const unsigned char b = static_cast<unsigned char>(c);
    return b < 0x20 || b > 0x7E;
}

int zstring::is_white(unsigned i) const
{
    return i < length() && is_white(m_text[i]);
}

int zstring::is_white() const
{
    for (const char* p = m_text; *p; ++p) {
        if (!is_white(*p))
            return 0;
    }
    return 1;
}

int zstring::is_space() const
{
    for (const char* p = m_text; *p; ++p) {
        if (!is_std_space(*p))
            return 0;
    }
    return 1;
}

int zstring::is_ascii() const
{
    for (const char* p = m_text; *p; ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return 0;
    }
    return 1;
}

int zstring::is_alnum(unsigned i) const
{
    return i < length() && std::isalnum(static_cast<unsigned char>(m_text[i]));
}

int zstring::is_alpha(unsigned i) const
{
    return i < length() && std::isalpha(static_cast<unsigned char>(m_text[i]));
}

unsigned zstring::seek_binary(int allow_ws) const
{
    for (unsigned i = 0; m_text[i]; ++i) {
        const unsigned char b = static_cast<unsigned char>(m_text[i]);
        const bool ws = b == 0x09 || b == 0x0A || b == 0x0B || b == 0x0D;
        if ((b < 0x20 || b >= 0x80) && !(allow_ws && ws))
            return i;
    }
    return npos;
}

// ---------------------------------------------------------------------------
// Matching helpers

const char* zstring::ci_strstr(const char* text, const char* pat, int ci)
{
    if (!text || !pat || !*pat)
        return nullptr;
    for (; *text; ++text) {
        if (matches_at(text, pat, ci))
            return text;
    }
    return nullptr;
}

const char* zstring::ci_strchr(const char* text, char c, int ci)
{
    if (!text || c == 0)
        return nullptr;
    for (; *text; ++text) {
        if (fold(*text, ci) == fold(c, ci))
            return text;
    }
    return nullptr;
}

// The empty text sorts last, and a text sorts after a longer one that
// begins with it; bytes compare as signed values.
int zstring::ci_strcmp(const char* a, const char* b, int ci)
{
    a = a ? a : "";
    b = b ? b : "";
    if (!*a || !*b)
        return (!*a && !*b) ? 0 : (*a ? -1 : 1);
    for (; *a && *b; ++a, ++b) {
        const signed char x = static_cast<signed char>(fold(*a, ci));
        const signed char y = static_cast<signed char>(fold(*b, ci));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (*a)
        return -1;
    return *b ? 1 : 0;
}