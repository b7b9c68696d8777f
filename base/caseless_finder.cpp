#include "base/caseless_finder.h"

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// The folds of U+0000 to U+07FF, the characters of one and two bytes.
class FoldTable {
public:
    FoldTable()
    {
        for (char32_t c = 0; c < kSize; ++c)
            m_small[c] = static_cast<char16_t>(c);
        fold_range(U'A', U'Z', 0x20);
        fold_range(0xC0, 0xDE, 0x20);
        m_small[0xD7] = 0xD7;  // the multiplication sign
        // Latin Extended-A: pairs of capital then small letter, except
        // where the pairs shift by one (Ĺ-ň, Ź-ž); İ, ı, ĸ, ŉ and ſ have no
        // small letter of two bytes, or none at all.
        for (char32_t c = 0x100; c < 0x180; ++c) {
            const bool odd_pairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
            if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x178 || c == 0x17F)
                continue;
            if ((c % 2 == 1) == odd_pairs && c != 0x148 && c != 0x17E)
                m_small[c] = static_cast<char16_t>(c + 1);
        }
        m_small[0x178] = 0xFF;  // Ÿ
        // Greek: the accented capitals, then Α-Ω (no capital final sigma).
        m_small[0x386] = 0x3AC;
        fold_range(0x388, 0x38A, 0x25);
        m_small[0x38C] = 0x3CC;
        fold_range(0x38E, 0x38F, 0x3F);
        fold_range(0x391, 0x3AB, 0x20);
        m_small[0x3A2] = 0x3A2;
        m_small[0x3C2] = 0x3C3;  // final sigma folds as sigma
        // Cyrillic: Ѐ-Џ, then А-Я.
        fold_range(0x400, 0x40F, 0x50);
        fold_range(0x410, 0x42F, 0x20);
    }

    char32_t fold(char32_t c) const { return c < kSize ? m_small[c] : c; }

private:
    static const char32_t kSize = 0x800;
    void fold_range(char32_t first, char32_t last, char32_t offset)
    {
        for (char32_t c = first; c <= last; ++c)
            m_small[c] = static_cast<char16_t>(c + offset);
    }

    char16_t m_small[kSize];
};

const FoldTable& fold_table()
{
    static const FoldTable table;
    return table;
}

#if defined(__SSE2__)
unsigned count_trailing_zeros(unsigned bits)
{
    unsigned n = 0;
    for (; (bits & 1) == 0; bits >>= 1)
        ++n;
    return n;
}
#endif

// The mask and the value a byte has, masked, when it may be this byte of
// the folded needle: a letter in either case, any byte of 0x80 or above
// for such a byte (its capital may differ in every bit but the top one),
// any other byte only as itself.
void byte_filter(unsigned char c, unsigned char& mask, unsigned char& masked)
{
    if (c >= 0x80)
        mask = 0x80, masked = 0x80;
    else if (c >= 'a' && c <= 'z')
        mask = 0xDF, masked = static_cast<unsigned char>(c & 0xDF);
    else
        mask = 0xFF, masked = c;
}

// How seldom a byte comes in English text, for choosing which of the
// needle's bytes to look for: letters by their frequency, spaces and the
// commonest punctuation least rare, anything else (digits, other marks,
// bytes of other scripts) rarer than any letter.
int rarity(char byte)
{
    static const char kByFrequency[] = " etaoinshrdlcumwfgypbvkjxqz";
    const char c = byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 0x20) : byte;
    if (c == '\0')
        return 0;
    if (c == ',' || c == '.' || c == '\r' || c == '\n')
        return 2;
    for (size_t i = 0; kByFrequency[i] != '\0'; ++i) {
        if (kByFrequency[i] == c)
            return static_cast<int>(i == 0 ? 1 : 2 + i);
    }
    return 40;
}

bool is_continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The character of the two-byte sequence at p, whose lead byte is known to
// be 0xC2-0xDF and whose second byte is a continuation.
char32_t two_byte_character(const unsigned char* p)
{
    return static_cast<char32_t>((p[0] & 0x1F) << 6 | (p[1] & 0x3F));
}

void put_two_bytes(char32_t c, unsigned char* p)
{
    p[0] = static_cast<unsigned char>(0xC0 | c >> 6);
    p[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
}

void fold_bytes(std::string& text, bool ascii_too)
{
    unsigned char* p = reinterpret_cast<unsigned char*>(&text[0]);
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        if (p[i] < 0x80) {
            if (ascii_too && p[i] >= 'A' && p[i] <= 'Z')
                p[i] = static_cast<unsigned char>(p[i] + 0x20);
        } else if (p[i] >= 0xC2 && p[i] <= 0xDF && i + 1 < n && is_continuation(p[i + 1])) {
            put_two_bytes(fold_table().fold(two_byte_character(p + i)), p + i);
            ++i;
        }
    }
}

}  // namespace

