#include "tools/text_search.h"

int TextMatcher::set(const std::string& needle, bool regex)
{
    m_regex = regex;
    if (needle.empty()) {
        m_error = "the text to search for is empty";
        return 0;
    }
    if (!regex) {
        std::string crlf;
        for (size_t i = 0; i < needle.size(); ++i) {
            if (needle[i] == '\n' && (i == 0 || needle[i - 1] != '\r'))
                crlf += '\r';
            crlf += needle[i];
        }
        m_finder = std::make_unique<CaselessFinder>(crlf);
        return 1;
    }
    std::string pattern = needle;
    fold_case_beyond_ascii(pattern);
    try {
        m_expression = std::regex(pattern, std::regex::ECMAScript | std::regex::icase);
    } catch (const std::regex_error& e) {
        m_error = std::string("not a regular expression: ") + e.what();
        return 0;
    }
    return 1;
}

bool TextMatcher::matches(std::string_view text)
{
    if (!m_regex)
        return m_finder->found_in(text);
    m_folded.assign(text.data(), text.size());
    fold_case(m_folded);
    return std::regex_search(m_folded, m_expression);
}
