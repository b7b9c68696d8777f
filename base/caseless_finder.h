#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// Finding item texts by their words, without regard to case. Texts are
// UTF-8. Case is folded letter by letter, and only where the small letter
// takes as many bytes as the capital: ASCII, Latin-1 (À-Þ to à-þ, Ÿ to ÿ),
// Latin Extended-A (Š, Œ, Ž, Ł, Ő, ...), Greek (final sigma as sigma) and
// Cyrillic. A match therefore has the needle's length in the text.

// The small letter of a capital one; any other character as it is.
char32_t fold_character(char32_t c);
// Folds every letter of a UTF-8 text in place; bytes that are no valid
// UTF-8 are left as they are.
void fold_case(std::string& text);
// The same for the letters outside ASCII only (a regular expression's
// escapes such as \W must keep their case).
void fold_case_beyond_ascii(std::string& text);

// A needle found in texts without a copy of them: the places worth
// comparing are found sixteen at a time where the processor has SSE2, else
// by a Horspool scan over the folded bytes, and the text is folded only at
// those places.
class CaselessFinder {
public:
    // needle: UTF-8, not empty.
    explicit CaselessFinder(const std::string& needle);

    bool found_in(std::string_view text) const;

private:
    bool matches_at(const char* p) const;

    std::string m_needle;  // folded
    std::array<unsigned char, 256> m_lower;
    std::array<size_t, 256> m_shift;
    // The two places of the needle the fast scan looks at, and what the
    // bytes there are, masked.
    size_t m_place[2] = {0, 0};
    unsigned char m_mask[2] = {0xFF, 0xFF};
    unsigned char m_masked[2] = {0, 0};
};