char32_t fold_character(char32_t c)
{
    return fold_table().fold(c);
}

void fold_case(std::string& text)
{
    fold_bytes(text, true);
}

void fold_case_beyond_ascii(std::string& text)
{
    fold_bytes(text, false);
}

CaselessFinder::CaselessFinder(const std::string& needle) : m_needle(needle)
{
    fold_case(m_needle);
    for (size_t b = 0; b < 256; ++b)
        m_lower[b] = static_cast<unsigned char>(b >= 'A' && b <= 'Z' ? b + 0x20 : b);
    // Horspool's shifts on the folded text, where every byte of 0x80 or
    // above counts as one and the same: a shift is never longer than the
    // folded bytes allow, so no match is passed over.
    const size_t m = m_needle.size();
    m_shift.fill(m);
    // The two bytes the fast scan looks for: the needle's rarest in
    // English text, so that few places need a comparison.
    for (size_t j = 0; j < m; ++j) {
        if (rarity(m_needle[j]) > rarity(m_needle[m_place[0]]))
            m_place[0] = j;
    }
    m_place[1] = m_place[0] == 0 && m > 1 ? 1 : 0;
    for (size_t j = 0; j < m; ++j) {
        if (j != m_place[0] && rarity(m_needle[j]) > rarity(m_needle[m_place[1]]))
            m_place[1] = j;
    }
    for (int k = 0; k < 2 && m > 0; ++k)
        byte_filter(static_cast<unsigned char>(m_needle[m_place[k]]), m_mask[k], m_masked[k]);
    for (size_t j = 0; j + 1 < m; ++j) {
        const unsigned char c = static_cast<unsigned char>(m_needle[j]);
        if (c >= 0x80) {
            for (size_t b = 0x80; b < 256; ++b)
                m_shift[b] = m - 1 - j;
        } else {
            m_shift[c] = m - 1 - j;
            if (c >= 'a' && c <= 'z')
                m_shift[c - 0x20] = m - 1 - j;
        }
    }
}

bool CaselessFinder::matches_at(const char* text) const
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* needle = reinterpret_cast<const unsigned char*>(m_needle.data());
    const size_t m = m_needle.size();
    for (size_t j = 0; j < m;) {
        const unsigned char c = needle[j];
        if (c < 0x80) {
            if (m_lower[p[j]] != c)
                return false;
            ++j;
        } else if (c >= 0xC2 && c <= 0xDF && j + 1 < m && is_continuation(needle[j + 1])) {
            // The needle's continuation byte lies in the window, and so
            // does the text's.
            if (p[j] < 0xC2 || p[j] > 0xDF || !is_continuation(p[j + 1]))
                return false;
            unsigned char folded[2];
            put_two_bytes(fold_table().fold(two_byte_character(p + j)), folded);
            if (folded[0] != c || folded[1] != needle[j + 1])
                return false;
            j += 2;
        } else {
            // Longer characters have no case here; lone continuation bytes
            // (a needle that is no valid UTF-8) match themselves.
            if (p[j] != c)
                return false;
            ++j;
        }
    }
    return true;
}

bool CaselessFinder::found_in(std::string_view text) const
{
    const size_t m = m_needle.size();
    const size_t n = text.size();
    if (m == 0 || m > n)
        return m == 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t i = 0;
#if defined(__SSE2__)
    // Sixteen places at a time: a place is worth comparing when two of its
    // bytes fit the needle's rarest two (a letter in either case, any byte
    // of 0x80 or above for one of the needle's), after Muła's SIMD search.
    const __m128i mask0 = _mm_set1_epi8(static_cast<char>(m_mask[0]));
    const __m128i byte0 = _mm_set1_epi8(static_cast<char>(m_masked[0]));
    const __m128i mask1 = _mm_set1_epi8(static_cast<char>(m_mask[1]));
    const __m128i byte1 = _mm_set1_epi8(static_cast<char>(m_masked[1]));
    for (; i + m - 1 + 16 <= n; i += 16) {
        const __m128i at0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + m_place[0]));
        const __m128i at1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + m_place[1]));
        const __m128i fit = _mm_and_si128(_mm_cmpeq_epi8(_mm_and_si128(at0, mask0), byte0),
                                          _mm_cmpeq_epi8(_mm_and_si128(at1, mask1), byte1));
        for (unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(fit)); bits != 0;
             bits &= bits - 1) {
            if (matches_at(text.data() + i + count_trailing_zeros(bits)))
                return true;
        }
    }
#endif
    // Horspool's scan over the rest, or the whole text without SSE2.
    const unsigned char last = static_cast<unsigned char>(m_needle[m - 1]);
    for (; i + m <= n; i += m_shift[p[i + m - 1]]) {
        const unsigned char end = p[i + m - 1];
        const bool end_fits = last < 0x80 ? m_lower[end] == last : end >= 0x80;
        if (end_fits && matches_at(text.data() + i))
            return true;
    }
    return false;
}
