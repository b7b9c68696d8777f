#pragma once

#include <memory>
#include <string>

#include "base/caseless_finder.h"
#include "base/stored_text.h"
#include "db/quote_volume.h"

// The words Find looks for in an item's text: as they stand, or without
// regard to case. Stored texts are read as UTF-8 by the rule, without a
// copy where they are ASCII or UTF-8 already.
class ItemWords : public ItemTest {
public:
    // words: UTF-8, not empty. The rule is not owned.
    ItemWords(const StoredText& texts, const std::string& words, bool match_case);

    bool matches(const StoredQuote& item) override;

private:
    const StoredText& m_texts;
    std::string m_words;
    bool m_match_case;
    std::unique_ptr<CaselessFinder> m_finder;
    std::string m_buffer;
};
