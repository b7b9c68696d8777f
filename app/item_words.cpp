#include "app/item_words.h"

#include "db/quote_item.h"

ItemWords::ItemWords(const StoredText& texts, const std::string& words, bool match_case)
    : m_texts(texts), m_words(words), m_match_case(match_case),
      m_finder(match_case ? nullptr : new CaselessFinder(words))
{
}

bool ItemWords::matches(const StoredQuote& item)
{
    const zstring& stored = item.text();
    const std::string_view text = m_texts.utf8_view(stored.c_str(), stored.length(), m_buffer);
    return m_match_case ? text.find(m_words) != std::string_view::npos : m_finder->found_in(text);
}
