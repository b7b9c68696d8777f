#pragma once

#include <memory>
#include <regex>
#include <string>
#include <string_view>

#include "base/caseless_finder.h"

// What a search looks for: a plain text or an ECMAScript expression,
// either without regard to case.
class TextMatcher {
public:
    // 1 when the needle is usable; else 0 and error() says why. A plain
    // needle's LF line breaks match the CR LF that items keep.
    int set(const std::string& needle, bool regex);
    // Throws std::regex_error when an expression is too complex to match
    // against this text.
    bool matches(std::string_view text);
    const std::string& error() const { return m_error; }

private:
    bool m_regex = false;
    std::unique_ptr<CaselessFinder> m_finder;
    std::regex m_expression;
    std::string m_folded;
    std::string m_error;
};
